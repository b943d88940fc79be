#include "store/Save.h"

#include <array>

#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/Sjis.h"

namespace store {

namespace {

std::string BaseName(const std::string& path) {
  const std::size_t p = path.rfind('/');
  return p == std::string::npos ? path : path.substr(p + 1);
}

void ErrorBox(dlg::Dialogs* d, const std::string& text) {
  if (d) d->MessageBox(text, dlg::BoxType::Error, {dlg::Button::Ok});
}

}  // namespace

std::string BackupPath(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + ".bak";
  return path.substr(0, dot) + ".bak";
}

bool TSaveDlg::SetNewFile(const std::string& filter) {
  Filter = filter;
  const std::size_t dot = filter.rfind('.');
  DefaultExt = dot == std::string::npos ? std::string() : filter.substr(dot + 1, 3);
  if (!dialogs_) return false;
  auto chosen = dialogs_->SaveFile(Filter, DefaultExt, FileName);
  if (!chosen) return false;
  FileName = *chosen;
  return true;
}

bool TSaveDlg::CreateFile() {
  if (!File.Create(plat::fs::ToDiskPath(FileName))) {
    ErrorBox(dialogs_, BaseName(FileName) + "\r\nFile create error");
    return false;
  }
  return true;
}

bool TSaveDlg::Commit() {
  const std::string disk = plat::fs::ToDiskPath(FileName);
  if (File.Commit(KeepBackup ? BackupPath(disk) : std::string())) return true;
  switch (File.FailedStep()) {
    case plat::AtomicFile::Step::Link:
      ErrorBox(dialogs_, BaseName(FileName) + "\r\nCan not delete old file.");
      break;
    case plat::AtomicFile::Step::Create:
    case plat::AtomicFile::Step::Rename:
      // The new file could not take its place (a folder in the way, say).
      ErrorBox(dialogs_, BaseName(FileName) + "\r\nFile create error");
      break;
    default:
      ErrorBox(dialogs_, FileName + "\r\nFile create error");
  }
  return false;
}

bool SaveGroupFile(TAllList& book, TGrpList& group, const std::string& path, bool emptyOnly) {
  TSaveDlg dlg(book.Dialogs);
  dlg.FileName = path;
  if (!dlg.CreateFile()) return false;
  if (!emptyOnly)
    for (const TAddrRec* c : group.Cards()) WriteCard(dlg.Out, *c);
  if (!dlg.Commit()) return false;
  if (const auto t = plat::fs::ModTimeNs(path)) group.FileAge = *t;
  return true;
}

namespace {

std::vector<plat::fs::DirEntry> AddressFiles(const TGrpList& g) {
  return plat::fs::List(g.Path, "*.bab", plat::fs::Kind::Files);
}

}  // namespace

bool SaveGroup(TAllList& book, TreeNode* node) {
  if (!node || !node->Group) return false;
  TGrpList& g = *node->Group;
  if (!plat::fs::DirExists(g.Path)) plat::fs::MakeDirs(g.Path);

  bool changed = false;
  for (const auto& e : AddressFiles(g))
    if (e.mtimeNs > g.FileAge) changed = true;
  if (changed) {
    const dlg::Button b = book.Message(node->Caption + "\r\nGroup is modified by Q7\r\nAre you reload?",
                                       dlg::BoxType::Warning,
                                       {dlg::Button::Yes, dlg::Button::Cancel, dlg::Button::Ignore});
    if (b == dlg::Button::Yes) {
      LoadGroup(book, node);
    } else if (b != dlg::Button::Ignore) {
      return false;
    }
  }

  bool ok = true;
  {
    plat::IniFile ini(g.Path + "Group.ini");
    if (ini.ReadString("Settings", "NickName", "") != g.NickName) {
      ini.WriteString("Settings", "NickName", g.NickName);
      if (!ini.UpdateFile()) {
        // A nickname that did not reach the disk must not count as saved.
        ErrorBox(book.Dialogs, g.Path + "Group.ini\r\nFile create error");
        ok = false;
      }
    }
  }

  const auto files = AddressFiles(g);
  if (files.empty()) {
    ok = SaveGroupFile(book, g, g.Path + ZenToHan(node->Caption) + ".bab", false) && ok;
  } else {
    const std::string first = files.front().name;
    ok = SaveGroupFile(book, g, g.Path + first, false) && ok;
    for (std::size_t i = 1; i < files.size(); ++i) {
      if (files[i].name == first || files[i].size == 0) continue;
      ok = SaveGroupFile(book, g, g.Path + files[i].name, true) && ok;
    }
  }
  if (ok) {
    g.Modified = false;
    g.FileNames.clear();
    for (const auto& e : AddressFiles(g)) g.FileNames.push_back(e.name);
    // Temporary files a killed save left behind are of no use now.
    plat::AtomicFile::RemoveLeftovers(plat::fs::ToDiskPath(g.Path));
  }
  return ok;
}

namespace {

// Full-width letters, digits and signs, and their ASCII counterparts at the
// same positions.
constexpr std::string_view kHan = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789!#$%&()-=^{}[]@";

constexpr std::array<unsigned, 77> MakeZen() {
  std::array<unsigned, 77> z{};
  std::size_t k = 0;
  for (unsigned c = 0x8260; c <= 0x8279; ++c) z[k++] = c;
  for (unsigned c = 0x8281; c <= 0x829A; ++c) z[k++] = c;
  for (unsigned c = 0x824F; c <= 0x8258; ++c) z[k++] = c;
  for (unsigned c : {0x8149u, 0x8194u, 0x8190u, 0x8193u, 0x8195u, 0x8169u, 0x816Au, 0x817Cu, 0x8181u, 0x814Fu,
                     0x816Fu, 0x8170u, 0x816Du, 0x816Eu, 0x8197u})
    z[k++] = c;
  return z;
}
constexpr std::array<unsigned, 77> kZen = MakeZen();
static_assert(kHan.size() == kZen.size());

}  // namespace

std::string ZenToHan(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (((c >= 0x80 && c <= 0x9F) || c >= 0xE0) && i + 1 < text.size()) {
      const unsigned code = (c << 8) | static_cast<unsigned char>(text[i + 1]);
      std::size_t k = 0;
      while (k < kZen.size() && kZen[k] != code) ++k;
      if (k < kZen.size()) {
        out.push_back(kHan[k]);
      } else {
        out.append(text, i, 2);
      }
      ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

}  // namespace store

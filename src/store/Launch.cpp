#include "store/Launch.h"

#include "platform/Iconv.h"
#include "platform/Process.h"
#include "platform/Sjis.h"

namespace store {

namespace {

std::string Template(const TAllList& book) {
  return book.MailtoCmd.empty() ? book.InstallPath + "Q7" : book.MailtoCmd;
}

}  // namespace

std::string BuildLaunchCommand(const TAllList& book, const std::string& argument) {
  const std::string tmpl = Template(book);
  for (std::string_view ph : {std::string_view("\"%1\""), std::string_view("%1")}) {
    const std::size_t p = sjis::Find(tmpl, ph);
    if (p == std::string::npos) continue;
    std::string tail = tmpl.substr(p + ph.size());
    if (tail.size() > 255) tail = std::string(sjis::CutWidth(tail, 255));
    return tmpl.substr(0, p) + argument + tail;
  }
  return tmpl + " " + argument;
}

void LaunchClient(const TAllList& book, const std::string& argument) {
  if (!plat::StartProcess(BuildLaunchCommand(book, argument)))
    throw LaunchError(Template(book) + " is not execute.");
}

bool DesktopHandler(const TAllList& book) {
  if (book.MailtoCmd.empty()) return false;
  const std::vector<std::string> items = plat::SplitCommandLine(book.MailtoCmd);
  return items.empty() || items.front() != book.InstallPath + "Q7";
}

namespace {

// RFC 5322 specials and controls: a display name holding one goes quoted.
bool NeedsQuotes(const std::string& name) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (sjis::IsLead(name[i])) {
      ++i;
      continue;
    }
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (c < 0x20 || c == 0x7F || std::string_view("()<>[]:;@\\,.\"").find(static_cast<char>(c)) != std::string_view::npos)
      return true;
  }
  return false;
}

// Backslash before every byte of `special` (never inside a double-byte character).
std::string Escaped(const std::string& text, std::string_view special) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (sjis::IsLead(text[i]) && i + 1 < text.size()) {
      out += text.substr(i, 2);
      ++i;
      continue;
    }
    if (special.find(text[i]) != std::string_view::npos) out += '\\';
    out += text[i];
  }
  return out;
}

std::string ToUtf8(std::string_view in) {
  thread_local plat::Iconv cv("UTF-8", "CP932");
  std::string out;
  while (!in.empty()) {
    const std::size_t n = cv.Run(in, out);
    in.remove_prefix(n);
    if (in.empty()) break;
    out += "\xEF\xBF\xBD";
    in.remove_prefix(sjis::IsLead(in.front()) && in.size() > 1 ? 2 : 1);
  }
  return out;
}

void PercentEncode(std::string_view utf8, std::string& out) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char ch : utf8) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
        c == '_' || c == '~' || c == '@') {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
}

}  // namespace

std::string UriRecipient(int adrSendMode, const std::string& addr, const std::string& name) {
  if (name.empty() || adrSendMode == 0) return addr;
  if (adrSendMode == 1) return addr + " (" + Escaped(name, "()\\") + ")";
  if (NeedsQuotes(name)) return "\"" + Escaped(name, "\"\\") + "\" <" + addr + ">";
  return name + " <" + addr + ">";
}

std::string MailtoUri(const std::vector<std::string>& recipients) {
  std::string uri = "mailto:";
  for (std::size_t i = 0; i < recipients.size(); ++i) {
    if (i > 0) uri += ',';
    PercentEncode(ToUtf8(recipients[i]), uri);
  }
  return uri;
}

}  // namespace store

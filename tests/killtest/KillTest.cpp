// Kill test of saving: a child process loads a generated book, changes every
// group (a new marker card and nickname per round) and saves it; the parent
// kills it with SIGKILL at a random moment of the save and checks, for every
// group, that the address file holds exactly the old or the new content,
// that the backup is a complete earlier content, and that Group.ini holds
// the old or the new nickname. Then an uncut save must keep the same rules
// and leave no temporary file behind.
//
//   kill_test [KILLS] [--groups=G] [--cards=C] [--seed=S] [--keep]
//   kill_test --child ROOT VERSION      (the saving child)
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/BookGenerator.h"
#include "platform/AtomicFile.h"
#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "store/AddressFile.h"
#include "store/Book.h"
#include "store/Card.h"
#include "store/Save.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string GroupName(int g) { return "G" + std::to_string(100 + g).substr(1); }

std::string MarkerAddress(const std::string& group, long version) {
  return "marker-" + std::to_string(version) + "@" + group + ".kill";
}

store::CardPtr MarkerCard(const std::string& group, long version) {
  store::CardPtr c = store::NewCard();
  c->PrefEmail = MarkerAddress(group, version);
  store::SetValue(c->FN, "", "marker " + std::to_string(version));
  return c;
}

std::string Nick(long version) { return version == 0 ? std::string() : "nick-" + std::to_string(version); }

// ---- the child ---------------------------------------------------------

int RunChild(const std::string& root, long version) {
  dlg::NullDialogs dialogs;
  store::TAllList book;
  book.Root = root;
  book.Dialogs = &dialogs;
  store::LoadTree(book);
  // Tells the parent that loading is over and saving begins.
  if (::write(1, "L", 1) != 1) return 3;
  bool ok = true;
  for (store::TreeNode* n : book.Nodes.InOrder()) {
    if (n->Level == 0 || !n->Group) continue;
    store::TGrpList& g = *n->Group;
    std::vector<const store::TAddrRec*> old;
    for (const store::TAddrRec* c : g.Cards())
      if (c->PrefEmail.rfind("marker-", 0) == 0) old.push_back(c);
    for (const store::TAddrRec* c : old) {
      g.RemoveFirst(c);
      book.Remove(c);
    }
    book.CurGroup = &g;
    book.AddCard(MarkerCard(n->Caption, version), true);
    g.NickName = Nick(version);
    g.Modified = true;
    ok = store::SaveGroup(book, n) && ok;
  }
  return ok ? 0 : 1;
}

// ---- the parent --------------------------------------------------------

std::string ReadFile(const std::string& path, bool* exists = nullptr) {
  std::string s;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (exists) *exists = f != nullptr;
  if (!f) return s;
  char buf[1 << 16];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
  std::fclose(f);
  return s;
}

struct Group {
  std::string name;
  std::string dir;  // ending with '/'
  std::string initial;  // the generated file, the backup after the first save
  std::string base;     // the written cards without the marker
  long babVer = 0, bakVer = -1, nickVer = 0;  // -1: no backup yet
  std::string Content(long v) const {
    return v == 0 ? initial : base + store::CardToBytes(*MarkerCard(name, v));
  }
};

struct Child {
  pid_t pid = -1;
  int out = -1;
};

Child Spawn(const std::string& self, const std::string& root, long version) {
  int fds[2];
  if (::pipe(fds) != 0) std::exit(1);
  Child c;
  c.pid = ::fork();
  if (c.pid == 0) {
    ::dup2(fds[1], 1);
    ::close(fds[0]);
    ::close(fds[1]);
    const std::string v = std::to_string(version);
    ::execl(self.c_str(), self.c_str(), "--child", root.c_str(), v.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  ::close(fds[1]);
  c.out = fds[0];
  return c;
}

bool WaitLoaded(Child& c) {
  char ch = 0;
  ssize_t n;
  do n = ::read(c.out, &ch, 1);
  while (n < 0 && errno == EINTR);
  return n == 1 && ch == 'L';
}

int Reap(Child& c) {
  int status = 0;
  ::waitpid(c.pid, &status, 0);
  ::close(c.out);
  return status;
}

int RunUncut(const std::string& self, const std::string& root, long version, double* saveSeconds = nullptr) {
  Child c = Spawn(self, root, version);
  if (!WaitLoaded(c)) {
    Reap(c);
    return -1;
  }
  const auto t0 = Clock::now();
  const int status = Reap(c);
  if (saveSeconds) *saveSeconds = std::chrono::duration<double>(Clock::now() - t0).count();
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Which of the allowed versions a file holds, or nothing.
std::optional<long> Match(const Group& g, const std::string& bytes, bool exists, std::initializer_list<long> allowed) {
  for (long v : allowed) {
    if (v < 0) {
      if (!exists) return v;
      continue;
    }
    if (exists && bytes == g.Content(v)) return v;
  }
  return std::nullopt;
}

std::optional<long> MatchNick(const Group& g, std::initializer_list<long> allowed) {
  bool exists = false;
  ReadFile(g.dir + "Group.ini", &exists);
  plat::IniFile ini(g.dir + "Group.ini");
  const std::string nick = ini.ReadString("Settings", "NickName", "");
  for (long v : allowed)
    if (nick == Nick(v) && (exists || v == 0)) return v;
  return std::nullopt;
}

std::size_t Leftovers(const Group& g) {
  std::size_t n = 0;
  for (const auto& e : std::filesystem::directory_iterator(g.dir))
    if (plat::AtomicFile::IsTempName(e.path().filename().string())) ++n;
  return n;
}

std::size_t CountCards(const std::string& bytes) {
  std::size_t n = 0;
  for (std::size_t p = 0; (p = bytes.find("BEGIN:VCARD", p)) != std::string::npos; ++p) ++n;
  return n;
}

int RunParent(int argc, char** argv) {
  long kills = 50;
  int groups = 20;
  long cards = 20000;
  unsigned seed = static_cast<unsigned>(std::random_device{}());
  bool keep = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a.rfind("--groups=", 0) == 0) groups = std::atoi(a.c_str() + 9);
    else if (a.rfind("--cards=", 0) == 0) cards = std::atol(a.c_str() + 8);
    else if (a.rfind("--seed=", 0) == 0) seed = static_cast<unsigned>(std::strtoul(a.c_str() + 7, nullptr, 10));
    else if (a == "--keep") keep = true;
    else if (!a.empty() && a[0] != '-') kills = std::atol(a.c_str());
    else {
      std::fprintf(stderr, "usage: kill_test [KILLS] [--groups=G] [--cards=C] [--seed=S] [--keep]\n");
      return 2;
    }
  }
  if (groups < 2 || cards < groups || kills < 0) {
    std::fprintf(stderr, "kill_test: bad sizes\n");
    return 2;
  }
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  const char* tmpEnv = std::getenv("TMPDIR");
  std::string tmpl = std::string(tmpEnv && *tmpEnv ? tmpEnv : "/tmp") + "/q7kill.XXXXXX";
  if (!::mkdtemp(tmpl.data())) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::string root = tmpl + "/AddrBook/";
  std::printf("kill_test: %ld kills, %d groups, %ld cards, seed %u, book %s\n", kills, groups, cards, seed,
              root.c_str());

  // Two top-level folders with half of the groups each.
  std::vector<Group> gs(static_cast<std::size_t>(groups));
  long next = 0;
  for (int k = 0; k < groups; ++k) {
    Group& g = gs[static_cast<std::size_t>(k)];
    g.name = GroupName(k);
    g.dir = root + (k % 2 ? "Top2/" : "Top1/") + g.name + "/";
    std::filesystem::create_directories(g.dir);
    const long n = cards / groups + (k < cards % groups ? 1 : 0);
    for (long i = 0; i < n; ++i) g.initial += benchgen::GenerateCard(static_cast<std::size_t>(next++), seed);
    FILE* f = std::fopen((g.dir + g.name + ".bab").c_str(), "wb");
    if (!f || std::fwrite(g.initial.data(), 1, g.initial.size(), f) != g.initial.size() || std::fclose(f) != 0) {
      std::perror("write book");
      return 1;
    }
  }

  long version = 1;
  double saveSeconds = 0;
  if (RunUncut(self, root, version, &saveSeconds) != 0) {
    std::fprintf(stderr, "kill_test: the first save failed\n");
    return 1;
  }
  for (Group& g : gs) {
    const std::string bab = ReadFile(g.dir + g.name + ".bab");
    const std::string marker = store::CardToBytes(*MarkerCard(g.name, version));
    if (bab.size() < marker.size() || bab.compare(bab.size() - marker.size(), marker.size(), marker) != 0 ||
        ReadFile(g.dir + g.name + ".bak") != g.initial) {
      std::fprintf(stderr, "kill_test: the first save of %s is not as expected\n", g.name.c_str());
      return 1;
    }
    g.base = bab.substr(0, bab.size() - marker.size());
    g.babVer = g.nickVer = version;
    g.bakVer = 0;
  }
  std::printf("kill_test: one save of every group takes %.0f ms\n", saveSeconds * 1000);

  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> when(0.0, saveSeconds * 1.2);
  long violations = 0, midSave = 0, midFile = 0, finishedFirst = 0;
  std::size_t lostCards = 0;

  auto check = [&](long v, bool uncut, const char* what, long round) {
    for (Group& g : gs) {
      bool babExists = false, bakExists = false;
      const std::string bab = ReadFile(g.dir + g.name + ".bab", &babExists);
      const std::string bak = ReadFile(g.dir + g.name + ".bak", &bakExists);
      const auto babNow = uncut ? Match(g, bab, babExists, {v}) : Match(g, bab, babExists, {g.babVer, v});
      const auto bakNow = uncut && g.babVer != v ? Match(g, bak, bakExists, {g.babVer})
                                                 : Match(g, bak, bakExists, {g.bakVer, g.babVer});
      const auto nickNow = uncut ? MatchNick(g, {v}) : MatchNick(g, {g.nickVer, v});
      const std::size_t left = uncut ? Leftovers(g) : 0;
      if (!babNow || !bakNow || !nickNow || left) {
        ++violations;
        const std::size_t want = CountCards(g.Content(g.babVer));
        const std::size_t have = std::max(CountCards(bab), CountCards(bak));
        if (have < want) lostCards += want - have;
        std::fprintf(stderr,
                     "kill_test: round %ld, %s: group %s broken: .bab %s (%zu bytes), .bak %s (%zu bytes), "
                     "Group.ini %s, %zu temporary files\n",
                     round, what, g.name.c_str(), babNow ? "ok" : "WRONG", bab.size(), bakNow ? "ok" : "WRONG",
                     bak.size(), nickNow ? "ok" : "WRONG", left);
        continue;
      }
      if (*babNow != g.babVer) {
        g.bakVer = *bakNow;
        g.babVer = *babNow;
      } else {
        g.bakVer = *bakNow;
      }
      g.nickVer = *nickNow;
    }
  };

  for (long round = 1; round <= kills; ++round) {
    const long v = ++version;
    Child c = Spawn(self, root, v);
    if (!WaitLoaded(c)) {
      Reap(c);
      std::fprintf(stderr, "kill_test: the child did not load the book\n");
      return 1;
    }
    std::this_thread::sleep_for(std::chrono::duration<double>(when(rng)));
    ::kill(c.pid, SIGKILL);
    const int status = Reap(c);
    if (WIFEXITED(status)) ++finishedFirst;
    std::size_t temps = 0;
    for (const Group& g : gs) temps += Leftovers(g);
    if (temps) ++midFile;
    check(v, WIFEXITED(status) && WEXITSTATUS(status) == 0, "after the kill", round);
    bool some = false, all = true;
    for (const Group& g : gs) {
      if (g.babVer == v) some = true;
      else all = false;
    }
    if (some && !all) ++midSave;

    const long w = ++version;
    if (RunUncut(self, root, w) != 0) {
      ++violations;
      std::fprintf(stderr, "kill_test: round %ld: the save after the kill failed\n", round);
      continue;
    }
    check(w, true, "after the next save", round);
    if (round % 50 == 0) std::printf("kill_test: %ld kills done, %ld violations\n", round, violations);
    std::fflush(stdout);
  }

  std::printf(
      "kill_test: %ld kills (%ld between groups, %ld inside a file's replacement, %ld after the save had "
      "finished), invariant %s, %zu cards lost\n",
      kills, midSave, midFile, finishedFirst, violations ? "BROKEN" : "held after every kill and every following save",
      lostCards);
  if (!keep && violations == 0) std::filesystem::remove_all(tmpl);
  else std::printf("kill_test: book kept in %s\n", tmpl.c_str());
  return violations ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--child") == 0) return RunChild(argv[2], std::atol(argv[3]));
  return RunParent(argc, argv);
}

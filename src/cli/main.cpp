// q7addr-cli: the book's logic without a window, for scripts and checks.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/TextFile.h"
#include "store/AddressFile.h"
#include "store/Card.h"

namespace {

const char kUsage[] = "usage: q7addr-cli recode FILE...\n";

// Writes each card as it is completed, after the one normalisation the book
// applies to every card it receives; no merging.
class RecodeSink : public store::CardSink {
 public:
  explicit RecodeSink(plat::TextWriter& out) : out_(out) {}
  void AddCard(store::CardPtr& card, bool) override {
    store::TakeFirstEmailAsPref(*card);
    store::WriteCard(out_, *card);
  }

 private:
  plat::TextWriter& out_;
};

int Recode(const std::vector<std::string>& files) {
  plat::TextWriter out;
  out.Attach(STDOUT_FILENO);
  RecodeSink sink(out);
  int status = 0;
  for (const auto& f : files) {
    if (store::ReadAddressFile(sink, f) != store::ReadResult::Ok) {
      out.Close();  // keep stdout and stderr in file order
      out.Attach(STDOUT_FILENO);
      std::fprintf(stderr, "%s\nFile open error\n", f.c_str());
      status = 1;
    }
  }
  if (!out.Close()) {
    std::fprintf(stderr, "q7addr-cli: write error on standard output\n");
    return 1;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string cmd = args.front();
  args.erase(args.begin());
  if (cmd == "recode") {
    if (args.empty()) {
      std::fputs(kUsage, stderr);
      return 2;
    }
    return Recode(args);
  }
  std::fprintf(stderr, "q7addr-cli: unknown command '%s'\n%s", cmd.c_str(), kUsage);
  return 2;
}

#include "store/Launch.h"

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

}  // namespace store

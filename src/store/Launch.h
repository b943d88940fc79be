// Starting the mail program with a "mailto:" argument.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "store/Book.h"

namespace store {

class LaunchError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The command line that LaunchClient starts for this argument.
std::string BuildLaunchCommand(const TAllList& book, const std::string& argument);
// Starts the mailto handler (or the mail client) and returns at once; throws
// LaunchError("<command> is not execute.") when it cannot be started.
void LaunchClient(const TAllList& book, const std::string& argument);

// True when the mailto command is the desktop's handler: any configured
// command whose program is not the mail client's own (InstallPath + "Q7").
// Such a handler reads only standard mailto: URIs; the mail client's own
// program keeps the client's argument forms.
bool DesktopHandler(const TAllList& book);
// One recipient of a mailto: URI in address format adrSendMode (0: the
// address, 1: "addr (name)", 2: "name <addr>"), CP932, with the name quoted
// or escaped as a mail header needs it, so that a comma or a quote in a name
// does not split or break the recipient. An empty name gives the address.
std::string UriRecipient(int adrSendMode, const std::string& addr, const std::string& name);
// "mailto:" followed by the recipients (CP932), each converted to UTF-8 and
// percent-encoded, separated by commas. A byte that is no CP932 character
// becomes U+FFFD.
std::string MailtoUri(const std::vector<std::string>& recipients);

}  // namespace store

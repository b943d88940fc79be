// Starting the mail program with a "mailto:" argument.
#pragma once

#include <stdexcept>
#include <string>

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

}  // namespace store

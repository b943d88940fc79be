// Opening a generated book the way the program starts on it, for the
// benchmarks of the windows' logic.
#pragma once

#include <memory>
#include <string>

#include "mainwin/MainFormLogic.h"
#include "platform/Dialogs.h"

namespace benchgen {

// A new temporary folder ("/tmp/q7<tag>-XXXXXX/"), ending with '/'.
std::string TempFolder(const char* tag);

// The main window's logic started on the book in dir + "AddrBook/", with its
// settings in dir + "prog/" (created): no settings yet, so every group is
// checked and the grid shows the whole book.
std::unique_ptr<mainwin::TQ7AdrMan> StartMain(dlg::Dialogs& dialogs, const std::string& dir);

}  // namespace benchgen

// Opening a generated book the way the program starts on it, for the
// benchmarks of the windows' logic.
#pragma once

#include <cstddef>
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

// A generated book of `cards` cards in `groups` groups in a temporary folder
// (removed at the end), opened by the main window's logic as StartMain does.
struct MainBook {
  std::string dir;
  dlg::NullDialogs dialogs;
  std::unique_ptr<mainwin::TQ7AdrMan> main;

  MainBook(const char* tag, std::size_t cards, std::size_t groups);
  ~MainBook();
  MainBook(const MainBook&) = delete;
  MainBook& operator=(const MainBook&) = delete;
  // Starts afresh on what the folder holds now.
  void Restart() { main = StartMain(dialogs, dir); }
};

}  // namespace benchgen

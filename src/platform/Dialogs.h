// Every modal interaction of the program goes through this interface: the Qt
// layer answers with real dialogs, tests with a scripted double.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace dlg {

enum class BoxType { Warning, Error, Information, Confirmation };

enum class Button { Ok, Cancel, Yes, No, Ignore, Abort, Retry };

// A set of buttons in the order they are shown.
using Buttons = std::vector<Button>;

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // Shows a message box; returns the button pressed, or Cancel when the box
  // was closed without a button. Text is CP932, "\r" breaks a line.
  virtual Button MessageBox(const std::string& text, BoxType type, const Buttons& buttons) = 0;

  // Input box: the entered text, or nothing on cancel.
  virtual std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                              const std::string& text) = 0;

  // File dialogs: a path, or nothing on cancel. filter is "Desc|*.ext|...".
  virtual std::optional<std::string> OpenFile(const std::string& filter, const std::string& initial) = 0;
  virtual std::optional<std::string> SaveFile(const std::string& filter, const std::string& defaultExt,
                                              const std::string& initial) = 0;
  virtual std::optional<std::string> ChooseFolder(const std::string& initial) = 0;

  virtual void SetClipboardText(const std::string& text) = 0;
};

// Answers without asking anybody: a box gets its first button, every other
// question is cancelled. For tools and benchmarks that run without a user.
class NullDialogs : public Dialogs {
 public:
  Button MessageBox(const std::string&, BoxType, const Buttons& buttons) override {
    return buttons.empty() ? Button::Ok : buttons.front();
  }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> OpenFile(const std::string&, const std::string&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseFolder(const std::string&) override { return std::nullopt; }
  void SetClipboardText(const std::string&) override {}
};

// Shows the usual file error box: the name, CR LF, the phrase; error type, OK.
void FileErrorBox(Dialogs& d, const std::string& name, const char* phrase);

}  // namespace dlg

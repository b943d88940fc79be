// Helpers shared by the tests: temporary folders, raw file bytes, and a
// scripted Dialogs double that answers from a queue and records each box.
#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace testsupport {

// A fresh folder under the system temp folder, removed with its contents on
// destruction. path() ends with '/'.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string path() const { return path_; }
  std::string operator/(const std::string& rel) const { return path_ + rel; }

 private:
  std::string path_;
};

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
bool Exists(const std::string& path);

struct AskedBox {
  std::string text;
  dlg::BoxType type;
  dlg::Buttons buttons;
};

class ScriptedDialogs : public dlg::Dialogs {
 public:
  std::deque<dlg::Button> answers;                    // next MessageBox answers; Ok/first button if empty
  std::deque<std::optional<std::string>> inputs;      // InputBox / file dialog answers
  std::vector<AskedBox> boxes;                        // every box shown
  std::vector<std::string> prompts;                   // every input prompt
  std::string clipboard;

  dlg::Button MessageBox(const std::string& text, dlg::BoxType type, const dlg::Buttons& buttons) override;
  std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& text) override;
  std::optional<std::string> OpenFile(const std::string& filter, const std::string& initial) override;
  std::optional<std::string> SaveFile(const std::string& filter, const std::string& defaultExt,
                                      const std::string& initial) override;
  std::optional<std::string> ChooseFolder(const std::string& initial) override;
  void SetClipboardText(const std::string& text) override { clipboard = text; }

 private:
  std::optional<std::string> NextInput();
};

}  // namespace testsupport

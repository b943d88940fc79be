#include "support/TestSupport.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "q7test-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl + "/";
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!f) throw std::runtime_error("cannot write " + path);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) throw std::runtime_error("cannot read " + path);
  std::ostringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

dlg::Button ScriptedDialogs::MessageBox(const std::string& text, dlg::BoxType type,
                                        const dlg::Buttons& buttons) {
  boxes.push_back({text, type, buttons});
  if (answers.empty()) return buttons.empty() ? dlg::Button::Ok : buttons.front();
  dlg::Button b = answers.front();
  answers.pop_front();
  return b;
}

std::optional<std::string> ScriptedDialogs::NextInput() {
  if (inputs.empty()) return std::nullopt;
  auto v = inputs.front();
  inputs.pop_front();
  return v;
}

std::optional<std::string> ScriptedDialogs::InputBox(const std::string& caption, const std::string& prompt,
                                                     const std::string&) {
  prompts.push_back(caption + "|" + prompt);
  return NextInput();
}

std::optional<std::string> ScriptedDialogs::OpenFile(const std::string&, const std::string&) {
  return NextInput();
}

std::optional<std::string> ScriptedDialogs::SaveFile(const std::string&, const std::string&,
                                                     const std::string&) {
  return NextInput();
}

std::optional<std::string> ScriptedDialogs::ChooseFolder(const std::string&) { return NextInput(); }

}  // namespace testsupport

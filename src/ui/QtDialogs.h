// dlg::Dialogs answered with Qt's standard dialogs. Texts arrive and leave
// as CP932; paths are the program's CP932 paths (see platform/FileSystem.h).
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/Dialogs.h"

namespace app {

class QtDialogs : public dlg::Dialogs {
 public:
  explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  // Warning, Error, Information and Confirmation show the warning, critical,
  // information and question icons. Escape answers the box's Cancel (or its
  // only button, or No); a box closed any other way answers Cancel.
  dlg::Button MessageBox(const std::string& text, dlg::BoxType type, const dlg::Buttons& buttons) override;
  // Text CP932 cannot hold is refused with a message and the box stays open
  // with what was typed.
  std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& text) override;
  std::optional<std::string> OpenFile(const std::string& filter, const std::string& initial) override;
  std::optional<std::string> SaveFile(const std::string& filter, const std::string& defaultExt,
                                      const std::string& initial) override;
  std::optional<std::string> ChooseFolder(const std::string& initial) override;
  void SetClipboardText(const std::string& text) override;

  // "Desc|*.a;*.b|Desc2|*.c" as a Qt name filter "Desc (*.a *.b);;Desc2 (*.c)".
  static QString QtFilter(const std::string& filter);

 private:
  QWidget* Parent() const;

  QPointer<QWidget> parent_;
};

// Shows the box that refuses characters CP932 cannot hold.
void ShowRefusal(QWidget* parent, const QString& unmappable);

}  // namespace app

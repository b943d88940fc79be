#include "ui/QtDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <utility>
#include <vector>

#include "ui/Codec.h"
#include "ui/Translate.h"
#include "platform/FileSystem.h"

namespace app {
namespace {

QMessageBox::StandardButton ToQt(dlg::Button b) {
  switch (b) {
    case dlg::Button::Ok: return QMessageBox::Ok;
    case dlg::Button::Cancel: return QMessageBox::Cancel;
    case dlg::Button::Yes: return QMessageBox::Yes;
    case dlg::Button::No: return QMessageBox::No;
    case dlg::Button::Ignore: return QMessageBox::Ignore;
    case dlg::Button::Abort: return QMessageBox::Abort;
    case dlg::Button::Retry: return QMessageBox::Retry;
  }
  return QMessageBox::Ok;
}

// The captions the program's message boxes have always carried by type.
QString TypeCaption(dlg::BoxType type) {
  switch (type) {
    case dlg::BoxType::Warning: return ui::TrText(ui::ctx::kMessage, QStringLiteral("Warning"));
    case dlg::BoxType::Error: return ui::TrText(ui::ctx::kMessage, QStringLiteral("Error"));
    case dlg::BoxType::Information: return ui::TrText(ui::ctx::kMessage, QStringLiteral("Information"));
    case dlg::BoxType::Confirmation: return ui::TrText(ui::ctx::kMessage, QStringLiteral("Confirm"));
  }
  return {};
}

QMessageBox::Icon TypeIcon(dlg::BoxType type) {
  switch (type) {
    case dlg::BoxType::Warning: return QMessageBox::Warning;
    case dlg::BoxType::Error: return QMessageBox::Critical;
    case dlg::BoxType::Information: return QMessageBox::Information;
    case dlg::BoxType::Confirmation: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

// A CP932 path as the file dialogs want it, and back.
QString DiskPath(const std::string& path) {
  if (path.empty()) return {};
  return QFile::decodeName(QByteArray::fromStdString(plat::fs::ToDiskPath(path)));
}

std::string ProgramPath(const QString& path) {
  return plat::fs::FromDiskPath(QFile::encodeName(path).toStdString());
}

}  // namespace

QWidget* QtDialogs::Parent() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return parent_.data();
}

dlg::Button QtDialogs::MessageBox(const std::string& text, dlg::BoxType type, const dlg::Buttons& buttons) {
  QMessageBox box(TypeIcon(type), TypeCaption(type), ui::TrMessage(text), QMessageBox::NoButton,
                  Parent());
  box.setTextFormat(Qt::PlainText);
  std::vector<std::pair<QAbstractButton*, dlg::Button>> shown;
  const dlg::Buttons& set = buttons.empty() ? dlg::Buttons{dlg::Button::Ok} : buttons;
  for (dlg::Button b : set) {
    QPushButton* pb = box.addButton(ToQt(b));
    if (shown.empty()) box.setDefaultButton(pb);
    shown.emplace_back(pb, b);
  }
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  for (const auto& [pb, b] : shown)
    if (pb == clicked) return b;
  return dlg::Button::Cancel;
}

std::optional<std::string> QtDialogs::InputBox(const std::string& caption, const std::string& prompt,
                                               const std::string& text) {
  QInputDialog box(Parent());
  box.setInputMode(QInputDialog::TextInput);
  box.setWindowTitle(ui::TrMessage(caption));
  box.setLabelText(ui::TrMessage(prompt));
  box.setTextValue(codec::ToQt(text));
  for (;;) {
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    QString unmappable;
    if (auto bytes = codec::FromQtKeeping(box.textValue(), text, &unmappable)) return bytes;
    ShowRefusal(&box, unmappable);
  }
}

QString QtDialogs::QtFilter(const std::string& filter) {
  const QString f = codec::ToQt(filter);
  const QStringList parts = f.split(QChar('|'));
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString label = parts[i].trimmed();
    // "Text files (*.txt)" already names its patterns; do not name them twice.
    if (label.endsWith(QChar(')'))) {
      const qsizetype open = label.lastIndexOf(QChar('('));
      if (open > 0) label = label.left(open).trimmed();
    }
    label = ui::TrText(ui::ctx::kMessage, label);
    QString patterns = parts[i + 1];
    patterns.replace(QChar(';'), QChar(' '));
    out << QStringLiteral("%1 (%2)").arg(label, patterns.simplified());
  }
  return out.join(QStringLiteral(";;"));
}

std::optional<std::string> QtDialogs::OpenFile(const std::string& filter, const std::string& initial) {
  const QString name = QFileDialog::getOpenFileName(Parent(), QString(), DiskPath(initial), QtFilter(filter));
  if (name.isEmpty()) return std::nullopt;
  return ProgramPath(name);
}

std::optional<std::string> QtDialogs::SaveFile(const std::string& filter, const std::string& defaultExt,
                                               const std::string& initial) {
  QFileDialog box(Parent(), QString(), DiskPath(initial), QtFilter(filter));
  box.setAcceptMode(QFileDialog::AcceptSave);
  box.setFileMode(QFileDialog::AnyFile);
  box.setDefaultSuffix(codec::ToQt(defaultExt));
  if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) return std::nullopt;
  return ProgramPath(box.selectedFiles().constFirst());
}

std::optional<std::string> QtDialogs::ChooseFolder(const std::string& initial) {
  const QString dir = QFileDialog::getExistingDirectory(Parent(), QString(), DiskPath(initial));
  if (dir.isEmpty()) return std::nullopt;
  std::string path = ProgramPath(dir);
  if (path.empty() || path.back() != '/') path.push_back('/');
  return path;
}

void QtDialogs::SetClipboardText(const std::string& text) {
  // Lines end with LF on this desktop.
  QApplication::clipboard()->setText(codec::MemoToQt(text));
}

void ShowRefusal(QWidget* parent, const QString& unmappable) {
  QMessageBox box(QMessageBox::Warning, ui::TrText(ui::ctx::kMessage, QStringLiteral("Warning")),
                  codec::RefusalText(unmappable),
                  QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace app

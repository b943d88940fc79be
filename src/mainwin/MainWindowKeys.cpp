// Keys that cross between the main window and the card editor: F6 moves
// the focus from one to the other, and the main window's &-letters work
// while the editor has the focus, the editor's own letter winning.
//
// The card editor is a tool window of the main window, so Qt already lets
// the main window's &-letters fire while the editor is active. A letter
// both windows use, though (Alt+S: the editor's "Std" page and Save), is
// ambiguous to Qt and then does nothing at all. One application event
// filter settles it: at the shortcut check of such a key it takes the key
// over and performs the editor's own letter. It also carries F6, and
// passes an Alt+letter no shortcut took on to the main window's button.
#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QTabBar>
#include <QTableView>
#include <QTimer>

#include "editor/CardEditorWindow.h"
#include "mainwin/MainWindow.h"

namespace mainwin {
namespace {

QKeySequence AltKey(int key) { return QKeySequence(QKeyCombination(Qt::AltModifier, static_cast<Qt::Key>(key))); }

bool Usable(const QWidget* w, const QWidget* window) {
  return w->window() == window && w->isVisible() && w->isEnabled();
}

// Performs the &-letter of window for Alt+key as Qt's own mnemonic does
// (button: pressed; label: its buddy focused; tab: chosen). False when
// the window has no usable control with that letter.
bool RunOwnLetter(QWidget* window, int key, bool run) {
  const QKeySequence wanted = AltKey(key);
  for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
    if (!Usable(b, window) || QKeySequence::mnemonic(b->text()) != wanted) continue;
    if (run) {
      if (b->focusPolicy() != Qt::NoFocus) b->setFocus(Qt::ShortcutFocusReason);
      b->animateClick();
    }
    return true;
  }
  for (QTabBar* t : window->findChildren<QTabBar*>()) {
    if (!Usable(t, window)) continue;
    for (int i = 0; i < t->count(); ++i) {
      if (!t->isTabEnabled(i) || QKeySequence::mnemonic(t->tabText(i)) != wanted) continue;
      if (run) t->setCurrentIndex(i);
      return true;
    }
  }
  for (QLabel* l : window->findChildren<QLabel*>()) {
    QWidget* buddy = l->buddy();
    if (!buddy || !Usable(l, window) || !buddy->isEnabled() || QKeySequence::mnemonic(l->text()) != wanted)
      continue;
    if (run) buddy->setFocus(Qt::ShortcutFocusReason);
    return true;
  }
  return false;
}

class KeyRouter : public QObject {
 public:
  explicit KeyRouter(MainWindow& main) : QObject(&main), main_(main) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::ShortcutOverride) || !watched->isWidgetType()) return false;
    QWidget* window = static_cast<QWidget*>(watched)->window();
    QWidget* editor = main_.cardEditor();
    if (window != &main_ && (!editor || window != editor)) return false;  // dialogs keep their keys
    auto* ke = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = ke->modifiers() & ~Qt::KeypadModifier;

    if (ke->key() == Qt::Key_F6 && mods == Qt::NoModifier) {
      if (type == QEvent::ShortcutOverride) return false;
      if (window == &main_)
        main_.FocusEditor();
      else
        main_.FocusMain();
      return true;
    }
    if (window != editor || mods != Qt::AltModifier) return false;

    if (type == QEvent::ShortcutOverride) {
      // Both windows have the letter: the editor's own is performed here,
      // and the key is claimed so that Qt's shortcut check (which would
      // find it ambiguous) does not run; its key press is swallowed below.
      if (!main_.AcceleratorButton(ke->key()) || !RunOwnLetter(editor, ke->key(), false)) return false;
      RunOwnLetter(editor, ke->key(), true);
      ke->accept();
      swallow_ = ke->key();
      return true;
    }
    if (swallow_ == ke->key()) {
      swallow_ = 0;
      return true;
    }
    // No shortcut took the letter: the main window's button, if it has one.
    if (QAbstractButton* b = main_.AcceleratorButton(ke->key())) {
      QTimer::singleShot(0, b, &QAbstractButton::animateClick);
      return true;
    }
    return false;
  }

 private:
  MainWindow& main_;
  int swallow_ = 0;  // the key press of a letter already performed
};

}  // namespace

void MainWindow::InstallKeyRouter() {
  if (keyRouter_) return;
  keyRouter_ = new KeyRouter(*this);
  qApp->installEventFilter(keyRouter_);
}

void MainWindow::FocusEditor() {
  if (!editor_ || !editor_->isEnabled()) return;
  QWidget* last = editor_->focusWidget();
  if (editor_->isMinimized()) editor_->showNormal();
  if (last && last != editor_ && last->isVisible() && last->isEnabled()) {
    editor_->show();
    editor_->raise();
    editor_->activateWindow();
    last->setFocus(Qt::ShortcutFocusReason);
  } else {
    editor_->FocusAddr();  // shown, raised and activated as Enter on the grid does
  }
}

void MainWindow::FocusMain() {
  // What was typed in the editor is taken over now, as leaving it does,
  // even where the window manager is slow to move the activation.
  Run([] {});
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
  QWidget* last = focusWidget();
  if (last && last->isVisible() && last->isEnabled())
    last->setFocus(Qt::ShortcutFocusReason);
  else
    tbl_->setFocus(Qt::ShortcutFocusReason);
}

QAbstractButton* MainWindow::AcceleratorButton(int key) const {
  const QKeySequence wanted = AltKey(key);
  for (QAbstractButton* b : findChildren<QAbstractButton*>()) {
    if (!Usable(b, this) || QKeySequence::mnemonic(b->text()) != wanted) continue;
    return b;
  }
  return nullptr;
}

}  // namespace mainwin

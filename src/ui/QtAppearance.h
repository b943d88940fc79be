// The look shared by every window: the Japanese fonts, the program's
// icon, and the frame that shows which pane has the keyboard focus.
#pragma once

#include <QFrame>
#include <QStringList>
#include <functional>

class QApplication;
class QFont;

namespace app {

// Japanese faces, best first: proportional for the windows, fixed pitch
// for the lists that draw with characters. A family that is not installed
// is skipped by Qt; the list still ends in a generic name.
const QStringList& JapaneseFamilies();
const QStringList& JapaneseFixedFamilies();

// The families to ask for: the installed ones of `wanted` in that order;
// when none is installed, the installed families that can write Japanese
// (so a machine with any Japanese font still shows every character);
// always ending in `generic` (the desktop's default for its kind).
QStringList ChooseFamilies(const QStringList& wanted, const QString& generic,
                           const std::function<bool(const QString&)>& installed,
                           const QStringList& japaneseCapable);

// Makes the first installed Japanese face the application font, with the
// others as fallbacks before the desktop's face.
void SetUpAppearance(QApplication& app);
// A fixed-pitch face holding Japanese, at the size of `base`.
QFont JapaneseFixedFont(const QFont& base);
// The program's icon (built into the program) for every window, and the
// desktop entry's name so the desktop finds the icon for the window too.
void SetUpWindowIcon(QApplication& app);

// A thin frame around one pane (a tree, a grid, an editor page). It is
// drawn in the palette's highlight colour while the keyboard focus is
// inside the pane and plain otherwise, so the pane with the focus stands
// out more than through the style's faint focus rectangle.
class FocusFrame : public QFrame {
  Q_OBJECT
  Q_PROPERTY(bool focusShown READ focusShown NOTIFY focusShownChanged)
 public:
  explicit FocusFrame(QWidget* parent = nullptr);
  // Puts content (reparented) inside the frame.
  void setContent(QWidget* content);
  QWidget* content() const { return content_; }
  bool focusShown() const { return shown_; }

 signals:
  void focusShownChanged(bool shown);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Follow(QWidget* now);

  QWidget* content_ = nullptr;
  bool shown_ = false;
};

}  // namespace app

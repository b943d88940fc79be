#include "ui/QtAppearance.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QPainter>
#include <QVBoxLayout>

namespace app {
namespace {

constexpr int kFrameWidth = 2;

QStringList InstalledJapanese() {
  return QFontDatabase::families(QFontDatabase::Japanese);
}

bool Installed(const QString& family) { return QFontDatabase::hasFamily(family); }

}  // namespace

const QStringList& JapaneseFamilies() {
  // Kanji shared with Chinese come in Japanese glyph forms only from a
  // Japanese face; fontconfig would often pick a Chinese one for them.
  static const QStringList f{QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Source Han Sans JP"),
                             QStringLiteral("IPAexGothic"),      QStringLiteral("IPAPGothic"),
                             QStringLiteral("TakaoPGothic"),     QStringLiteral("VL PGothic"),
                             QStringLiteral("Droid Sans Japanese")};
  return f;
}

const QStringList& JapaneseFixedFamilies() {
  static const QStringList f{QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("IPAGothic"),
                             QStringLiteral("TakaoGothic"), QStringLiteral("VL Gothic"),
                             QStringLiteral("Source Han Code JP")};
  return f;
}

QStringList ChooseFamilies(const QStringList& wanted, const QString& generic,
                           const std::function<bool(const QString&)>& installed,
                           const QStringList& japaneseCapable) {
  QStringList out;
  for (const QString& f : wanted)
    if (installed(f)) out << f;
  if (out.isEmpty()) out = japaneseCapable;
  if (!generic.isEmpty() && !out.contains(generic)) out << generic;
  return out;
}

void SetUpAppearance(QApplication& app) {
  QFont f = QApplication::font();
  const QStringList families = ChooseFamilies(JapaneseFamilies(), f.family(), Installed, InstalledJapanese());
  f.setFamilies(families);
  app.setFont(f);
}

QFont JapaneseFixedFont(const QFont& base) {
  QFont f = base;
  f.setFamilies(ChooseFamilies(JapaneseFixedFamilies(), QStringLiteral("monospace"), Installed,
                               QFontDatabase::families(QFontDatabase::Japanese)));
  f.setStyleHint(QFont::Monospace);
  f.setFixedPitch(true);
  return f;
}

void SetUpWindowIcon(QApplication& app) {
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256}) {
    const QString file = QStringLiteral(":/q7addr/q7addr-%1.png").arg(size);
    if (QFile::exists(file)) icon.addFile(file, QSize(size, size));
  }
  if (!icon.isNull()) app.setWindowIcon(icon);
  QGuiApplication::setDesktopFileName(QStringLiteral("q7addr"));
}

FocusFrame::FocusFrame(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("FocusFrame"));
  auto* l = new QVBoxLayout(this);
  l->setContentsMargins(kFrameWidth, kFrameWidth, kFrameWidth, kFrameWidth);
  l->setSpacing(0);
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { Follow(now); });
}

void FocusFrame::setContent(QWidget* content) {
  content_ = content;
  layout()->addWidget(content);
  Follow(QApplication::focusWidget());
}

void FocusFrame::Follow(QWidget* now) {
  const bool inside = now && isAncestorOf(now);
  if (inside == shown_) return;
  shown_ = inside;
  update();
  emit focusShownChanged(shown_);
}

void FocusFrame::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  if (!shown_) return;
  QPainter p(this);
  p.setPen(QPen(palette().color(QPalette::Active, QPalette::Highlight), kFrameWidth));
  p.setBrush(Qt::NoBrush);
  const qreal half = kFrameWidth / 2.0;
  p.drawRect(QRectF(rect()).adjusted(half, half, -half, -half));
}

}  // namespace app

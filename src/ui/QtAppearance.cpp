#include "ui/QtAppearance.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace app {

void SetUpAppearance(QApplication& app) {
  // Kanji shared with Chinese would otherwise come in whichever CJK face
  // fontconfig prefers for the locale, often the Chinese one.
  const QString family = QStringLiteral("Noto Sans CJK JP");
  if (!QFontDatabase::hasFamily(family)) return;
  QFont f = QApplication::font();
  f.setFamilies({family});
  app.setFont(f);
}

}  // namespace app

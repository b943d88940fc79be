// Fonts that show Japanese with Japanese glyph forms.
#pragma once

class QApplication;

namespace app {

// Makes a Japanese Noto CJK face the application font when it is
// installed; otherwise the desktop's font stays.
void SetUpAppearance(QApplication& app);

}  // namespace app

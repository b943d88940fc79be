#include "platform/Dialogs.h"

namespace dlg {

void FileErrorBox(Dialogs& d, const std::string& name, const char* phrase) {
  d.MessageBox(name + "\r\n" + phrase, BoxType::Error, {Button::Ok});
}

}  // namespace dlg

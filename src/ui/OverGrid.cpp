#include "ui/OverGrid.h"

#include <QWidget>

namespace ui {

void PlaceOverGrid(QWidget* dialog, const QWidget* mainWindow, const QWidget* grid) {
  if (!dialog || !mainWindow || !grid) return;
  const QRect frame = mainWindow->frameGeometry();
  const int gridLeft = grid->mapTo(mainWindow, QPoint(0, 0)).x();
  // The frames line up at the top; the dialog's client area is as high as
  // the main window's.
  dialog->resize(grid->width(), mainWindow->height());
  dialog->move(frame.x() + gridLeft + 6, frame.y());
}

}  // namespace ui

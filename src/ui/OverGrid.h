// The dialogs that lie over the main window's address grid (group edit,
// options, print, import): the main window's top and height, the left edge
// at the main window's left + the grid's left + 6, the grid's width.
#pragma once

class QWidget;

namespace ui {

void PlaceOverGrid(QWidget* dialog, const QWidget* mainWindow, const QWidget* grid);

}  // namespace ui

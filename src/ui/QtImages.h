// The five 15 by 15 images of the main window's two image lists, drawn at
// run time so that they stay sharp at any screen scale.
#pragma once

#include <QPixmap>

namespace images {

inline constexpr int kImageSize = 15;

enum class Image { GrpOff, GrpOn, Folder, CheckOff, CheckOn };

const QPixmap& Get(Image which);

// ImageList1 of the group tree: 0 unchecked group, 1 checked group, 2
// top-level folder; any other index shows as unchecked.
const QPixmap& GroupTreeImage(int index);
// ImageCheckList of the group lists: 0 check box off, 1 on, 2 folder; any
// other index shows as off.
const QPixmap& CheckListImage(int index);

}  // namespace images

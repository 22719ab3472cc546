#pragma once

#include <QIcon>

namespace tarvelin {

// The shared image list: menus, toolbars and list trees refer to its pictures by index.
constexpr int kImageCount = 34;

// The list window's toolbar has an image list of its own; the values are its indexes.
enum class ListToolbarImage { Bold = 0, Italic = 1, Underline = 2, ColourPen = 3, MemoPad = 4, Save = 5 };
constexpr int kListToolbarImageCount = 6;

// A null icon for an index outside 0 .. kImageCount - 1.
QIcon imageListIcon(int index);
QIcon listToolbarIcon(ListToolbarImage which);
// The program's own picture, for windows and the desktop.
QIcon programIcon();
// A drive, for the folder tree where the desktop has no icon theme (its folders and the desktop take the
// image list's pictures).
QIcon driveIcon();

}  // namespace tarvelin

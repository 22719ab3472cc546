#pragma once

#include <QString>

class QAction;
class QMenu;

namespace tarvelin {

// A menu item with its object name and, for icon >= 0, the shared image list's picture.
QAction* addMenuItem(QMenu* menu, const QString& name, const QString& caption, int icon = -1);
QAction* addMenuSeparator(QMenu* menu, const QString& name);

}  // namespace tarvelin

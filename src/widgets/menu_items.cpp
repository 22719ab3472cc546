#include "widgets/menu_items.h"

#include <QMenu>

#include "widgets/image_list.h"

namespace tarvelin {

QAction* addMenuItem(QMenu* menu, const QString& name, const QString& caption, int icon) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    if (icon >= 0) action->setIcon(imageListIcon(icon));
    return action;
}

QAction* addMenuSeparator(QMenu* menu, const QString& name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(name);
    return action;
}

}  // namespace tarvelin

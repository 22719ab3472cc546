#include "app/list_tab_bar.h"

#include <QFontMetrics>
#include <algorithm>

namespace tarvelin {

QSize ListTabBar::minimumTabSizeHint(int index) const {
    QSize size = tabSizeHint(index);
    const QString text = tabText(index);
    if (text.size() <= kShownWhole) return size;
    const QFontMetrics metrics = fontMetrics();
    const int cut = std::max(
        0, metrics.horizontalAdvance(text) - metrics.horizontalAdvance(text.left(kKept) + QChar(0x2026)));
    const bool vertical = shape() == RoundedWest || shape() == RoundedEast || shape() == TriangularWest ||
                          shape() == TriangularEast;
    (vertical ? size.rheight() : size.rwidth()) -= cut;
    return size;
}

}  // namespace tarvelin

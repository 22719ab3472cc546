#pragma once

#include <QTabBar>

namespace tarvelin {

// The tab bar of the tab column. When the tabs do not fit, a short list name still shows whole and a long
// one keeps its first characters before the column scrolls, instead of every tab shrinking to a letter.
class ListTabBar final : public QTabBar {
    Q_OBJECT
public:
    using QTabBar::QTabBar;

    static constexpr int kShownWhole = 8;  // names up to this many characters are never cut
    static constexpr int kKept = 6;        // what a longer name keeps before the ellipsis

protected:
    QSize minimumTabSizeHint(int index) const override;
};

}  // namespace tarvelin

#include "widgets/deferred_standard_icons.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCommonStyle>
#include <QToolBar>
#include <QToolButton>
#include <map>
#include <memory>

namespace tarvelin {
namespace {

// Counts the pictures asked of the style underneath.
class CountingStyle : public QCommonStyle {
public:
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        ++asked[which];
        return QCommonStyle::standardIcon(which, option, widget);
    }
    mutable std::map<StandardPixmap, int> asked;
};

QImage picture(const QIcon& icon) {
    return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

TEST(DeferredStandardIconStyle, ReadsTheOverflowPictureWhenFirstDrawnAndOthersAtOnce) {
    const QString before = QApplication::style()->name();
    auto* counting = new CountingStyle;
    auto* style = new DeferredStandardIconStyle(counting);
    QApplication::setStyle(style);
    auto bar = std::make_unique<QToolBar>();
    auto* overflow = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
    ASSERT_NE(overflow, nullptr);
    EXPECT_EQ(counting->asked[QStyle::SP_ToolBarHorizontalExtensionButton], 0);

    const QImage drawn = picture(overflow->icon());
    EXPECT_EQ(counting->asked[QStyle::SP_ToolBarHorizontalExtensionButton], 1);
    EXPECT_FALSE(drawn.isNull());
    EXPECT_EQ(drawn, picture(QCommonStyle().standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton)));
    picture(overflow->icon());
    EXPECT_EQ(counting->asked[QStyle::SP_ToolBarHorizontalExtensionButton], 1) << "read once";

    style->standardIcon(QStyle::SP_DirIcon);
    EXPECT_EQ(counting->asked[QStyle::SP_DirIcon], 1) << "other pictures are not deferred";
    bar.reset();
    QApplication::setStyle(before);
}

}  // namespace
}  // namespace tarvelin

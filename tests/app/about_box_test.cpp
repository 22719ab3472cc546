#include "app/about_box.h"

#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/bevel_panel.h"
#include "app/link_label.h"
#include "app/main_window.h"
#include "support/controls.h"
#include "support/fake_services.h"
#include "support/temp_folder.h"

namespace tarvelin {
namespace {

const AboutTexts kTexts{QStringLiteral("credit line"),
                        QStringLiteral("file:///usr/share/tarvelin2/TARVELIN2.html"), QStringLiteral("Help"),
                        QStringLiteral("someone@example.org")};

struct AboutBoxTest : ::testing::Test {
    test::FakeShell shell;
    TAboutBox box{shell, kTexts};
};

TEST_F(AboutBoxTest, LaysOutItsControlsWithTheirTexts) {
    EXPECT_EQ(box.windowTitle(), QStringLiteral("バージョン情報"));
    EXPECT_EQ(box.size(), QSize(306, 213));
    EXPECT_EQ(box.minimumSize(), box.maximumSize()) << "fixed size";
    struct Case {
        QWidget* control;
        QRect geometry;  // an empty size: only the position is fixed
        QString text;
        bool blue;
    };
    const Case cases[] = {
        {box.Panel1, {8, 8, 289, 161}, {}, false},
        {box.ProgramIcon, {20, 16, 32, 32}, {}, false},
        {box.ProductName, {88, 16, 0, 0}, QStringLiteral("Tarvelin2"), false},
        {box.Version, {88, 40, 0, 0}, QStringLiteral("Ver 2.0"), false},
        {box.Copyright, {8, 80, 0, 0}, kTexts.credit, false},
        {box.Comments, {8, 104, 0, 0}, kTexts.webText, true},
        {box.Label1, {8, 120, 0, 0}, kTexts.email, true},
        {box.OKButton, {111, 180, 75, 25}, QStringLiteral("OK"), false},
    };
    for (const Case& c : cases) {
        const QString name = c.control->objectName();
        if (c.geometry.isEmpty()) {
            EXPECT_EQ(c.control->pos(), c.geometry.topLeft()) << name.toStdString();
        } else {
            EXPECT_EQ(c.control->geometry(), c.geometry) << name.toStdString();
        }
        if (auto* label = qobject_cast<QLabel*>(c.control); label && !c.text.isNull()) {
            EXPECT_EQ(label->text(), c.text) << name.toStdString();
        }
        if (auto* button = qobject_cast<QPushButton*>(c.control)) {
            EXPECT_EQ(button->text(), c.text);
        }
        EXPECT_EQ(c.control->palette().color(QPalette::WindowText) == QColor(0, 0, 255), c.blue)
            << name.toStdString();
        EXPECT_EQ(c.control->font().pixelSize(), 12) << name.toStdString();
    }
    for (QWidget* inside : std::initializer_list<QWidget*>{box.ProgramIcon, box.Comments, box.Label1})
        EXPECT_EQ(inside->parentWidget(), box.Panel1);
    EXPECT_TRUE(box.OKButton->isDefault());
    EXPECT_FALSE(box.ProgramIcon->pixmap().isNull());
}

TEST_F(AboutBoxTest, PanelHasLoweredOuterAndRaisedInnerBevel) {
    const QImage image = box.Panel1->grab().toImage();
    const QPalette& p = box.Panel1->palette();
    const QColor dark = p.color(QPalette::Dark), light = p.color(QPalette::Light);
    ASSERT_NE(dark, light);
    struct Case {
        QPoint at;
        QColor colour;
    };
    const Case cases[] = {
        {{0, 0}, dark},
        {{100, 0}, dark},
        {{0, 80}, dark},
        {{288, 160}, light},
        {{100, 160}, light},
        {{288, 80}, light},
        {{1, 1}, light},
        {{100, 1}, light},
        {{287, 159}, dark},
        {{287, 80}, dark},
        {{144, 80}, p.color(QPalette::Button)},
    };
    for (const Case& c : cases) EXPECT_EQ(image.pixel(c.at), c.colour.rgb()) << c.at.x() << "," << c.at.y();
}

TEST_F(AboutBoxTest, HoverUnderlinesALinkAndRestoresItsExactFont) {
    for (LinkLabel* link : {box.Comments, box.Label1}) {
        QFont styled = link->font();
        styled.setBold(true);
        styled.setItalic(true);
        link->setFont(styled);
        const QFont before = link->font();
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(link, &enter);
        QFont expected = before;
        expected.setUnderline(true);
        EXPECT_EQ(link->font(), expected) << link->objectName().toStdString();
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(link, &leave);
        EXPECT_EQ(link->font(), before) << link->objectName().toStdString();
        EXPECT_FALSE(link->font().underline());
    }
}

TEST_F(AboutBoxTest, LinksGoToTheShell) {
    box.show();
    QTest::mouseClick(box.Comments, Qt::RightButton);
    QTest::mouseClick(box.Comments, Qt::LeftButton);
    QTest::mouseClick(box.Label1, Qt::LeftButton);
    const std::vector<test::Call> expected{
        {"openUrl", {kTexts.webAddress}},
        {"openUrl", {QStringLiteral("mailto:someone@example.org")}},
    };
    EXPECT_EQ(shell.calls, expected);
}

TEST(AboutBox, ShowsALongAddressWholeOnTwoLinesAndShortensOnlyOneThatCannotFit) {
    const struct {
        QString address;
        bool whole;
    } cases[] = {
        {QStringLiteral("maintainers@users.noreply.c-seed-3528743b.example"), true},
        {QStringLiteral(
             "a-very-long-mailbox-name-that-cannot-fit-even-on-three-lines@in.a.panel.of.this.width.example."
             "with.more.parts.than.any.real.address.would.have"),
         false},
    };
    for (const auto& c : cases) {
        test::FakeShell shell;
        TAboutBox box(shell, {{}, {}, {}, c.address}, nullptr);
        const QString shown = box.Label1->text().remove(QChar(0x200B));
        EXPECT_EQ(shown == c.address, c.whole) << shown.toStdString();
        EXPECT_EQ(shown.contains(QStringLiteral("…")), !c.whole) << shown.toStdString();
        EXPECT_EQ(box.Label1->toolTip(), c.whole ? QString() : c.address);
        EXPECT_LE(box.Label1->geometry().right(), box.Panel1->width() - 3);
        EXPECT_LE(box.Label1->geometry().bottom(), box.Panel1->height() - 3);
        box.Label1Click();
        EXPECT_EQ(shell.calls,
                  (std::vector<test::Call>{{"openUrl", {QStringLiteral("mailto:") + c.address}}}));
    }
}

TEST_F(AboutBoxTest, ShowsAgainAndAgainAndEveryCloseIsOk) {
    const std::function<void()> closers[] = {
        [this] { QTest::mouseClick(box.OKButton, Qt::LeftButton); },
        [this] { QTest::keyClick(&box, Qt::Key_Return); },
        [this] { box.close(); },  // the close box
        [this] { QTest::mouseClick(box.OKButton, Qt::LeftButton); },
    };
    int shown = 0;
    for (const auto& close : closers) {
        QTimer::singleShot(0, &box, [&] {
            shown += box.isVisible() && box.isModal();
            close();
        });
        box.exec();
        EXPECT_FALSE(box.isVisible());
    }
    EXPECT_EQ(shown, 4);
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_EQ(box.Comments->text(), kTexts.webText) << "the same dialog, contents kept";
}

TEST(AboutBoxInMainWindow, VersionCommandShowsTheOneDialogEachTime) {
    test::TempFolder dir;
    test::FakeServices fakes;
    TKX2 window(fakes.services(dir.path()));
    QAction* About1 = test::control<QAction>(window, "About1");
    EXPECT_FALSE(About1->isEnabled()) << "no dialog yet";
    TAboutBox box(fakes.shell, kTexts, &window);
    int made = 0;
    window.setAboutBox([&]() -> QDialog* {
        ++made;
        return &box;
    });
    EXPECT_TRUE(About1->isEnabled());
    EXPECT_EQ(made, 0) << "made when first asked for";
    int shown = 0;
    for (int i = 0; i < 2; ++i) {
        QTimer::singleShot(0, &box, [&] {
            shown += box.isVisible() && box.isModal();
            box.close();
        });
        About1->trigger();
        EXPECT_FALSE(box.isVisible());
    }
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(made, 1);
}

}  // namespace
}  // namespace tarvelin

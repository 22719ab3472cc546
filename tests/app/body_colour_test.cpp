// The body colour as the screen shows it: what toolbars draw, not what their palettes hold.
#include <gtest/gtest.h>

#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolBar>

#include "app/list_windows.h"
#include "app/main_window.h"
#include "lists/list_window.h"
#include "support/controls.h"
#include "support/fake_services.h"
#include "support/temp_folder.h"

namespace tarvelin {
namespace {

// The colour drawn at the free end of a toolbar, past its buttons, half way down.
QColor drawnBesideTheButtons(QToolBar* bar) {
    const QImage image = bar->grab().toImage();
    return image.pixelColor(image.width() - 3, image.height() / 2);
}

TEST(BodyColour, ReachesTheToolbarsOfTheMainWindowAndOfListWindows) {
    test::TempFolder dir;
    dir.write("KX2cfg.ini", "[Color]\r\nAppBody=65280\r\n");  // green
    test::FakeServices fakes;
    TKX2 window(fakes.services(dir.path()));
    window.resize(800, 600);
    window.show();
    auto* mainBar1 = test::control<QToolBar>(window, "ToolBar1");  // before a list window brings its own
    auto* mainBar2 = test::control<QToolBar>(window, "ToolBar2");
    window.lists().New1Click();
    auto* list = qobject_cast<TList*>(window.lists().area()->activeSubWindow()->widget());
    ASSERT_NE(list, nullptr);
    const QColor green(0, 255, 0);
    for (QToolBar* bar : {mainBar1, mainBar2, list->ToolBar1})
        EXPECT_EQ(drawnBesideTheButtons(bar), green) << bar->objectName().toStdString();
}

}  // namespace
}  // namespace tarvelin

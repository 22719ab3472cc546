#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <filesystem>

#include "app/list_windows.h"
#include "app/main_window.h"
#include "browser/shell_tree_view.h"
#include "lists/list_tree_view.h"
#include "lists/list_window.h"
#include "settings/colour_box.h"
#include "settings/settings_dialog.h"
#include "support/controls.h"
#include "support/fake_services.h"
#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using test::control;
using test::FakeServices;
using test::TempFolder;

QColor treeBackground(const TList* list) {
    return list->TreeView1->palette().color(QPalette::Base);
}

TEST(SettingsCommand, OkReRootsTheTreeAndRepaintsTheMainWindowButOnlyLaterListsTakeTheBinderColours) {
    TempFolder dir;
    std::filesystem::create_directories(dir.file("start"));
    std::filesystem::create_directories(dir.file("new"));
    dir.write("KX2cfg.ini", "[Folder]\r\nTreeDir=" + dir.file("start") + "\r\n[Color]\r\nriBack=255\r\n");
    FakeServices fakes;
    TKX2 window(fakes.services(dir.path()));
    window.show();
    TProForm& form = window.settingsDialog();
    auto* tree = control<ShellTreeView>(window, "ShellTreeView1");
    // The menu command shows the dialog modally, with the colours the main window has now.
    bool modal = false;
    QTimer::singleShot(0, &form, [&] {
        modal = form.isModal() && form.isVisible();
        form.Button4->click();
    });
    control<QAction>(window, "N1")->trigger();
    EXPECT_TRUE(modal);
    EXPECT_EQ(form.ColorBoxes[static_cast<size_t>(ColourKey::riBack)]->colour(), rgbColour(255, 0, 0));

    window.lists().New1Click();
    TList* before = window.lists().listWindows().front();
    form.show();
    form.Edit2->setText(QString::fromStdString(dir.file("new")));
    form.ColorBoxes[static_cast<size_t>(ColourKey::vtBack)]->setColour(rgbColour(0, 0, 255));
    form.ColorBoxes[static_cast<size_t>(ColourKey::riBack)]->setColour(rgbColour(0, 255, 0));
    form.Button3Click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(tree->root(), dir.file("new"));
    EXPECT_EQ(control<QWidget>(window, "ListBox1")->palette().color(QPalette::Base), QColor(0, 255, 0));
    EXPECT_NE(treeBackground(before), QColor(0, 0, 255));
    window.lists().New1Click();
    EXPECT_EQ(treeBackground(window.lists().listWindows().back()), QColor(0, 0, 255));

    control<QToolButton>(window, "ToolButton8")->click();  // back to the root read at start-up
    EXPECT_EQ(tree->root(), dir.file("start"));
}

}  // namespace
}  // namespace tarvelin

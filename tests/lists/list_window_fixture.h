#pragma once

#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>
#include <QTest>
#include <memory>

#include "app/list_windows.h"
#include "app/main_window.h"
#include "app/tab_column.h"
#include "lists/list_tree_model.h"
#include "lists/list_window.h"
#include "support/controls.h"
#include "support/fake_services.h"
#include "support/temp_folder.h"

namespace tarvelin::test {

// Waits until the disk has answered for every icon of the list that waits on it.
inline bool iconsSettled(const TList& list) {
    return QTest::qWaitFor([&] { return !list.model()->iconsPending(); }, 5000);
}

// A shown main window over a temporary program folder, with scripted dialogs.
class ListWindowTest : public ::testing::Test {
protected:
    ListWindowTest() : window(std::make_unique<TKX2>(fakes.services(dir.path()))) { window->show(); }

    // Opens path through the main window's open-list command.
    void openThroughDialog(const std::string& path) {
        fakes.dialogs.fileAnswers.push_back(path);
        window->lists().N2Click();
    }
    std::string writeList(const std::string& name, const std::string& bytes) {
        dir.write(name, bytes);
        return dir.file(name);
    }
    QStringList tabTexts() const {
        QStringList texts;
        for (int i = 0; i < control<QTabBar>(*window, "TabControl1")->count(); ++i)
            texts << control<QTabBar>(*window, "TabControl1")->tabText(i);
        return texts;
    }
    TList* activeList() const {
        QMdiSubWindow* frame = window->lists().area()->activeSubWindow();
        return frame ? qobject_cast<TList*>(frame->widget()) : nullptr;
    }
    // A rename of the root to its own text: the list counts as changed, its bytes stay the same.
    static void touch(TList* list) {
        const NodeId root = list->document().tree.first();
        list->model()->setText(root, list->document().tree.text(root));
    }
    QStringList captions() const {
        QStringList texts;
        for (TList* list : window->lists().listWindows()) texts << list->windowTitle();
        return texts;
    }

    TempFolder dir;
    FakeServices fakes;
    std::unique_ptr<TKX2> window;
};

}  // namespace tarvelin::test

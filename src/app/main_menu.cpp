// MainMenu1. The "group" property orders the menus when a list window's own menus merge into this bar.
#include <QMenu>
#include <QMenuBar>

#include "app/main_window.h"
#include "widgets/error_handler.h"
#include "widgets/image_list.h"
#include "widgets/menu_items.h"

namespace tarvelin {
namespace {

QMenu* addMenu(QMenuBar* bar, const QString& name, const QString& caption, int group) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    menu->menuAction()->setProperty("group", group);
    return menu;
}

}  // namespace

void TKX2::buildMenus() {
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    File1 = addMenu(MainMenu1, QStringLiteral("File1"), QStringLiteral("ﾌｧｲﾙ"), 2);
    New1 = addMenuItem(File1, QStringLiteral("New1"), QStringLiteral("新規リスト作成"), 24);
    N2 = addMenuItem(File1, QStringLiteral("N2"), QStringLiteral("リストを開く"), 25);
    N3 = addMenuSeparator(File1, QStringLiteral("N3"));
    Exit1 = addMenuItem(File1, QStringLiteral("Exit1"), QStringLiteral("終了"));

    Window1 = addMenu(MainMenu1, QStringLiteral("Window1"), QStringLiteral("ｳｨﾝﾄﾞｳ"), 4);
    rwe1 = addMenuItem(Window1, QStringLiteral("rwe1"), QStringLiteral("並べて表示"));
    N12 = addMenuItem(Window1, QStringLiteral("N12"), QStringLiteral("画像ビューアー"));
    N13 = addMenuItem(Window1, QStringLiteral("N13"), QStringLiteral("ファイル操作モード切り替え"));

    // "設定" is a command on the bar itself, not a menu.
    N1 = MainMenu1->addAction(QStringLiteral("設定"));
    N1->setObjectName(QStringLiteral("N1"));
    N1->setProperty("group", 6);

    Help1 = addMenu(MainMenu1, QStringLiteral("Help1"), QStringLiteral("ﾍﾙﾌﾟ"), 6);
    Help2 = addMenuItem(Help1, QStringLiteral("Help2"), QStringLiteral("ヘルプ"));
    About1 = addMenuItem(Help1, QStringLiteral("About1"), QStringLiteral("バージョン情報"));

    connect(Exit1, &QAction::triggered, this, &TKX2::Exit1Click);
    connect(About1, &QAction::triggered, this, &TKX2::About1Click);
    connect(Help2, &QAction::triggered, this,
            [this] { runAction(m_services.dialogs, [this] { Help2Click(); }); });

    // The version dialog is made after the main window and enables its command when it comes in.
    About1->setEnabled(false);
}

}  // namespace tarvelin

// The main window's controls, in the order in which they take their place.
#include <QLabel>
#include <QMdiArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/list_tab_bar.h"
#include "app/main_window.h"
#include "app/operation_log.h"
#include "browser/file_operation_dialogs.h"
#include "browser/file_operation_mode.h"
#include "browser/file_operation_runner.h"
#include "browser/file_panes.h"
#include "widgets/image_list.h"
#include "widgets/ui_font.h"

namespace tarvelin {
namespace {

QToolBar* makeToolBar(const QString& name, int height, QWidget* parent) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName(name);
    bar->setFixedHeight(height);
    bar->setIconSize(QSize(16, 16));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setAutoFillBackground(true);
    bar->setContentsMargins(0, 0, 0, 0);
    return bar;
}

QToolButton* addButton(QToolBar* bar, const QString& name, int icon, const QString& hint) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setIcon(imageListIcon(icon));
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setFixedSize(23, 22);
    bar->addWidget(button);
    return button;
}

}  // namespace

void TKX2::buildLayout() {
    setFont(uiFont(12));
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Splitter1 = new QSplitter(Qt::Horizontal, central);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(2);
    Splitter1->setChildrenCollapsible(false);
    buildLeftPane();
    Splitter1->addWidget(Panel1);

    // The tab column and the client area share the right side of the splitter.
    auto* right = new QWidget(Splitter1);
    auto* row = new QHBoxLayout(right);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    TabControl1 = new ListTabBar(right);
    TabControl1->setObjectName(QStringLiteral("TabControl1"));
    TabControl1->setShape(QTabBar::RoundedWest);
    // 23 px, or what the turned tab text needs where the Japanese font is taller than on Windows.
    TabControl1->setMinimumWidth(23);
    TabControl1->setExpanding(false);
    TabControl1->setDrawBase(false);
    TabControl1->hide();
    row->addWidget(TabControl1, 0, Qt::AlignTop);

    ClientStack = new QStackedWidget(right);
    MDIClient = new QMdiArea(ClientStack);
    MDIClient->setObjectName(QStringLiteral("MDIClient"));
    ClientStack->addWidget(MDIClient);
    Panel3 = new QWidget(ClientStack);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    ClientStack->addWidget(Panel3);
    ClientStack->setCurrentWidget(MDIClient);
    row->addWidget(ClientStack, 1);
    Splitter1->addWidget(right);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({kLeftPaneWidth, 10000});
    column->addWidget(Splitter1, 1);

    ListBox1 = new OperationLog(m_services.clock, central);
    ListBox1->setFont(uiFont(12));
    ListBox1->setFixedHeight(33);
    column->addWidget(ListBox1);
    setCentralWidget(central);
    if (!m_services.fileOperations) {
        m_fileDialogs = std::make_unique<QtFileOperationDialogs>(m_services.dialogs, this);
        m_services.fileOperations = new FileOperationRunner(*m_fileDialogs, this);
    }
    m_panes = new FilePanes(m_services.dialogs, *m_services.fileOperations, Panel1,
                            static_cast<QVBoxLayout*>(Panel1->layout()), Panel3, this);
    m_mode = new FileOperationMode(Splitter1, ClientStack, Panel3, TabControl1, this);

    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(19);
    StatusBar1->setSizeGripEnabled(true);
    StatusBar1->setAutoFillBackground(true);
    // A permanent label: hovering a menu would erase a temporary status message.
    StatusText = new QLabel(StatusBar1);
    StatusText->setObjectName(QStringLiteral("StatusText"));
    StatusText->setTextFormat(Qt::PlainText);
    StatusBar1->addWidget(StatusText, 1);
}

void TKX2::buildLeftPane() {
    Panel1 = new QWidget(Splitter1);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(white);
    Panel1->setMinimumWidth(0);
    Panel1->resize(kLeftPaneWidth, Panel1->height());

    auto* column = new QVBoxLayout(Panel1);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    ToolBar2 = makeToolBar(QStringLiteral("ToolBar2"), 22, Panel1);
    ToolButton4 = addButton(ToolBar2, QStringLiteral("ToolButton4"), 24, QStringLiteral("新規リスト作成"));
    ToolButton5 = addButton(ToolBar2, QStringLiteral("ToolButton5"), 25, QStringLiteral("リストを開く"));
    ToolButton6 =
        addButton(ToolBar2, QStringLiteral("ToolButton6"), 27, QStringLiteral("画像ビューアー起動"));
    ToolButton7 =
        addButton(ToolBar2, QStringLiteral("ToolButton7"), 28, QStringLiteral("ファイル操作モード切替"));
    column->addWidget(ToolBar2);

    Panel2 = new QWidget(Panel1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto* panel2Layout = new QVBoxLayout(Panel2);
    panel2Layout->setContentsMargins(0, 0, 0, 0);
    ToolBar1 = makeToolBar(QStringLiteral("ToolBar1"), 25, Panel2);
    ToolButton8 = addButton(ToolBar1, QStringLiteral("ToolButton8"), 30,
                            QStringLiteral("ツリーのルートを起動時の表示に戻す"));
    ToolButton1 = addButton(ToolBar1, QStringLiteral("ToolButton1"), 20,
                            QStringLiteral("ツリーのルートをデスクトップに戻す"));
    ToolButton3 = addButton(ToolBar1, QStringLiteral("ToolButton3"), 23,
                            QStringLiteral("選択されたフォルダに新規フォルダ作成"));
    ToolButton2 =
        addButton(ToolBar1, QStringLiteral("ToolButton2"), 32, QStringLiteral("ファイルリストのフィルター"));
    ToolButton9 = addButton(ToolBar1, QStringLiteral("ToolButton9"), 33, QStringLiteral("ツリーを更新する"));
    panel2Layout->addWidget(ToolBar1);
    column->addWidget(Panel2);
}

}  // namespace tarvelin

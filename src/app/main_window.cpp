#include "app/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QShowEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include <QToolButton>

#include "app/auto_open.h"
#include "app/file_opening.h"
#include "app/help_document.h"
#include "app/left_list_pictures.h"
#include "app/list_windows.h"
#include "app/main_placement.h"
#include "app/operation_log.h"
#include "browser/file_list_box.h"
#include "browser/file_operation_dialogs.h"
#include "browser/file_operation_mode.h"
#include "browser/file_pane.h"
#include "browser/file_panes.h"
#include "browser/shell_tree_view.h"
#include "platform/display_name.h"
#include "platform/errors.h"
#include "platform/palette_colours.h"
#include "settings/settings_dialog.h"
#include "settings/settings_file.h"
#include "viewer/viewer_window.h"
#include "widgets/close_query.h"
#include "widgets/error_handler.h"
#include "widgets/image_list.h"
#include "widgets/ui_font.h"

namespace tarvelin {

TKX2::TKX2(Services services, QWidget* parent) : QMainWindow(parent), m_services(std::move(services)) {
    setObjectName(QStringLiteral("KX2"));
    setWindowTitle(QStringLiteral("Tarvelin2"));
    buildLayout();
    buildMenus();
    m_lists = new ListWindows(
        m_services, MDIClient, TabControl1, {MainMenu1, File1, Window1}, *ListBox1,
        [this] { return m_mode->isOn(); }, [this] { m_mode->leave(); }, this);
    m_fileOpening = std::make_unique<FileOpening>(m_services, *ListBox1, *m_lists);
    connectCommands();

    m_programFolder = m_services.programFolder;
    ApplyColourSettings();
    LoadActionSettings();
    const SettingsFile settings(m_programFolder);
    // Every key then reads its default: say so once, and never write over the file at exit.
    if (settings.tooLargeToRead())
        m_services.dialogs.error(QString::fromUtf8(tooLargeToRead(settings.path()).what()));
    restoreMainPlacement(*this, settings);
    const std::string treeRoot = settings.treeDir(SettingsFile::kDesktopRoot);
    m_panes->setStartupTreeRoot(treeRoot.empty() ? std::string(SettingsFile::kDesktopRoot) : treeRoot);
    appendLogLine(QStringLiteral("Tarvelin を起動しました。"));

    connectViewer();
}

TKX2::~TKX2() {
    // The viewer reads the left list through m_leftPictures, which goes before the child windows do.
    delete m_viewer;
    // The MDI area reports activations while it is being taken down; nothing may answer them then.
    m_lists->detach();
}

void TKX2::showItemFolder(const std::string& folder, bool rightPane) {
    m_panes->showItemFolder(folder, rightPane);
    // Entering only when the mode is off keeps the width taken before the first entry: taken again, the
    // halved width would come back on leaving.
    if (rightPane) m_mode->enter();
}

void TKX2::connectCommands() {
    connect(New1, &QAction::triggered, m_lists, &ListWindows::New1Click);
    connect(N2, &QAction::triggered, m_lists, &ListWindows::N2Click);
    connect(rwe1, &QAction::triggered, m_lists, &ListWindows::rwe1Click);
    connect(ToolButton4, &QToolButton::clicked, m_lists, &ListWindows::New1Click);
    connect(ToolButton5, &QToolButton::clicked, m_lists, &ListWindows::N2Click);
    connect(m_lists, &ListWindows::exitRequested, this, &TKX2::Exit1Click);
    connect(N1, &QAction::triggered, this, &TKX2::N1Click);
    connect(m_lists, &ListWindows::itemFolderShown, this, &TKX2::showItemFolder);
    connect(m_panes, &FilePanes::fileOpenRequested, this,
            [this](const FocusedFile& file) { m_fileOpening->open(file); });

    connect(ToolButton8, &QToolButton::clicked, m_panes, &FilePanes::ToolButton8Click);
    connect(ToolButton3, &QToolButton::clicked, m_panes, &FilePanes::ToolButton3Click);
    connect(ToolButton7, &QToolButton::clicked, m_mode, &FileOperationMode::toggle);
    connect(N13, &QAction::triggered, m_mode, &FileOperationMode::toggle);
    connect(m_mode, &FileOperationMode::entering, m_panes, [this] { m_panes->right(); });
    connect(m_mode, &FileOperationMode::switched, m_panes, &FilePanes::setFileOperationMode);
    connect(ToolButton1, &QToolButton::clicked, m_panes, &FilePanes::ToolButton1Click);
    connect(ToolButton2, &QToolButton::clicked, m_panes, &FilePanes::ToolButton2Click);
    connect(ToolButton9, &QToolButton::clicked, m_panes, &FilePanes::ToolButton9Click);
    connect(m_panes, &FilePanes::statusLineChanged, this, &TKX2::setStatusLine);
    connect(m_lists, &ListWindows::statusLineRequested, this, &TKX2::setStatusLine);
    connect(m_panes, &FilePanes::filterIconChanged, this,
            [this](int icon) { ToolButton2->setIcon(imageListIcon(icon)); });
}

void TKX2::connectViewer() {
    // Only the user's own selections in the left list reach the viewer; its paging moves that selection
    // itself.
    connect(m_panes->left().list(), &FileListBox::userSelectionChanged, this,
            [this] { viewer().PreviewFocusedImage(); });
    connect(N12, &QAction::triggered, this, [this] { viewer().Show(); });
    connect(ToolButton6, &QToolButton::clicked, this, [this] { viewer().Show(); });
    connect(Window1, &QMenu::aboutToShow, N12,
            [this] { N12->setEnabled(!m_viewer || !m_viewer->isVisible()); });
}

TViewer& TKX2::viewer() {
    // Made at the first preview or showing, not at start: nothing of it is seen before.
    if (m_viewer) return *m_viewer;
    m_leftPictures = std::make_unique<LeftListPictures>(m_panes->left());
    m_viewer = new TViewer(
        *m_leftPictures, uiFont(12), [this] { return viewerPlacement(); }, this);
    // The menu item is greyed while the viewer shows; the button always brings it to the front.
    connect(m_viewer, &TViewer::visibilityChanged, N12, [this](bool visible) { N12->setEnabled(!visible); });
    return *m_viewer;
}

MainWindowPlacement TKX2::viewerPlacement() const {
    const QRect outer = frameGeometry();
    return {{outer.x(), outer.y(), outer.width(), outer.height()},
            Panel3->mapTo(this, QPoint(0, 0)).y(),
            ToolBar2->height(),
            savedLeftPaneWidth()};
}

int TKX2::savedLeftPaneWidth() const {
    return m_mode->savedLeftWidth();
}

const std::string& TKX2::startupTreeRoot() const {
    return m_panes->startupTreeRoot();
}

void TKX2::ApplyColourSettings() {
    const SettingsFile settings(m_programFolder);
    // The binder-tree colours belong to list windows, which read them when they are made.
    for (const ColourKeyInfo& info : kColourKeys)
        if (info.key != ColourKey::vtBack && info.key != ColourKey::vtText)
            m_shownColours[static_cast<size_t>(info.key)] = settings.colour(info.key);
    m_panes->applyColours(settings);
    paintBackground(ListBox1, QPalette::Base, toQColor(settings.colour(ColourKey::riBack)));
    paintText(ListBox1, toQColor(settings.colour(ColourKey::riText)));

    m_bodyColour = settings.colour(ColourKey::AppBody);
    m_lists->setBodyColour(m_bodyColour);
    const QColor body = toQColor(m_bodyColour);
    MDIClient->setBackground(body);
    paintToolBarBackground(ToolBar1, body);
    paintToolBarBackground(ToolBar2, body);
    paintBackground(Splitter1->handle(1), QPalette::Window, body);
    paintBackground(m_panes->left().splitter()->handle(1), QPalette::Window, body);
    paintBackground(StatusBar1, QPalette::Window, body);
}

ColourValue TKX2::currentColour(ColourKey key) const {
    return m_shownColours[static_cast<size_t>(key)];
}

void TKX2::setLeftTreeRoot(const std::string& root) {
    m_panes->left().tree()->setRoot(root);
}

TProForm& TKX2::settingsDialog() {
    // Made when first asked for: its colour boxes cost more than the rest of the start.
    if (!m_settingsDialog) {
        m_settingsDialog = new TProForm(m_services.dialogs, m_programFolder, *this, this);
        // Showing loads the list again and reports what fails to read; until then it holds what the start
        // read.
        try {
            m_settingsDialog->loadAutoOpenList();
        } catch (const std::exception&) {
        }
    }
    return *m_settingsDialog;
}

void TKX2::N1Click() {
    settingsDialog().exec();
}

void TKX2::appendLogLine(const QString& message) {
    ListBox1->appendLine(message);
}

void TKX2::setStatusLine(const QString& text) {
    StatusText->setText(text);
}

QString TKX2::statusLine() const {
    return StatusText->text();
}

std::string TKX2::helpFilePath() const {
    const QByteArray executableFolder = QFile::encodeName(QCoreApplication::applicationDirPath()) + '/';
    return findHelpDocument(m_programFolder, executableFolder.toStdString());
}

void TKX2::Help2Click() {
    const std::string help = helpFilePath();
    if (help.empty()) {
        m_services.dialogs.message(QStringLiteral("ヘルプファイル TARVELIN2.html が見つかりません"));
        return;
    }
    if (!m_services.shell.openPath(help))
        m_services.dialogs.message(
            QStringLiteral("HTML を表示できるプログラムが見つからないため、ヘルプを開けません\r") +
            displayName(help));
}

void TKX2::setAboutBox(std::function<QDialog*()> makeAboutBox) {
    m_makeAboutBox = std::move(makeAboutBox);
    About1->setEnabled(m_makeAboutBox != nullptr);
}

void TKX2::About1Click() {
    if (!m_aboutBox && m_makeAboutBox) m_aboutBox = m_makeAboutBox();
    if (m_aboutBox) m_aboutBox->exec();
}

void TKX2::LoadActionSettings() {
    m_binderCollapse = SettingsFile(m_programFolder).nodeCollapse(false);
}

void TKX2::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_shownOnce) return;
    m_shownOnce = true;
    FormShow();
}

void TKX2::FormShow() {
    m_mode->saveLeftWidth();
    runAutoOpen(m_programFolder, *m_lists, m_services.dialogs);
}

void TKX2::Exit1Click() {
    close();
}

bool TKX2::listWindowsAgreeToClose() {
    for (QMdiSubWindow* sub : MDIClient->subWindowList()) {
        if (auto* query = dynamic_cast<CloseQuery*>(sub->widget()); query && !query->FormCloseQuery())
            return false;
    }
    return true;
}

void TKX2::closeEvent(QCloseEvent* event) {
    if (!listWindowsAgreeToClose()) {
        event->ignore();
        return;
    }
    // A settings file that cannot be written is reported once; the program still ends rather than trap the
    // user in a window that can never close.
    runAction(m_services.dialogs, [this] { storeMainPlacement(*this, m_programFolder); });
    event->accept();
}

}  // namespace tarvelin

#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "platform/colour_value.h"
#include "platform/services.h"
#include "settings/settings_host.h"
#include "viewer/view_geometry.h"

class QDialog;
class QLabel;
class QMdiArea;
class QMenu;
class QMenuBar;
class QSplitter;
class QStackedWidget;
class QTabBar;
class QToolBar;
class QToolButton;

namespace tarvelin {

class FileOpening;
class FileOperationDialogs;
class FileOperationMode;
class FilePanes;
class ListWindows;
class LeftListPictures;
class OperationLog;
class SettingsFile;
class TProForm;
class TViewer;

// The main window: an MDI frame that composes the list windows, the browsing panes and the operation log, and
// owns the state other windows read from it. Controls carry their names as object names.
class TKX2 : public QMainWindow, public SettingsHost {
    Q_OBJECT
public:
    explicit TKX2(Services services, QWidget* parent = nullptr);
    ~TKX2() override;

    const std::string& programFolder() const { return m_programFolder; }
    // A folder path or "rfDesktop", as read at creation; kept even when the folder does not exist.
    const std::string& startupTreeRoot() const;
    bool binderCollapse() const override { return m_binderCollapse; }
    ColourValue bodyColour() const { return m_bodyColour; }
    int savedLeftPaneWidth() const;
    FileOperationMode& fileOperationMode() { return *m_mode; }
    Services& services() { return m_services; }
    ListWindows& lists() { return *m_lists; }
    FilePanes& panes() { return *m_panes; }
    TViewer& viewer();

    // Re-run by the settings dialog after it has written the file.
    void ApplyColourSettings() override;
    void LoadActionSettings() override;
    ColourValue currentColour(ColourKey key) const override;
    void setLeftTreeRoot(const std::string& root) override;

    // "設定", made once, when first asked for; its list is the auto-open list.
    TProForm& settingsDialog();
    void N1Click();

    void appendLogLine(const QString& message);
    void setStatusLine(const QString& text);
    QString statusLine() const;

    // Commands of the menu bar handled by the main window itself.
    void Exit1Click();
    void Help2Click();
    // "バージョン情報": shows the version dialog, made by makeAboutBox when first asked for and kept; giving
    // the maker enables the command.
    void setAboutBox(std::function<QDialog*()> makeAboutBox);
    void About1Click();

    // The help document handed to the desktop (findHelpDocument); empty when there is none.
    std::string helpFilePath() const;

    static constexpr int kLeftPaneWidth = 230;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
    void buildLeftPane();
    void buildMenus();
    void connectCommands();
    // An item's folder from a list window; the right pane comes with the two-pane mode switched on.
    void showItemFolder(const std::string& folder, bool rightPane);
    void connectViewer();
    MainWindowPlacement viewerPlacement() const;
    void FormShow();
    bool listWindowsAgreeToClose();

    Services m_services;
    std::string m_programFolder;
    bool m_binderCollapse = false;
    ColourValue m_bodyColour = kButtonFace;
    bool m_shownOnce = false;

    std::array<ColourValue, 11> m_shownColours{};  // as last applied, by colour key

    ListWindows* m_lists = nullptr;
    std::function<QDialog*()> m_makeAboutBox;
    QDialog* m_aboutBox = nullptr;
    FilePanes* m_panes = nullptr;
    TProForm* m_settingsDialog = nullptr;
    std::unique_ptr<LeftListPictures> m_leftPictures;
    TViewer* m_viewer = nullptr;
    std::unique_ptr<FileOpening> m_fileOpening;
    std::unique_ptr<FileOperationDialogs> m_fileDialogs;  // when the services bring no file operations
    FileOperationMode* m_mode = nullptr;

    // Layout
    QWidget* Panel1 = nullptr;
    QToolBar* ToolBar2 = nullptr;
    QWidget* Panel2 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QSplitter* Splitter1 = nullptr;
    QTabBar* TabControl1 = nullptr;
    QStackedWidget* ClientStack = nullptr;  // the MDI area, or Panel3 covering it
    QMdiArea* MDIClient = nullptr;
    QWidget* Panel3 = nullptr;
    OperationLog* ListBox1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusText = nullptr;

    // ToolBar2: list and mode buttons
    QToolButton* ToolButton4 = nullptr;
    QToolButton* ToolButton5 = nullptr;
    QToolButton* ToolButton6 = nullptr;
    QToolButton* ToolButton7 = nullptr;
    // ToolBar1: tree tools
    QToolButton* ToolButton8 = nullptr;
    QToolButton* ToolButton1 = nullptr;
    QToolButton* ToolButton3 = nullptr;
    QToolButton* ToolButton2 = nullptr;
    QToolButton* ToolButton9 = nullptr;

    // MainMenu1
    QMenuBar* MainMenu1 = nullptr;
    QMenu* File1 = nullptr;
    QAction* New1 = nullptr;
    QAction* N2 = nullptr;
    QAction* N3 = nullptr;
    QAction* Exit1 = nullptr;
    QMenu* Window1 = nullptr;
    QAction* rwe1 = nullptr;
    QAction* N12 = nullptr;
    QAction* N13 = nullptr;
    QAction* N1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* Help2 = nullptr;
    QAction* About1 = nullptr;
};

}  // namespace tarvelin

#pragma once

#include <QMainWindow>
#include <QPointer>
#include <string>
#include <vector>

#include "lists/list_window_host.h"
#include "platform/colour_value.h"
#include "platform/services.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QSplitter;
class QStackedWidget;
class QTabBar;
class QToolBar;
class QToolButton;
class QVBoxLayout;

namespace tarvelin {

class FileListBox;
class FileListMenu;
class FilePane;
class OperationLog;
class SettingsFile;
class ShellTreeView;
class TabColumn;
class TList;

// The main window: an MDI frame that holds the list windows and the file browser, and owns the state other
// windows read from it. Controls keep their names as members and as object names.
class TKX2 : public QMainWindow, public ListWindowHost {
    Q_OBJECT
public:
    explicit TKX2(Services services, QWidget* parent = nullptr);
    ~TKX2() override;

    const std::string& programFolder() const { return m_programFolder; }
    // A folder path or "rfDesktop", as read at creation; kept even when the folder does not exist.
    const std::string& startupTreeRoot() const { return m_startupTreeRoot; }
    bool binderCollapse() const { return m_binderCollapse; }
    ColourValue bodyColour() const { return m_bodyColour; }
    int savedLeftPaneWidth() const { return m_savedLeftPaneWidth; }
    void setSavedLeftPaneWidth(int width) { m_savedLeftPaneWidth = width; }
    QMdiArea* mdiArea() const { return m_mdiArea; }
    Services& services() { return m_services; }

    // Re-run by the settings dialog after it has written the file.
    void ApplyColourSettings();
    void LoadActionSettings();

    void appendLogLine(const QString& message);
    void setStatusLine(const QString& text);
    QString statusLine() const;

    // Commands of the menu bar handled by the main window itself.
    void Exit1Click();
    void Help2Click();

    // List windows and their tabs
    void New1Click();  // new list
    void N2Click();    // open list
    void rwe1Click();  // tile
    TList* createListWindow();
    std::vector<TList*> listWindows() const;
    TabColumn& tabs() { return *m_tabs; }
    void newList() override { New1Click(); }
    void openList() override { N2Click(); }
    void exitProgram() override { Exit1Click(); }
    void renameTab(TList* window, const QString& text) override;
    void listWindowClosing(TList* window) override;
    bool fileOperationMode() const override { return m_fileOperationMode; }

    // The help document handed to the desktop (findHelpDocument); empty when there is none.
    std::string helpFilePath() const;

    // Layout
    QWidget* Panel1 = nullptr;
    QToolBar* ToolBar2 = nullptr;
    QWidget* Panel2 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QSplitter* Splitter1 = nullptr;
    QTabBar* TabControl1 = nullptr;
    QStackedWidget* ClientStack = nullptr;  // the MDI area, or Panel3 covering it
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

    // File browser (main_window_browser.cpp): the left pane in Panel1, the right one in Panel3
    ShellTreeView* ShellTreeView1 = nullptr;
    QSplitter* Splitter2 = nullptr;
    FileListBox* FileListBox1 = nullptr;
    QLabel* Label1 = nullptr;
    ShellTreeView* ShellTreeView2 = nullptr;
    QSplitter* Splitter4 = nullptr;
    FileListBox* FileListBox2 = nullptr;
    QLabel* Label2 = nullptr;
    FileListMenu* PopupMenu1 = nullptr;
    QMenu* PopupMenu3 = nullptr;
    QAction* N21 = nullptr;
    QAction* N22 = nullptr;

    // The file list that last got the input focus or a right-button press; none at start.
    FileListBox* currentFileList() const { return m_currentFileList; }
    void ToolButton8Click();  // left tree root := start-up tree root
    void ToolButton1Click();  // tree root back to the desktop
    void N21Click();
    void N22Click();
    void ToolButton9Click();  // refresh both trees
    void ToolButton2Click();  // the filter menu at the pointer
    void ApplyFilter(const QString& mask, int icon);
    void FileListBox1DblClick();  // double click or Enter in either file list

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

    static constexpr int kLeftPaneWidth = 230;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
    void buildLeftPane();
    void buildMenus();
    void buildLeftFilePane(QVBoxLayout* column);
    void buildBrowser();
    void applyStartupTreeRoot();
    void setUpListWindows();
    void restorePlacement(const SettingsFile& settings);
    void readStartupTreeRoot(const SettingsFile& settings);
    void FormShow();
    bool listWindowsAgreeToClose();
    void storePlacement();
    void listWindowActivated(QMdiSubWindow* window);
    void mergeMenusOf(TList* list);

    Services m_services;
    std::string m_programFolder;
    std::string m_startupTreeRoot;
    bool m_binderCollapse = false;
    ColourValue m_bodyColour = kButtonFace;
    int m_savedLeftPaneWidth = 0;
    bool m_shownOnce = false;
    QSize m_wantedOuterSize;  // the stored outer size, applied again once the frame is known

    QMdiArea* m_mdiArea = nullptr;
    TabColumn* m_tabs = nullptr;
    QPointer<TList> m_mergedList;  // whose menus stand in the menu bar
    bool m_fileOperationMode = false;
    FilePane* m_leftPane = nullptr;
    FilePane* m_rightPane = nullptr;
    FileListBox* m_currentFileList = nullptr;
};

}  // namespace tarvelin

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

namespace tarvelin {

class OperationLog;
class SettingsFile;
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

    // The help document handed to the desktop: "TARVELIN2.html" in the program folder, else the installed
    // copy.
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
};

}  // namespace tarvelin

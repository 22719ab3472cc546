#pragma once

#include <QObject>
#include <QPointer>

class QMdiSubWindow;
class QSplitter;
class QStackedWidget;
class QWidget;

namespace tarvelin {

// The two-pane layout of the main window (file operation mode). On: the right pane `Panel3` covers the list
// windows in the client area, the left pane takes half the window's outer width and the tab column hides.
// Off: the list windows come back, the left pane gets the width it had just before the mode was entered (also
// one the user set with the splitter), the tab column shows again as it was.
class FileOperationMode final : public QObject {
    Q_OBJECT
public:
    // `splitter` holds the left pane first; `client` shows the list windows or `panel3`.
    FileOperationMode(QSplitter* splitter, QStackedWidget* client, QWidget* panel3, QWidget* tabColumn,
                      QWidget* window);

    bool isOn() const;
    int savedLeftWidth() const { return m_savedLeftWidth; }
    // The width to come back to, taken when the window is first shown.
    void saveLeftWidth();

    // N13 and ToolButton7.
    void toggle();
    void enter();
    void leave();

signals:
    // Before the right pane's place is shown, so that what fills it can be made first.
    void entering();
    void switched(bool on);

private:
    void setLeftWidth(int width);

    QPointer<QSplitter> m_splitter;
    QPointer<QStackedWidget> m_client;
    QPointer<QWidget> m_panel3;
    QPointer<QWidget> m_tabColumn;
    QPointer<QWidget> m_window;
    QWidget* m_listArea = nullptr;         // what the client showed before the mode
    QPointer<QMdiSubWindow> m_activeList;  // the list window that was active then, or made since
    QMetaObject::Connection m_following;
    int m_savedLeftWidth = 0;
};

}  // namespace tarvelin

#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QTabBar;
class QWidget;

namespace tarvelin {

// The tab column (`TabControl1`): one tab a list window, in the order the windows were made. A click on a tab
// brings its window forward; activating a window otherwise only moves the selection.
class TabColumn : public QObject {
    Q_OBJECT
public:
    // `bringForward` is the tab-change action: show and activate the window.
    TabColumn(QTabBar* bar, std::function<void(QWidget*)> bringForward, QObject* parent = nullptr);

    int count() const { return static_cast<int>(m_windows.size()); }
    QWidget* windowAt(int tab) const;
    int tabOf(const QWidget* window) const;
    int selected() const;
    QString text(int tab) const;

    // A new window's tab, "Temp", at the end; the column shows.
    void addTab(QWidget* window);
    void nameLastTab(const QString& text);
    void renameTab(const QWidget* window, const QString& text);
    // Selection without the tab-change action.
    void selectTabOf(const QWidget* window);
    // Selection with the tab-change action, as a click on the tab does.
    void activateTab(int tab);
    // The closing window's tab goes: the only tab hides the column; otherwise the following tab (the
    // preceding one for the last) is selected and its window brought forward first.
    void removeTabOf(const QWidget* window);

    void setColumnVisible(bool visible);

private:
    void setText(int tab, const QString& text);
    void select(int tab, bool runAction);
    void tabChanged(int tab);

    QTabBar* m_bar;
    std::function<void(QWidget*)> m_bringForward;
    std::vector<QPointer<QWidget>> m_windows;
    bool m_quiet = false;  // selection made by the program, not the user
};

}  // namespace tarvelin

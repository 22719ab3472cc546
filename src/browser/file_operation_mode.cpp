#include "browser/file_operation_mode.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSplitter>
#include <QStackedWidget>

namespace tarvelin {

FileOperationMode::FileOperationMode(QSplitter* splitter, QStackedWidget* client, QWidget* panel3,
                                     QWidget* tabColumn, QWidget* window)
    : QObject(window),
      m_splitter(splitter),
      m_client(client),
      m_panel3(panel3),
      m_tabColumn(tabColumn),
      m_window(window) {}

bool FileOperationMode::isOn() const {
    return m_client && m_client->currentWidget() == m_panel3;
}

void FileOperationMode::saveLeftWidth() {
    m_savedLeftWidth = m_splitter->sizes().value(0);
}

void FileOperationMode::setLeftWidth(int width) {
    const QList<int> sizes = m_splitter->sizes();
    int total = 0;
    for (int size : sizes) total += size;
    m_splitter->setSizes({width, std::max(0, total - width)});
}

void FileOperationMode::toggle() {
    if (isOn())
        leave();
    else
        enter();
}

void FileOperationMode::enter() {
    if (isOn()) return;
    saveLeftWidth();
    setLeftWidth(m_window->frameGeometry().width() / 2);
    m_listArea = m_client->currentWidget();
    auto* area = qobject_cast<QMdiArea*>(m_listArea);
    m_activeList = area ? area->activeSubWindow() : nullptr;
    // A list made while the mode is on is the one to come back to.
    if (area)
        m_following = connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
            if (window) m_activeList = window;
        });
    emit entering();
    m_client->setCurrentWidget(m_panel3);
    m_tabColumn->hide();
    emit switched(true);
}

void FileOperationMode::leave() {
    if (!isOn()) return;
    m_client->setCurrentWidget(m_listArea ? m_listArea : m_client->widget(0));
    // Hidden, the area let its list window go inactive and the window's title lose the list's caption; the
    // area brings neither back by itself.
    QObject::disconnect(m_following);
    if (auto* area = qobject_cast<QMdiArea*>(m_client->currentWidget()); area && m_activeList) {
        area->setActiveSubWindow(m_activeList);
        const QString caption = m_activeList->windowTitle();
        m_activeList->setWindowTitle(QString());
        m_activeList->setWindowTitle(caption);
    }
    setLeftWidth(m_savedLeftWidth);
    m_tabColumn->show();  // also when empty, and when a list was made while the mode was on
    emit switched(false);
}

}  // namespace tarvelin

#include "app/tab_column.h"

#include <QTabBar>

namespace tarvelin {

TabColumn::TabColumn(QTabBar* bar, std::function<void(QWidget*)> bringForward, QObject* parent)
    : QObject(parent), m_bar(bar), m_bringForward(std::move(bringForward)) {
    // Tabs that do not fit are cut short, then scrolled: the column never asks the main window to grow.
    m_bar->setElideMode(Qt::ElideRight);
    m_bar->setUsesScrollButtons(true);
    QSizePolicy policy = m_bar->sizePolicy();  // a tab bar holds its whole length by default
    policy.setVerticalPolicy(QSizePolicy::Preferred);
    m_bar->setSizePolicy(policy);
    connect(m_bar, &QTabBar::currentChanged, this, &TabColumn::tabChanged);
}

QWidget* TabColumn::windowAt(int tab) const {
    return tab >= 0 && tab < count() ? m_windows[static_cast<size_t>(tab)].data() : nullptr;
}

int TabColumn::tabOf(const QWidget* window) const {
    for (int i = 0; i < count(); ++i)
        if (m_windows[static_cast<size_t>(i)] == window) return i;
    return -1;
}

int TabColumn::selected() const {
    return m_bar->currentIndex();
}

QString TabColumn::text(int tab) const {
    return m_bar->tabText(tab);
}

void TabColumn::addTab(QWidget* window) {
    m_windows.emplace_back(window);
    m_quiet = true;
    m_bar->addTab(QString());
    setText(count() - 1, QStringLiteral("Temp"));
    m_quiet = false;
    setColumnVisible(true);
}

void TabColumn::nameLastTab(const QString& text) {
    if (m_windows.empty()) return;
    setText(count() - 1, text);
    select(count() - 1, false);
}

void TabColumn::renameTab(const QWidget* window, const QString& text) {
    if (const int tab = tabOf(window); tab >= 0) setText(tab, text);
}

void TabColumn::selectTabOf(const QWidget* window) {
    const int tab = tabOf(window);
    if (tab >= 0 && tab != selected()) select(tab, false);
}

void TabColumn::activateTab(int tab) {
    if (windowAt(tab)) select(tab, true);
}

void TabColumn::removeTabOf(const QWidget* window) {
    const int tab = tabOf(window);
    if (tab < 0) return;
    if (count() > 1) select(tab + 1 < count() ? tab + 1 : tab - 1, true);
    m_quiet = true;
    m_bar->removeTab(tab);
    m_quiet = false;
    m_windows.erase(m_windows.begin() + tab);
    if (m_windows.empty()) setColumnVisible(false);
}

void TabColumn::setText(int tab, const QString& text) {
    m_bar->setTabText(tab, text);
    m_bar->setTabToolTip(tab, text);  // the whole name of a tab cut short
}

void TabColumn::setColumnVisible(bool visible) {
    m_bar->setVisible(visible);
}

void TabColumn::select(int tab, bool runAction) {
    m_quiet = true;
    m_bar->setCurrentIndex(tab);
    m_quiet = false;
    if (runAction) tabChanged(tab);
}

void TabColumn::tabChanged(int tab) {
    if (m_quiet) return;
    if (QWidget* window = windowAt(tab)) m_bringForward(window);
}

}  // namespace tarvelin

#include "app/main_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <vector>

#include "app/outer_size.h"
#include "settings/settings_file.h"
#include "settings/window_placement.h"

namespace tarvelin {

void restoreMainPlacement(QWidget& window, const SettingsFile& settings) {
    if (settings.windowState() != SettingsFile::kNormalState) {
        window.setWindowState(Qt::WindowMaximized);
        return;
    }
    window.setWindowState(Qt::WindowNoState);
    WindowBounds stored;
    stored.width = settings.windowWidth();
    stored.height = settings.windowHeight();
    stored.left = settings.windowLeft();
    stored.top = settings.windowTop();
    // A hand-edited size or a screen that is gone must not give a window out of reach or of gigabytes.
    std::vector<WindowBounds> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        WindowBounds bounds{area.x(), area.y(), area.width(), area.height()};
        if (screen == QGuiApplication::primaryScreen())
            screens.insert(screens.begin(), bounds);
        else
            screens.push_back(bounds);
    }
    const WindowBounds shown = boundsOnScreens(stored, screens);
    new OuterSize(window, QSize(shown.width, shown.height));
    // The stored position decides where the window first appears, so it comes back where the user left it.
    window.move(shown.left, shown.top);
}

void storeMainPlacement(const QWidget& window, const std::string& programFolder) {
    SettingsFile settings(programFolder);
    if (settings.tooLargeToRead()) return;  // told at start; its content is not ours to replace
    if (window.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) {
        settings.setWindowState(SettingsFile::kElseState);
        return;
    }
    const QRect outer = window.frameGeometry();
    settings.setWindowState(SettingsFile::kNormalState);
    settings.setWindowWidth(outer.width());
    settings.setWindowHeight(outer.height());
    settings.setWindowLeft(outer.x());
    settings.setWindowTop(outer.y());
}

}  // namespace tarvelin

#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "browser/desktop_places.h"
#include "support/temp_folder.h"

namespace tarvelin::test {

// A CP932 name as Windows archives leave it: "資料" in Shift-JIS, not valid UTF-8.
inline const std::string kCp932Name = "\x8e\x91\x97\xbf.txt";

inline void makeFolders(const TempFolder& folder, std::initializer_list<const char*> names) {
    for (const char* name : names) std::filesystem::create_directories(folder.file(name));
}

inline void makeFiles(const TempFolder& folder, std::initializer_list<std::string> names) {
    for (const std::string& name : names) folder.write(name, "x");
}

// Desktop places inside a temporary folder, so the desktop root shows nothing of the machine's own home.
inline DesktopPlaces placesIn(const TempFolder& folder) {
    std::filesystem::create_directories(folder.file("Desktop"));
    return {folder.file("Desktop"), folder.path(), {}};
}

// The main window reads the session's places: point HOME and the XDG settings at a temporary folder.
class HomeInTempFolder {
public:
    explicit HomeInTempFolder(const TempFolder& folder)
        : m_home(saved("HOME")), m_config(saved("XDG_CONFIG_HOME")) {
        std::filesystem::create_directories(folder.file("home/Desktop"));
        ::setenv("HOME", folder.file("home").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", folder.file("home/.config").c_str(), 1);
    }
    ~HomeInTempFolder() {
        restore("HOME", m_home);
        restore("XDG_CONFIG_HOME", m_config);
    }

private:
    static std::string saved(const char* name) {
        const char* value = std::getenv(name);
        return value ? value : "\x01";  // "\x01": was not set
    }
    static void restore(const char* name, const std::string& value) {
        if (value == "\x01")
            ::unsetenv(name);
        else
            ::setenv(name, value.c_str(), 1);
    }
    std::string m_home;
    std::string m_config;
};

// Folders are read off the window's thread: waits until a file list model has read its folder.
inline void waitForReading(const QObject& files) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return !files.property("beingRead").toBool(); }, 10000))
        << "the folder was not read";
}

inline QPoint rowCentre(QAbstractItemView& view, int row) {
    return view.visualRect(view.model()->index(row, 0, view.rootIndex())).center();
}

inline void click(QAbstractItemView& view, int row, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = {}) {
    waitForReading(*view.model());
    QTest::mouseClick(view.viewport(), button, modifiers, rowCentre(view, row));
}

}  // namespace tarvelin::test

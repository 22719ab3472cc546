#pragma once

#include <gtest/gtest.h>

#include <QObject>
#include <stdexcept>
#include <string>

namespace tarvelin::test {

// The control below `root` with this object name (the first in Qt's search order: direct children first).
// A test that names a control the window lacks fails there rather than crash.
template <class T>
T* control(const QObject& root, const char* name) {
    T* found = root.findChild<T*>(QString::fromUtf8(name));
    if (!found) throw std::runtime_error(std::string("no control named ") + name);
    return found;
}

}  // namespace tarvelin::test

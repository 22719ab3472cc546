#pragma once

#include <memory>

#include "platform/shell.h"

namespace tarvelin {

class Dialogs;

// Opens paths with the desktop's opener (xdg-open), which shows files in the program associated with their
// type and folders in the file manager; it never runs a program or a script itself, so a double click on a
// reference cannot start something that someone put there. The path is looked at on a worker thread: a
// volume that does not answer never blocks the window, and a path that is gone is reported in a message.
class DesktopShell final : public Shell {
public:
    explicit DesktopShell(Dialogs& dialogs);
    ~DesktopShell() override;

    bool openPath(const std::string& path) override;
    void openUrl(const QString& url) override;

private:
    Dialogs& m_dialogs;
    std::shared_ptr<bool> m_alive;  // read and written on the window's thread only
};

// A file URL that keeps every byte of the path, also bytes that are not UTF-8.
QByteArray fileUrlOf(const std::string& path);

// What the opener is given for a path: the path itself when it is UTF-8 (what the desktop shows and logs),
// else its file URL, which carries any byte. A relative path gets "./" so it never reads as an option.
QString openerArgumentOf(const std::string& path);

}  // namespace tarvelin

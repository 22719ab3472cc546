#pragma once

#include "platform/shell.h"

namespace tarvelin {

class DesktopShell final : public Shell {
public:
    bool openPath(const std::string& path) override;
    void openUrl(const QString& url) override;
};

// A file URL that keeps every byte of the path, also bytes that are not UTF-8.
QByteArray fileUrlOf(const std::string& path);

}  // namespace tarvelin

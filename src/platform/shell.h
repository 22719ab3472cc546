#pragma once

#include <QString>
#include <string>

namespace tarvelin {

// Hands files and addresses to the desktop, which opens them with their associated programs. Once handed
// over, the desktop shows its own errors.
class Shell {
public:
    virtual ~Shell() = default;
    // The path's bytes, also when they are not UTF-8. False when the desktop has no program to hand it to.
    virtual bool openPath(const std::string& path) = 0;
    virtual void openUrl(const QString& url) = 0;
};

}  // namespace tarvelin

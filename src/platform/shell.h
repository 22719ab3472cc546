#pragma once

#include <QString>
#include <string>

namespace tarvelin {

// Hands files and addresses to the desktop, which opens them with their associated programs. The result is
// not reported: the desktop shows its own errors.
class Shell {
public:
    virtual ~Shell() = default;
    virtual void openPath(const std::string& path) = 0;  // the path's bytes, also when they are not UTF-8
    virtual void openUrl(const QString& url) = 0;
};

}  // namespace tarvelin

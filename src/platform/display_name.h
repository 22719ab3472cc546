#pragma once

#include <QString>
#include <string_view>

namespace tarvelin {

// A file name, path or list text as the user reads it: displayUtf8, folder by folder. Only for display: the
// bytes themselves are what the program keeps.
QString displayName(std::string_view bytes);

}  // namespace tarvelin

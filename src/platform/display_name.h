#pragma once

#include <QString>
#include <string_view>

namespace tarvelin {

// A file name or path as the user reads it. Names are bytes: UTF-8 shows as it is, other bytes are read as
// CP932 (names made on Windows). Only for display: the bytes themselves are what the program keeps.
QString displayName(std::string_view bytes);

}  // namespace tarvelin

#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvelin {

// The local paths a "text/uri-list" names, as bytes: percent escapes are decoded to the very bytes they
// stand for, never through a text codec, so a name that is not UTF-8 comes back unchanged.
struct UriListPaths {
    std::vector<std::string> paths;
    int ignored = 0;  // entries that are not local file URLs
    // Local file URLs, as written, whose path cannot be kept as it is: an escape that is not two hex digits,
    // or a NUL, carriage return or line feed, which no line of a list can hold.
    std::vector<std::string> refused;
};
UriListPaths localPathsOfUriList(std::string_view uriList);

}  // namespace tarvelin

#include "lists/uri_list.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace tarvelin {
namespace {

std::optional<std::string> decodedPath(std::string_view encoded) {
    std::string path;
    path.reserve(encoded.size());
    for (size_t i = 0; i < encoded.size(); ++i) {
        char byte = encoded[i];
        if (byte == '%') {
            if (i + 2 >= encoded.size()) return std::nullopt;
            const char* const digits = encoded.data() + i + 1;
            unsigned value = 0;
            const auto [end, error] = std::from_chars(digits, digits + 2, value, 16);
            if (error != std::errc() || end != digits + 2) return std::nullopt;
            byte = static_cast<char>(value);
            i += 2;
        }
        if (byte == '\0' || byte == '\r' || byte == '\n') return std::nullopt;
        path.push_back(byte);
    }
    return path;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The path part of a local file URL (it starts with "/"), empty for any other URL.
std::string_view localPart(std::string_view uri) {
    if (uri.starts_with("file:///")) return uri.substr(7);
    if (uri.starts_with("file://localhost/")) return uri.substr(16);
    if (uri.starts_with("file:/") && !uri.starts_with("file://")) return uri.substr(5);
    return {};
}

}  // namespace

UriListPaths localPathsOfUriList(std::string_view uriList) {
    UriListPaths result;
    while (!uriList.empty()) {
        const size_t end = std::min(uriList.find('\n'), uriList.size());
        const std::string_view line = trimmed(uriList.substr(0, end));
        uriList.remove_prefix(std::min(end + 1, uriList.size()));
        if (line.empty() || line.starts_with('#')) continue;
        const std::string_view rest = localPart(line);
        if (rest.empty()) {
            ++result.ignored;
        } else if (std::optional<std::string> path = decodedPath(rest)) {
            result.paths.push_back(std::move(*path));
        } else {
            result.refused.emplace_back(line);
        }
    }
    return result;
}

}  // namespace tarvelin

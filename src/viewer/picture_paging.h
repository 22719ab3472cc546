#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tarvelin {

// A picture file of the left file list: its extension (from the last "." on) is exactly ".bmp", ".BMP",
// ".jpg" or ".JPG".
bool isPictureFileName(std::string_view name);

enum class PictureKind { None, Bitmap, Jpeg };
// The decoder for a path: letter case ignored at this level.
PictureKind pictureKind(std::string_view path);

// The file list as paging walks it: item count and names.
struct PictureListView {
    int count = 0;
    std::function<std::string(int)> name;
};

bool holdsPictureFile(const PictureListView& list);
// The walk of next (step +1) or previous (step -1) from `focused`, wrapping at both ends and skipping what is
// no picture file; the focused item itself after a whole pass when it is the only one. nullopt without a
// picture file. A focused index outside the list starts before the first item (next) or after the last
// (previous).
std::optional<int> neighbourPicture(const PictureListView& list, int focused, int step);
// The first or last picture file; nullopt without one.
std::optional<int> firstPicture(const PictureListView& list);
std::optional<int> lastPicture(const PictureListView& list);

}  // namespace tarvelin

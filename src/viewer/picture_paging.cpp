#include "viewer/picture_paging.h"
#include "platform/item_path.h"

namespace tarvelin {

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char x = (a[i] >= 'A' && a[i] <= 'Z') ? static_cast<char>(a[i] + 32) : a[i];
        if (x != b[i]) return false;
    }
    return true;
}

}  // namespace

bool isPictureFileName(std::string_view name) {
    const std::string_view ext = extensionOf(name);
    return ext == ".bmp" || ext == ".BMP" || ext == ".jpg" || ext == ".JPG";
}

PictureKind pictureKind(std::string_view path) {
    const std::string_view ext = extensionOf(path);
    if (equalsIgnoringCase(ext, ".bmp")) return PictureKind::Bitmap;
    if (equalsIgnoringCase(ext, ".jpg")) return PictureKind::Jpeg;
    return PictureKind::None;
}

bool holdsPictureFile(const PictureListView& list) {
    for (int i = 0; i < list.count; ++i)
        if (isPictureFileName(list.name(i))) return true;
    return false;
}

std::optional<int> neighbourPicture(const PictureListView& list, int focused, int step) {
    if (list.count <= 0) return std::nullopt;
    int i = focused;
    if (i < 0 || i >= list.count) i = step > 0 ? list.count - 1 : 0;
    for (int walked = 0; walked < list.count; ++walked) {
        i = (i + step + list.count) % list.count;
        if (isPictureFileName(list.name(i))) return i;
    }
    return std::nullopt;
}

std::optional<int> firstPicture(const PictureListView& list) {
    for (int i = 0; i < list.count; ++i)
        if (isPictureFileName(list.name(i))) return i;
    return std::nullopt;
}

std::optional<int> lastPicture(const PictureListView& list) {
    for (int i = list.count - 1; i >= 0; --i)
        if (isPictureFileName(list.name(i))) return i;
    return std::nullopt;
}

}  // namespace tarvelin

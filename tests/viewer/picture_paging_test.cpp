#include <gtest/gtest.h>

#include <vector>

#include "viewer/picture_paging.h"

namespace tarvelin {
namespace {

TEST(PicturePaging, PictureFilesByExactExtension) {
    const struct {
        const char* name;
        bool picture;
    } cases[] = {{"photo.jpg", true},   {"photo.JPG", true},  {"a.bmp", true},
                 {"a.BMP", true},       {"photo.Jpg", false}, {"photo.jpeg", false},
                 {"photo.JPEG", false}, {"a.Bmp", false},     {"jpg", false},
                 {".jpg", true},        {"x.jpg.txt", false}, {"x.txt.jpg", true},
                 {"写真.JPG", true},    {"", false}};
    for (const auto& c : cases) EXPECT_EQ(isPictureFileName(c.name), c.picture) << c.name;
}

TEST(PicturePaging, LoadingChoosesTheDecoderIgnoringCase) {
    const struct {
        const char* path;
        PictureKind kind;
    } cases[] = {{"/a/b.jpg", PictureKind::Jpeg},   {"/a/b.JpG", PictureKind::Jpeg},
                 {"/a/b.Bmp", PictureKind::Bitmap}, {"/a/b.jpeg", PictureKind::None},
                 {"/a.jpg/b", PictureKind::None},   {"/a/b.png", PictureKind::None}};
    for (const auto& c : cases) EXPECT_EQ(pictureKind(c.path), c.kind) << c.path;
}

TEST(PicturePaging, WalksWrappingAndSkipping) {
    const std::vector<std::string> names = {"a.txt", "b.jpg", "c.jpeg", "d.BMP", "e.Jpg", "f.doc"};
    const PictureListView list{static_cast<int>(names.size()), [&](int i) { return names[i]; }};
    const struct {
        int focused, step;
        std::optional<int> target;
    } cases[] = {
        {1, 1, 3},  {3, 1, 1},  {5, 1, 1},   {1, -1, 3}, {3, -1, 1},
        {0, -1, 3}, {-1, 1, 1}, {-1, -1, 3}, {4, 1, 1},  {2, -1, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(neighbourPicture(list, c.focused, c.step), c.target) << c.focused << " step " << c.step;
    EXPECT_EQ(firstPicture(list), 1);
    EXPECT_EQ(lastPicture(list), 3);
    EXPECT_TRUE(holdsPictureFile(list));
}

TEST(PicturePaging, OnePictureComesBackToItselfAndNoneFindsNothing) {
    const std::vector<std::string> one = {"a.txt", "only.JPG", "c.jpeg"};
    const PictureListView list{3, [&](int i) { return one[i]; }};
    EXPECT_EQ(neighbourPicture(list, 1, 1), 1);
    EXPECT_EQ(neighbourPicture(list, 1, -1), 1);
    const std::vector<std::string> none = {"a.txt", "b.Jpg"};
    const PictureListView empty{2, [&](int i) { return none[i]; }};
    EXPECT_FALSE(holdsPictureFile(empty));
    EXPECT_EQ(neighbourPicture(empty, 0, 1), std::nullopt);
    EXPECT_EQ(firstPicture(empty), std::nullopt);
    EXPECT_EQ(lastPicture(empty), std::nullopt);
    EXPECT_EQ(neighbourPicture(PictureListView{0, nullptr}, 0, 1), std::nullopt);
}

}  // namespace
}  // namespace tarvelin

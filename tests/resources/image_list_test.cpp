#include "widgets/image_list.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSet>
#include <QSvgRenderer>

#include <cstdlib>
#include <vector>

namespace tarvelin {
namespace {

constexpr ListToolbarImage kToolbarImages[] = {ListToolbarImage::Bold,      ListToolbarImage::Italic,
                                               ListToolbarImage::Underline, ListToolbarImage::ColourPen,
                                               ListToolbarImage::MemoPad,   ListToolbarImage::Save};

QImage render(const QIcon& icon, int size) {
    return icon.pixmap(size, size).toImage();
}

int opaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).alpha() > 128) ++count;
    return count;
}

// Every picture covers a fair part of its square (a thin glyph such as the italic I takes about a fifth) at
// both the normal and the 2x size; a file missing from the resources or one that fails to parse renders
// transparent.
void expectDrawn(const QIcon& icon, const std::string& what) {
    ASSERT_FALSE(icon.isNull()) << what;
    for (int size : {16, 32}) {
        const QImage image = render(icon, size);
        ASSERT_EQ(image.size(), QSize(size, size)) << what;
        EXPECT_GT(opaquePixels(image), size * size / 8) << what << " at " << size << " px";
    }
}

TEST(ImageList, EveryImageRendersAtOneAndTwoTimesSize) {
    for (int i = 0; i < kImageCount; ++i) expectDrawn(imageListIcon(i), "image " + std::to_string(i));
    for (ListToolbarImage which : kToolbarImages)
        expectDrawn(listToolbarIcon(which), "toolbar image " + std::to_string(static_cast<int>(which)));
    expectDrawn(programIcon(), "program icon");
    expectDrawn(driveIcon(), "drive");
}

TEST(ImageList, IndexesOutsideTheListGiveNullIcons) {
    EXPECT_TRUE(imageListIcon(-1).isNull());
    EXPECT_TRUE(imageListIcon(kImageCount).isNull());
    EXPECT_TRUE(listToolbarIcon(static_cast<ListToolbarImage>(kListToolbarImageCount)).isNull());
    EXPECT_FALSE(imageListIcon(0).isNull());
    EXPECT_FALSE(imageListIcon(kImageCount - 1).isNull());
}

TEST(ImageList, ImagesAreAllDifferent) {
    QSet<QByteArray> seen;
    for (int i = 0; i < kImageCount; ++i) {
        const QImage image = render(imageListIcon(i), 16).convertToFormat(QImage::Format_ARGB32);
        const QByteArray bytes(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
        EXPECT_FALSE(seen.contains(bytes)) << "image " << i << " repeats an earlier one";
        seen.insert(bytes);
    }
    QSet<QByteArray> toolbar;
    for (ListToolbarImage which : kToolbarImages) {
        const QImage image = render(listToolbarIcon(which), 16).convertToFormat(QImage::Format_ARGB32);
        toolbar.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
    }
    EXPECT_EQ(toolbar.size(), kListToolbarImageCount);
}

TEST(ImageList, IconsAreSharedNotReloaded) {
    EXPECT_EQ(imageListIcon(7).cacheKey(), imageListIcon(7).cacheKey());
    EXPECT_NE(imageListIcon(7).cacheKey(), imageListIcon(8).cacheKey());
    EXPECT_EQ(listToolbarIcon(ListToolbarImage::Save).cacheKey(),
              listToolbarIcon(ListToolbarImage::Save).cacheKey());
    EXPECT_EQ(programIcon().cacheKey(), programIcon().cacheKey());
}

// Drawn on a 16-unit grid so that edges fall on whole pixels at 16 and 32 px; the program icon on 32 units.
TEST(ImageList, SourcesUseTheirDesignGrid) {
    for (int i = 0; i < kImageCount; ++i) {
        QSvgRenderer svg(QStringLiteral(":/icons/imagelist/%1.svg").arg(i, 2, 10, QLatin1Char('0')));
        ASSERT_TRUE(svg.isValid()) << i;
        EXPECT_EQ(svg.viewBox(), QRect(0, 0, 16, 16)) << i;
    }
    for (const char* name : {"bold", "italic", "underline", "pen", "memo", "save"}) {
        QSvgRenderer svg(QStringLiteral(":/icons/listbar/%1.svg").arg(QLatin1String(name)));
        ASSERT_TRUE(svg.isValid()) << name;
        EXPECT_EQ(svg.viewBox(), QRect(0, 0, 16, 16)) << name;
    }
    QSvgRenderer drive(QStringLiteral(":/icons/places/drive.svg"));
    ASSERT_TRUE(drive.isValid());
    EXPECT_EQ(drive.viewBox(), QRect(0, 0, 16, 16));
    QSvgRenderer program(QStringLiteral(":/icons/program.svg"));
    ASSERT_TRUE(program.isValid());
    EXPECT_EQ(program.viewBox(), QRect(0, 0, 32, 32));
}

// The compiled-in pictures are drawn from the SVG sources at build time: each must match its own source at
// both sizes, so a stale or misnamed picture shows up here.
TEST(ImageList, PicturesMatchTheirSourcesAtBothSizes) {
    struct Case {
        QIcon icon;
        QString source;
    };
    std::vector<Case> cases;
    for (int i = 0; i < kImageCount; ++i)
        cases.push_back(
            {imageListIcon(i), QStringLiteral(":/icons/imagelist/%1.svg").arg(i, 2, 10, QLatin1Char('0'))});
    const char* const names[] = {"bold", "italic", "underline", "pen", "memo", "save"};
    for (ListToolbarImage which : kToolbarImages)
        cases.push_back(
            {listToolbarIcon(which),
             QStringLiteral(":/icons/listbar/%1.svg").arg(QLatin1String(names[static_cast<int>(which)]))});
    cases.push_back({programIcon(), QStringLiteral(":/icons/program.svg")});
    cases.push_back({driveIcon(), QStringLiteral(":/icons/places/drive.svg")});
    for (const Case& c : cases)
        for (int size : {16, 32}) {
            QImage expected(size, size, QImage::Format_ARGB32_Premultiplied);
            expected.fill(Qt::transparent);
            {
                QPainter painter(&expected);
                painter.setRenderHint(QPainter::Antialiasing);
                // A picture drawn for 16 px of its own gives that size.
                QString source = c.source;
                if (const QString own = QString(source).insert(source.size() - 4, QStringLiteral("-16"));
                    size == 16 && QFile::exists(own))
                    source = own;
                QSvgRenderer(source).render(&painter);
            }
            const QImage actual = render(c.icon, size).convertToFormat(QImage::Format_ARGB32_Premultiplied);
            int differing = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) {
                    const QRgb a = actual.pixel(x, y), e = expected.pixel(x, y);
                    if (std::abs(qRed(a) - qRed(e)) > 2 || std::abs(qGreen(a) - qGreen(e)) > 2 ||
                        std::abs(qBlue(a) - qBlue(e)) > 2 || std::abs(qAlpha(a) - qAlpha(e)) > 2)
                        ++differing;
                }
            EXPECT_EQ(differing, 0) << c.source.toStdString() << " at " << size << " px";
        }
}

enum class Hue { Red, Yellow, Green, Blue };

// The share of the clearly coloured pixels whose hue lies in the given band.
double hueShare(const QImage& image, Hue hue) {
    int coloured = 0, inBand = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() < 200 || c.hsvSaturationF() < 0.45 || c.valueF() < 0.3) continue;
            ++coloured;
            const int h = c.hsvHue();
            const bool match = hue == Hue::Red      ? (h < 15 || h >= 340)
                               : hue == Hue::Yellow ? (h >= 35 && h < 60)
                               : hue == Hue::Green  ? (h >= 100 && h < 160)
                                                    : (h >= 200 && h < 235);
            if (match) ++inBand;
        }
    return coloured == 0 ? 0.0 : double(inBand) / coloured;
}

// The list trees tell node kinds apart by colour: a swapped index shows a blue binder as opened or an item as
// an empty binder.
TEST(ImageList, NodeImagesHaveTheirColours) {
    struct Case {
        int index;
        Hue hue;
        double minShare;
    };
    const std::vector<Case> cases = {
        {1, Hue::Blue, 0.8},     // closed binder
        {2, Hue::Yellow, 0.6},   // folder
        {4, Hue::Red, 0.8},      // selected item
        {5, Hue::Red, 0.8},      // opened binder
        {6, Hue::Red, 0.4},      // empty binder: red rings
        {6, Hue::Yellow, 0.25},  //   round a yellow one
        {7, Hue::Green, 0.8},    // spreadsheet
        {18, Hue::Red, 0.8},     // red-ruled sheet
        {22, Hue::Red, 0.8},     // missing item
        {33, Hue::Green, 0.8},   // refresh
    };
    for (const Case& c : cases)
        EXPECT_GE(hueShare(render(imageListIcon(c.index), 32), c.hue), c.minShare) << "image " << c.index;
    EXPECT_GE(hueShare(render(imageListIcon(0), 32), Hue::Blue), 0.3);  // two books, blue
    EXPECT_GE(hueShare(render(imageListIcon(0), 32), Hue::Red), 0.3);   //   and red
}

}  // namespace
}  // namespace tarvelin

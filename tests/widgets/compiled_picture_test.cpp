#include "widgets/compiled_picture.h"

#include <gtest/gtest.h>

#include <QtEndian>

namespace tarvelin {
namespace {

QByteArray header(quint32 width, quint32 height, quint32 format) {
    QByteArray out("TVPX");
    for (quint32 word : {width, height, format}) {
        char bytes[4];
        qToLittleEndian(word, bytes);
        out.append(bytes, 4);
    }
    return out;
}

TEST(CompiledPicture, KeepsThePremultipliedWordsAndTheOpaqueFormat) {
    QImage translucent(3, 2, QImage::Format_ARGB32_Premultiplied);
    translucent.fill(Qt::transparent);
    // Half-transparent red: stored premultiplied as 0x80800000, which pixel() would read back
    // unpremultiplied.
    reinterpret_cast<QRgb*>(translucent.scanLine(1))[2] = 0x80800000u;
    const QByteArray bytes = encodeCompiledPicture(translucent);
    ASSERT_EQ(bytes.size(), 16 + 3 * 2 * 4);
    EXPECT_EQ(bytes.left(16), header(3, 2, QImage::Format_ARGB32_Premultiplied));
    const QImage back = decodeCompiledPicture(bytes);
    ASSERT_EQ(back.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(reinterpret_cast<const QRgb*>(back.constScanLine(1))[2], 0x80800000u);
    EXPECT_EQ(back, translucent);

    QImage opaque(2, 2, QImage::Format_RGB888);
    opaque.fill(QColor(10, 20, 30));
    const QImage opaqueBack =
        decodeCompiledPicture(encodeCompiledPicture(opaque.convertToFormat(QImage::Format_RGB32)));
    EXPECT_EQ(opaqueBack.format(), QImage::Format_RGB32);
    EXPECT_EQ(opaqueBack.pixel(1, 1), qRgb(10, 20, 30));
}

TEST(CompiledPicture, DamagedOrForeignBytesGiveANullImage) {
    const QByteArray pixels(2 * 2 * 4, '\x7f');
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"empty", {}},
        {"header cut short", header(2, 2, QImage::Format_RGB32).left(10)},
        {"pixels cut short", header(2, 2, QImage::Format_RGB32) + pixels.left(15)},
        {"a byte too many", header(2, 2, QImage::Format_RGB32) + pixels + 'x'},
        {"another magic", "TVPY" + header(2, 2, QImage::Format_RGB32).mid(4) + pixels},
        {"no width", header(0, 2, QImage::Format_RGB32)},
        {"width past the limit", header(4097, 1, QImage::Format_RGB32) + QByteArray(4097 * 4, '\0')},
        {"side that overflows the size", header(0xFFFFFFFFu, 0xFFFFFFFFu, QImage::Format_RGB32) + pixels},
        {"another pixel format", header(2, 2, QImage::Format_RGB888) + pixels},
        {"a PNG", QByteArray("\x89PNG\r\n\x1a\n", 8) + pixels},
    };
    for (const auto& c : cases) EXPECT_TRUE(decodeCompiledPicture(c.bytes).isNull()) << c.what;
    EXPECT_FALSE(decodeCompiledPicture(header(2, 2, QImage::Format_RGB32) + pixels).isNull());
    EXPECT_TRUE(compiledPicture(QStringLiteral(":/no/such/picture.px")).isNull());
}

}  // namespace
}  // namespace tarvelin

#include "widgets/compiled_picture.h"

#include <QResource>
#include <QtEndian>
#include <string_view>

namespace tarvelin {
namespace {

constexpr char kMagic[4] = {'T', 'V', 'P', 'X'};
constexpr qsizetype kHeaderSize = 16;
// Far above any picture drawn for the program: a damaged header cannot ask for a huge allocation.
constexpr quint32 kMaxSide = 4096;

void appendWord(QByteArray& out, quint32 value) {
    char word[4];
    qToLittleEndian(value, word);
    out.append(word, 4);
}

}  // namespace

QByteArray encodeCompiledPicture(const QImage& image) {
    const QImage pixels = image.format() == QImage::Format_RGB32
                              ? image
                              : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QByteArray out(kMagic, 4);
    appendWord(out, static_cast<quint32>(pixels.width()));
    appendWord(out, static_cast<quint32>(pixels.height()));
    appendWord(out, static_cast<quint32>(pixels.format()));
    // The stored words, not pixel(), which would undo the premultiplication.
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x) appendWord(out, line[x]);
    }
    return out;
}

QImage decodeCompiledPicture(const QByteArray& data) {
    if (data.size() < kHeaderSize) return {};
    // Through a view of the checked size: the compiler cannot tell the array apart from an empty one's.
    const std::string_view bytes(data.constData(), size_t(data.size()));
    if (bytes.substr(0, 4) != std::string_view(kMagic, 4)) return {};
    const auto word = [&bytes](size_t at) {
        quint32 value = 0;
        for (size_t i = 0; i < 4; ++i) value |= quint32(uchar(bytes[at + i])) << (8 * i);
        return value;
    };
    const quint32 width = word(4), height = word(8), format = word(12);
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return {};
    if (format != QImage::Format_ARGB32_Premultiplied && format != QImage::Format_RGB32) return {};
    if (data.size() != kHeaderSize + qsizetype(width) * height * 4) return {};
    QImage image(int(width), int(height), static_cast<QImage::Format>(format));
    if (image.isNull()) return {};
    // Row by row: a line of the image may be longer than the stored row.
    for (int y = 0; y < image.height(); ++y)
        qFromLittleEndian<quint32>(bytes.data() + kHeaderSize + size_t(y) * width * 4, width,
                                   image.scanLine(y));
    return image;
}

QImage compiledPicture(const QString& resourcePath) {
    const QResource resource(resourcePath);
    return resource.isValid() ? decodeCompiledPicture(resource.uncompressedData()) : QImage();
}

}  // namespace tarvelin

#include "viewer/picture_decode.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <vector>

#include "viewer/picture_paging.h"

namespace tarvelin {

namespace {

// Decoded rows go straight into the QImage that is shown.
class ImageSink final : public PixelSink {
public:
    uint32_t* allocate(int width, int height, size_t& stride) override {
        image = QImage(width, height, QImage::Format_RGB32);
        if (image.isNull()) return nullptr;
        stride = static_cast<size_t>(image.bytesPerLine()) / 4;
        return reinterpret_cast<uint32_t*>(image.bits());
    }
    QImage image;
};

QImage upright(const QImage& stored, int orientation) {
    if (orientation <= 1 || orientation > 8) return stored;
    const PixelSize size{stored.width(), stored.height()};
    const PixelSize turned = uprightSize(size, orientation);
    QImage out(turned.width, turned.height, stored.format());
    if (out.isNull()) return {};
    applyOrientation(reinterpret_cast<const uint32_t*>(stored.constBits()), size,
                     static_cast<size_t>(stored.bytesPerLine()) / 4, orientation,
                     reinterpret_cast<uint32_t*>(out.bits()), static_cast<size_t>(out.bytesPerLine()) / 4);
    return out;
}

void decodeJpegInto(DecodedPicture& picture, const uint8_t* data, size_t size, PixelSize fitArea,
                    const PictureLimits& limits) {
    ImageSink sink;
    const JpegDecodeResult r = decodeJpeg(data, size, fitArea, sink, limits);
    picture.status = r.status;
    picture.warnings = r.warnings;
    picture.reduced = r.reduced;
    if (r.status != DecodeStatus::Ok) return;
    picture.full = uprightSize(r.stored, r.orientation);
    picture.image = upright(sink.image, r.orientation);
    if (picture.image.isNull()) picture.status = DecodeStatus::OutOfMemory;
}

struct BitmapHeader {
    int64_t pixels = 0;
    int bits = 0;
};

// What a bitmap's header declares (core or info header), read before Qt sees the file.
BitmapHeader bitmapHeader(const uint8_t* d, size_t size) {
    if (size < 30 || d[0] != 'B' || d[1] != 'M') return {};
    auto u16 = [d](size_t at) { return int64_t{d[at]} | int64_t{d[at + 1]} << 8; };
    auto i32 = [d](size_t at) {
        return int64_t{static_cast<int32_t>(uint32_t{d[at]} | uint32_t{d[at + 1]} << 8 |
                                            uint32_t{d[at + 2]} << 16 | uint32_t{d[at + 3]} << 24)};
    };
    if (i32(14) == 12) return {u16(18) * u16(20), static_cast<int>(u16(24))};
    return {std::abs(i32(18)) * std::abs(i32(22)), static_cast<int>(u16(28))};
}

void decodeBitmapInto(DecodedPicture& picture, const uint8_t* data, size_t size,
                      const PictureLimits& limits) {
    const BitmapHeader declared = bitmapHeader(data, size);
    if (declared.pixels > limits.maxPixels ||
        bitmapDecodeBytes(static_cast<uint64_t>(declared.pixels), declared.bits) > limits.memoryBudget) {
        picture.status = DecodeStatus::TooLarge;
        return;
    }
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    // Qt reports a top-down bitmap's height as negative.
    const QSize header = reader.size();
    if (header.width() <= 0 || header.height() == 0) {
        picture.status = DecodeStatus::NotAPicture;
        return;
    }
    // Qt's own cap (256 MB by default) would refuse pictures within ours; its cap stays just above ours.
    reader.setAllocationLimit(static_cast<int>(limits.maxPixels * 4 / (1 << 20) + 1));
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        picture.status = DecodeStatus::Corrupt;
        return;
    }
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    picture.full = {image.width(), image.height()};
    picture.image = std::move(image);
    picture.status = picture.image.isNull() ? DecodeStatus::OutOfMemory : DecodeStatus::Ok;
}

}  // namespace

DecodedPicture decodePictureBytes(const uint8_t* data, size_t size, bool jpeg, PixelSize fitArea,
                                  const PictureLimits& limits) {
    DecodedPicture picture;
    // The file's bytes stay in memory while it is decoded.
    if (size > limits.memoryBudget) {
        picture.status = DecodeStatus::TooLarge;
        return picture;
    }
    PictureLimits rest = limits;
    rest.memoryBudget -= size;
    if (jpeg)
        decodeJpegInto(picture, data, size, fitArea, rest);
    else
        decodeBitmapInto(picture, data, size, rest);
    return picture;
}

PixelSize shownSize(const DecodedPicture& picture) {
    return picture.reduced ? PixelSize{picture.image.width(), picture.image.height()} : picture.full;
}

DecodedPicture decodePictureFile(const std::string& path, PixelSize fitArea, const PictureLimits& limits) {
    DecodedPicture picture;
    picture.path = path;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return picture;
    struct stat st;
    std::vector<uint8_t> bytes;
    bool complete = false;
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (regular &&
        static_cast<uint64_t>(st.st_size) > std::min<uint64_t>(kMaxPictureFileBytes, limits.memoryBudget)) {
        picture.stamp = fileStampOf(st);
        picture.status = DecodeStatus::TooLarge;
    } else if (regular) {
        picture.stamp = fileStampOf(st);
        bytes.resize(static_cast<size_t>(st.st_size));
        size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got += static_cast<size_t>(n);
        }
        bytes.resize(got);  // a file cut short while we read is decoded as far as it goes
        complete = true;
    }
    ::close(fd);
    if (!complete) return picture;
    DecodedPicture decoded = decodePictureBytes(bytes.data(), bytes.size(),
                                                pictureKind(path) == PictureKind::Jpeg, fitArea, limits);
    decoded.path = path;
    decoded.stamp = picture.stamp;
    return decoded;
}

}  // namespace tarvelin

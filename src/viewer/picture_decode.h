#pragma once

#include <QImage>
#include <cstdint>
#include <string>

#include "platform/file_io.h"
#include "viewer/jpeg_decoder.h"

namespace tarvelin {

struct DecodedPicture {
    std::string path;
    DecodeStatus status = DecodeStatus::Unreadable;
    QImage image;      // upright; smaller than `full` when decoded for a fit view
    PixelSize full;    // the upright size of the whole picture
    int warnings = 0;  // damaged data was decoded as far as it goes
    // No larger decode fits the memory budget: the picture is shown at the image's size.
    bool reduced = false;
    FileStamp stamp;  // when any of it changes, a decoded copy is stale
    bool ok() const { return status == DecodeStatus::Ok; }
};

// Pictures larger than this are not read at all.
inline constexpr size_t kMaxPictureFileBytes = size_t{1536} << 20;

// Reads the file at `path` (regular files only; a FIFO never blocks) and decodes it for a view that fits it
// into `fitArea`, or at full size when `fitArea` is empty. JPEG by libjpeg-turbo, bitmaps by Qt's reader.
// The file's bytes and the decode together stay within the limits' memory budget.
DecodedPicture decodePictureFile(const std::string& path, PixelSize fitArea,
                                 const PictureLimits& limits = {});
// The same for bytes already read; `jpeg` chooses the decoder.
DecodedPicture decodePictureBytes(const uint8_t* data, size_t size, bool jpeg, PixelSize fitArea,
                                  const PictureLimits& limits = {});

// The size a picture is shown at: the whole picture's, or the image's when the budget kept it smaller.
PixelSize shownSize(const DecodedPicture& picture);

}  // namespace tarvelin

#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace tarvelin {

// Pictures drawn at build time are compiled in as plain pixels: taking one is a copy, where a PNG would cost
// the image plugins' metadata, a decoder and inflating, at every start.
// Layout: "TVPX", width, height, QImage format (32-bit little-endian each), then the 32-bit pixels row by
// row.

// Only Format_ARGB32_Premultiplied and Format_RGB32 are kept; anything else is converted to the first.
QByteArray encodeCompiledPicture(const QImage& image);
// A null image when the bytes are damaged or of another kind.
QImage decodeCompiledPicture(const QByteArray& data);
// A null image when the resource is missing, damaged or of another kind.
QImage compiledPicture(const QString& resourcePath);

}  // namespace tarvelin

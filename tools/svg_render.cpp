// Usage: tarvelin2-svg-render SVG WIDTH HEIGHT OUT.png|OUT.px [opaque]
//        tarvelin2-svg-render --icons SVG OUT_STEM [SVG OUT_STEM ...]
// Draws an SVG picture at the given size: the desktop icon sizes as PNG, and the splash picture, which is
// opaque (no alpha channel), as compiled-in pixels (.px). --icons draws each picture at 16 and 32 px into
// OUT_STEM-16.px and OUT_STEM-32.px, the image list's 1x and 2x sizes, in one process because the set is
// large; a picture drawn for 16 px of its own (NAME-16.svg beside NAME.svg) gives the 16 px size.
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "widgets/compiled_picture.h"

namespace {

bool draw(const QString& source, int width, int height, const QString& out, bool opaque) {
    QSvgRenderer svg(source);
    if (!svg.isValid() || width <= 0 || height <= 0) {
        std::fprintf(stderr, "cannot draw %s at %dx%d\n", qPrintable(source), width, height);
        return false;
    }
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(opaque ? Qt::white : Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
    }
    bool written = false;
    if (out.endsWith(QLatin1String(".px"))) {
        QFile file(out);
        written = file.open(QIODevice::WriteOnly) &&
                  file.write(tarvelin::encodeCompiledPicture(
                      opaque ? image.convertToFormat(QImage::Format_RGB32) : image)) > 0 &&
                  file.flush();
    } else {
        written = (opaque ? image.convertToFormat(QImage::Format_RGB888) : image).save(out, "PNG");
    }
    if (!written) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return false;
    }
    return true;
}

QString forSize(const QString& svg, int size) {
    QString own = svg;
    own.insert(own.size() - 4, QStringLiteral("-%1").arg(size));
    return QFile::exists(own) ? own : svg;
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "--icons") == 0) {
        if (argc < 4 || argc % 2 != 0) {
            std::fprintf(stderr, "usage: %s --icons SVG OUT_STEM [SVG OUT_STEM ...]\n", argv[0]);
            return 2;
        }
        for (int i = 2; i < argc; i += 2)
            for (int size : {16, 32})
                if (!draw(forSize(QString::fromLocal8Bit(argv[i]), size), size, size,
                          QStringLiteral("%1-%2.px").arg(QString::fromLocal8Bit(argv[i + 1])).arg(size),
                          false))
                    return 1;
        return 0;
    }
    const bool opaque = argc == 6 && std::strcmp(argv[5], "opaque") == 0;
    if (argc != 5 && !opaque) {
        std::fprintf(stderr, "usage: %s SVG WIDTH HEIGHT OUT.png|OUT.px [opaque]\n", argv[0]);
        return 2;
    }
    return draw(QString::fromLocal8Bit(argv[1]), std::atoi(argv[2]), std::atoi(argv[3]),
                QString::fromLocal8Bit(argv[4]), opaque)
               ? 0
               : 1;
}

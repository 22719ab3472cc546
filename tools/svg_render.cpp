// Usage: tarvelin2-svg-render SVG WIDTH HEIGHT OUT.png [opaque]
// Draws an SVG picture at the given size: the desktop icon sizes, and the splash picture, which is opaque
// (24 bits per pixel, no alpha channel).
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    const bool opaque = argc == 6 && std::strcmp(argv[5], "opaque") == 0;
    if (argc != 5 && !opaque) {
        std::fprintf(stderr, "usage: %s SVG WIDTH HEIGHT OUT.png [opaque]\n", argv[0]);
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    const int width = std::atoi(argv[2]);
    const int height = std::atoi(argv[3]);
    if (!svg.isValid() || width <= 0 || height <= 0) {
        std::fprintf(stderr, "cannot draw %s at %sx%s\n", argv[1], argv[2], argv[3]);
        return 1;
    }
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(opaque ? Qt::white : Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
    }
    if (opaque) image = image.convertToFormat(QImage::Format_RGB888);
    if (!image.save(QString::fromLocal8Bit(argv[4]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[4]);
        return 1;
    }
    return 0;
}

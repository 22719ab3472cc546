// Usage: tarvelin2-screengrab WINDOW_ID FILE.png [X Y WIDTH HEIGHT] — saves what the X window shows, or a
// part.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 3 && argc != 7) {
        std::fprintf(stderr, "usage: %s WINDOW_ID FILE.png [X Y WIDTH HEIGHT]\n", argv[0]);
        return 2;
    }
    bool ok = false;
    const WId window = QString::fromLocal8Bit(argv[1]).toULongLong(&ok, 0);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!ok || !screen) return 2;
    int part[4] = {0, 0, -1, -1};
    for (int i = 0; i < 4 && argc == 7; ++i) part[i] = std::atoi(argv[3 + i]);
    const QPixmap picture = screen->grabWindow(window, part[0], part[1], part[2], part[3]);
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "could not save a picture of window %s\n", argv[1]);
        return 1;
    }
    return 0;
}

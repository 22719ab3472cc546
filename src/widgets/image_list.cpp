#include "widgets/image_list.h"

#include <QPixmap>
#include <QString>

#include <array>

#include "widgets/compiled_picture.h"

// Q_INIT_RESOURCE must be used outside a namespace. Referencing the initialiser also keeps the linker from
// dropping the compiled resources out of the static ui library.
static void initIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace tarvelin {

namespace {

// The pictures are drawn at build time at 16 and 32 px: the pixmap engine picks the 32 px one on 2x screens
// and for larger sizes, so the icons stay crisp without parsing SVG at start.
QIcon loadIcon(const QString& stem) {
    QIcon icon;
    for (int size : {16, 32}) {
        const QImage picture = compiledPicture(QStringLiteral(":/icons/%1-%2.px").arg(stem).arg(size));
        if (!picture.isNull()) icon.addPixmap(QPixmap::fromImage(picture));
    }
    return icon;
}

// Tree views ask for an icon for every row they paint, so each picture is read once, when first asked for.
// The cache is never freed: pixmaps must not outlive the QGuiApplication, and a static destructor would run
// after it is gone.
QIcon cached(int slot, const QString& stem) {
    static auto* const icons = [] {
        initIconResources();
        return new std::array<QIcon, kImageCount + kListToolbarImageCount + 2>;
    }();
    QIcon& icon = (*icons)[slot];
    if (icon.isNull()) icon = loadIcon(stem);
    return icon;
}

}  // namespace

QIcon imageListIcon(int index) {
    if (index < 0 || index >= kImageCount) return {};
    return cached(index, QStringLiteral("imagelist/%1").arg(index, 2, 10, QLatin1Char('0')));
}

QIcon listToolbarIcon(ListToolbarImage which) {
    const int index = static_cast<int>(which);
    if (index < 0 || index >= kListToolbarImageCount) return {};
    static const char* const names[kListToolbarImageCount] = {"bold", "italic", "underline",
                                                              "pen",  "memo",   "save"};
    return cached(kImageCount + index, QStringLiteral("listbar/") + QLatin1String(names[index]));
}

QIcon programIcon() {
    return cached(kImageCount + kListToolbarImageCount, QStringLiteral("program"));
}

QIcon driveIcon() {
    return cached(kImageCount + kListToolbarImageCount + 1, QStringLiteral("places/drive"));
}

}  // namespace tarvelin

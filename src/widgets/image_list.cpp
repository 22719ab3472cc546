#include "widgets/image_list.h"

#include <QString>

#include <array>

// Q_INIT_RESOURCE must be used outside a namespace. Referencing the initialiser also keeps the linker from
// dropping the compiled resources out of the static ui library.
static void initIconResources() {
    Q_INIT_RESOURCE(resources);
}

namespace tarvelin {

namespace {

struct IconCache {
    std::array<QIcon, kImageCount> imageList;
    std::array<QIcon, kListToolbarImageCount> listToolbar;
    QIcon program;
};

// Tree views ask for an icon for every row they paint, so each file is parsed once. The cache is never freed:
// icons must not outlive the QGuiApplication's plugins, and a static destructor would run after it is gone.
const IconCache& cache() {
    static const IconCache* const icons = [] {
        initIconResources();
        auto* c = new IconCache;
        for (int i = 0; i < kImageCount; ++i)
            c->imageList[i] =
                QIcon(QStringLiteral(":/icons/imagelist/%1.svg").arg(i, 2, 10, QLatin1Char('0')));
        const char* const names[kListToolbarImageCount] = {"bold", "italic", "underline",
                                                           "pen",  "memo",   "save"};
        for (int i = 0; i < kListToolbarImageCount; ++i)
            c->listToolbar[i] = QIcon(QStringLiteral(":/icons/listbar/%1.svg").arg(QLatin1String(names[i])));
        c->program = QIcon(QStringLiteral(":/icons/program.svg"));
        return c;
    }();
    return *icons;
}

}  // namespace

QIcon imageListIcon(int index) {
    if (index < 0 || index >= kImageCount) return {};
    return cache().imageList[index];
}

QIcon listToolbarIcon(ListToolbarImage which) {
    const int index = static_cast<int>(which);
    if (index < 0 || index >= kListToolbarImageCount) return {};
    return cache().listToolbar[index];
}

QIcon programIcon() {
    return cache().program;
}

}  // namespace tarvelin

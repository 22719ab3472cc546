#include "settings/colour_box.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPixmap>
#include <array>

#include "platform/dialogs.h"
#include "platform/palette_colours.h"

namespace tarvelin {
namespace {

struct NamedColour {
    const char* name;
    ColourValue value;
};

constexpr ColourValue scheme(unsigned index) {
    return kSystemColourFlag | index;
}

// The 16 standard colours, the 4 extended ones, then the desktop-scheme colours in index order (there is no
// scheme colour 25).
constexpr std::array<NamedColour, 50> kNamedColours{{
    {"Black", rgbColour(0, 0, 0)},
    {"Maroon", rgbColour(128, 0, 0)},
    {"Green", rgbColour(0, 128, 0)},
    {"Olive", rgbColour(128, 128, 0)},
    {"Navy", rgbColour(0, 0, 128)},
    {"Purple", rgbColour(128, 0, 128)},
    {"Teal", rgbColour(0, 128, 128)},
    {"Gray", rgbColour(128, 128, 128)},
    {"Silver", rgbColour(192, 192, 192)},
    {"Red", rgbColour(255, 0, 0)},
    {"Lime", rgbColour(0, 255, 0)},
    {"Yellow", rgbColour(255, 255, 0)},
    {"Blue", rgbColour(0, 0, 255)},
    {"Fuchsia", rgbColour(255, 0, 255)},
    {"Aqua", rgbColour(0, 255, 255)},
    {"White", rgbColour(255, 255, 255)},
    {"Money Green", rgbColour(192, 220, 192)},
    {"Sky Blue", rgbColour(166, 202, 240)},
    {"Cream", rgbColour(255, 251, 240)},
    {"Medium Gray", rgbColour(160, 160, 164)},
    {"Scroll Bar", scheme(0)},
    {"Desktop", scheme(1)},
    {"Active Caption", scheme(2)},
    {"Inactive Caption", scheme(3)},
    {"Menu", scheme(4)},
    {"Window", scheme(5)},
    {"Window Frame", scheme(6)},
    {"Menu Text", scheme(7)},
    {"Window Text", scheme(8)},
    {"Caption Text", scheme(9)},
    {"Active Border", scheme(10)},
    {"Inactive Border", scheme(11)},
    {"App Workspace", scheme(12)},
    {"Highlight", scheme(13)},
    {"Highlight Text", scheme(14)},
    {"Button Face", scheme(15)},
    {"Button Shadow", scheme(16)},
    {"Gray Text", scheme(17)},
    {"Button Text", scheme(18)},
    {"Inactive Caption Text", scheme(19)},
    {"Button Highlight", scheme(20)},
    {"3D Dark Shadow", scheme(21)},
    {"3D Light", scheme(22)},
    {"Info Text", scheme(23)},
    {"Info Background", scheme(24)},
    {"Hot Light", scheme(26)},
    {"Gradient Active Caption", scheme(27)},
    {"Gradient Inactive Caption", scheme(28)},
    {"Menu Highlight", scheme(29)},
    {"Menu Bar", scheme(30)},
}};

constexpr QSize kSwatchSize(16, 11);

QIcon swatch(ColourValue colour) {
    QPixmap pixmap(kSwatchSize);
    pixmap.fill(toQColor(colour));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, kSwatchSize.width() - 1, kSwatchSize.height() - 1);
    return QIcon(pixmap);
}

}  // namespace

ColourBox::ColourBox(Dialogs& dialogs, QWidget* parent) : QComboBox(parent), m_dialogs(dialogs) {
    setIconSize(kSwatchSize);
    setMaxVisibleItems(16);
    addItem(swatch(kWindowBackground), QStringLiteral("カスタム..."), QVariant::fromValue(kWindowBackground));
    for (const NamedColour& named : kNamedColours)
        addItem(swatch(named.value), QString::fromLatin1(named.name), QVariant::fromValue(named.value));
    setColour(kWindowBackground);
    // The box is narrow; its list shows the longest names whole.
    view()->setMinimumWidth(view()->sizeHintForColumn(0) + 24);
    connect(this, &QComboBox::activated, this, &ColourBox::entryActivated);
}

ColourValue ColourBox::colour() const {
    return itemData(currentIndex()).value<ColourValue>();
}

void ColourBox::setColour(ColourValue colour) {
    int index = kCustomEntry;
    for (int i = kCustomEntry + 1; i < count() && index == kCustomEntry; ++i)
        if (itemData(i).value<ColourValue>() == colour) index = i;
    if (index == kCustomEntry) setCustomColour(colour);
    setCurrentIndex(index);
    m_chosenIndex = index;
}

void ColourBox::setCustomColour(ColourValue colour) {
    setItemData(kCustomEntry, QVariant::fromValue(colour));
    setItemIcon(kCustomEntry, swatch(colour));
}

void ColourBox::entryActivated(int index) {
    if (index != kCustomEntry) {
        m_chosenIndex = index;
        return;
    }
    const ColourValue previous = itemData(m_chosenIndex).value<ColourValue>();
    if (const std::optional<ColourValue> chosen = m_dialogs.chooseColour(previous))
        setColour(*chosen);
    else
        setCurrentIndex(m_chosenIndex);
}

}  // namespace tarvelin

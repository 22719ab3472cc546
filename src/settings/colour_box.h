#pragma once

#include <QComboBox>

#include "platform/colour_value.h"

namespace tarvelin {

class Dialogs;

// A drop-down list of named colour swatches: first the custom entry, which opens the colour chooser and shows
// any colour that has no name here, then the 16 standard colours, 4 extended ones and the desktop-scheme
// colours.
class ColourBox : public QComboBox {
    Q_OBJECT
public:
    ColourBox(Dialogs& dialogs, QWidget* parent = nullptr);

    ColourValue colour() const;
    // Selects the entry of that colour, or the custom entry holding it.
    void setColour(ColourValue colour);

    // The user picked an entry; the custom one asks for a colour and keeps the old choice when cancelled.
    void entryActivated(int index);

    static constexpr int kCustomEntry = 0;

private:
    void setCustomColour(ColourValue colour);

    Dialogs& m_dialogs;
    int m_chosenIndex = kCustomEntry;
};

}  // namespace tarvelin

#pragma once

#include "platform/dialogs.h"

namespace tarvelin {

// The dialogs as real Qt windows, parented to the active window.
class QtDialogs final : public Dialogs {
public:
    void message(const QString& text) override;
    void error(const QString& text) override;
    bool confirm(const QString& text) override;
    std::optional<QString> inputLine(const QString& caption, const QString& prompt) override;
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    std::optional<std::string> chooseFolder(const QString& caption, const std::string& startFolder) override;
    std::optional<ColourValue> chooseColour(ColourValue initial) override;
};

// Qt's file dialogs keep their history and last folder in the user's "QtProject" settings; a portable program
// folder keeps them in itself instead, so that nothing of the program lands in the user's configuration.
void keepDialogStateIn(const std::string& folder);

// Message texts use CR (or CR LF) for a line break.
QString withLineBreaks(const QString& text);

}  // namespace tarvelin

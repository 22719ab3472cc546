#pragma once

#include <QString>
#include <optional>
#include <string>

#include "platform/colour_value.h"

namespace tarvelin {

struct FileDialogRequest {
    QString title;
    std::string folder;  // initial folder; empty lets the platform choose
    QString filter;      // Qt filter text, e.g. "リストファイル (*.kxd)"
    QString defaultSuffix;
    QString fileName;  // proposed name (save dialogs)
};

// The dialogs windows use. Every one is modal and returns only when the user has answered.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A plain message box titled "Tarvelin2" with one OK button; a CR in the text is a line break.
    virtual void message(const QString& text) = 0;
    // The same, with the error icon: what the general error handler shows.
    virtual void error(const QString& text) = 0;
    // "確認" with a question icon and "はい(&Y)" / "いいえ(&N)"; there is no cancel. True for yes.
    virtual bool confirm(const QString& text) = 0;
    // A one-line input box with an empty text and "OK" / "キャンセル"; nullopt when cancelled.
    virtual std::optional<QString> inputLine(const QString& caption, const QString& prompt) = 0;
    // File paths come back as the file system's bytes.
    virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> chooseFolder(const QString& caption,
                                                    const std::string& startFolder) = 0;
    virtual std::optional<ColourValue> chooseColour(ColourValue initial) = 0;
};

}  // namespace tarvelin

#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

#include "platform/dialogs.h"
#include "platform/services.h"
#include "platform/shell.h"
#include "platform/system_services.h"

namespace tarvelin::test {

// One call a window made on a fake service, in a form tests compare as a whole.
struct Call {
    QString kind;  // "message", "error", "confirm", "inputLine", "openFile", "saveFile", "chooseFolder", ...
    QStringList args;
    bool operator==(const Call&) const = default;
};
void PrintTo(const Call& call, std::ostream* os);

// Dialogs that answer from a script. An unexpected question (empty queue) fails the test and answers "no".
class FakeDialogs final : public Dialogs {
public:
    std::deque<bool> confirmAnswers;
    std::deque<QString> inputAnswers;                    // a null QString() answers with cancel
    std::deque<std::optional<std::string>> fileAnswers;  // open, save and folder dialogs, in order
    std::deque<std::optional<ColourValue>> colourAnswers;
    std::vector<Call> calls;
    // Runs as each call is recorded, so a test can look at the windows while the dialog would be open.
    std::function<void(const Call&)> onCall;

    void message(const QString& text) override;
    void error(const QString& text) override;
    bool confirm(const QString& text) override;
    std::optional<QString> inputLine(const QString& caption, const QString& prompt) override;
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    std::optional<std::string> chooseFolder(const QString& caption, const std::string& startFolder) override;
    std::optional<ColourValue> chooseColour(ColourValue initial) override;

    QStringList messages() const;  // texts of message() and error(), in order

private:
    void record(Call call);
};

class FakeShell final : public Shell {
public:
    std::vector<Call> calls;
    bool opens = true;  // what openPath answers
    bool openPath(const std::string& path) override;
    void openUrl(const QString& url) override;
};

class FakeClock final : public Clock {
public:
    QDateTime time = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5));
    QDateTime now() override { return time; }
};

class FakeBeeper final : public Beeper {
public:
    int beeps = 0;
    void beep() override { ++beeps; }
};

// All fakes together, wired into a Services for a window under test.
struct FakeServices {
    FakeDialogs dialogs;
    FakeShell shell;
    FakeClock clock;
    FakeBeeper beeper;
    Services services(const std::string& programFolder) {
        return {dialogs, shell, clock, beeper, programFolder};
    }
};

}  // namespace tarvelin::test

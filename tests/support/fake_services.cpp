#include "support/fake_services.h"

#include <gtest/gtest.h>

namespace tarvelin::test {
namespace {

template <class T>
T next(std::deque<T>& queue, const char* what, T fallback) {
    if (queue.empty()) {
        ADD_FAILURE() << "unexpected " << what;
        return fallback;
    }
    T answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

void PrintTo(const Call& call, std::ostream* os) {
    *os << call.kind.toStdString() << "(";
    for (qsizetype i = 0; i < call.args.size(); ++i)
        *os << (i ? ", \"" : "\"") << call.args[i].toStdString() << '"';
    *os << ")";
}

void FakeDialogs::record(Call call) {
    calls.push_back(std::move(call));
    if (onCall) onCall(calls.back());
}

void FakeDialogs::message(const QString& text) {
    record({"message", {text}});
}

void FakeDialogs::error(const QString& text) {
    record({"error", {text}});
}

bool FakeDialogs::confirm(const QString& text) {
    record({"confirm", {text}});
    return next(confirmAnswers, "confirmation", false);
}

std::optional<QString> FakeDialogs::inputLine(const QString& caption, const QString& prompt) {
    record({"inputLine", {caption, prompt}});
    const QString answer = next(inputAnswers, "input box", QString());
    if (answer.isNull()) return std::nullopt;
    return answer;
}

std::optional<std::string> FakeDialogs::openFile(const FileDialogRequest& r) {
    record({"openFile", {r.title, q(r.folder), r.filter, r.defaultSuffix, r.fileName}});
    return next(fileAnswers, "open dialog", std::optional<std::string>());
}

std::optional<std::string> FakeDialogs::saveFile(const FileDialogRequest& r) {
    record({"saveFile", {r.title, q(r.folder), r.filter, r.defaultSuffix, r.fileName}});
    return next(fileAnswers, "save dialog", std::optional<std::string>());
}

std::optional<std::string> FakeDialogs::chooseFolder(const QString& caption, const std::string& startFolder) {
    record({"chooseFolder", {caption, q(startFolder)}});
    return next(fileAnswers, "folder dialog", std::optional<std::string>());
}

std::optional<ColourValue> FakeDialogs::chooseColour(ColourValue initial) {
    record({"chooseColour", {QString::number(initial, 16)}});
    return next(colourAnswers, "colour dialog", std::optional<ColourValue>());
}

QStringList FakeDialogs::messages() const {
    QStringList texts;
    for (const Call& call : calls)
        if (call.kind == "message" || call.kind == "error") texts << call.args.value(0);
    return texts;
}

bool FakeShell::openPath(const std::string& path) {
    calls.push_back({"openPath", {q(path)}});
    return opens;
}

void FakeShell::openUrl(const QString& url) {
    calls.push_back({"openUrl", {url}});
}

}  // namespace tarvelin::test

#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tarvelin {

// An error that ends a user action and is shown to the user as it stands (Japanese, UTF-8). Everything the
// action changed before it stays changed.
class UserError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Replaces the first "%s" of a message template with the argument as the user reads it (a name or path made
// on Windows shows its CP932 folders readably), so the message stays UTF-8.
std::string formatMessage(std::string_view templ, std::string_view arg);

// The error texts shared by every file the program reads or writes.
UserError cannotOpenFile(std::string_view path);    // "ファイル %s は開けません"
UserError cannotCreateFile(std::string_view path);  // "ファイル %s を作成できません"
UserError cannotWriteTo(std::string_view path);     // "%s に書き込めません"
UserError tooLargeToRead(std::string_view path);    // "%s は大きすぎて読めません"

}  // namespace tarvelin

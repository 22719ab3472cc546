#include "platform/errors.h"

#include "platform/codepage.h"

namespace tarvelin {

std::string formatMessage(std::string_view templ, std::string_view arg) {
    std::string out(templ);
    if (const auto at = out.find("%s"); at != std::string::npos) out.replace(at, 2, displayUtf8(arg));
    return out;
}

UserError cannotOpenFile(std::string_view path) {
    return UserError(formatMessage("ファイル %s は開けません", path));
}

UserError cannotCreateFile(std::string_view path) {
    return UserError(formatMessage("ファイル %s を作成できません", path));
}

UserError cannotWriteTo(std::string_view path) {
    return UserError(formatMessage("%s に書き込めません", path));
}

UserError tooLargeToRead(std::string_view path) {
    return UserError(formatMessage("%s は大きすぎて読めません", path));
}

}  // namespace tarvelin

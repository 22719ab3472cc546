#include "platform/file_job_texts.h"
#include "platform/codepage.h"
#include "platform/item_path.h"

#include <cerrno>
#include <climits>
#include <cstring>

namespace tarvelin {

std::string failureReason(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return "アクセスが拒否されました。";
        case ENOSPC:
        case EDQUOT:
            return "ディスクの空き領域が足りません。";
        case ENOENT:
            return "ファイルまたはフォルダが見つかりません。";
        case ENAMETOOLONG:
            return "名前が長すぎます。";
        case EROFS:
            return "書き込みが禁止されたボリュームです。";
        case EEXIST:
        case ENOTEMPTY:
            return "同じ名前の項目が既にあります。";
        case EIO:
            return "入出力エラーが起きました。";
        case EBUSY:
            return "使用中です。";
        case ELOOP:
            return "シンボリックリンクが多すぎます。";
        case EFBIG:
            return "ファイルが大きすぎます。";
        case ENOTDIR:
        case EISDIR:
            return "ファイルとフォルダの種類が合いません。";
        case ENXIO:
        case ENODEV:
            return "通常のファイルでもフォルダでもありません。";
        case EMSGSIZE:
            return "コピーした大きさが元のファイルと違います。";
        default:
            break;
    }
    char buffer[256];
    return std::string(::strerror_r(error, buffer, sizeof buffer)) + " (" + std::to_string(error) + ")";
}

namespace {

std::string_view verb(FileAction action) {
    switch (action) {
        case FileAction::Copy:
            return "コピー";
        case FileAction::Move:
            return "移動";
        case FileAction::Trash:
            return "ごみ箱に移動";
        case FileAction::Delete:
            return "削除";
        case FileAction::Rename:
            return "名前を変更";
    }
    return {};
}

}  // namespace

std::string failureText(FileAction action, std::string_view path, std::string_view reason) {
    std::string text(path);
    text += " を";
    text += verb(action);
    text += "できませんでした。\n";
    text += reason;
    return text;
}

std::string_view baseName(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
    return fileNamePart(path);
}

std::string trashQuestion(std::string_view firstPath, size_t count) {
    if (count == 1) return "「" + std::string(baseName(firstPath)) + "」をごみ箱に移動しますか?";
    return std::to_string(count) + " 個の項目をごみ箱に移動しますか?";
}

std::string deleteForGoodQuestion(std::string_view path) {
    return std::string(path) +
           " のあるボリュームにはごみ箱がありません。\n元に戻せませんが、完全に削除しますか?";
}

std::string intoItselfText(FileAction action, std::string_view folder) {
    return "フォルダ " + std::string(folder) + " をそのフォルダ自身の中へ" + std::string(verb(action)) +
           "することはできません。";
}

std::string renameExistsText(std::string_view path) {
    return std::string(path) + " は既にあります。名前を変更できません。";
}

std::string renameInvalidText(std::string_view name) {
    return "「" + std::string(name) + "」はファイル名に使えません。";
}

std::string numberedName(std::string_view name, bool folder, int n) {
    return fittedName(name, folder, " (" + std::to_string(n) + ")", {}, NAME_MAX);
}

std::string fittedName(std::string_view name, bool folder, std::string_view insert, std::string_view append,
                       size_t limit) {
    // A leading "." names a hidden file, not an extension.
    const std::string_view dotted = extensionOf(name);
    const bool hasExtension = !folder && !dotted.empty() && dotted.size() < name.size() &&
                              dotted.size() + insert.size() + append.size() < limit;
    std::string_view stem = hasExtension ? name.substr(0, name.size() - dotted.size()) : name;
    const std::string_view extension = hasExtension ? dotted : std::string_view();
    const size_t tail = insert.size() + extension.size() + append.size();
    const size_t room = tail < limit ? limit - tail : 0;
    if (stem.size() > room) {
        size_t cut = room;
        if (isValidUtf8(name))
            while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) --cut;
        stem = stem.substr(0, cut);
    }
    std::string out;
    out.reserve(stem.size() + tail);
    out.append(stem).append(insert).append(extension).append(append);
    return out;
}

}  // namespace tarvelin

#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include "platform/item_path.h"

namespace tarvelin {

// What a file job was doing when something went wrong; names the action in its messages.
enum class FileAction { Copy, Move, Trash, Delete, Rename };

// The system's reason for an errno value, in Japanese where the user meets it often.
std::string failureReason(int error);

// "<path> をコピーできませんでした。" and the reason on the next line.
std::string failureText(FileAction action, std::string_view path, std::string_view reason);

// The one confirmation before items go to the trash: the item's name, or the count of several.
std::string trashQuestion(std::string_view firstPath, size_t count);
// Asked for an item whose volume keeps no trash.
std::string deleteForGoodQuestion(std::string_view path);

// Refusals made before anything changes.
std::string intoItselfText(FileAction action, std::string_view folder);
std::string renameExistsText(std::string_view path);
std::string renameInvalidText(std::string_view name);

// The last path component (no trailing "/").
std::string_view baseName(std::string_view path);

// "name (2).ext", "name (3).ext", ...: the n-th alternative for a name; a folder or a name without an
// extension gets the number at its end. A leading dot (".profile") is not an extension. Shortened as
// fittedName does, so the alternative is always a name the file system takes.
std::string numberedName(std::string_view name, bool folder, int n);

// `name` with `insert` before its extension and `append` after it, in at most `limit` bytes: the part before
// the extension is cut short where needed, at a character boundary when the name is UTF-8 (else at a byte);
// an extension that leaves it no room is cut with it. Folders and a leading dot have no extension.
std::string fittedName(std::string_view name, bool folder, std::string_view insert, std::string_view append,
                       size_t limit);

}  // namespace tarvelin

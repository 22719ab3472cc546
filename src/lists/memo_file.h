#pragma once

#include <QTextDocument>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/file_io.h"

class QObject;

namespace tarvelin {

// No note comes near this; a larger file is refused before it takes the memory of a document.
inline constexpr size_t kMaxMemoFileBytes = size_t{64} << 20;

// The memo file of a list file: its name less the last four characters, followed by ".rtf".
std::string memoFileName(const std::string& listFileName);

// Reads the memo file into the document. Returns false, leaving the document alone, when there is no such
// file. Throws "ファイル %s は開けません" (or "ファイル %s は大きすぎて開けません"), leaving the document
// alone, when it exists but cannot be read; only regular files are read.
// `stamp`, where given, takes the stamp of the file read.
bool readMemoFile(const std::string& path, QTextDocument& document, FileStamp* stamp = nullptr);

// What reading a memo file on a worker gave: a document of its own (with no thread, so that the receiving
// thread takes it over) when the file was read, else the error message when it exists but could not be read.
struct MemoRead {
    std::unique_ptr<QTextDocument> document;
    std::string error;
    FileStamp stamp;  // of the file read, with the document
};

// Reads the memo file on a worker thread and calls done with the result on the thread of receiver, unless
// receiver is gone by then.
void readMemoFileLater(const std::string& path, QObject& receiver, std::function<void(MemoRead)> done);

// Writes the document as RTF, replacing the file at once, and returns the stamp of the file written. Throws
// "ファイル %s を作成できません" with the old file untouched when it cannot be written.
std::optional<FileStamp> writeMemoFile(const std::string& path, const QTextDocument& document);

}  // namespace tarvelin

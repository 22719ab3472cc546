#include "lists/memo_file.h"

#include <sys/stat.h>

#include <cerrno>

#include "lists/list_document.h"
#include "lists/rtf_reader.h"
#include "lists/rtf_writer.h"
#include "platform/errors.h"
#include "platform/file_io.h"

namespace tarvelin {

std::string memoFileName(const std::string& listFileName) {
    const size_t keep = listFileName.size() >= 4 ? listFileName.size() - 4 : 0;
    return listFileName.substr(0, keep) + ".rtf";
}

bool readMemoFile(const std::string& path, QTextDocument& document) {
    // A FIFO or a device would block the window or never end: only a regular file is opened.
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT) return false;
        throw cannotOpenFile(path);
    }
    if (!S_ISREG(st.st_mode)) throw cannotOpenFile(path);
    const FileBytes file = readFileBytes(path, kMaxMemoFileBytes);
    switch (file.status) {
        case ReadStatus::Ok:
            readRtf(file.bytes, document);
            return true;
        case ReadStatus::Missing:
            return false;
        case ReadStatus::TooLarge:
            throw fileTooLarge(path);
        case ReadStatus::Failed:
            break;
    }
    throw cannotOpenFile(path);
}

void writeMemoFile(const std::string& path, const QTextDocument& document) {
    if (!replaceFileAtomically(path, writeRtf(document))) throw cannotCreateFile(path);
}

}  // namespace tarvelin

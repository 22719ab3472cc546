#include "lists/memo_file.h"

#include <sys/stat.h>

#include <QFutureWatcher>
#include <QPromise>
#include <QThreadPool>
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

bool readMemoFile(const std::string& path, QTextDocument& document, FileStamp* stamp) {
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
            if (stamp) *stamp = file.stamp;
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

void readMemoFileLater(const std::string& path, QObject& receiver, std::function<void(MemoRead)> done) {
    using Result = std::shared_ptr<MemoRead>;
    // The watcher dies with the receiver and then hears nothing; a result no one takes dies with the promise.
    auto* watcher = new QFutureWatcher<Result>(&receiver);
    QObject::connect(watcher, &QFutureWatcherBase::finished, &receiver, [watcher, done = std::move(done)] {
        const Result result = watcher->result();
        watcher->deleteLater();
        done(std::move(*result));
    });
    auto promise = std::make_shared<QPromise<Result>>();
    watcher->setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start([path, promise] {
        auto read = std::make_shared<MemoRead>();
        try {
            auto document = std::make_unique<QTextDocument>();
            if (readMemoFile(path, *document, &read->stamp)) read->document = std::move(document);
        } catch (const UserError& e) {
            read->error = e.what();
        } catch (const std::exception&) {  // out of memory for a document of this size
            read->error = cannotOpenFile(path).what();
        }
        if (read->document) read->document->moveToThread(nullptr);
        promise->addResult(read);
        promise->finish();
    });
}

std::optional<FileStamp> writeMemoFile(const std::string& path, const QTextDocument& document) {
    if (!replaceFileAtomically(path, writeRtf(document))) throw cannotCreateFile(path);
    return fileStamp(path);
}

}  // namespace tarvelin

#pragma once

#include <sys/stat.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_copy.h"
#include "platform/file_job_texts.h"
#include "platform/trash.h"

namespace tarvelin {

enum class FileOperation { Move = 1, Copy = 2, Delete = 3, Rename = 4, MakeFolder = 5 };

// One request of the file browser. Paths are the file system's bytes.
struct FileOperationRequest {
    FileOperation operation = FileOperation::Copy;
    std::vector<std::string> sources;
    // The folder to copy or move into; the new path of a rename; the folder to create (with any missing
    // folders on its path); empty for a delete.
    std::string destination;
    bool operator==(const FileOperationRequest&) const = default;
};

struct FileFacts {
    bool folder = false;
    uint64_t size = 0;
    int64_t modifiedSeconds = 0;  // since the epoch
};

// Copying or moving meets an existing name.
struct FileConflict {
    std::string source, target;
    FileFacts sourceFacts, targetFacts;
    std::string renamedTarget;  // the free name 名前を変えて保存 would take
    bool canOverwrite = true;   // false when a file meets a folder or the other way round
};

enum class ConflictChoice { Overwrite, Skip, Rename, Cancel };

struct ConflictAnswer {
    ConflictChoice choice = ConflictChoice::Cancel;
    bool applyToAll = false;  // 以降すべてに適用
};

enum class ErrorChoice { Skip, Cancel };

struct FileJobProgress {
    uint64_t itemsDone = 0, itemsTotal = 0;
    uint64_t bytesDone = 0, bytesTotal = 0;
    std::string current;  // the path being worked on
};

// How a job talks to whoever started it. All calls come from the thread running the job; the questions wait
// for their answers.
class FileJobHost {
public:
    virtual ~FileJobHost() = default;
    virtual bool confirm(const std::string& text) = 0;  // yes / no
    virtual void refuse(const std::string& text) = 0;   // the job does nothing
    virtual ConflictAnswer conflict(const FileConflict& conflict) = 0;
    virtual ErrorChoice error(const std::string& text) = 0;  // names the path and the reason
    virtual void progress(const FileJobProgress& progress) = 0;
};

struct FileJobOutcome {
    bool refused = false;    // nothing was done
    bool cancelled = false;  // by the user, in a question or through cancel()
    int failed = 0;          // items reported as errors
    int skipped = 0;         // items the user skipped in a conflict
    bool complete() const { return !refused && !cancelled && failed == 0 && skipped == 0; }
};

// Copies, moves, trashes or renames as one request asks. Nothing the user owns is lost on the way: copies get
// their final names only when complete; a move across file systems removes a source folder's files only when
// the whole folder is copied, checked and on disk; a cancel stops before the next piece and removes the
// partial copy.
class FileJob {
public:
    FileJob(FileOperationRequest request, FileJobHost& host,
            TrashSettings trash = TrashSettings::forCurrentUser());

    // Runs the whole job on the calling thread.
    FileJobOutcome run();
    // From any thread: the job stops at its next step.
    void cancel() { m_cancel = true; }

private:
    enum class Mode { Copy, Move, MoveAcross };
    enum class Step { Done, Skipped, Failed, Stop };

    FileJobOutcome runTransfer();
    FileJobOutcome runDelete();
    FileJobOutcome runRename();
    FileJobOutcome runMakeFolder();

    void count(const std::string& path, int depth);
    Step transfer(const std::string& source, const std::string& target, Mode mode);
    Step transferFolder(const std::string& source, const std::string& target, Mode mode,
                        const struct stat& st);
    Step copyFile(const std::string& source, const std::string& target, bool replace, bool sync);
    struct BatchCopy {
        std::string source, target;
        CopyFileResult result;
    };
    // Copies files without conflicts several at a time; `copied` gets the sources that arrived.
    Step copyBatch(std::vector<BatchCopy>& batch, bool sync, std::vector<std::string>& copied, bool& whole);
    // Settles an existing target; may change `target` (a free name) or set `replace`.
    Step settle(const std::string& source, std::string& target, const struct stat& sourceStat, bool& replace);
    Step report(FileAction action, const std::string& path, int error);
    Step deleteForGood(const std::string& path);
    void advance(const std::string& current, uint64_t items);

    FileOperationRequest m_request;
    FileJobHost& m_host;
    TrashSettings m_trash;
    std::atomic<bool> m_cancel{false};
    FileJobOutcome m_outcome;
    FileJobProgress m_progress;
    bool m_haveStandingAnswer = false;
    ConflictChoice m_standingAnswer = ConflictChoice::Skip;
};

// Removes a file, a link or a whole folder for good; 0 or the first errno met.
int removeTree(const std::string& path);
// Creates `path` and every missing folder on the way with `mode` (less the umask); true when it is a folder
// afterwards.
bool makeFolders(const std::string& path, mode_t mode);

}  // namespace tarvelin

#include "platform/file_job.h"
#include "platform/file_job_texts.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

#include "platform/file_copy.h"

namespace tarvelin {
namespace {

constexpr int kMaxDepth = 2048;  // a path of PATH_MAX bytes holds no more folders
// Files are copied by several threads at once: a small file's cost is mostly the file system's bookkeeping,
// which overlaps well.
constexpr int kCopyThreads = 4;
constexpr size_t kBatchFiles = 256;

std::string join(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (path.empty() || path.back() != '/') path += '/';
    path += name;
    return path;
}

std::string trimmed(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string canonical(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return path;
    std::string out(real);
    std::free(real);
    return out;
}

FileFacts factsOf(const struct stat& st) {
    return {S_ISDIR(st.st_mode), static_cast<uint64_t>(st.st_size), static_cast<int64_t>(st.st_mtim.tv_sec)};
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

struct Entry {
    std::string name;
    unsigned char type;  // DT_REG, DT_DIR, ...; DT_UNKNOWN where the file system does not say
};

// A folder's entries, without "." and "..". Read whole before anything in the folder changes.
bool readEntries(const std::string& folder, std::vector<Entry>& entries, int& error) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        error = errno;
        return false;
    }
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") entries.push_back({std::string(name), entry->d_type});
    }
    error = errno;
    ::closedir(dir);
    return error == 0;
}

int removeTreeAt(const std::string& path, int depth) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return errno;
    if (!S_ISDIR(st.st_mode)) return ::unlink(path.c_str()) == 0 ? 0 : errno;
    if (depth > kMaxDepth) return ELOOP;
    std::vector<Entry> entries;
    int error = 0;
    if (!readEntries(path, entries, error)) return error;
    for (const auto& entry : entries)
        if (const int e = removeTreeAt(join(path, entry.name), depth + 1); e && !error) error = e;
    if (error) return error;
    return ::rmdir(path.c_str()) == 0 ? 0 : errno;
}

}  // namespace

int removeTree(const std::string& path) {
    return removeTreeAt(path, 0);
}

bool makeFolders(const std::string& path, mode_t mode) {
    for (size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1))
        if (::mkdir(path.substr(0, at).c_str(), mode) != 0 && errno != EEXIST) return false;
    ::mkdir(path.c_str(), mode);
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

FileJob::FileJob(FileOperationRequest request, FileJobHost& host, TrashSettings trash)
    : m_request(std::move(request)), m_host(host), m_trash(std::move(trash)) {}

FileJobOutcome FileJob::run() {
    m_outcome = {};
    m_progress = {};
    switch (m_request.operation) {
        case FileOperation::Copy:
        case FileOperation::Move:
            return runTransfer();
        case FileOperation::Delete:
            return runDelete();
        case FileOperation::Rename:
            return runRename();
        case FileOperation::MakeFolder:
            return runMakeFolder();
    }
    return m_outcome;
}

void FileJob::advance(const std::string& current, uint64_t items) {
    m_progress.current = current;
    m_progress.itemsDone += items;
    m_host.progress(m_progress);
}

FileJob::Step FileJob::report(FileAction action, const std::string& path, int error) {
    ++m_outcome.failed;
    if (m_host.error(failureText(action, path, failureReason(error))) == ErrorChoice::Skip)
        return Step::Failed;
    m_outcome.cancelled = true;
    return Step::Stop;
}

void FileJob::count(const std::string& path, int depth) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return;
    if (!S_ISDIR(st.st_mode)) {
        ++m_progress.itemsTotal;
        if (S_ISREG(st.st_mode)) m_progress.bytesTotal += static_cast<uint64_t>(st.st_size);
        return;
    }
    if (depth > kMaxDepth) return;
    DIR* dir = ::opendir(path.c_str());
    if (!dir) return;
    // Entries are looked at through the open folder, not by walking the whole path each time.
    std::vector<std::string> folders;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (entry->d_type == DT_DIR || entry->d_type == DT_UNKNOWN) {
            folders.emplace_back(name);
            continue;
        }
        ++m_progress.itemsTotal;
        if (entry->d_type == DT_REG && ::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0)
            m_progress.bytesTotal += static_cast<uint64_t>(st.st_size);
    }
    ::closedir(dir);
    for (const auto& name : folders) count(join(path, name), depth + 1);
}

FileJobOutcome FileJob::runTransfer() {
    const bool copying = m_request.operation == FileOperation::Copy;
    const FileAction action = copying ? FileAction::Copy : FileAction::Move;
    const std::string destination = trimmed(m_request.destination);
    struct stat st;
    const int found = ::stat(destination.c_str(), &st) == 0 ? 0 : errno;
    if (found || !S_ISDIR(st.st_mode)) {
        report(action, destination, found ? found : ENOTDIR);
        return m_outcome;
    }
    // A folder into itself or one of its subfolders: refused before anything changes.
    const std::string target = canonical(destination);
    for (const auto& source : m_request.sources) {
        struct stat s;
        if (::lstat(source.c_str(), &s) != 0 || !S_ISDIR(s.st_mode)) continue;
        const std::string folder = canonical(source);
        if (target == folder || target.starts_with(folder == "/" ? folder : folder + "/")) {
            m_host.refuse(intoItselfText(action, trimmed(source)));
            m_outcome.refused = true;
            return m_outcome;
        }
    }
    for (const auto& source : m_request.sources) count(trimmed(source), 0);
    m_host.progress(m_progress);
    for (const auto& source : m_request.sources) {
        const std::string from = trimmed(source);
        if (transfer(from, join(destination, baseName(from)), copying ? Mode::Copy : Mode::Move) ==
            Step::Stop)
            break;
    }
    return m_outcome;
}

FileJob::Step FileJob::settle(const std::string& source, std::string& target, const struct stat& sourceStat,
                              bool& replace) {
    struct stat existing;
    if (::lstat(target.c_str(), &existing) != 0) return Step::Done;
    FileConflict conflict;
    conflict.source = source;
    conflict.target = target;
    conflict.sourceFacts = factsOf(sourceStat);
    conflict.targetFacts = factsOf(existing);
    conflict.canOverwrite =
        !sameFile(sourceStat, existing) && S_ISDIR(sourceStat.st_mode) == S_ISDIR(existing.st_mode);
    const std::string folder = parentFolder(target);
    const std::string name(baseName(target));
    for (int n = 2;; ++n) {
        conflict.renamedTarget = join(folder, numberedName(name, S_ISDIR(sourceStat.st_mode), n));
        struct stat taken;
        if (::lstat(conflict.renamedTarget.c_str(), &taken) != 0) break;
    }

    ConflictChoice choice;
    if (m_haveStandingAnswer && (m_standingAnswer != ConflictChoice::Overwrite || conflict.canOverwrite)) {
        choice = m_standingAnswer;
    } else {
        const ConflictAnswer answer = m_host.conflict(conflict);
        choice = answer.choice;
        if (choice == ConflictChoice::Overwrite && !conflict.canOverwrite) choice = ConflictChoice::Skip;
        if (answer.applyToAll) {
            m_haveStandingAnswer = true;
            m_standingAnswer = choice;
        }
    }
    switch (choice) {
        case ConflictChoice::Overwrite:
            replace = true;
            return Step::Done;
        case ConflictChoice::Rename:
            target = conflict.renamedTarget;
            return Step::Done;
        case ConflictChoice::Skip:
            ++m_outcome.skipped;
            advance(source, 1);
            return Step::Skipped;
        case ConflictChoice::Cancel:
            break;
    }
    m_outcome.cancelled = true;
    return Step::Stop;
}

FileJob::Step FileJob::transfer(const std::string& source, const std::string& requestedTarget, Mode mode) {
    const FileAction action = mode == Mode::Copy ? FileAction::Copy : FileAction::Move;
    if (m_cancel) {
        m_outcome.cancelled = true;
        return Step::Stop;
    }
    struct stat st;
    if (::lstat(source.c_str(), &st) != 0) return report(action, source, errno);
    std::string target = requestedTarget;
    bool replace = false;
    struct stat existing;
    if (::lstat(target.c_str(), &existing) == 0) {
        if (mode != Mode::Copy && sameFile(st, existing)) {
            advance(source, 1);  // already where it should go
            return Step::Done;
        }
        // Folders merge; everything else asks.
        if (!(S_ISDIR(st.st_mode) && S_ISDIR(existing.st_mode) && !sameFile(st, existing))) {
            if (const Step step = settle(source, target, st, replace); step != Step::Done) return step;
        }
    }

    if (S_ISDIR(st.st_mode)) {
        if (mode == Mode::Move) {
            if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
                const uint64_t before = m_progress.itemsTotal;
                count(target, 0);  // what moved with the folder
                const uint64_t moved = m_progress.itemsTotal - before;
                m_progress.itemsTotal = before;
                advance(target, moved);
                return Step::Done;
            }
            if (errno == EXDEV) return transferFolder(source, target, Mode::MoveAcross, st);
            if (errno != EEXIST && errno != ENOTEMPTY) return report(action, source, errno);
        }
        return transferFolder(source, target, mode, st);
    }

    m_progress.current = source;
    if (mode == Mode::Move) {
        const int moved =
            replace ? ::rename(source.c_str(), target.c_str())
                    : ::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
        if (moved == 0) {
            m_progress.bytesDone += S_ISREG(st.st_mode) ? static_cast<uint64_t>(st.st_size) : 0;
            advance(target, 1);
            return Step::Done;
        }
        if (errno != EXDEV) return report(action, source, errno);
        // Another file system: copy, check, and only then remove the source.
        const Step step = copyFile(source, target, replace, true);
        if (step != Step::Done) return step;
        if (::unlink(source.c_str()) != 0) return report(action, source, errno);
        return Step::Done;
    }
    return copyFile(source, target, replace, mode == Mode::MoveAcross);
}

FileJob::Step FileJob::copyFile(const std::string& source, const std::string& target, bool replace,
                                bool sync) {
    const FileAction action = sync ? FileAction::Move : FileAction::Copy;
    m_progress.current = source;
    struct stat st;
    if (::lstat(source.c_str(), &st) != 0) return report(action, source, errno);
    if (S_ISLNK(st.st_mode)) {
        if (replace && ::unlink(target.c_str()) != 0 && errno != ENOENT) return report(action, target, errno);
        if (const int error = copySymlink(source, target)) return report(action, target, error);
        advance(source, 1);
        return Step::Done;
    }
    const uint64_t base = m_progress.bytesDone;
    CopyFileOptions options;
    options.replace = replace;
    options.sync = sync;
    options.progress = [&](uint64_t done) {
        m_progress.bytesDone = base + done;
        m_host.progress(m_progress);
        return !m_cancel;
    };
    const CopyFileResult result = copyRegularFile(source, target, options);
    if (result.cancelled) {
        m_progress.bytesDone = base;
        m_outcome.cancelled = true;
        return Step::Stop;
    }
    if (!result.ok()) {
        m_progress.bytesDone = base;
        return report(action, result.atTarget ? target : source, result.error);
    }
    m_progress.bytesDone = base + result.bytes;
    advance(source, 1);
    return Step::Done;
}

FileJob::Step FileJob::transferFolder(const std::string& source, const std::string& target, Mode mode,
                                      const struct stat& st) {
    const FileAction action = mode == Mode::Copy ? FileAction::Copy : FileAction::Move;
    // Read before the copy is made, so a folder that cannot be read leaves no empty copy behind.
    std::vector<Entry> entries;
    int error = 0;
    if (!readEntries(source, entries, error)) return report(action, source, error);
    bool created = false;
    struct stat existing;
    if (::lstat(target.c_str(), &existing) != 0) {
        if (::mkdir(target.c_str(), 0700) != 0) return report(action, target, errno);
        created = true;
    }

    bool whole = true;
    std::vector<std::string> copiedFiles;  // removed when the whole folder has arrived
    std::vector<BatchCopy> batch;          // files without a conflict, copied several at a time
    Step result = Step::Done;
    const auto settleBatch = [&] {
        const Step step = copyBatch(batch, mode == Mode::MoveAcross, copiedFiles, whole);
        batch.clear();
        return step;
    };
    for (const auto& [name, type] : entries) {
        const std::string from = join(source, name);
        const std::string to = join(target, name);
        // Plain files go into the batch unless the name is taken; a folder made just now holds nothing.
        struct stat existing;
        if (mode != Mode::Move && type == DT_REG &&
            (created || (::lstat(to.c_str(), &existing) != 0 && errno == ENOENT))) {
            batch.push_back({from, to, {}});
            if (batch.size() < kBatchFiles) continue;
            if (settleBatch() == Step::Stop) {
                result = Step::Stop;
                break;
            }
            continue;
        }
        struct stat child;
        const bool isFolder = ::lstat(from.c_str(), &child) == 0 && S_ISDIR(child.st_mode);
        const Step step = transfer(from, to, mode);
        if (step == Step::Stop) {
            result = Step::Stop;
            whole = false;
            break;
        }
        if (step != Step::Done) whole = false;
        if (mode == Mode::MoveAcross && step == Step::Done && !isFolder) copiedFiles.push_back(from);
    }
    if (result != Step::Stop && !batch.empty() && settleBatch() == Step::Stop) result = Step::Stop;
    if (result == Step::Stop) whole = false;
    if (created) {
        const struct timespec times[2] = {st.st_atim, st.st_mtim};
        ::chmod(target.c_str(), st.st_mode & 07777);
        ::utimensat(AT_FDCWD, target.c_str(), times, 0);
    }
    if (mode == Mode::Copy || !whole)
        return result == Step::Stop ? Step::Stop : (whole ? Step::Done : Step::Skipped);

    if (mode == Mode::MoveAcross) {
        // The copies' names must be on disk too before the originals go.
        const int fd = ::open(target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const bool synced = fd >= 0 && ::fsync(fd) == 0;
        if (fd >= 0) ::close(fd);
        if (!synced) return report(action, target, errno ? errno : EIO);
        for (const auto& file : copiedFiles)
            if (::unlink(file.c_str()) != 0) return report(action, file, errno);
    }
    if (::rmdir(source.c_str()) != 0) return report(action, source, errno);
    return Step::Done;
}

FileJob::Step FileJob::copyBatch(std::vector<BatchCopy>& batch, bool sync, std::vector<std::string>& copied,
                                 bool& whole) {
    std::atomic<size_t> next{0};
    std::atomic<uint64_t> bytes{m_progress.bytesDone};
    std::atomic<uint64_t> items{m_progress.itemsDone};
    const auto work = [&](bool reporting) {
        const auto tell = [&](const std::string& current) {
            // Only the job's own thread talks to the host.
            m_progress.current = current;
            m_progress.bytesDone = bytes;
            m_progress.itemsDone = items;
            m_host.progress(m_progress);
        };
        uint64_t pieceStart = 0;
        const BatchCopy* item = nullptr;
        CopyFileOptions options;
        options.sync = sync;
        options.progress = [&](uint64_t done) {
            bytes += done - pieceStart;
            pieceStart = done;
            if (reporting) tell(item->source);
            return !m_cancel;
        };
        for (size_t i; (i = next++) < batch.size();) {
            BatchCopy& copy = batch[i];
            if (m_cancel) {
                copy.result.cancelled = true;
                continue;
            }
            item = &copy;
            pieceStart = 0;
            copy.result = copyRegularFile(copy.source, copy.target, options);
            if (!copy.result.ok()) {
                bytes -= pieceStart;  // the partial copy is gone
                continue;
            }
            ++items;
            if (reporting) tell(copy.source);
        }
    };
    std::vector<std::thread> helpers;
    for (int i = 1; i < kCopyThreads && static_cast<size_t>(i) < batch.size(); ++i)
        helpers.emplace_back(work, false);
    work(true);
    for (auto& helper : helpers) helper.join();
    m_progress.bytesDone = bytes;
    m_progress.itemsDone = items;
    m_host.progress(m_progress);

    // Failures are reported in the folder's order once the batch is over.
    const FileAction action = sync ? FileAction::Move : FileAction::Copy;
    for (const BatchCopy& item : batch) {
        if (item.result.ok()) {
            copied.push_back(item.source);
            continue;
        }
        whole = false;
        if (item.result.cancelled) {
            m_outcome.cancelled = true;
            return Step::Stop;
        }
        if (report(action, item.result.atTarget ? item.target : item.source, item.result.error) == Step::Stop)
            return Step::Stop;
    }
    return Step::Done;
}

FileJobOutcome FileJob::runDelete() {
    const auto& sources = m_request.sources;
    if (sources.empty()) return m_outcome;
    if (!m_host.confirm(trashQuestion(sources.front(), sources.size()))) {
        m_outcome.cancelled = true;
        return m_outcome;
    }
    m_progress.itemsTotal = sources.size();
    Trash trash(m_trash);
    for (const auto& source : sources) {
        if (m_cancel) {
            m_outcome.cancelled = true;
            break;
        }
        m_progress.current = source;
        m_host.progress(m_progress);
        const TrashResult result = trash.moveToTrash(source);
        Step step = Step::Done;
        if (result.status == TrashStatus::NoTrash)
            step = deleteForGood(source);
        else if (result.status == TrashStatus::Failed)
            step = report(FileAction::Trash, source, result.error);
        if (step == Step::Stop) break;
        advance(source, 1);
    }
    return m_outcome;
}

FileJob::Step FileJob::deleteForGood(const std::string& path) {
    if (!m_host.confirm(deleteForGoodQuestion(path))) {
        ++m_outcome.skipped;
        return Step::Skipped;
    }
    if (const int error = removeTree(path)) return report(FileAction::Delete, path, error);
    return Step::Done;
}

FileJobOutcome FileJob::runRename() {
    if (m_request.sources.size() != 1) {
        m_outcome.refused = true;
        return m_outcome;
    }
    const std::string source = trimmed(m_request.sources.front());
    const std::string& target = m_request.destination;
    const std::string folder = parentFolder(source);
    const std::string prefix = folder == "/" ? folder : folder + "/";
    const std::string name = target.starts_with(prefix) ? target.substr(prefix.size()) : target;
    if (!target.starts_with(prefix) || name.empty() || name == "." || name == ".." ||
        name.find('/') != std::string::npos) {
        m_host.refuse(renameInvalidText(name));
        m_outcome.refused = true;
        return m_outcome;
    }
    if (target == source) return m_outcome;
    m_progress = {0, 1, 0, 0, source};
    int renamed = ::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
    if (renamed != 0 && errno == EINVAL) {
        // A file system without RENAME_NOREPLACE.
        struct stat st;
        if (::lstat(target.c_str(), &st) == 0)
            errno = EEXIST;
        else
            renamed = ::rename(source.c_str(), target.c_str());
    }
    if (renamed == 0) {
        advance(target, 1);
        return m_outcome;
    }
    if (errno == EEXIST) {
        m_host.refuse(renameExistsText(target));
        m_outcome.refused = true;
        return m_outcome;
    }
    report(FileAction::Rename, source, errno);
    return m_outcome;
}

FileJobOutcome FileJob::runMakeFolder() {
    // Silent by design: the refreshed tree shows whether the folder is there.
    m_progress = {0, 1, 0, 0, m_request.destination};
    if (makeFolders(m_request.destination, 0777))
        advance(m_request.destination, 1);
    else
        ++m_outcome.failed;
    return m_outcome;
}

}  // namespace tarvelin

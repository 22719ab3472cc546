#include "platform/file_job.h"
#include "platform/file_job_texts.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/file_copy.h"

namespace tarvelin {
namespace {

constexpr int kMaxDepth = 2048;  // a path of PATH_MAX bytes holds no more folders

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

// Names in a folder, without "." and "..". Read whole before anything in the folder changes.
bool readNames(const std::string& folder, std::vector<std::string>& names, int& error) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        error = errno;
        return false;
    }
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
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
    std::vector<std::string> names;
    int error = 0;
    if (!readNames(path, names, error)) return error;
    for (const auto& name : names)
        if (const int e = removeTreeAt(join(path, name), depth + 1); e && !error) error = e;
    if (error) return error;
    return ::rmdir(path.c_str()) == 0 ? 0 : errno;
}

}  // namespace

int removeTree(const std::string& path) {
    return removeTreeAt(path, 0);
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
    std::vector<std::string> names;
    int error = 0;
    if (depth > kMaxDepth || !readNames(path, names, error)) return;
    for (const auto& name : names) count(join(path, name), depth + 1);
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
    bool created = false;
    struct stat existing;
    if (::lstat(target.c_str(), &existing) != 0) {
        if (::mkdir(target.c_str(), 0700) != 0) return report(action, target, errno);
        created = true;
    }
    std::vector<std::string> names;
    int error = 0;
    if (!readNames(source, names, error)) return report(action, source, error);

    bool whole = true;
    std::vector<std::string> copiedFiles;  // removed when the whole folder has arrived
    Step result = Step::Done;
    for (const auto& name : names) {
        const std::string from = join(source, name);
        struct stat child;
        const bool isFolder = ::lstat(from.c_str(), &child) == 0 && S_ISDIR(child.st_mode);
        const Step step = transfer(from, join(target, name), mode);
        if (step == Step::Stop) {
            result = Step::Stop;
            whole = false;
            break;
        }
        if (step != Step::Done) whole = false;
        if (mode == Mode::MoveAcross && step == Step::Done && !isFolder) copiedFiles.push_back(from);
    }
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

}  // namespace tarvelin

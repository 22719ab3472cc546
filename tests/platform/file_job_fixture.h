#pragma once

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/file_job.h"
#include "support/temp_folder.h"

namespace tarvelin::test {

// Answers a job's questions from a script and records them in order. An unexpected question fails the test.
class ScriptedJobHost final : public FileJobHost {
public:
    std::deque<bool> confirmAnswers;
    std::deque<ConflictAnswer> conflictAnswers;
    std::deque<ErrorChoice> errorAnswers;
    std::vector<std::string> calls;
    std::function<void(const FileJobProgress&)> onProgress;
    FileJobProgress last;

    bool confirm(const std::string& text) override {
        calls.push_back("confirm " + text);
        if (confirmAnswers.empty()) {
            ADD_FAILURE() << "unexpected confirm: " << text;
            return false;
        }
        const bool answer = confirmAnswers.front();
        confirmAnswers.pop_front();
        return answer;
    }
    void refuse(const std::string& text) override { calls.push_back("refuse " + text); }
    ConflictAnswer conflict(const FileConflict& c) override {
        calls.push_back("conflict " + c.source + " -> " + c.target + " | " + c.renamedTarget);
        if (conflictAnswers.empty()) {
            ADD_FAILURE() << "unexpected conflict: " << c.target;
            return {};
        }
        const ConflictAnswer answer = conflictAnswers.front();
        conflictAnswers.pop_front();
        return answer;
    }
    ErrorChoice error(const std::string& text) override {
        calls.push_back("error " + text);
        if (errorAnswers.empty()) {
            ADD_FAILURE() << "unexpected error: " << text;
            return ErrorChoice::Cancel;
        }
        const ErrorChoice answer = errorAnswers.front();
        errorAnswers.pop_front();
        return answer;
    }
    void progress(const FileJobProgress& p) override {
        last = p;
        if (onProgress) onProgress(p);
    }
};

inline std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Every entry below `folder`, relative, folders ending in "/", each file with its bytes: "a/", "a/b=xyz".
inline std::set<std::string> tree(const std::string& folder) {
    std::set<std::string> out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
        std::string rel = e.path().lexically_relative(std::filesystem::path(folder)).string();
        if (e.is_directory())
            out.insert(rel + "/");
        else
            out.insert(rel + "=" + readAll(e.path().string()));
    }
    return out;
}

// A small tmpfs, a volume of its own, for moves across file systems and a full disk. Needs root.
class TmpfsMount {
public:
    TmpfsMount(const std::string& where, const char* size) : m_where(where) {
        std::filesystem::create_directories(where);
        m_mounted = ::geteuid() == 0 &&
                    ::mount("tmpfs", where.c_str(), "tmpfs", 0, (std::string("size=") + size).c_str()) == 0;
    }
    ~TmpfsMount() {
        if (m_mounted) ::umount2(m_where.c_str(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    const std::string& path() const { return m_where; }

private:
    std::string m_where;
    bool m_mounted = false;
};

}  // namespace tarvelin::test

#pragma once

#include <unistd.h>

#include <deque>
#include <string>
#include <vector>

#include "platform/file_operations.h"

namespace tarvelin::test {

// Records each request, then runs it for real; the job's questions are answered from `confirms`.
class RecordingOperations final : public FileOperations, private FileJobHost {
public:
    explicit RecordingOperations(std::string trash) : m_trash(std::move(trash)) {}
    std::vector<FileOperationRequest> requests;
    std::deque<bool> confirms;
    std::vector<std::string> said;

    FileJobOutcome run(const FileOperationRequest& request) override {
        requests.push_back(request);
        FileJob job(request, *this, {m_trash, ::getuid(), [] { return std::time_t{0}; }});
        return job.run();
    }

private:
    bool confirm(const std::string& text) override {
        said.push_back(text);
        const bool yes = !confirms.empty() && confirms.front();
        if (!confirms.empty()) confirms.pop_front();
        return yes;
    }
    void refuse(const std::string& text) override { said.push_back(text); }
    ConflictAnswer conflict(const FileConflict&) override { return {ConflictChoice::Skip, false}; }
    ErrorChoice error(const std::string& text) override {
        said.push_back(text);
        return ErrorChoice::Cancel;
    }
    void progress(const FileJobProgress&) override {}
    std::string m_trash;
};

}  // namespace tarvelin::test

#pragma once

#include "platform/file_job.h"

namespace tarvelin {

// What the file browser's commands call. run() returns when the job is over (done, failed or cancelled); the
// caller then re-reads what it shows, whatever the outcome. The window keeps painting meanwhile.
class FileOperations {
public:
    virtual ~FileOperations() = default;
    virtual FileJobOutcome run(const FileOperationRequest& request) = 0;
};

}  // namespace tarvelin

#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "lists/node_kinds.h"

namespace tarvelin {

// Asks the file system what node texts name, on worker threads, so that a window never waits on a volume that
// answers slowly or not at all (a hung network mount, an unplugged disk): a text whose answer has not come is
// not yet known, neither missing nor present. Each volume has a worker of its own, so one that hangs holds up
// only its own texts. Answers come in any order.
class PathKindService {
public:
    using Probe = std::function<PathKind(std::string_view)>;
    // The volume a text lies on, by its mount point; relative texts share one.
    using VolumeOf = std::function<std::string(std::string_view)>;
    struct Answer {
        std::uint64_t key;
        PathKind kind;
    };

    // By default the volumes are those of the mount table when the service is made.
    explicit PathKindService(Probe probe = pathKind, VolumeOf volumeOf = {});
    // Returns at once, also while a probe hangs: such a worker is left to end on its own.
    ~PathKindService();
    PathKindService(const PathKindService&) = delete;
    PathKindService& operator=(const PathKindService&) = delete;

    // Called on a worker thread when answers start to wait after the last takeAnswers(); it must not block
    // (a queued call to the window's thread). Never called once the service is destroyed.
    void setNotify(std::function<void()> notify);

    // Questions, each a key of the caller's and a text, answered in the order asked as far as workers are
    // free.
    void ask(std::vector<std::pair<std::uint64_t, std::string>> questions);
    // Drops the questions no worker has started on (a list closed or read again).
    void forgetQuestions();
    std::vector<Answer> takeAnswers();

    struct State;  // shared with the workers

private:
    std::shared_ptr<State> m_state;
};

}  // namespace tarvelin

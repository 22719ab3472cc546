#include "lists/path_kind_service.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/file_io.h"

namespace tarvelin {

// Shared with the workers, which may outlive the service while a probe hangs.
struct PathKindService::State {
    std::mutex mutex;
    std::condition_variable wake;
    std::map<std::string, std::deque<std::pair<std::uint64_t, std::string>>> questions;  // by volume
    std::vector<Answer> answers;
    std::function<void()> notify;
    bool notified = false;
    bool stopping = false;
    Probe probe;
    VolumeOf volumeOf;
};

namespace {

// "\040" and the like stand for blanks and such in the mount table.
std::string unescapeMountPoint(std::string_view field) {
    const auto octal = [&](size_t i) { return field[i] >= '0' && field[i] <= '7'; };
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && octal(i + 1) && octal(i + 2) && octal(i + 3)) {
            out.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                            (field[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(field[i]);
        }
    }
    return out;
}

// The mount points of the mount table, longest first, so that the first one a path lies under is its volume.
PathKindService::VolumeOf mountTableVolumes() {
    std::vector<std::string> points;
    const std::string table = readFileBytes("/proc/self/mounts", size_t{4} << 20).bytes;
    size_t start = 0;
    while (start < table.size()) {
        size_t end = table.find('\n', start);
        if (end == std::string::npos) end = table.size();
        const std::string_view line(table.data() + start, end - start);
        start = end + 1;
        const size_t first = line.find(' ');
        if (first == std::string_view::npos) continue;
        const size_t second = line.find(' ', first + 1);
        points.push_back(unescapeMountPoint(line.substr(first + 1, second - first - 1)));
    }
    std::sort(points.begin(), points.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    return [points = std::move(points)](std::string_view text) -> std::string {
        if (!text.starts_with('/')) return {};
        for (const std::string& point : points) {
            if (point == "/") return point;
            if (text.starts_with(point) && (text.size() == point.size() || text[point.size()] == '/'))
                return point;
        }
        return "/";
    };
}

void work(const std::shared_ptr<PathKindService::State>& state, const std::string& volume) {
    std::unique_lock lock(state->mutex);
    auto& questions = state->questions[volume];  // map nodes stay put
    for (;;) {
        state->wake.wait(lock, [&] { return state->stopping || !questions.empty(); });
        if (state->stopping) return;
        auto [key, text] = std::move(questions.front());
        questions.pop_front();
        lock.unlock();
        const PathKind kind = state->probe(text);
        lock.lock();
        if (state->stopping) return;
        state->answers.push_back({key, kind});
        if (!state->notified && state->notify) {
            state->notified = true;
            state->notify();  // under the lock, so that it never runs after the service is gone
        }
    }
}

}  // namespace

PathKindService::PathKindService(Probe probe, VolumeOf volumeOf) : m_state(std::make_shared<State>()) {
    m_state->probe = std::move(probe);
    m_state->volumeOf = volumeOf ? std::move(volumeOf) : mountTableVolumes();
}

PathKindService::~PathKindService() {
    const std::lock_guard lock(m_state->mutex);
    m_state->stopping = true;
    m_state->notify = nullptr;
    for (auto& [volume, questions] : m_state->questions) questions.clear();
    m_state->wake.notify_all();
}

void PathKindService::setNotify(std::function<void()> notify) {
    const std::lock_guard lock(m_state->mutex);
    m_state->notify = std::move(notify);
}

void PathKindService::ask(std::vector<std::pair<std::uint64_t, std::string>> questions) {
    const std::lock_guard lock(m_state->mutex);
    for (auto& question : questions) {
        std::string volume = m_state->volumeOf(question.second);
        auto [queue, added] = m_state->questions.try_emplace(std::move(volume));
        queue->second.push_back(std::move(question));
        // A worker is started with the first question of its volume and lives as long as the service.
        if (!added) continue;
        try {
            std::thread(work, m_state, queue->first).detach();
        } catch (const std::system_error&) {
            m_state->questions.erase(queue);  // no thread to be had: not known now, asked again next time
        }
    }
    m_state->wake.notify_all();
}

void PathKindService::forgetQuestions() {
    const std::lock_guard lock(m_state->mutex);
    for (auto& [volume, questions] : m_state->questions) questions.clear();
}

std::vector<PathKindService::Answer> PathKindService::takeAnswers() {
    const std::lock_guard lock(m_state->mutex);
    m_state->notified = false;
    return std::exchange(m_state->answers, {});
}

}  // namespace tarvelin

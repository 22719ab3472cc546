#include "lists/path_kind_service.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace tarvelin {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A file system in which texts under /hung never answer until released; /slow takes 1 ms a text.
struct FakeVolumes {
    std::mutex mutex;
    std::condition_variable released;
    bool release = false;

    PathKind probe(std::string_view text) {
        if (text.starts_with("/hung/")) {
            std::unique_lock lock(mutex);
            released.wait(lock, [&] { return release; });
        }
        if (text.starts_with("/slow/")) std::this_thread::sleep_for(1ms);
        if (text.ends_with(".dir")) return PathKind::Folder;
        if (text.ends_with(".txt")) return PathKind::File;
        return PathKind::Absent;
    }
    void releaseAll() {
        const std::lock_guard lock(mutex);
        release = true;
        released.notify_all();
    }
};

std::string volumeOf(std::string_view text) {
    return std::string(text.substr(0, text.find('/', 1)));
}

// Takes answers until `count` have come or two seconds have passed.
std::map<std::uint64_t, PathKind> answersWithin(PathKindService& service, size_t count) {
    std::map<std::uint64_t, PathKind> answers;
    const auto deadline = Clock::now() + 2s;
    while (answers.size() < count && Clock::now() < deadline) {
        for (const auto& answer : service.takeAnswers()) answers[answer.key] = answer.kind;
        std::this_thread::sleep_for(1ms);
    }
    return answers;
}

TEST(PathKindService, AVolumeThatNeverAnswersHoldsUpOnlyItsOwnTexts) {
    const auto volumes = std::make_shared<FakeVolumes>();
    std::vector<std::pair<std::uint64_t, std::string>> questions;
    std::map<std::uint64_t, PathKind> expected;
    const std::pair<const char*, PathKind> kinds[] = {
        {".dir", PathKind::Folder}, {".txt", PathKind::File}, {".gone", PathKind::Absent}};
    for (std::uint64_t key = 0; key < 1000; ++key) {
        const auto& [suffix, kind] = kinds[key % 3];
        if (key % 100 == 7) {
            questions.emplace_back(key, "/hung/" + std::to_string(key) + suffix);
            continue;
        }
        questions.emplace_back(key, (key % 2 ? "/slow/" : "/disk/") + std::to_string(key) + suffix);
        expected[key] = kind;
    }
    const auto start = Clock::now();
    {
        PathKindService service([volumes](std::string_view text) { return volumes->probe(text); }, volumeOf);
        std::atomic<int> notified = 0;
        service.setNotify([&] { ++notified; });
        service.ask(questions);
        EXPECT_LT(Clock::now() - start, 100ms);  // asking never waits on a volume
        EXPECT_EQ(answersWithin(service, expected.size()), expected);
        EXPECT_GE(notified, 1);
        std::this_thread::sleep_for(20ms);
        EXPECT_TRUE(service.takeAnswers().empty());  // the hung volume's texts stay not yet known
    }  // the service goes while a worker still hangs in its probe
    EXPECT_LT(Clock::now() - start, 3s);
    volumes->releaseAll();  // the hung worker ends on its own, answering no one
}

TEST(PathKindService, ForgottenQuestionsAreNotAnsweredAndNotifyWaitsForTheTaking) {
    const auto volumes = std::make_shared<FakeVolumes>();
    PathKindService service([volumes](std::string_view text) { return volumes->probe(text); }, volumeOf);
    std::mutex mutex;
    int notified = 0;
    service.setNotify([&] {
        const std::lock_guard lock(mutex);
        ++notified;
    });
    service.ask({{1, "/hung/a.txt"}, {2, "/hung/b.txt"}, {3, "/hung/c.dir"}});
    std::this_thread::sleep_for(20ms);  // the first is being asked; the others wait
    service.forgetQuestions();
    volumes->releaseAll();
    const auto answers = answersWithin(service, 1);
    EXPECT_EQ(answers, (std::map<std::uint64_t, PathKind>{{1, PathKind::File}}));
    std::this_thread::sleep_for(20ms);
    EXPECT_TRUE(service.takeAnswers().empty());

    // One call however many answers wait, and again after they were taken.
    service.ask({{4, "/disk/a.txt"}, {5, "/disk/b.txt"}, {6, "/disk/c.txt"}});
    std::this_thread::sleep_for(50ms);
    {
        const std::lock_guard lock(mutex);
        EXPECT_EQ(notified, 2);
    }
    EXPECT_EQ(service.takeAnswers().size(), 3u);
}

TEST(PathKindService, TheMountTableTellsTheVolumes) {
    // The default volumes come from the mount table; "/" always is one, and every real path is answered.
    PathKindService service;
    service.ask({{1, "/"}, {2, "/proc/self/status"}, {3, "/no/such/thing"}, {4, "relative-text"}});
    const auto answers = answersWithin(service, 4);
    EXPECT_EQ(answers,
              (std::map<std::uint64_t, PathKind>{
                  {1, PathKind::Folder}, {2, PathKind::File}, {3, PathKind::Absent}, {4, PathKind::Absent}}));
}

}  // namespace
}  // namespace tarvelin

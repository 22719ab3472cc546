// A copy killed with SIGKILL at random moments never leaves the final name holding less than the whole
// source.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "file_job_fixture.h"
#include "platform/file_copy.h"

namespace tarvelin {
namespace {

using test::TempFolder;

pid_t startCopy(const std::string& source, const std::string& target) {
    const pid_t child = ::fork();
    if (child == 0) {
        const bool ok = copyRegularFile(source, target, {}).ok();
        ::_exit(ok ? 0 : 1);
    }
    return child;
}

TEST(FileCopyCrash, KilledCopiesLeaveTheWholeFileOrNone) {
    TempFolder dir;
    std::string content(48 << 20, '\0');
    std::mt19937 random(12345);
    for (auto& c : content) c = static_cast<char>(random());
    dir.write("source.bin", content);

    // How long one copy takes here, so the kills spread over all of it.
    const auto started = std::chrono::steady_clock::now();
    int status = 0;
    ::waitpid(startCopy(dir.file("source.bin"), dir.file("timed.bin")), &status, 0);
    const auto took = std::chrono::steady_clock::now() - started;
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(test::readAll(dir.file("timed.bin")), content);
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(took).count() * 3 / 2;

    int whole = 0, none = 0;
    for (int attempt = 0; attempt < 20; ++attempt) {
        const std::string target = dir.file("copy" + std::to_string(attempt) + ".bin");
        const pid_t child = startCopy(dir.file("source.bin"), target);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % (span + 1)));
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        if (std::filesystem::exists(target)) {
            ++whole;
            EXPECT_EQ(std::filesystem::file_size(target), content.size()) << "attempt " << attempt;
            EXPECT_TRUE(test::readAll(target) == content) << "attempt " << attempt;
        } else {
            ++none;
        }
    }
    RecordProperty("whole", whole);
    RecordProperty("none", none);
    std::printf("killed copies: %d complete, %d absent\n", whole, none);
}

}  // namespace
}  // namespace tarvelin

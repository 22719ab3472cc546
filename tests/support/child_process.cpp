#include "support/child_process.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tarvelin::test {

int runInChild(const std::function<int()>& job, unsigned seconds, std::optional<uid_t> user) {
    const pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        ::alarm(seconds);  // a child that hangs dies of the alarm
        if (user && ::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(*user) != 0 || ::setuid(*user) != 0))
            ::_exit(125);
        int code = 126;
        try {
            code = job();
        } catch (...) {
        }
        ::_exit(code);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace tarvelin::test

#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>

namespace tarvelin::test {

inline constexpr uid_t kNobody = 65534;

// Runs job in a forked child and returns what it returns, or -1 when the child did not end by itself within
// `seconds` (it is then killed) or died of a signal. With `user`, a child of root drops to that user and its
// group first, so a test run as root can meet the permission checks other users meet.
int runInChild(const std::function<int()>& job, unsigned seconds, std::optional<uid_t> user = std::nullopt);

}  // namespace tarvelin::test

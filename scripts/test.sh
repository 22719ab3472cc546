#!/usr/bin/env bash
# Installs what is needed, checks the format of the changed files, builds with warnings as errors and runs the
# whole test suite, then builds again with the address and undefined-behaviour sanitizers and runs it again.
# CI runs exactly this (.ci/run).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
sanitized="${SANITIZE_BUILD_DIR:-$build-sanitize}"
"$root/scripts/install-deps.sh"
"$root/scripts/check-format.sh"

CMAKE_EXTRA_ARGS="-DTARVELIN_WERROR=ON ${CMAKE_EXTRA_ARGS:-}" BUILD_DIR="$build" "$root/scripts/build.sh"
(cd "$build" && ctest --output-on-failure --timeout 300)

# Benchmarks are not run under the sanitizers; the fuzz targets have their own build.
CMAKE_EXTRA_ARGS="-DTARVELIN_WERROR=ON -DTARVELIN_SANITIZE=ON -DTARVELIN_BUILD_BENCH=OFF ${CMAKE_EXTRA_ARGS:-}" \
    BUILD_DIR="$sanitized" "$root/scripts/build.sh"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/.ci/lsan.supp:print_suppressions=0"
# With no session bus named, libdbus forks to try dbus-launch when accessibility starts. A child forked while
# another thread holds a lock of the sanitizer's allocator hangs there (glibc's own allocator is fork-safe),
# and the start never ends: name a bus that answers at once that it is not there.
export DBUS_SESSION_BUS_ADDRESS="unix:path=/nonexistent/tarvelin2-test-bus"
(cd "$sanitized" && ctest --output-on-failure --timeout 900)

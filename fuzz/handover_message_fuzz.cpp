// Feeds arbitrary bytes to the reader of hand-over messages: it must never crash, it reads a message the same
// however the socket cuts it, and the paths it takes encode to a message that reads back to them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/handover_message.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tarvelin;
    using State = HandoverMessageReader::State;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    HandoverMessageReader whole;
    const State state = whole.add(bytes);
    // The first byte picks the size of the pieces.
    const size_t step = size > 0 ? 1 + data[0] % 16 : 1;
    HandoverMessageReader cut;
    State cutState = State::More;
    for (size_t at = 0; at < size; at += step) cutState = cut.add(bytes.substr(at, step));
    if (cutState != state || cut.files() != whole.files()) std::abort();
    if (state != State::Done) return 0;
    HandoverMessageReader again;
    if (again.add(encodeHandoverMessage(whole.files())) != State::Done || again.files() != whole.files())
        std::abort();
    return 0;
}

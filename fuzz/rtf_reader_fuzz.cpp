// Feeds arbitrary bytes to the RTF reader: tokenizing, the group stack, code pages and \bin must never crash
// or run away, and what it read writes out as RTF that reads back to the same RTF.
#include <QTextDocument>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "lists/rtf_reader.h"
#include "lists/rtf_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tarvelin;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    QTextDocument document;
    readRtf(bytes, document);
    const std::string written = writeRtf(document);
    QTextDocument again;
    readRtf(written, again);
    if (again.toPlainText() != document.toPlainText()) std::abort();
    if (writeRtf(again) != written) std::abort();
    return 0;
}

// Feeds arbitrary bytes to the readers of the settings file and the auto-open list: nothing may crash, a key
// written reads back as written, and the lines of a file nobody wrote to keep their text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/codepage.h"
#include "platform/profile_document.h"
#include "platform/profile_file.h"
#include "settings/auto_open_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tarvelin;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // Decoding keeps every byte: the file writes back to what it was.
    const DecodedText decoded = decodeText(bytes);
    if (encodeText(decoded.text, decoded.encoding, decoded.utf8Bom).bytes != bytes &&
        decoded.encoding == Encoding::Utf8)
        std::abort();

    ProfileDocument doc = ProfileDocument::parse(decoded.text);
    for (std::string_view section : {"Window", "Color", "Folder"})
        for (std::string_view key : {"State", "ftBack", "TreeDir"})
            if (auto value = doc.value(section, key)) (void)parseProfileInteger(*value);
    doc.setValue("Window", "Width", "694");
    doc.setValue("Fuzz", "Key", "value");
    const ProfileDocument again = ProfileDocument::parse(doc.serialize());
    if (again.value("Fuzz", "Key") != std::optional<std::string>("value")) std::abort();
    if (again.value("window", "WIDTH") != std::optional<std::string>("694")) std::abort();

    std::string joined;
    for (const std::string& line : splitListLines(decoded.text)) {
        if (line.find_first_of("\r\n") != std::string::npos) std::abort();
        joined += line;
    }
    return 0;
}

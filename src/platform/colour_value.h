#pragma once

#include <cstdint>

namespace tarvelin {

// A colour as the settings file stores it: RGB as 0x00BBGGRR, or a desktop-scheme (system) colour as
// 0x80000000 plus the scheme index. Stored as a signed 32-bit decimal, so system colours are negative.
using ColourValue = uint32_t;

constexpr ColourValue kSystemColourFlag = 0x80000000u;

constexpr bool isSystemColour(ColourValue c) {
    return (c & 0xFF000000u) == kSystemColourFlag;
}
constexpr unsigned systemColourIndex(ColourValue c) {
    return c & 0xFFu;
}
constexpr ColourValue rgbColour(unsigned r, unsigned g, unsigned b) {
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}
constexpr unsigned redOf(ColourValue c) {
    return c & 0xFFu;
}
constexpr unsigned greenOf(ColourValue c) {
    return (c >> 8) & 0xFFu;
}
constexpr unsigned blueOf(ColourValue c) {
    return (c >> 16) & 0xFFu;
}

constexpr int32_t toStored(ColourValue c) {
    return static_cast<int32_t>(c);
}
constexpr ColourValue fromStored(int32_t v) {
    return static_cast<ColourValue>(v);
}

// The desktop-scheme colours the program uses as defaults.
constexpr ColourValue kWindowBackground = kSystemColourFlag | 5;
constexpr ColourValue kWindowText = kSystemColourFlag | 8;
constexpr ColourValue kButtonFace = kSystemColourFlag | 15;
constexpr ColourValue kTooltipText = kSystemColourFlag | 23;
constexpr ColourValue kTooltipBackground = kSystemColourFlag | 24;

}  // namespace tarvelin

#pragma once

#include <QFont>
#include <string>
#include <vector>

namespace tarvelin {

// The Windows form font "ＭＳ Ｐゴシック" at the given pixel size, as the Japanese proportional Gothic
// installed here: the first of IPAPGothic, Noto Sans CJK JP and IPAGothic, named alone. A font named by a
// family it does not have, or with alternatives, makes the toolkit ask fontconfig for fallback lists for
// every script it lays out (some milliseconds at start); one it has needs them only for characters the font
// lacks. With none of them installed, the Windows name with the others in order, because fontconfig alone
// would answer a fixed-width Gothic in a Japanese locale.
// Where the font configuration hints the Gothic at most slightly, the font asks for no hinting.
QFont uiFont(int pixelSize);

// Looks the Gothic up for uiFont() ahead of its first call; safe on any thread.
void findUiFont();

// The Japanese proportional Gothics that stand in for "ＭＳ Ｐゴシック", in order of preference.
const std::vector<std::string>& japaneseGothics();

}  // namespace tarvelin

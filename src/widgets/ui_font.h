#pragma once

#include <QFont>

namespace tarvelin {

// "ＭＳ Ｐゴシック" at the given pixel size, falling back to an installed Japanese proportional Gothic. The
// families are named in order because fontconfig alone would answer a fixed-width Gothic in a Japanese
// locale.
QFont uiFont(int pixelSize);

}  // namespace tarvelin

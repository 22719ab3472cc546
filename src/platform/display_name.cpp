#include "platform/display_name.h"

#include "platform/codepage.h"

namespace tarvelin {

QString displayName(std::string_view bytes) {
    const std::string text = displayUtf8(bytes);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tarvelin

#pragma once

#include <functional>
#include <string_view>

namespace tarvelin {

enum class PathKind { Folder, File, Absent };

// What the text names on disk, tested on its bytes exactly as they are (links followed; a relative text is
// looked up from the current folder). A text holding a NUL byte names nothing. May wait as long as the
// volume does: windows ask it on worker threads.
PathKind pathKind(std::string_view text);

// A text this long names nothing on any volume: the kernel refuses it without looking.
bool tooLongForAPath(std::string_view text);

// pathKind, or a stand-in for it (tests give a volume that answers slowly or never).
using PathProbe = std::function<PathKind(std::string_view)>;

}  // namespace tarvelin

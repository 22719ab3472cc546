#pragma once

#include <QString>
#include <string>
#include <vector>

#include "platform/path_kind.h"

class QMimeData;

namespace tarvelin {

// What a drag from a folder tree or a file list carries. Other programs read "text/uri-list" (file URLs that
// keep every byte of the path); our own drop targets read the raw paths with what each names, so that a drop
// needs no disk, and the name of the control the drag started in ("ShellTreeView1", "FileListBox1", ...). A
// drop also checks QDropEvent::source(), which is set only for drags from this process.
inline constexpr char kPaneSourceMime[] = "application/x-tarvelin2-pane";
// Each path as "D" (a folder) or "F" (a file), its bytes and one NUL.
inline constexpr char kPanePathsMime[] = "application/x-tarvelin2-paths";

// A new QMimeData with the paths, all of one kind, in the order given; the caller owns it.
QMimeData* makePaneDragData(const std::vector<std::string>& paths, PathKind kind);
void setPaneDragSource(QMimeData& data, const QString& controlName);

struct PaneDragEntry {
    std::string path;
    PathKind kind;
};
// Empty when the drag holds none or what it holds is not in our form.
std::vector<PaneDragEntry> paneDragEntries(const QMimeData& data);
std::vector<std::string> paneDragPaths(const QMimeData& data);
QString paneDragSource(const QMimeData& data);  // empty when the drag did not start in a pane

}  // namespace tarvelin

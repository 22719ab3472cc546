#pragma once

#include <QString>
#include <string>
#include <vector>

class QMimeData;

namespace tarvelin {

// What a drag from a folder tree or a file list carries. Other programs read "text/uri-list" (file URLs that
// keep every byte of the path); our own drop targets read the raw paths and the name of the control the drag
// started in ("ShellTreeView1", "FileListBox1", ...). A drop also checks QDropEvent::source(), which is set
// only for drags from this process.
inline constexpr char kPaneSourceMime[] = "application/x-tarvelin2-pane";
inline constexpr char kPanePathsMime[] = "application/x-tarvelin2-paths";  // each path followed by one NUL

// A new QMimeData with the paths in the order given; the caller owns it.
QMimeData* makePaneDragData(const std::vector<std::string>& paths);
void setPaneDragSource(QMimeData& data, const QString& controlName);

std::vector<std::string> paneDragPaths(const QMimeData& data);
QString paneDragSource(const QMimeData& data);  // empty when the drag did not start in a pane

}  // namespace tarvelin

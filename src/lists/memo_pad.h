#pragma once

#include <QObject>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/colour_value.h"
#include "platform/file_io.h"

class QAction;
class QTextDocument;

namespace tarvelin {

class Dialogs;
class TList;
struct MemoRead;

// The memo pad of a list window: RichEdit1 on Panel1 covering the tree, the toggle, and the formatting tools
// on the window's toolbar, shown only while the pad is open. The memo is kept in "<list name>.rtf" beside the
// list and written when the pad closes; it never marks the list modified. The file is read on a worker: until
// it has been, the pad shows that it is reading, cannot be edited, and closing it writes nothing.
class MemoPad : public QObject {
    Q_OBJECT
public:
    // Builds Panel1, RichEdit1, ComboBox1, Edit2 and UpDown1 into the window and wires the tools.
    MemoPad(TList& window, Dialogs& dialogs);
    ~MemoPad() override;

    bool isOpen() const;

    // The toggle (N14, ToolButton5). Errors propagate: a memo that cannot be written leaves the pad open.
    void N14Click();
    // The close request's first step: closes the pad as the toggle does. False when the pad was open, so
    // the window stays open (also when the memo could not be written and the pad stays open).
    bool closeQuery();

    void RichEdit1SelectionChange();
    void Edit2Change();
    void ToolButton1MouseDown();
    void ToolButton2MouseDown();
    void ToolButton3MouseDown();
    void ToolButton4Click();
    void ComboBox1Click(int index);

private:
    void open();
    void close();
    void showTools(bool shown);
    void startReading();
    void finishReading(MemoRead read);
    // Puts document into the editor and hands back the one it showed.
    std::unique_ptr<QTextDocument> showDocument(std::unique_ptr<QTextDocument> document);
    int readSizeBox() const;

    TList& m_window;
    Dialogs& m_dialogs;
    std::string m_memoFileName;
    std::string m_unreadFile;  // a memo file that exists but could not be read; never replaced unasked
    std::vector<QAction*> m_tools;
    ColourValue m_lastColour = 0;
    bool m_showingSelection = false;
    bool m_sizeBeingTyped = false;
    std::optional<FileStamp> m_diskStamp;  // the memo file as last read or written here  // read when the box
                                           // is confirmed, so that "20" is not clamped at its "2"
    std::unique_ptr<QTextDocument> m_held;  // while a read is under way: what the pad showed before it
    unsigned m_readGeneration = 0;          // a read whose number has passed is not shown
};

}  // namespace tarvelin

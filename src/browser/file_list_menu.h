#pragma once

#include <QMenu>
#include <functional>

namespace tarvelin {

class Dialogs;

// The file lists' pop-up menu (`PopupMenu1`): the file-type filters, then the file commands. Choosing a
// filter emits filterChosen(mask, filter button icon); the commands below the filters belong to the file
// operations.
class FileListMenu final : public QMenu {
    Q_OBJECT
public:
    // `selectedInCurrentList` answers how many items the current file list has selected (0 when there is
    // none).
    FileListMenu(Dialogs& dialogs, std::function<int()> selectedInCurrentList, QWidget* parent = nullptr);

    // Rename stays greyed until whoever runs it connects N11 and says so here.
    void setRenameAvailable(bool available) { m_renameAvailable = available; }

    // Set before the filter button opens the menu: the rename entry then stays disabled this once.
    void setOpenedByFilterButton() { m_openedByFilterButton = true; }
    bool openedByFilterButton() const { return m_openedByFilterButton; }

    // Asks for an extension and emits the filter for it; nothing when cancelled.
    void N20Click();

    QAction* N20 = nullptr;
    QAction* Delete1 = nullptr;
    QAction* N11 = nullptr;
    QAction* LZH1 = nullptr;

    static constexpr int kAllFilesIcon = 32;
    static constexpr int kTypedExtensionIcon = 31;

signals:
    void filterChosen(const QString& mask, int buttonIcon);

private:
    void PopupMenu1Popup();

    Dialogs& m_dialogs;
    std::function<int()> m_selectedInCurrentList;
    bool m_openedByFilterButton = false;
    bool m_renameAvailable = false;
};

// The mask for a typed extension: "*" and the text, with a "." put in front when it has none ("" gives "*.").
QString typedExtensionMask(const QString& typed);

}  // namespace tarvelin

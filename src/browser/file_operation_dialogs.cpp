#include "browser/file_operation_dialogs.h"

#include <QMessageBox>
#include <QPushButton>

#include "browser/conflict_dialog.h"
#include "platform/dialogs.h"

namespace tarvelin {

bool QtFileOperationDialogs::confirm(const QString& text) {
    return m_dialogs.confirm(text);
}

void QtFileOperationDialogs::message(const QString& text) {
    m_dialogs.message(text);
}

ConflictAnswer QtFileOperationDialogs::conflict(const FileConflict& conflict) {
    ConflictDialog dialog(conflict, m_parent);
    dialog.exec();
    return dialog.answer();
}

ErrorChoice QtFileOperationDialogs::error(const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tarvelin2"), text, QMessageBox::NoButton, m_parent);
    QPushButton* skip = box.addButton(QStringLiteral("スキップ"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(skip);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == skip ? ErrorChoice::Skip : ErrorChoice::Cancel;
}

}  // namespace tarvelin

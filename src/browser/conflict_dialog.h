#pragma once

#include <QDialog>

#include "platform/file_job.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace tarvelin {

// Copying or moving met an existing name: both items side by side (name, size, modification time) and the
// choices 上書き / スキップ / 名前を変えて保存 / キャンセル, with 以降すべてに適用. Closing the window
// cancels.
class ConflictDialog final : public QDialog {
    Q_OBJECT
public:
    explicit ConflictDialog(const FileConflict& conflict, QWidget* parent = nullptr);

    ConflictAnswer answer() const;

    QLabel* message = nullptr;
    QLabel* sourceFacts = nullptr;
    QLabel* targetFacts = nullptr;
    QCheckBox* applyToAll = nullptr;
    QPushButton* overwrite = nullptr;
    QPushButton* skip = nullptr;
    QPushButton* rename = nullptr;
    QPushButton* cancel = nullptr;

private:
    ConflictChoice m_choice = ConflictChoice::Cancel;
};

// "12,345 バイト" for a file, "フォルダ" for a folder, then the modification time "yyyy/MM/dd hh:mm:ss".
QString describeFacts(const FileFacts& facts);

}  // namespace tarvelin

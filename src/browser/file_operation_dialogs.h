#pragma once

#include <QString>

#include "platform/file_job.h"

class QWidget;

namespace tarvelin {

class Dialogs;

// The questions a running file job puts to the user, on the GUI thread. Scripted in tests.
class FileOperationDialogs {
public:
    virtual ~FileOperationDialogs() = default;
    virtual bool confirm(const QString& text) = 0;
    virtual void message(const QString& text) = 0;
    virtual ConflictAnswer conflict(const FileConflict& conflict) = 0;
    virtual ErrorChoice error(const QString& text) = 0;  // スキップ / キャンセル
};

// The real ones: confirmations and messages through the program's dialogs, the conflict dialog, and a warning
// box with スキップ and キャンセル for errors.
class QtFileOperationDialogs final : public FileOperationDialogs {
public:
    QtFileOperationDialogs(Dialogs& dialogs, QWidget* parent) : m_dialogs(dialogs), m_parent(parent) {}
    bool confirm(const QString& text) override;
    void message(const QString& text) override;
    ConflictAnswer conflict(const FileConflict& conflict) override;
    ErrorChoice error(const QString& text) override;

private:
    Dialogs& m_dialogs;
    QWidget* m_parent;
};

}  // namespace tarvelin

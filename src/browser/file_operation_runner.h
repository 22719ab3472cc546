#pragma once

#include <QObject>
#include <QPointer>
#include <mutex>

#include "platform/file_operations.h"
#include "platform/trash.h"

class QWidget;

namespace tarvelin {

class FileOperationDialogs;
class FileProgressDialog;

// Runs file jobs for a window: the job works on a thread of its own while run() waits in a nested event loop,
// so the window keeps painting. The job's questions come over to the GUI thread as dialogs; a progress dialog
// appears when the job takes longer than kProgressDelayMs. Meanwhile the owner window takes no input and no
// close, so nothing can start a second job or pull the window away from under the waiting command.
class FileOperationRunner final : public QObject, public FileOperations {
    Q_OBJECT
public:
    static constexpr int kProgressDelayMs = 500;
    static constexpr int kProgressRefreshMs = 100;

    FileOperationRunner(FileOperationDialogs& dialogs, QWidget* owner,
                        TrashSettings trash = TrashSettings::forCurrentUser());
    ~FileOperationRunner() override;

    FileJobOutcome run(const FileOperationRequest& request) override;
    bool running() const { return m_running; }
    // The progress dialog while it is shown, else nullptr.
    FileProgressDialog* progressDialog() const { return m_progressDialog; }

signals:
    void progressShown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Bridge;

    FileOperationDialogs& m_dialogs;
    QPointer<QWidget> m_owner;
    TrashSettings m_trash;
    bool m_running = false;
    FileProgressDialog* m_progressDialog = nullptr;
};

}  // namespace tarvelin

#pragma once

#include <QDialog>

#include "platform/file_job.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tarvelin {

// What a long file job shows: the item being worked on, items and bytes done of all, and a cancel button.
// Cancelling (the button, Esc or closing the window) only asks the job to stop; the dialog stays until the
// job has stopped and removed its partial file.
class FileProgressDialog final : public QDialog {
    Q_OBJECT
public:
    FileProgressDialog(FileOperation operation, QWidget* parent = nullptr);

    void setProgress(const FileJobProgress& progress);

    QLabel* current = nullptr;
    QLabel* counts = nullptr;
    QProgressBar* bar = nullptr;
    QPushButton* cancel = nullptr;

signals:
    void cancelRequested();

protected:
    void reject() override;
};

// "1.5 MB", "200.0 MB", "512 バイト".
QString byteCount(uint64_t bytes);
// "3 / 10 項目  1.5 MB / 200.0 MB"
QString progressCounts(const FileJobProgress& progress);

}  // namespace tarvelin

#include "browser/file_progress_dialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "browser/file_operation_dialogs.h"
#include "platform/display_name.h"

namespace tarvelin {

QString byteCount(uint64_t bytes) {
    if (bytes < 1024) return QString::number(bytes) + QStringLiteral(" バイト");
    static const char* const kUnits[] = {"KB", "MB", "GB", "TB"};
    double value = static_cast<double>(bytes) / 1024;
    int unit = 0;
    while (value >= 1024 && unit < 3) {
        value /= 1024;
        ++unit;
    }
    return QString::number(value, 'f', 1) + QLatin1Char(' ') + QLatin1String(kUnits[unit]);
}

QString progressCounts(const FileJobProgress& p) {
    QString text = QStringLiteral("%1 / %2 項目").arg(p.itemsDone).arg(p.itemsTotal);
    if (p.bytesTotal > 0)
        text += QStringLiteral("  %1 / %2").arg(byteCount(p.bytesDone), byteCount(p.bytesTotal));
    return text;
}

FileProgressDialog::FileProgressDialog(FileOperation operation, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FileProgressDialog"));
    switch (operation) {
        case FileOperation::Copy:
            setWindowTitle(QStringLiteral("コピーしています"));
            break;
        case FileOperation::Move:
            setWindowTitle(QStringLiteral("移動しています"));
            break;
        case FileOperation::Delete:
            setWindowTitle(QStringLiteral("ごみ箱に移動しています"));
            break;
        case FileOperation::Rename:
            setWindowTitle(QStringLiteral("名前を変更しています"));
            break;
        case FileOperation::MakeFolder:
            setWindowTitle(QStringLiteral("フォルダを作成しています"));
            break;
    }
    setWindowModality(Qt::WindowModal);
    current = new QLabel(this);
    current->setMinimumWidth(360);
    current->setTextFormat(Qt::PlainText);
    counts = new QLabel(this);
    bar = new QProgressBar(this);
    bar->setRange(0, 1000);
    bar->setValue(0);
    cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    connect(cancel, &QPushButton::clicked, this, &FileProgressDialog::reject);
    auto* column = new QVBoxLayout(this);
    column->addWidget(current);
    column->addWidget(counts);
    column->addWidget(bar);
    column->addWidget(cancel, 0, Qt::AlignRight);
}

void FileProgressDialog::setProgress(const FileJobProgress& p) {
    current->setText(displayName(p.current));
    counts->setText(progressCounts(p));
    const double part =
        p.bytesTotal > 0   ? static_cast<double>(p.bytesDone) / static_cast<double>(p.bytesTotal)
        : p.itemsTotal > 0 ? static_cast<double>(p.itemsDone) / static_cast<double>(p.itemsTotal)
                           : 0.0;
    bar->setValue(static_cast<int>(std::min(1.0, part) * 1000));
}

void FileProgressDialog::reject() {
    cancel->setEnabled(false);
    cancel->setText(QStringLiteral("中止しています…"));
    emit cancelRequested();
}

}  // namespace tarvelin

#include "browser/file_operation_runner.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <future>
#include <thread>

#include "browser/file_operation_dialogs.h"
#include "browser/file_progress_dialog.h"
#include "platform/display_name.h"

namespace tarvelin {

constexpr int kWorkerNice = 5;

// The job's side: questions wait for the GUI thread's answer; progress is only noted for the next refresh.
class FileOperationRunner::Bridge final : public FileJobHost {
public:
    Bridge(FileOperationRunner& runner, FileOperationDialogs& dialogs)
        : m_runner(runner), m_dialogs(dialogs) {}

    bool confirm(const std::string& text) override {
        return ask<bool>([&] { return m_dialogs.confirm(displayName(text)); });
    }
    void refuse(const std::string& text) override {
        ask<bool>([&] {
            m_dialogs.message(displayName(text));
            return true;
        });
    }
    ConflictAnswer conflict(const FileConflict& conflict) override {
        return ask<ConflictAnswer>([&] { return m_dialogs.conflict(conflict); });
    }
    ErrorChoice error(const std::string& text) override {
        return ask<ErrorChoice>([&] { return m_dialogs.error(displayName(text)); });
    }
    void progress(const FileJobProgress& progress) override {
        std::lock_guard lock(m_mutex);
        m_latest = progress;
        m_fresh = true;
    }

    // Told on the GUI thread when a question opens (true) and when it has its answer (false).
    std::function<void(bool)> asking;

    // The latest progress when it changed since the last call.
    std::optional<FileJobProgress> take() {
        std::lock_guard lock(m_mutex);
        if (!m_fresh) return std::nullopt;
        m_fresh = false;
        return m_latest;
    }

private:
    template <typename T>
    T ask(const std::function<T()>& onGui) {
        std::promise<T> answer;
        QMetaObject::invokeMethod(
            &m_runner,
            [&] {
                if (asking) asking(true);
                T value = onGui();
                if (asking) asking(false);
                answer.set_value(std::move(value));
            },
            Qt::QueuedConnection);
        return answer.get_future().get();
    }

    FileOperationRunner& m_runner;
    FileOperationDialogs& m_dialogs;
    std::mutex m_mutex;
    FileJobProgress m_latest;
    bool m_fresh = false;
};

FileOperationRunner::FileOperationRunner(FileOperationDialogs& dialogs, QWidget* owner, TrashSettings trash)
    : QObject(owner), m_dialogs(dialogs), m_owner(owner), m_trash(std::move(trash)) {}

FileOperationRunner::~FileOperationRunner() = default;

FileJobOutcome FileOperationRunner::run(const FileOperationRequest& request) {
    if (m_running) {
        QApplication::beep();
        FileJobOutcome refused;
        refused.refused = true;
        return refused;
    }
    m_running = true;
    qApp->installEventFilter(this);

    Bridge bridge(*this, m_dialogs);
    FileJob job(request, bridge, m_trash);
    QEventLoop loop;
    FileJobOutcome outcome;
    std::thread worker([&] {
        // Below the GUI thread, so painting wins when the cores are busy.
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), kWorkerNice);
        outcome = job.run();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    QTimer showLater;
    showLater.setSingleShot(true);
    QTimer refresh;
    const auto showProgress = [&] {
        m_progressDialog = new FileProgressDialog(request.operation, m_owner);
        connect(m_progressDialog, &FileProgressDialog::cancelRequested, this, [&job] { job.cancel(); });
        if (auto latest = bridge.take()) m_progressDialog->setProgress(*latest);
        m_progressDialog->show();
        refresh.start(kProgressRefreshMs);
        emit progressShown();
    };
    // A progress dialog appearing while a question waits would cover it: it comes once the answer is given.
    bool questionOpen = false;
    bool progressDue = false;
    bridge.asking = [&](bool open) {
        questionOpen = open;
        if (!open && progressDue && !m_progressDialog) showProgress();
    };
    connect(&showLater, &QTimer::timeout, this, [&] {
        if (questionOpen)
            progressDue = true;
        else
            showProgress();
    });
    connect(&refresh, &QTimer::timeout, this, [&] {
        if (auto latest = bridge.take(); latest && m_progressDialog) m_progressDialog->setProgress(*latest);
    });
    showLater.start(kProgressDelayMs);

    loop.exec();
    worker.join();

    refresh.stop();
    delete m_progressDialog;
    m_progressDialog = nullptr;
    qApp->removeEventFilter(this);
    m_running = false;
    return outcome;
}

bool FileOperationRunner::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::Drop:
        case QEvent::Close:
            break;
        default:
            return false;
    }
    // Only the owner window is held still; the job's own dialogs take input as usual.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !m_owner || widget->window() != m_owner->window()) return false;
    if (event->type() == QEvent::Close) event->ignore();
    return true;
}

}  // namespace tarvelin

#include "platform/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>

#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using test::TempFolder;

// Answers the next file dialog from inside its own event loop: notes the folder it starts in, then chooses
// `file`.
void answerNextFileDialog(QString* startFolder, const QString& file) {
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return answerNextFileDialog(startFolder, file);
        *startFolder = dialog->directory().absolutePath();
        dialog->selectFile(file);
        static_cast<QDialog*>(dialog)->accept();
    });
}

TEST(QtDialogs, PortableFolderKeepsTheDialogStateAndTheOpenDialogItsLastFolder) {
    // Runs as the first file dialog of the process, as at a program start.
    TempFolder program;
    TempFolder lastRun;
    TempFolder thisRun;
    TempFolder working;
    thisRun.write("b.kxd", "R\r\n");
    const QString workingBefore = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(working.path()));
    keepDialogStateIn(program.path());
    {
        QSettings state(QSettings::UserScope, QStringLiteral("QtProject"));  // what the last run left
        state.setValue("FileDialog/lastVisited", QUrl::fromLocalFile(QString::fromStdString(lastRun.path())));
    }
    ASSERT_TRUE(program.exists("QtProject.conf"));

    FileDialogRequest request;  // no folder: as with an empty DlgDir
    request.filter = QStringLiteral("プロジェクトファイル(*.kxd)");
    QString started;
    QtDialogs dialogs;
    answerNextFileDialog(&started, QString::fromStdString(thisRun.file("b.kxd")));
    EXPECT_EQ(dialogs.openFile(request), thisRun.file("b.kxd"));
    EXPECT_EQ(started + '/', QString::fromStdString(lastRun.path())) << "not the working folder";
    const QSettings state(QSettings::UserScope, QStringLiteral("QtProject"));
    EXPECT_EQ(state.value("FileDialog/lastVisited").toUrl().toLocalFile() + '/',
              QString::fromStdString(thisRun.path()));
    QDir::setCurrent(workingBefore);
}

TEST(QtDialogs, ABoxWithoutAnActiveWindowStillOpensOverTheProgramsWindow) {
    QMainWindow window;
    window.show();
    QApplication::setActiveWindow(nullptr);
    QWidget* parent = &window;  // overwritten with what the box got
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        parent = box ? box->parentWidget() : nullptr;
        if (box) box->accept();
    });
    QtDialogs().message(QStringLiteral("x"));
    EXPECT_EQ(parent, &window);
}

}  // namespace
}  // namespace tarvelin

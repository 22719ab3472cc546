#include "platform/qt_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QUrl>

#include "platform/palette_colours.h"

namespace tarvelin {
namespace {

const QString kApplicationTitle = QStringLiteral("Tarvelin2");

QWidget* dialogParent() {
    if (QWidget* active = QApplication::activeWindow()) return active;
    // Right after another dialog has closed the window manager may not have handed the activation back yet;
    // the box still belongs over the program's window, not in the middle of the screen.
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->inherits("QMainWindow")) return top;
    return nullptr;
}

void showBox(QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, kApplicationTitle, withLineBreaks(text), QMessageBox::Ok, dialogParent());
    box.exec();
}

// The folder Qt's file dialogs last closed in, kept with their state. Qt itself reads it only after it has
// chosen where a dialog without a folder starts (the working folder), so it is read here.
QString lastDialogFolder() {
    const QSettings state(QSettings::UserScope, QStringLiteral("QtProject"));
    const QString folder = state.value(QStringLiteral("FileDialog/lastVisited")).toUrl().toLocalFile();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

std::optional<std::string> runFileDialog(const FileDialogRequest& request, QFileDialog::AcceptMode mode) {
    QString folder = QFile::decodeName(request.folder.c_str());
    if (folder.isEmpty() && mode == QFileDialog::AcceptOpen) folder = lastDialogFolder();
    QFileDialog dialog(dialogParent(), request.title, folder, request.filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

}  // namespace

void keepDialogStateIn(const std::string& folder) {
    const QString path = QFile::decodeName(folder.c_str());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path);
}

QString withLineBreaks(const QString& text) {
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

void QtDialogs::message(const QString& text) {
    showBox(QMessageBox::NoIcon, text);
}

void QtDialogs::error(const QString& text) {
    showBox(QMessageBox::Critical, text);
}

bool QtDialogs::confirm(const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("確認"), withLineBreaks(text),
                    QMessageBox::NoButton, dialogParent());
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

std::optional<QString> QtDialogs::inputLine(const QString& caption, const QString& prompt) {
    QInputDialog dialog(dialogParent());
    dialog.setWindowTitle(caption);
    dialog.setLabelText(withLineBreaks(prompt));
    dialog.setTextValue(QString());
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("キャンセル"));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

std::optional<std::string> QtDialogs::openFile(const FileDialogRequest& request) {
    return runFileDialog(request, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtDialogs::saveFile(const FileDialogRequest& request) {
    return runFileDialog(request, QFileDialog::AcceptSave);
}

std::optional<std::string> QtDialogs::chooseFolder(const QString& caption, const std::string& startFolder) {
    const QString folder =
        QFileDialog::getExistingDirectory(dialogParent(), caption, QFile::decodeName(startFolder.c_str()));
    if (folder.isEmpty()) return std::nullopt;
    return QFile::encodeName(folder).toStdString();
}

std::optional<ColourValue> QtDialogs::chooseColour(ColourValue initial) {
    const QColor colour = QColorDialog::getColor(toQColor(initial), dialogParent());
    if (!colour.isValid()) return std::nullopt;
    return fromQColor(colour);
}

}  // namespace tarvelin

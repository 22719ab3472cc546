#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tarvelin {

class BevelPanel;
class LinkLabel;
class Shell;

// The texts of the version dialog that belong to this build rather than to the dialog.
struct AboutTexts {
    QString credit;      // the third label
    QString webAddress;  // Comments: handed to the shell as it is
    QString webText;     // what Comments shows; the address itself when empty
    QString email;       // Label1: shown; "mailto:" and it go to the shell
};

// "バージョン情報": created once at start, shown modally again and again. OK, Enter and the close box all
// just close it.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    TAboutBox(Shell& shell, const AboutTexts& texts, QWidget* parent = nullptr);

    void CommentsClick();
    void Label1Click();

    BevelPanel* Panel1;
    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Copyright;
    LinkLabel* Comments;
    LinkLabel* Label1;
    QPushButton* OKButton;

protected:
    void showEvent(QShowEvent* event) override;

private:
    Shell& m_shell;
    AboutTexts m_texts;
};

// This build's texts: the credit line, the help page as the web address (the program's own page, installed
// with it), and the maintainers' address given to the build.
AboutTexts programAboutTexts(const std::string& helpFilePath);

}  // namespace tarvelin

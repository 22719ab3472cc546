#include "app/about_box.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "app/bevel_panel.h"
#include "app/link_label.h"
#include "platform/desktop_shell.h"
#include "platform/shell.h"
#include "widgets/image_list.h"
#include "widgets/ui_font.h"

namespace tarvelin {
namespace {

template <typename Label>
Label* addLabel(QWidget* parent, const char* name, const QString& text, int x, int y) {
    auto* label = new Label(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(x, y);
    label->adjustSize();
    return label;
}

void makeBlue(QLabel* label) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label->setPalette(p);
}

// A long address wraps after its "@" and dots while the lines fit below it in the panel; only one that still
// does not fit is shortened in the middle, with the whole of it in the tip.
void fitInto(QLabel& link, const QWidget& panel) {
    const int room = panel.width() - link.x() - 2;
    const QString text = link.text();
    if (link.fontMetrics().horizontalAdvance(text) <= room) return;
    QString breakable = text;
    breakable.replace(QLatin1Char('@'), QStringLiteral("@\u200B"))
        .replace(QLatin1Char('.'), QStringLiteral(".\u200B"));
    link.setText(breakable);
    link.setWordWrap(true);
    const int height = link.heightForWidth(room);
    if (link.y() + height <= panel.height() - 2) {
        link.resize(room, height);
        return;
    }
    link.setWordWrap(false);
    link.setToolTip(text);
    link.setText(link.fontMetrics().elidedText(text, Qt::ElideMiddle, room));
    link.adjustSize();
}

}  // namespace

TAboutBox::TAboutBox(Shell& shell, const AboutTexts& texts, QWidget* parent)
    // A caption with the close box only: no minimise or maximise buttons on a fixed dialog.
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_shell(shell),
      m_texts(texts) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setFont(uiFont(12));
    setFixedSize(306, 213);

    Panel1 = new BevelPanel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(8, 8, 289, 161);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(20, 16, 32, 32);
    ProgramIcon->setPixmap(programIcon().pixmap(32, 32));

    ProductName = addLabel<QLabel>(Panel1, "ProductName", QStringLiteral("Tarvelin2"), 88, 16);
    Version = addLabel<QLabel>(Panel1, "Version", QStringLiteral("Ver 2.0"), 88, 40);
    Copyright = addLabel<QLabel>(Panel1, "Copyright", texts.credit, 8, 80);
    Comments = addLabel<LinkLabel>(Panel1, "Comments",
                                   texts.webText.isEmpty() ? texts.webAddress : texts.webText, 8, 104);
    if (!texts.webText.isEmpty()) Comments->setToolTip(texts.webAddress);
    Label1 = addLabel<LinkLabel>(Panel1, "Label1", texts.email, 8, 120);
    for (LinkLabel* link : {Comments, Label1}) {
        makeBlue(link);
        fitInto(*link, *Panel1);
    }
    connect(Comments, &LinkLabel::clicked, this, &TAboutBox::CommentsClick);
    connect(Label1, &LinkLabel::clicked, this, &TAboutBox::Label1Click);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(111, 180, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::CommentsClick() {
    if (!m_texts.webAddress.isEmpty()) m_shell.openUrl(m_texts.webAddress);
}

void TAboutBox::Label1Click() {
    m_shell.openUrl(QStringLiteral("mailto:") + m_texts.email);
}

void TAboutBox::showEvent(QShowEvent* event) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize outer = frameGeometry().size();
        move(screen->geometry().center() - QPoint(outer.width() / 2, outer.height() / 2));
    }
    QDialog::showEvent(event);
}

AboutTexts programAboutTexts(const std::string& helpFilePath) {
    const QString kCredit = QStringLiteral("Copyright © 2026 Tarvelin2 maintainers");
    // Without a help document there is no page of ours to offer.
    if (helpFilePath.empty()) return {kCredit, {}, {}, QStringLiteral(TARVELIN_CONTACT_ADDRESS)};
    // The help's own title rather than a file address naming the folder it was built in.
    return {kCredit, QString::fromUtf8(fileUrlOf(helpFilePath)), QStringLiteral("Tarvelin2 ヘルプ"),
            QStringLiteral(TARVELIN_CONTACT_ADDRESS)};
}

}  // namespace tarvelin

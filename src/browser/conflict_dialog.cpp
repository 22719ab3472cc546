#include "browser/conflict_dialog.h"

#include <QCheckBox>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "browser/file_operation_dialogs.h"
#include "platform/display_name.h"

namespace tarvelin {
namespace {

QString groupedNumber(uint64_t n) {
    QString digits = QString::number(n);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3) digits.insert(at, QLatin1Char(','));
    return digits;
}

}  // namespace

QString describeFacts(const FileFacts& facts) {
    const QString size =
        facts.folder ? QStringLiteral("フォルダ") : groupedNumber(facts.size) + QStringLiteral(" バイト");
    const QString time =
        QDateTime::fromSecsSinceEpoch(facts.modifiedSeconds).toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
    return size + QStringLiteral("\n更新日時: ") + time;
}

ConflictDialog::ConflictDialog(const FileConflict& conflict, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ConflictDialog"));
    setWindowTitle(QStringLiteral("同じ名前の項目があります"));
    setModal(true);

    message = new QLabel(displayName(conflict.target) + QStringLiteral(" は既にあります。"), this);
    message->setWordWrap(true);

    auto* sides = new QGridLayout;
    const auto side = [&](int column, const QString& heading, const std::string& path,
                          const FileFacts& facts) {
        auto* title = new QLabel(QStringLiteral("<b>%1</b>").arg(heading), this);
        auto* name = new QLabel(displayName(path), this);
        name->setWordWrap(true);
        auto* details = new QLabel(describeFacts(facts), this);
        sides->addWidget(title, 0, column);
        sides->addWidget(name, 1, column);
        sides->addWidget(details, 2, column);
        return details;
    };
    sourceFacts = side(0, QStringLiteral("これから置く項目"), conflict.source, conflict.sourceFacts);
    targetFacts = side(1, QStringLiteral("既にある項目"), conflict.target, conflict.targetFacts);
    sides->setColumnStretch(0, 1);
    sides->setColumnStretch(1, 1);

    auto* renameHint = new QLabel(QStringLiteral("名前を変えると %1 として保存します。")
                                      .arg(displayName(std::string(baseName(conflict.renamedTarget)))),
                                  this);
    applyToAll = new QCheckBox(QStringLiteral("以降すべてに適用"), this);

    overwrite = new QPushButton(QStringLiteral("上書き"), this);
    skip = new QPushButton(QStringLiteral("スキップ"), this);
    rename = new QPushButton(QStringLiteral("名前を変えて保存"), this);
    cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    overwrite->setEnabled(conflict.canOverwrite);
    skip->setDefault(true);
    const auto choose = [this](QPushButton* button, ConflictChoice choice) {
        connect(button, &QPushButton::clicked, this, [this, choice] {
            m_choice = choice;
            if (choice == ConflictChoice::Cancel)
                reject();
            else
                accept();
        });
    };
    choose(overwrite, ConflictChoice::Overwrite);
    choose(skip, ConflictChoice::Skip);
    choose(rename, ConflictChoice::Rename);
    choose(cancel, ConflictChoice::Cancel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {overwrite, skip, rename, cancel}) buttons->addWidget(button);

    auto* column = new QVBoxLayout(this);
    column->addWidget(message);
    column->addLayout(sides);
    column->addWidget(renameHint);
    column->addWidget(applyToAll);
    column->addLayout(buttons);
}

ConflictAnswer ConflictDialog::answer() const {
    if (result() != QDialog::Accepted) return {ConflictChoice::Cancel, false};
    return {m_choice, applyToAll->isChecked()};
}

}  // namespace tarvelin

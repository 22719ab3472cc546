#include "browser/file_list_menu.h"

#include <map>
#include <string_view>

#include "platform/dialogs.h"
#include "widgets/image_list.h"

namespace tarvelin {

namespace {

struct FilterEntry {
    const char* group;  // the submenu, or nullptr for an entry of the menu itself
    const char* name;
    const char* caption;
    const char* mask;
    int buttonIcon;
    bool menuIcon;  // the menu shows the button icon beside the entry
};

struct FilterGroup {
    const char* name;
    const char* caption;
};

const FilterGroup kGroups[] = {
    {"N4", "表計算ファイル"},
    {"N5", "文書ファイル"},
    {"N6", "画像ファイル"},
    {"CAD1", "CADファイル"},
};

const FilterEntry kFilters[] = {
    {"N4", "Excelxls1", "Microsoft Excel (*.xls)", "*.xls", 7, true},
    {"N4", "Rotus1231", "Rotus123 (*.123)", "*.123", 8, true},
    {"N5", "MicrosoftWorddoc1", "Microsoft Word (*.doc)", "*.doc", 10, true},
    {"N5", "jtd1", "一太郎 (*.jtd)", "*.jtd", 18, true},
    {"N5", "txt1", "テキストファイル (*.txt)", "*.txt", 19, true},
    {"N6", "bmp1", "ビットマップファイル (*.bmp)", "*.bmp", 9, true},
    {"N6", "JPEGjpg1", "JPEGファイル (*.jpg)", "*.jpg", 16, true},
    {"N6", "GIFgif1", "GIFファイル (*.gif)", "*.gif", 14, true},
    {"CAD1", "JWWjww1", "JWWファイル (*.jww)", "*.jww", 17, true},
    {"CAD1", "HOChoc1", "HOCファイル (*.hoc)", "*.hoc", 15, true},
    {"CAD1", "JWCjwc1", "JWCファイル (*.jwc)", "*.jwc", 11, true},
    {"CAD1", "DXFdxf1", "DXFファイル(*.dxf)", "*.dxf", 13, true},
    // The caption names .htm too, but the entry lists .html files only.
    {nullptr, "HTML1", "HTMLファイル(*.html;*.htm)", "*.html", 21, true},
    {nullptr, "N7", "アプリケーション(*.exe)", "*.exe", 12, true},
    {nullptr, "N8", "プロジェクトファイル(*.kxd)", "*.kxd", 0, false},
    {nullptr, "N9", "全てのファイル(*.*)", "*.*", FileListMenu::kAllFilesIcon, false},
};

QAction* addEntry(QMenu* menu, const char* name, const QString& caption, int icon = -1) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (icon >= 0) action->setIcon(imageListIcon(icon));
    return action;
}

void addNamedSeparator(QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

}  // namespace

QString typedExtensionMask(const QString& typed) {
    return QStringLiteral("*") + (typed.startsWith(QLatin1Char('.')) ? typed : QStringLiteral(".") + typed);
}

FileListMenu::FileListMenu(Dialogs& dialogs, std::function<int()> selectedInCurrentList, QWidget* parent)
    : QMenu(parent), m_dialogs(dialogs), m_selectedInCurrentList(std::move(selectedInCurrentList)) {
    setObjectName(QStringLiteral("PopupMenu1"));
    std::map<std::string_view, QMenu*> submenus;
    for (const FilterGroup& group : kGroups) {
        QMenu* submenu = addMenu(QString::fromUtf8(group.caption));
        submenu->setObjectName(QString::fromLatin1(group.name));
        submenu->menuAction()->setObjectName(QString::fromLatin1(group.name));
        submenus[group.name] = submenu;
    }
    for (const FilterEntry& entry : kFilters) {
        QMenu* menu = entry.group ? submenus.at(entry.group) : this;
        QAction* action = addEntry(menu, entry.name, QString::fromUtf8(entry.caption),
                                   entry.menuIcon ? entry.buttonIcon : -1);
        const QString mask = QString::fromUtf8(entry.mask);
        const int icon = entry.buttonIcon;
        connect(action, &QAction::triggered, this, [this, mask, icon] { emit filterChosen(mask, icon); });
    }
    addNamedSeparator(this, "N19");
    N20 = addEntry(this, "N20", QStringLiteral("拡張子を指定"));
    connect(N20, &QAction::triggered, this, &FileListMenu::N20Click);
    addNamedSeparator(this, "N10");
    Delete1 = addEntry(this, "Delete1", QStringLiteral("削除"));
    N11 = addEntry(this, "N11", QStringLiteral("名前を変更する"));
    addNamedSeparator(this, "N23");
    LZH1 = addEntry(this, "LZH1", QStringLiteral("ﾌｧｲﾙﾘｽﾄをｸﾘｯﾌﾟﾎﾞｰﾄﾞにコピー"));
    // Rename stays greyed until something runs it.
    N11->setEnabled(false);

    connect(this, &QMenu::aboutToShow, this, &FileListMenu::PopupMenu1Popup);
}

void FileListMenu::PopupMenu1Popup() {
    N11->setEnabled(m_renameAvailable && !m_openedByFilterButton && m_selectedInCurrentList() == 1);
    m_openedByFilterButton = false;
}

void FileListMenu::N20Click() {
    const std::optional<QString> typed = m_dialogs.inputLine(
        QStringLiteral("拡張子指定"), QStringLiteral("拡張子を入力してください（コンマ不要)"));
    if (!typed) return;
    emit filterChosen(typedExtensionMask(*typed), kTypedExtensionIcon);
}

}  // namespace tarvelin

#include "settings/settings_dialog.h"

#include <QCheckBox>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <filesystem>

#include "platform/dialogs.h"
#include "platform/display_name.h"
#include "settings/auto_open_list.h"
#include "settings/colour_box.h"
#include "settings/settings_file.h"
#include "settings/settings_host.h"
#include "widgets/error_handler.h"
#include "widgets/ui_font.h"

namespace tarvelin {
namespace {

// The outer size is 500 × 297; this is its client area inside a usual dialog frame.
constexpr QSize kClientSize(492, 270);
constexpr QSize kOuterSize(500, 297);
constexpr int kStripHeight = 36;
constexpr QSize kButtonSize(75, 25);

constexpr std::array<const char*, 11> kColourCaptions{"フォルダﾂリーの背景",
                                                      "フォルダツリーのフォント",
                                                      "ファイルリストの背景",
                                                      "ファイルリストのフォント",
                                                      "ファイル情報の背景",
                                                      "ファイル情報のフォント",
                                                      "バインダーツリーの背景",
                                                      "バインダーツリーのフォント",
                                                      "操作ログの背景",
                                                      "操作ログのフォント",
                                                      "本体の色"};

QString fromPath(const std::string& path) {
    return QFile::decodeName(path.c_str());
}

std::string toPath(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

QLabel* label(QWidget* parent, const QString& name, const QString& text, const QRect& geometry) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(geometry);
    return l;
}

QLineEdit* edit(QWidget* parent, const QString& name, const QRect& geometry) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(geometry);
    return e;
}

}  // namespace

TProForm::TProForm(Dialogs& dialogs, std::string programFolder, SettingsHost& host, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_programFolder(std::move(programFolder)), m_host(host) {
    setObjectName(QStringLiteral("ProForm"));
    setWindowTitle(QStringLiteral("設定"));
    setFont(uiFont(12));
    setFixedSize(kClientSize);
    // A fixed dialog frame: a close box, no minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, 0, kClientSize.width(), kClientSize.height() - kStripHeight);
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, kClientSize.height() - kStripHeight, kClientSize.width(), kStripHeight);
    Button4 =
        button(Panel1, QStringLiteral("Button4"), QStringLiteral("キャンセル"), {{328, 5}, kButtonSize});
    Button3 = button(Panel1, QStringLiteral("Button3"), QStringLiteral("ＯＫ"), {{408, 5}, kButtonSize});
    connect(Button3, &QPushButton::clicked, this, &TProForm::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TProForm::Button4Click);

    buildFolderTab();
    buildColourTab();
    buildBehaviourTab();
    FormCreate();
}

QPushButton* TProForm::button(QWidget* parent, const QString& name, const QString& text,
                              const QRect& geometry) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    // No button of this dialog answers Enter, and Escape does not cancel it.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

void TProForm::buildFolderTab() {
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet1, QStringLiteral("フォルダ"));
    Label1 = label(TabSheet1, QStringLiteral("Label1"),
                   QStringLiteral("開・保存ダイアログのデフォルトフォルダ："), {8, 16, 380, 14});
    Edit1 = edit(TabSheet1, QStringLiteral("Edit1"), {8, 34, 380, 21});
    Button1 = button(TabSheet1, QStringLiteral("Button1"), QStringLiteral("参照"), {{400, 32}, kButtonSize});
    Label2 = label(TabSheet1, QStringLiteral("Label2"),
                   QStringLiteral("フォルダツリーのデフォルト表示フォルダ"), {8, 80, 380, 14});
    Edit2 = edit(TabSheet1, QStringLiteral("Edit2"), {8, 98, 380, 21});
    Button2 = button(TabSheet1, QStringLiteral("Button2"), QStringLiteral("参照"), {{400, 96}, kButtonSize});
    connect(Button1, &QPushButton::clicked, this, &TProForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TProForm::Button2Click);
}

void TProForm::buildColourTab() {
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet2, QStringLiteral("配色"));
    // Three columns of four rows, filled column by column in the order of the colour keys.
    for (size_t i = 0; i < ColorBoxes.size(); ++i) {
        const int x = 164 * static_cast<int>(i / 4);
        const int y = 8 + 44 * static_cast<int>(i % 4);
        ColorLabels[i] = label(TabSheet2, QStringLiteral("Label%1").arg(i + 3),
                               QString::fromUtf8(kColourCaptions[i]), {x, y, 145, 14});
        ColorBoxes[i] = new ColourBox(m_dialogs, TabSheet2);
        ColorBoxes[i]->setObjectName(QStringLiteral("ColorBox%1").arg(i + 1));
        ColorBoxes[i]->setGeometry(x, y + 16, 145, 22);
    }
    Button5 =
        button(TabSheet2, QStringLiteral("Button5"), QStringLiteral("初期値"), {{400, 176}, kButtonSize});
    connect(Button5, &QPushButton::clicked, this, &TProForm::Button5Click);
}

void TProForm::buildBehaviourTab() {
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    PageControl1->addTab(TabSheet3, QStringLiteral("動作"));
    // Never shown: it only carries the stored flag through the dialog.
    CheckBox1 =
        new QCheckBox(QStringLiteral("バインダー・フォルダーを開いたとき、他のフォルダを閉じる"), TabSheet3);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(8, 8, 380, 17);
    CheckBox1->hide();
    CheckBox2 = new QCheckBox(QStringLiteral("起動時次のリストファイルを自動で開く"), TabSheet3);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setGeometry(8, 8, 380, 17);
    ListBox1 = new QListWidget(TabSheet3);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(8, 30, 380, 168);
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Button6 =
        button(TabSheet3, QStringLiteral("Button6"), QStringLiteral("追　加"), {{400, 30}, kButtonSize});
    Button7 =
        button(TabSheet3, QStringLiteral("Button7"), QStringLiteral("削　除"), {{400, 60}, kButtonSize});
    Button8 = button(TabSheet3, QStringLiteral("Button8"), QStringLiteral("▲"), {400, 150, 23, 22});
    Button9 = button(TabSheet3, QStringLiteral("Button9"), QStringLiteral("▼"), {400, 176, 23, 22});
    connect(CheckBox2, &QCheckBox::toggled, this, &TProForm::CheckBox2Click);
    connect(Button6, &QPushButton::clicked, this, &TProForm::Button6Click);
    connect(Button7, &QPushButton::clicked, this, &TProForm::Button7Click);
}

void TProForm::FormCreate() {
    const SettingsFile settings(m_programFolder);
    Edit1->setText(fromPath(settings.dlgDir()));
    Edit2->setText(fromPath(settings.treeDir()));
    CheckBox2->setChecked(settings.openFiles(false));
    CheckBox2Click();
}

void TProForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;  // restored from an icon, not shown anew
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->geometry();
        move(desktop.x() + (desktop.width() - kOuterSize.width()) / 2,
             desktop.y() + (desktop.height() - kOuterSize.height()) / 2);
    }
    FormShow();
}

void TProForm::FormShow() {
    for (const ColourKeyInfo& info : kColourKeys)
        if (info.key != ColourKey::vtBack && info.key != ColourKey::vtText)
            ColorBoxes[static_cast<size_t>(info.key)]->setColour(m_host.currentColour(info.key));
    const SettingsFile settings(m_programFolder);
    for (ColourKey key : {ColourKey::vtBack, ColourKey::vtText})
        ColorBoxes[static_cast<size_t>(key)]->setColour(settings.colour(key));
    CheckBox2->setChecked(settings.openFiles(false));
    CheckBox1->setChecked(m_host.binderCollapse());
    runAction(m_dialogs, [this] { loadAutoOpenList(); });
    CheckBox2Click();
}

void TProForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

std::vector<std::string> TProForm::autoOpenEntries() const {
    std::vector<std::string> entries;
    for (int row = 0; row < ListBox1->count(); ++row)
        entries.push_back(ListBox1->item(row)->data(Qt::UserRole).toByteArray().toStdString());
    return entries;
}

void TProForm::setAutoOpenEntries(const std::vector<std::string>& entries) {
    ListBox1->clear();
    for (const std::string& entry : entries) appendEntry(entry);
}

void TProForm::appendEntry(const std::string& path) {
    // The list shows the path; the bytes are what is written back and opened.
    auto* item = new QListWidgetItem(displayName(path), ListBox1);
    item->setData(Qt::UserRole, QByteArray::fromStdString(path));
}

bool TProForm::autoOpenSwitch() const {
    return CheckBox2->isChecked();
}

bool TProForm::loadAutoOpenList() {
    const std::optional<std::vector<std::string>> entries = AutoOpenListFile(m_programFolder).load();
    if (!entries) return false;
    setAutoOpenEntries(*entries);
    return true;
}

void TProForm::CheckBox2Click() {
    const bool on = CheckBox2->isChecked();
    for (QWidget* w :
         {static_cast<QWidget*>(ListBox1), static_cast<QWidget*>(Button6), static_cast<QWidget*>(Button7)})
        w->setEnabled(on);
}

void TProForm::Button1Click() {
    if (const auto folder = m_dialogs.chooseFolder(QStringLiteral("フォルダを選択してください"), {}))
        Edit1->setText(fromPath(*folder));
}

void TProForm::Button2Click() {
    if (const auto folder = m_dialogs.chooseFolder(QStringLiteral("フォルダを選択してください"), {}))
        Edit2->setText(fromPath(*folder));
}

void TProForm::Button5Click() {
    for (const ColourKeyInfo& info : kColourKeys)
        ColorBoxes[static_cast<size_t>(info.key)]->setColour(info.defaultValue);
}

void TProForm::Button6Click() {
    FileDialogRequest request;
    request.filter = QStringLiteral("Tarvelinリストファイル (*.kxd)");
    if (const auto path = m_dialogs.openFile(request)) appendEntry(*path);
}

void TProForm::Button7Click() {
    for (QListWidgetItem* item : ListBox1->selectedItems()) delete item;
}

void TProForm::Button4Click() {
    reject();
}

bool TProForm::foldersExist() const {
    for (const QLineEdit* field : {Edit1, Edit2}) {
        std::error_code ec;
        if (!field->text().isEmpty() && !std::filesystem::is_directory(toPath(field->text()), ec))
            return false;
    }
    return true;
}

void TProForm::writeSettings() {
    SettingsFile settings(m_programFolder);
    settings.setDlgDir(toPath(Edit1->text()));
    settings.setTreeDir(toPath(Edit2->text()));
    for (const ColourKeyInfo& info : kColourKeys)
        settings.setColour(info.key, ColorBoxes[static_cast<size_t>(info.key)]->colour());
    settings.setNodeCollapse(CheckBox1->isChecked());
    settings.setOpenFiles(CheckBox2->isChecked());
}

void TProForm::Button3Click() {
    if (!foldersExist()) {
        m_dialogs.message(
            QStringLiteral("ﾌｫﾙﾀﾞの設定で、存在しないﾌｫﾙﾀﾞに設定されています。\r内容を確認してください。"));
        return;
    }
    const bool applied = runAction(m_dialogs, [this] {
        writeSettings();
        AutoOpenListFile(m_programFolder).save(autoOpenEntries());
        m_host.setLeftTreeRoot(Edit2->text().isEmpty() ? std::string(SettingsFile::kDesktopRoot)
                                                       : toPath(Edit2->text()));
        m_host.ApplyColourSettings();
        m_host.LoadActionSettings();
    });
    if (!applied) return;
    // The dialog goes away only when the message has been read.
    m_dialogs.message(QStringLiteral("バインダーツリーの設定は、次にファイルを開いたときから適用されます"));
    accept();
}

}  // namespace tarvelin

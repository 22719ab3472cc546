#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <filesystem>
#include <memory>

#include "settings/colour_box.h"
#include "settings/settings_dialog.h"
#include "settings/settings_host.h"
#include "support/fake_services.h"
#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using test::Call;
using test::FakeDialogs;
using test::TempFolder;

// Records what the dialog asks of the main window among the dialog calls, so one list shows the order.
class FakeHost final : public SettingsHost {
public:
    FakeHost(FakeDialogs& dialogs, const TempFolder& dir) : m_dialogs(dialogs), m_dir(dir) {
        for (const ColourKeyInfo& info : kColourKeys)
            colours[static_cast<size_t>(info.key)] = info.defaultValue;
    }
    std::array<ColourValue, 11> colours{};
    bool collapse = false;
    std::string settingsAtApply;

    ColourValue currentColour(ColourKey key) const override { return colours[static_cast<size_t>(key)]; }
    bool binderCollapse() const override { return collapse; }
    void setLeftTreeRoot(const std::string& root) override {
        m_dialogs.calls.push_back({"setLeftTreeRoot", {QString::fromStdString(root)}});
    }
    void ApplyColourSettings() override {
        settingsAtApply = m_dir.read("KX2cfg.ini");
        m_dialogs.calls.push_back({"ApplyColourSettings", {}});
    }
    void LoadActionSettings() override { m_dialogs.calls.push_back({"LoadActionSettings", {}}); }

private:
    FakeDialogs& m_dialogs;
    const TempFolder& m_dir;
};

const std::string kColoursSection =
    "[Color]\r\nftBack=-2147483643\r\nftText=-2147483640\r\nflBack=-2147483643\r\nflText=-2147483640\r\n"
    "fiBack=-2147483625\r\nfiText=-2147483624\r\nvtBack=-2147483643\r\nvtText=-2147483640\r\n"
    "riBack=-2147483624\r\nriText=-2147483625\r\nAppBody=-2147483633\r\n";
const std::string kDefaultSettings = "[Folder]\r\nDlgDir=\r\nTreeDir=\r\n" + kColoursSection +
                                     "[Actions]\r\nNodeCollapse=0\r\n[Open]\r\nFiles=0\r\n";
const QString kClosingMessage =
    QStringLiteral("バインダーツリーの設定は、次にファイルを開いたときから適用されます");
const QString kMissingFolderMessage =
    QStringLiteral("ﾌｫﾙﾀﾞの設定で、存在しないﾌｫﾙﾀﾞに設定されています。\r内容を確認してください。");

class SettingsDialogTest : public ::testing::Test {
protected:
    TempFolder dir;
    FakeDialogs dialogs;
    FakeHost host{dialogs, dir};
    std::unique_ptr<TProForm> form;

    TProForm& create(const std::string& folder = {}) {
        form = std::make_unique<TProForm>(dialogs, folder.empty() ? dir.path() : folder, host);
        return *form;
    }
    TProForm& createAndShow() {
        create().show();
        return *form;
    }
    std::vector<std::string> entries() const { return form->autoOpenEntries(); }
    std::vector<ColourValue> boxColours() const {
        std::vector<ColourValue> values;
        for (const ColourBox* box : form->ColorBoxes) values.push_back(box->colour());
        return values;
    }
};

TEST_F(SettingsDialogTest, OkWritesEveryKeyInOrderThenTheListThenAppliesAndClosesAfterTheMessage) {
    createAndShow();
    bool visibleAtMessage = false;
    dialogs.onCall = [&](const Call&) { visibleAtMessage = form->isVisible(); };
    QTest::mouseClick(form->Button3, Qt::LeftButton);

    EXPECT_EQ(dir.read("KX2cfg.ini"), kDefaultSettings);
    EXPECT_EQ(host.settingsAtApply, kDefaultSettings);  // applying reads back what was written
    EXPECT_TRUE(dir.exists("oplst.lst"));
    EXPECT_EQ(dir.read("oplst.lst"), "");
    EXPECT_EQ(dialogs.calls, (std::vector<Call>{{"setLeftTreeRoot", {"rfDesktop"}},
                                                {"ApplyColourSettings", {}},
                                                {"LoadActionSettings", {}},
                                                {"message", {kClosingMessage}}}));
    EXPECT_TRUE(visibleAtMessage);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Accepted);
}

TEST_F(SettingsDialogTest, OkChecksBothFolderFieldsBeforeWritingAnything) {
    std::filesystem::create_directory(dir.file("a"));
    const QString existing = QString::fromStdString(dir.file("a"));
    const QString missing = QString::fromStdString(dir.file("gone"));
    struct Case {
        QString edit1, edit2;
        Call first;
    };
    const std::vector<Case> cases{
        {existing, "", {"setLeftTreeRoot", {"rfDesktop"}}},
        {"", existing, {"setLeftTreeRoot", {existing}}},
        {missing, existing, {"message", {kMissingFolderMessage}}},
        {existing, missing, {"message", {kMissingFolderMessage}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.edit1 + " | " + c.edit2).toStdString());
        std::filesystem::remove(dir.file("KX2cfg.ini"));
        std::filesystem::remove(dir.file("oplst.lst"));
        dialogs.calls.clear();
        createAndShow();
        form->Edit1->setText(c.edit1);
        form->Edit2->setText(c.edit2);
        form->Button3Click();
        const bool refused = c.first.kind == "message";
        EXPECT_EQ(dialogs.calls.front(), c.first);
        EXPECT_EQ(form->isVisible(), refused);
        EXPECT_EQ(dir.exists("KX2cfg.ini"), !refused);
        EXPECT_EQ(dir.exists("oplst.lst"), !refused);
        if (refused) continue;
        const std::string folders =
            ("[Folder]\r\nDlgDir=" + c.edit1 + "\r\nTreeDir=" + c.edit2 + "\r\n[Color]").toStdString();
        EXPECT_EQ(dir.read("KX2cfg.ini").substr(0, folders.size()), folders);
    }
}

TEST_F(SettingsDialogTest, FolderFieldsKeepTypedTextAcrossCancelAndNeitherEnterNorEscapeCloses) {
    dir.write("KX2cfg.ini", "[Folder]\r\nDlgDir=/old\r\nTreeDir=/tree\r\n");
    createAndShow();
    EXPECT_EQ(form->Edit1->text(), "/old");
    EXPECT_EQ(form->Edit2->text(), "/tree");
    EXPECT_EQ(form->PageControl1->currentIndex(), 0);

    form->Edit1->clear();
    QTest::keyClicks(form->Edit1, "/typed");
    QTest::keyClick(form->Edit1, Qt::Key_Return);
    QTest::keyClick(form->Edit1, Qt::Key_Enter);
    QTest::keyClick(form->Edit1, Qt::Key_Escape);
    EXPECT_TRUE(form->isVisible());

    // Browsing starts nowhere in particular; a cancelled browse leaves the field alone.
    dialogs.fileAnswers = {std::nullopt, "/chosen"};
    form->Button1Click();
    form->Button2Click();
    EXPECT_EQ(dialogs.calls, (std::vector<Call>{{"chooseFolder", {"フォルダを選択してください", ""}},
                                                {"chooseFolder", {"フォルダを選択してください", ""}}}));
    form->PageControl1->setCurrentIndex(2);
    QTest::mouseClick(form->Button4, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Rejected);

    form->show();
    EXPECT_EQ(form->Edit1->text(), "/typed");
    EXPECT_EQ(form->Edit2->text(), "/chosen");
    EXPECT_EQ(form->PageControl1->currentIndex(), 2);
    EXPECT_EQ(dir.read("KX2cfg.ini"), "[Folder]\r\nDlgDir=/old\r\nTreeDir=/tree\r\n");
    EXPECT_FALSE(dir.exists("oplst.lst"));
}

TEST_F(SettingsDialogTest, CancelAfterAddingReloadsTheListOnlyWhenTheFileExists) {
    for (const bool fileExists : {true, false}) {
        SCOPED_TRACE(fileExists);
        std::filesystem::remove(dir.file("oplst.lst"));
        if (fileExists) dir.write("oplst.lst", "/a.kxd\n");
        dir.write("KX2cfg.ini", "[Open]\r\nFiles=1\r\n");
        dialogs.calls.clear();
        createAndShow();
        const std::vector<std::string> before =
            fileExists ? std::vector<std::string>{"/a.kxd"} : std::vector<std::string>{};
        EXPECT_EQ(entries(), before);

        dialogs.fileAnswers = {"/n.kxd", "/n.kxd"};  // the same path may stand twice
        QTest::mouseClick(form->Button6, Qt::LeftButton);
        QTest::mouseClick(form->Button6, Qt::LeftButton);
        std::vector<std::string> added = before;
        added.insert(added.end(), {"/n.kxd", "/n.kxd"});
        EXPECT_EQ(entries(), added);
        EXPECT_EQ(dialogs.calls.front(),
                  (Call{"openFile", {"", "", "Tarvelinリストファイル (*.kxd)", "", ""}}));

        QTest::mouseClick(form->Button4, Qt::LeftButton);
        form->show();
        EXPECT_EQ(entries(), fileExists ? before : added);
        EXPECT_EQ(dir.exists("oplst.lst"), fileExists);
    }
}

TEST_F(SettingsDialogTest, InitialValuesChangeOnlyTheBoxesUntilOk) {
    const std::string red =
        "[Color]\r\nftBack=255\r\nftText=255\r\nflBack=255\r\nflText=255\r\nfiBack=255\r\n"
        "fiText=255\r\nvtBack=255\r\nvtText=255\r\nriBack=255\r\nriText=255\r\n"
        "AppBody=255\r\n";
    dir.write("KX2cfg.ini", red);
    host.colours.fill(rgbColour(255, 0, 0));
    host.collapse = true;
    createAndShow();
    const std::vector<ColourValue> allRed(11, rgbColour(255, 0, 0));
    EXPECT_EQ(boxColours(), allRed);

    std::vector<ColourValue> defaults;
    for (const ColourKeyInfo& info : kColourKeys) defaults.push_back(info.defaultValue);
    QTest::mouseClick(form->Button5, Qt::LeftButton);
    EXPECT_EQ(boxColours(), defaults);
    QTest::mouseClick(form->Button4, Qt::LeftButton);
    EXPECT_EQ(dir.read("KX2cfg.ini"), red);

    form->show();
    EXPECT_EQ(boxColours(), allRed);
    QTest::mouseClick(form->Button5, Qt::LeftButton);
    QTest::mouseClick(form->Button3, Qt::LeftButton);
    EXPECT_EQ(dir.read("KX2cfg.ini"), kColoursSection +
                                          "[Folder]\r\nDlgDir=\r\nTreeDir=\r\n"
                                          "[Actions]\r\nNodeCollapse=1\r\n[Open]\r\nFiles=0\r\n");
}

TEST_F(SettingsDialogTest, TheSwitchGreysTheListAndItsButtonsButOkStillWritesTheList) {
    dir.write("KX2cfg.ini", "[Open]\r\nFiles=1\r\n");
    dir.write("oplst.lst", "/a.kxd\r\n/b.kxd\r\n/c.kxd\r\n/d.kxd\r\n");
    createAndShow();
    const auto enabled = [&] {
        return std::vector<bool>{form->ListBox1->isEnabled(), form->Button6->isEnabled(),
                                 form->Button7->isEnabled(), form->Button8->isEnabled(),
                                 form->Button9->isEnabled()};
    };
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true, true, true}));

    form->ListBox1->item(1)->setSelected(true);
    form->ListBox1->item(3)->setSelected(true);
    QTest::mouseClick(form->Button8, Qt::LeftButton);  // "▲" and "▼" do nothing
    QTest::mouseClick(form->Button9, Qt::LeftButton);
    EXPECT_EQ(entries(), (std::vector<std::string>{"/a.kxd", "/b.kxd", "/c.kxd", "/d.kxd"}));
    QTest::mouseClick(form->Button7, Qt::LeftButton);
    EXPECT_EQ(entries(), (std::vector<std::string>{"/a.kxd", "/c.kxd"}));

    form->PageControl1->setCurrentIndex(2);
    QTest::mouseClick(form->CheckBox2, Qt::LeftButton);
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false, true, true}));
    EXPECT_FALSE(form->CheckBox1->isVisible());
    form->Button3Click();
    EXPECT_EQ(dir.read("oplst.lst"), "/a.kxd\r\n/c.kxd\r\n");
    EXPECT_NE(dir.read("KX2cfg.ini").find("[Open]\r\nFiles=0\r\n"), std::string::npos);
    EXPECT_EQ(dialogs.calls.size(), 4u);
}

TEST_F(SettingsDialogTest, AWriteFailureEndsOkAtThatStepAndKeepsTheDialogOpen) {
    std::filesystem::create_directory(dir.file("oplst.lst"));  // no one can replace a folder with a file
    const std::string missingFolder = dir.file("gone/");
    const auto q = [](const std::string& s) { return QString::fromStdString(s); };
    struct Case {
        std::string programFolder;
        std::vector<Call> errors;  // a list that cannot be read is reported at the show, too
        bool settingsWritten;
    };
    const std::vector<Case> cases{
        {missingFolder, {{"error", {q(missingFolder + "KX2cfg.ini に書き込めません")}}}, false},
        {dir.path(),
         {{"error", {q("ファイル " + dir.file("oplst.lst") + " は開けません")}},
          {"error", {q("ファイル " + dir.file("oplst.lst") + " を作成できません")}}},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.programFolder);
        dialogs.calls.clear();
        create(c.programFolder).show();
        form->Button3Click();
        EXPECT_EQ(dialogs.calls, c.errors);
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(dir.exists("KX2cfg.ini") ? dir.read("KX2cfg.ini") : "-",
                  c.settingsWritten ? kDefaultSettings : "-");
    }
}

TEST_F(SettingsDialogTest, ControlsHaveTheirCaptionsAndPlaces) {
    createAndShow();
    EXPECT_EQ(form->windowTitle(), "設定");
    EXPECT_EQ(form->Panel1->height(), 36);
    QStringList tabs;
    for (int i = 0; i < form->PageControl1->count(); ++i) tabs << form->PageControl1->tabText(i);
    EXPECT_EQ(tabs, (QStringList{"フォルダ", "配色", "動作"}));
    const auto texts = [&](const QStringList& names) {
        QStringList found;
        for (const QString& name : names)
            found << form->findChild<QWidget*>(name)->property("text").toString();
        return found;
    };
    EXPECT_EQ(
        texts({"Button4", "Button3", "Label1",    "Button1",   "Label2",  "Button2", "Label3",  "Label4",
               "Label5",  "Label6",  "Label7",    "Label8",    "Label9",  "Label10", "Label11", "Label12",
               "Label13", "Button5", "CheckBox1", "CheckBox2", "Button6", "Button7", "Button8", "Button9"}),
        (QStringList{"キャンセル",
                     "ＯＫ",
                     "開・保存ダイアログのデフォルトフォルダ：",
                     "参照",
                     "フォルダツリーのデフォルト表示フォルダ",
                     "参照",
                     "フォルダﾂリーの背景",
                     "フォルダツリーのフォント",
                     "ファイルリストの背景",
                     "ファイルリストのフォント",
                     "ファイル情報の背景",
                     "ファイル情報のフォント",
                     "バインダーツリーの背景",
                     "バインダーツリーのフォント",
                     "操作ログの背景",
                     "操作ログのフォント",
                     "本体の色",
                     "初期値",
                     "バインダー・フォルダーを開いたとき、他のフォルダを閉じる",
                     "起動時次のリストファイルを自動で開く",
                     "追　加",
                     "削　除",
                     "▲",
                     "▼"}));
    const std::vector<std::pair<QString, QRect>> places{
        {"Button4", {328, 5, 75, 25}},     {"Button3", {408, 5, 75, 25}},
        {"ColorBox1", {0, 24, 145, 22}},   {"ColorBox4", {0, 156, 145, 22}},
        {"ColorBox5", {164, 24, 145, 22}}, {"ColorBox11", {328, 112, 145, 22}},
        {"Label13", {328, 96, 145, 14}},   {"Button5", {400, 176, 75, 25}},
    };
    for (const auto& [name, place] : places)
        EXPECT_EQ(form->findChild<QWidget*>(name)->geometry(), place) << name.toStdString();
    for (const QPushButton* b : form->findChildren<QPushButton*>()) EXPECT_FALSE(b->autoDefault());
}

}  // namespace
}  // namespace tarvelin

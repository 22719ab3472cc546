#pragma once

#include <QDialog>
#include <array>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace tarvelin {

class ColourBox;
class Dialogs;
class SettingsHost;

// "設定": the two default folders, the eleven colours and the auto-open list. Created once and shown modally
// again and again; the folder fields keep what was typed across shows, everything else is read afresh at
// each show. Its list box is the program's auto-open list.
class TProForm : public QDialog {
    Q_OBJECT
public:
    TProForm(Dialogs& dialogs, std::string programFolder, SettingsHost& host, QWidget* parent = nullptr);

    // The auto-open list and its switch.
    std::vector<std::string> autoOpenEntries() const;
    void setAutoOpenEntries(const std::vector<std::string>& entries);
    bool autoOpenSwitch() const;
    // Replaces the list with "oplst.lst" when the file exists; false when it does not. Throws when it
    // cannot be read.
    bool loadAutoOpenList();

    void Button1Click();  // browse for Edit1
    void Button2Click();  // browse for Edit2
    void Button3Click();  // OK
    void Button4Click();  // cancel
    void Button5Click();  // initial colours
    void Button6Click();  // add
    void Button7Click();  // delete
    void CheckBox2Click();

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QWidget* Panel1 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;

    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* Button2 = nullptr;

    // ColorBox1 … ColorBox11, in the order of the colour keys; their captions Label3 … Label13.
    std::array<ColourBox*, 11> ColorBoxes{};
    std::array<QLabel*, 11> ColorLabels{};
    QPushButton* Button5 = nullptr;

    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton* Button6 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Button8 = nullptr;
    QPushButton* Button9 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildFolderTab();
    void buildColourTab();
    void buildBehaviourTab();
    QPushButton* button(QWidget* parent, const QString& name, const QString& text, const QRect& geometry);
    void FormCreate();
    void FormShow();
    void appendEntry(const std::string& path);
    bool foldersExist() const;
    void writeSettings();

    Dialogs& m_dialogs;
    std::string m_programFolder;
    SettingsHost& m_host;
};

}  // namespace tarvelin

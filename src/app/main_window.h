#pragma once

#include <QMainWindow>
#include <string>

#include "platform/colour_value.h"
#include "platform/services.h"

class QMdiArea;

namespace tarvelin {

class SettingsFile;

// The main window: an MDI frame that holds the list windows and the file browser, and owns the state other windows
// read from it.
class TKX2 : public QMainWindow {
    Q_OBJECT
public:
    explicit TKX2(Services services, QWidget* parent = nullptr);
    ~TKX2() override;

    const std::string& programFolder() const { return m_programFolder; }
    // A folder path or "rfDesktop", as read at creation; kept even when the folder does not exist.
    const std::string& startupTreeRoot() const { return m_startupTreeRoot; }
    bool binderCollapse() const { return m_binderCollapse; }
    ColourValue bodyColour() const { return m_bodyColour; }
    int savedLeftPaneWidth() const { return m_savedLeftPaneWidth; }
    void setSavedLeftPaneWidth(int width) { m_savedLeftPaneWidth = width; }
    QMdiArea* mdiArea() const { return m_mdiArea; }
    Services& services() { return m_services; }

    // Re-read by the settings dialog after it has written the file.
    void ApplyColourSettings();
    void LoadActionSettings();

    // "終了": closes the main window and, when every list window agrees, ends the program.
    void Exit1Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void restorePlacement(const SettingsFile& settings);
    void readStartupTreeRoot(const SettingsFile& settings);
    void FormShow();
    bool listWindowsAgreeToClose();
    void storePlacement();

    Services m_services;
    std::string m_programFolder;
    std::string m_startupTreeRoot;
    bool m_binderCollapse = false;
    ColourValue m_bodyColour = kButtonFace;
    int m_savedLeftPaneWidth = 0;
    bool m_shownOnce = false;
    QSize m_wantedOuterSize;  // the stored outer size, applied again once the frame is known

    QMdiArea* m_mdiArea = nullptr;
};

}  // namespace tarvelin

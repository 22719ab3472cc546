#include "app/program.h"

#include <QAccessible>
#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QTranslator>

#include "app/about_box.h"
#include "app/first_paint_report.h"
#include "app/handed_lists.h"
#include "app/list_handover.h"
#include "app/main_window.h"
#include "app/splash.h"
#include "app/termination_signal.h"
#include "platform/desktop_shell.h"
#include "platform/program_folder.h"
#include "platform/qt_dialogs.h"
#include "platform/system_services.h"
#include "widgets/deferred_standard_icons.h"
#include "widgets/font_warm_up.h"
#include "widgets/image_list.h"
#include "widgets/ui_font.h"

namespace tarvelin {
namespace {

// The windows name the Japanese UI font of the Windows desktop; map it to an installed Japanese proportional
// Gothic so that every text renders with similar metrics. Substitutes that are not installed are skipped when
// a font is matched, so the font list (every installed family, read from fontconfig) is not asked for.
void mapJapaneseFont() {
    QStringList gothics;
    for (const std::string& family : japaneseGothics()) gothics << QString::fromStdString(family);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), gothics);
}

void installJapaneseTranslations(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

}  // namespace

int runProgram(QApplication& app, const std::vector<std::string>& listFiles,
               std::unique_ptr<X11SplashWindow> preparedSplash) {
    const std::string folder = programFolder();
    const QString handover = handoverName(folder);
    if (handOverToRunningProgram(handover, listFiles)) return 0;
    // The accessibility bridge connects to the session bus when first asked, and waits for it. Asked now, the
    // wait overlaps the display server's and the helpers' work; asked by the first widget, the first paint
    // came 1 to 2 ms later, with a session bus or without one.
    (void)QAccessible::isActive();
    mapJapaneseFont();
    // The main window's first text is laid out some milliseconds from now: have the font ready by then.
    const FontWarmUp fontWarmUp(uiFont(12),
                                QStringLiteral("デスクトップ 2026/12/07 Tarvelin を起動しました。"));
    ListHandoverServer handoverServer;
    handoverServer.listen(handover);
    QApplication::setStyle(new DeferredStandardIconStyle);
    // Before any other window, so that it shows while the rest is built; it goes once another window shows.
    QPointer<Tsplash> splash = new Tsplash(std::move(preparedSplash));
    splash->showAndPaint();

    QApplication::setApplicationName(QStringLiteral("Tarvelin2"));
    QApplication::setWindowIcon(programIcon());
    installJapaneseTranslations(app);

    QtDialogs dialogs;
    DesktopShell shell(dialogs);
    SystemClock clock;
    SystemBeeper beeper;
    if (isPortableProgramFolder(currentProgramFolderInputs())) keepDialogStateIn(folder);
    TKX2 mainWindow(Services{dialogs, shell, clock, beeper, folder});
    // Made when first asked for, as a child of the main window, which takes it down.
    mainWindow.setAboutBox([&shell, &mainWindow]() -> QDialog* {
        return new TAboutBox(shell, programAboutTexts(mainWindow.helpFilePath()), &mainWindow);
    });
    QObject::connect(
        &handoverServer, &ListHandoverServer::filesReceived, &mainWindow,
        [&mainWindow](const std::vector<std::string>& files) { openHandedLists(mainWindow, files); });

    TerminationSignal termination;
    QObject::connect(&termination, &TerminationSignal::received, &mainWindow, &TKX2::Exit1Click);

    if (FirstPaintReport::requested()) new FirstPaintReport(&mainWindow);
    mainWindow.show();
    // After the first showing and its auto-open, as the user would open them.
    if (!listFiles.empty())
        QTimer::singleShot(0, &mainWindow,
                           [&mainWindow, &listFiles] { openHandedLists(mainWindow, listFiles); });
    const int result = app.exec();
    delete splash.data();
    return result;
}

}  // namespace tarvelin

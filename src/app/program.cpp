#include "app/program.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/first_paint_report.h"
#include "app/main_window.h"
#include "app/termination_signal.h"
#include "platform/desktop_shell.h"
#include "platform/program_folder.h"
#include "platform/qt_dialogs.h"
#include "platform/system_services.h"
#include "widgets/image_list.h"

namespace tarvelin {
namespace {

// The windows name the Japanese UI font of the Windows desktop; map it to an installed Japanese proportional
// Gothic so that every text renders with similar metrics.
void mapJapaneseFont() {
    const QString windowsFont = QStringLiteral("ＭＳ Ｐゴシック");
    const QStringList families = QFontDatabase::families();
    QStringList substitutes;
    for (const QString& candidate :
         {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic")})
        if (families.contains(candidate)) substitutes << candidate;
    if (!substitutes.isEmpty()) QFont::insertSubstitutions(windowsFont, substitutes);
}

void installJapaneseTranslations(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

}  // namespace

int runProgram(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("Tarvelin2"));
    QApplication::setWindowIcon(programIcon());
    mapJapaneseFont();
    installJapaneseTranslations(app);

    QtDialogs dialogs;
    DesktopShell shell;
    SystemClock clock;
    SystemBeeper beeper;
    const std::string folder = programFolder();
    if (isPortableProgramFolder(currentProgramFolderInputs())) keepDialogStateIn(folder);
    TKX2 mainWindow(Services{dialogs, shell, clock, beeper, folder});

    TerminationSignal termination;
    QObject::connect(&termination, &TerminationSignal::received, &mainWindow, &TKX2::Exit1Click);

    if (FirstPaintReport::requested()) new FirstPaintReport(&mainWindow);
    mainWindow.show();
    return app.exec();
}

}  // namespace tarvelin

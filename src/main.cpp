#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/command_line.h"
#include "app/program.h"
#include "app/splash.h"
#include "browser/desktop_places.h"
#include "browser/startup_folder.h"
#include "platform/font_config_preload.h"
#include "platform/toolkit_preload.h"
#include "widgets/ui_font.h"

namespace {

tarvelin::CommandLine readCommandLine(int argc, char* argv[]) {
    std::error_code ec;
    return tarvelin::parseCommandLine({argv + 1, argv + argc}, std::filesystem::current_path(ec).string());
}

}  // namespace

int main(int argc, char* argv[]) {
    using Action = tarvelin::CommandLine::Action;
    // --help and --version need no display: answer them before Qt looks for one.
    const tarvelin::CommandLine early = readCommandLine(argc, argv);
    if (early.action == Action::Version || early.action == Action::Help) {
        std::fputs((early.action == Action::Version ? tarvelin::versionText() : tarvelin::helpText()).c_str(),
                   stdout);
        return 0;
    }
    const std::vector<std::string> args(argv + 1, argv + argc);
    // Before the first helper thread starts.
    tarvelin::preloadLibraries(tarvelin::x11ToolkitLibraries(
        args, [](const char* name) { return std::getenv(name); },
        QFile::encodeName(QLibraryInfo::path(QLibraryInfo::PluginsPath)).toStdString()));
    const tarvelin::FontConfigPreload fontConfig(tarvelin::findUiFont);
    // Made ready while the toolkit connects; shown once this start is known not to hand its lists over.
    std::unique_ptr<tarvelin::X11SplashWindow> splash = tarvelin::prepareX11Splash(args);
    // The left pane's first folder, read while the display connection is made.
    const tarvelin::StartupFolderReading startupFolder(tarvelin::currentDesktopFolder());
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    // Qt has now taken its own options (-platform, -display ...) out of argv.
    const tarvelin::CommandLine request = readCommandLine(argc, argv);
    if (request.action == Action::Error) {
        std::fputs(request.error.c_str(), stderr);
        return 2;
    }
    return tarvelin::runProgram(app, request.files, std::move(splash));
}

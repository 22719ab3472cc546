// The start-up floor: a bare QMainWindow with a QMdiArea, measured the same way as the program.
#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

#include "app/first_paint_report.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tarvelin2"));
    window.setCentralWidget(new QMdiArea(&window));
    window.resize(694, 486);
    new tarvelin::FirstPaintReport(&window);
    window.show();
    return app.exec();
}

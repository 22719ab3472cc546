#include <QApplication>

#include "app/program.h"

int main(int argc, char* argv[]) {
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    return tarvelin::runProgram(app);
}

// A bare Qt window, started and measured the way the editor is: the reference for start-up.

#include "app/ui/StartupProbe.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow w;
    w.resize(885, 667);
    w.show();
    orvel::startupProbe(w);
    return QApplication::exec();
}

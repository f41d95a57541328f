#include "app/QuitOnSignal.h"
#include "app/TarmioApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication qtApplication(argc, argv);
    QApplication::setApplicationName("TarmioView");
    QApplication::setDesktopFileName("tarmioview");
    QuitEventLoopOnTerminationSignals();

    CTarmioApp theApp;
    theApp.ParseCommandLine(QApplication::arguments().mid(1));
    if (!theApp.InitInstance()) {
        theApp.ExitInstance();
        return 1;
    }
    return theApp.Run();
}

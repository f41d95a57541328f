#include "app/QuitOnSignal.h"
#include "app/StartupProbe.h"
#include "app/TarmioApp.h"
#include "framework/FileNames.h"
#include "platform/FontWarmUp.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    // Answered before Qt starts, so that it works without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("tarmioview %s\n", TARMIO_VERSION);
        return 0;
    }
    FontWarmUp fontWarmUp;
    QApplication qtApplication(argc, argv);
    fontWarmUp.FillFontDatabase();
    QApplication::setApplicationName("TarmioView");
    QApplication::setDesktopFileName("tarmioview");
    QuitEventLoopOnTerminationSignals();
    ExitAfterFirstPaintWhenAsked();

    CTarmioApp theApp;
    // Not QApplication::arguments(): it decodes file names that are not UTF-8 beyond repair.
    QStringList arguments;
    for (int index = 1; index < argc; ++index)
        arguments.append(DecodeFileName(QByteArray(argv[index])));
    theApp.ParseCommandLine(arguments);
    const bool started = theApp.InitInstance();
    fontWarmUp.Wait();
    if (!started) {
        theApp.ExitInstance();
        return 1;
    }
    return theApp.Run();
}

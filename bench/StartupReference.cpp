// The yardstick for the viewer's start-up: a bare Qt main window with a menu bar, a tool bar and
// a status bar, as small as Qt makes one, ending after its first paint as the viewer does under
// TARMIO_EXIT_AFTER_FIRST_PAINT.
#include "app/StartupProbe.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ExitAfterFirstPaintWhenAsked();
    QMainWindow window;
    window.setWindowTitle("Reference");
    for (const char* title : {"&File", "&Edit", "&View", "&Help"}) {
        QMenu* menu = window.menuBar()->addMenu(title);
        menu->addAction("&Open...");
        menu->addAction("E&xit");
    }
    QToolBar* toolBar = window.addToolBar("Toolbar");
    for (const char* text : {"New", "Open", "Save"})
        toolBar->addAction(text);
    window.statusBar()->showMessage("Ready");
    window.setCentralWidget(new QWidget);
    window.resize(1024, 700); // the viewer's first size
    window.show();
    return application.exec();
}

// The desktop program: one fixed portrait window, run until it closes.
#include "main_window.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setStyle("Fusion");
    // The window's fixed 380 × 800 design is its portrait orientation; a desktop has nothing
    // further to restrict.
    TVXR_FRM_MDLF1 window;
    window.show();
    // A pile file given to the program, as a file manager does, is opened at start.
    window.OpenStartArguments(QApplication::arguments());
    return application.exec();
}

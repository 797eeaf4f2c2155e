// The desktop program: one fixed portrait window, run until it closes.
#include "main_window.h"
#include "program_title.h"
#include "qt_translations.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("pilecalc-gui");
    QApplication::setApplicationVersion(PILECALC_VERSION);
    QApplication::setStyle("Fusion");
    // Before anything shows text: Qt's own dialogs, buttons and the options' help in Chinese.
    InstallQtTranslations(application);

    // --help and --version are answered on standard output (in a message box where a Windows
    // program has no console) and end the program; an unknown option is refused the same way.
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(ProgramTitle)
                                     + "：嵌岩桩单桩轴向受压承载力特征值Ra的计算与优化设计");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("文件",
                                 "打开的桩数据文件（JSON，或以 .csv 结尾的表格），"
                                 "按给出的顺序作为一次打开",
                                 "[文件...]");
    parser.process(application);

    // The window's fixed 380 × 800 design is its portrait orientation; a desktop has nothing
    // further to restrict.
    TVXR_FRM_MDLF1 window;
    window.show();
    // Pile files given to the program, as a file manager does, are opened at start.
    window.OpenStartArguments(QStringList {QApplication::applicationFilePath()}
                              + parser.positionalArguments());
    return application.exec();
}

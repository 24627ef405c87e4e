#include <QApplication>
#include <QLocale>

#include <cstdio>

#include "shell/Language.h"
#include "shell/OrvaneApp.h"
#include "shell/OrvaneCommandLine.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);

    // Command-line texts follow the system's language, like those of other
    // programs in a terminal; the window takes its stored language later.
    if (QLocale::system().language() == QLocale::German) {
        CLanguage::InstallQtGerman();
    } else {
        CLanguage::LoadEnglish();
    }
    COrvaneCommandLine commandLine;
    if (commandLine.Parse(QApplication::arguments()) == COrvaneCommandLine::Action::Exit) {
        std::fputs(commandLine.Output().toLocal8Bit().constData(), stdout);
        std::fputs(commandLine.ErrorOutput().toLocal8Bit().constData(), stderr);
        return commandLine.ExitStatus();
    }
    CLanguage::UnloadEnglish();

    COrvaneApp app;
    if (!app.InitInstance(commandLine.Files())) {
        return 1;
    }
    const int result = QApplication::exec();
    app.ExitInstance();
    return result;
}

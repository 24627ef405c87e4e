#include <QApplication>
#include <QLocale>

#include <cstdio>
#include <string_view>

#include "common/Language.h"
#include "shell/OrvaneApp.h"
#include "shell/OrvaneCommandLine.h"

namespace {

// True when an argument asks only for text (help, version): that must work in
// a terminal without a display, as other programs' --help does.
bool AsksOnlyForText(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") {
            break;
        }
        for (const std::string_view option :
             {"-h", "-?", "--help", "--help-all", "-v", "--version"}) {
            if (argument == option) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // The program ends after the text, so no window system is asked for.
    if (AsksOnlyForText(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
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

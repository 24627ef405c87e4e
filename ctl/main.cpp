#include <QCoreApplication>

#include <signal.h>

#include <cstdio>

#include "common/Language.h"
#include "common/ResourceIds.h"
#include "common/SettingsDeviceEntries.h"
#include "common/SettingsStore.h"
#include "common/Strings.h"
#include "ctl/CtlCommandLine.h"
#include "ctl/CtlCommands.h"
#include "ctl/CtlSignals.h"
#include "ctl/FleetCommand.h"
#include "ctl/HeadlessUserInterface.h"
#include "link/DeviceEntries.h"
#include "protocol/UserInterface.h"

int main(int argc, char** argv) {
    // First, before any thread starts: SIGTERM, SIGINT and SIGHUP end a
    // request where it can stop cleanly, never half-way through a file.
    CCtlSignals::Install();
    // A file size limit makes a write fail with EFBIG, which collect handles,
    // instead of ending the program half-way.
    ::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication application(argc, argv);

    // The language the window stores, for every text, the help included.
    if (CSettingsStore::GetProfileInt(QStringLiteral("Settings"), QStringLiteral("Sprache"), 0) ==
        1) {
        if (!CLanguage::LoadEnglish()) {
            std::fprintf(
                stderr, "orvanectl: %s\n",
                LoadString(Res::IDS_LANGUAGE_LOAD_ERROR).simplified().toLocal8Bit().constData());
            CLanguage::InstallQtGerman();
        }
    } else {
        CLanguage::InstallQtGerman();
    }

    CCtlCommandLine commandLine;
    if (commandLine.Parse(QCoreApplication::arguments()) == CCtlCommandLine::Action::Exit) {
        std::fputs(commandLine.Output().toLocal8Bit().constData(), stdout);
        std::fputs(commandLine.ErrorOutput().toLocal8Bit().constData(), stderr);
        return commandLine.ExitStatus();
    }

    CSettingsDeviceEntries entries;
    SetDeviceEntries(&entries);
    CHeadlessUserInterface ui;
    SetUserInterface(&ui);
    const CCtlRequest& request = commandLine.Request();
    const CtlExit status =
        request.fleet.empty() ? CCtlCommands(request, ui).Run() : CFleetCommand(request, ui).Run();
    SetUserInterface(nullptr);
    SetDeviceEntries(nullptr);
    return static_cast<int>(status);
}

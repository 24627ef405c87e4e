// Makes the picture of the main window for the README: the program started
// against an emulated extended reader in a throw-away settings folder, after
// "Lese Datensätze". Runs on any Qt platform, offscreen included.
#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

#include "resources/ResourceIds.h"
#include "shell/MainFrame.h"
#include "shell/OrvaneApp.h"
#include "shell/SettingsStore.h"
#include "tools/emulator/ReaderEmulator.h"
#include "views/OrvaneDoc.h"
#include "views/OrvaneView.h"

namespace {

void Wait(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QString output =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshot.png");
    QTemporaryDir settings;
    if (!settings.isValid()) {
        std::fprintf(stderr, "no temporary folder for the settings\n");
        return 1;
    }
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());

    EmulatorOptions options;
    options.model = ReaderModel::Extended;
    options.seedRecords = 25;
    CReaderEmulator reader(options);
    if (!reader.Start()) {
        std::fprintf(stderr, "the reader emulator did not start\n");
        return 1;
    }
    CSettingsStore::WriteProfileString("Devices", "COM40",
                                       QString::fromStdString(reader.PortPath()));
    CSettingsStore::WriteProfileString("Port", "Name", "COM40");
    CSettingsStore::WriteProfileInt("Port", "Timeout", 200);

    COrvaneApp app;
    if (!app.InitInstance({}) || !app.GetView()->OnUpdateLinkCommand()) {
        std::fprintf(stderr, "the program did not connect to the emulator\n");
        return 1;
    }
    CMainFrame* frame = app.GetMainWnd();
    frame->RunCommand(Res::ID_READ_RECORDS);
    Wait(300);
    frame->UpdateCommandUI();
    Wait(100);
    if (!frame->grab().save(output)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(output));
        return 1;
    }
    std::printf("%s\n", qPrintable(output));
    app.GetDocument()->SetModifiedFlag(false);
    frame->close();
    return 0;
}

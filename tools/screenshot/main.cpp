// Makes the pictures for the README and the manual, with the program started
// against an emulated extended reader in a throw-away settings folder:
//  - the main window after "Lese Datensätze" (default; any Qt platform,
//    offscreen included);
//  - with --interface, the interface dialog as it comes up at start-up when
//    another program holds the stored port, with the reason line and the
//    port's tool tip. The tool tip is a window of its own, so this one needs
//    a real display (xcb, for example under Xvfb).
// With --dark first, under a dark desktop palette; QT_SCALE_FACTOR=2 gives
// the pictures of a screen at twice the scale.
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPalette>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QToolTip>

#include <cstdio>
#include <cstring>

#include "common/ResourceIds.h"
#include "common/SettingsStore.h"
#include "link/DeviceHolder.h"
#include "shell/InterfaceDlg.h"
#include "shell/MainFrame.h"
#include "shell/OrvaneApp.h"
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

// The emulated reader stored as the interface under the given COM name.
bool StartReader(CReaderEmulator& reader, const QString& com) {
    if (!reader.Start()) {
        std::fprintf(stderr, "the reader emulator did not start\n");
        return false;
    }
    CSettingsStore::WriteProfileString("Devices", com, QString::fromStdString(reader.PortPath()));
    CSettingsStore::WriteProfileString("Port", "Name", com);
    CSettingsStore::WriteProfileInt("Port", "Timeout", 200);
    return true;
}

int MainWindowShot(const QString& output) {
    EmulatorOptions options;
    options.model = ReaderModel::Extended;
    options.seedRecords = 25;
    CReaderEmulator reader(options);
    if (!StartReader(reader, QStringLiteral("COM40"))) {
        return 1;
    }
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

// The dialog and the tool tip of the stored port's entry, from the screen.
bool GrabInterfaceDialog(CInterfaceDlg* dialog, const QString& output) {
    Wait(300);
    const auto items = dialog->m_lbPorts->findItems(QStringLiteral("COM3"), Qt::MatchExactly);
    if (items.isEmpty()) {
        return false;
    }
    QWidget* viewport = dialog->m_lbPorts->viewport();
    const QRect itemRect = dialog->m_lbPorts->visualItemRect(items.front());
    QToolTip::showText(viewport->mapToGlobal(itemRect.center() + QPoint(0, 4)),
                       items.front()->toolTip(), viewport, itemRect, 60000);
    Wait(600);
    QRect area = dialog->frameGeometry();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->inherits("QTipLabel") && widget->isVisible()) {
            area = area.united(widget->frameGeometry());
        }
    }
    const QPixmap shot =
        dialog->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    QToolTip::hideText();
    return shot.save(output);
}

int InterfaceShot(const QString& output) {
    EmulatorOptions options;
    options.model = ReaderModel::Extended;
    CReaderEmulator reader(options);
    if (!StartReader(reader, QStringLiteral("COM3"))) {
        return 1;
    }
    // Another program holds the port: flock(1), as a terminal program would.
    const std::string port = reader.PortPath();
    QProcess holder;
    // It lets go when its input ends.
    holder.start(QStringLiteral("flock"), {QString::fromStdString(port), QStringLiteral("cat")});
    QElapsedTimer started;
    started.start();
    while (FindDeviceHolders({port}).empty() && started.elapsed() < 5000) {
        Wait(50);
    }
    if (FindDeviceHolders({port}).empty()) {
        std::fprintf(stderr, "flock did not take the port\n");
        return 1;
    }

    bool saved = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<CInterfaceDlg*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        watch.stop();
        saved = GrabInterfaceDialog(dialog, output);
        dialog->reject();
    });
    watch.start(100);
    COrvaneApp app;
    app.InitInstance({});
    holder.closeWriteChannel();
    if (!holder.waitForFinished(3000)) {
        holder.kill();
        holder.waitForFinished();
    }
    if (app.GetMainWnd() != nullptr) {
        app.GetMainWnd()->close();
    }
    if (!saved) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(output));
        return 1;
    }
    std::printf("%s\n", qPrintable(output));
    return 0;
}

// A desktop with dark colours, as a dark theme hands them to the program.
QPalette DarkPalette() {
    QPalette dark;
    const QColor window(45, 45, 48);
    const QColor base(30, 30, 32);
    const QColor text(230, 230, 230);
    dark.setColor(QPalette::Window, window);
    dark.setColor(QPalette::WindowText, text);
    dark.setColor(QPalette::Base, base);
    dark.setColor(QPalette::AlternateBase, window);
    dark.setColor(QPalette::Text, text);
    dark.setColor(QPalette::Button, window);
    dark.setColor(QPalette::ButtonText, text);
    dark.setColor(QPalette::ToolTipBase, base);
    dark.setColor(QPalette::ToolTipText, text);
    dark.setColor(QPalette::PlaceholderText, QColor(150, 150, 150));
    dark.setColor(QPalette::Highlight, QColor(61, 122, 204));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::Link, QColor(120, 170, 255));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 120, 120));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
    return dark;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // --dark: the window under a dark desktop palette (any mode).
    const bool dark = argc > 1 && std::strcmp(argv[1], "--dark") == 0;
    if (dark) {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QApplication::setPalette(DarkPalette());
        --argc;
        ++argv;
    }
    const bool interface = argc > 1 && std::strcmp(argv[1], "--interface") == 0;
    const int first = interface ? 2 : 1;
    const QString output = argc > first ? QString::fromLocal8Bit(argv[first])
                           : interface  ? QStringLiteral("docs/interface.png")
                                        : QStringLiteral("docs/screenshot.png");
    QTemporaryDir settings;
    if (!settings.isValid()) {
        std::fprintf(stderr, "no temporary folder for the settings\n");
        return 1;
    }
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    return interface ? InterfaceShot(output) : MainWindowShot(output);
}

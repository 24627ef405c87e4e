#include "shell/Help.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QTimer>
#include <QWidget>

#include "common/Language.h"
#include "common/ProgramFiles.h"
#include "common/ResourceIds.h"
#include "common/Strings.h"
#include "views/BusyGuard.h"
#include "views/MessageBox.h"

namespace {

// xdg-open's exit status when no program for the file type can be found.
constexpr int kNoProgramForType = 3;
// A killed xdg-open reports like a shell: 128 plus the signal number.
constexpr int kSignalStatusBase = 128;

// The xdg-open started last, until it has ended and gone.
QPointer<QProcess> g_pXdgOpen;

struct OpenResult {
    bool finished = false;
    bool failedToStart = false;
    int status = 0;
};

// Runs xdg-open on `path` and waits at most `wait` for it, without taking user
// input meanwhile. An xdg-open still running then is left to finish on its own:
// it is busy handing the file over, which is no failure.
OpenResult RunXdgOpen(const QString& path, const QString& workingDirectory,
                      std::chrono::milliseconds wait) {
    OpenResult result;
    auto* process = new QProcess;
    g_pXdgOpen = process;
    process->setProgram(QStringLiteral("xdg-open"));
    process->setArguments({path});
    process->setWorkingDirectory(workingDirectory);
    // xdg-open's own error lines do not belong on the terminal: the message
    // box says what went wrong. The viewer it starts inherits these channels;
    // unlike a pipe, the null device stays valid after this object is gone.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());

    QEventLoop loop;
    QObject::connect(process, &QProcess::errorOccurred, &loop,
                     [&result, &loop](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             result.failedToStart = true;
                             loop.quit();
                         }
                     });
    QObject::connect(process, &QProcess::finished, &loop,
                     [&result, &loop](int exitCode, QProcess::ExitStatus exitStatus) {
                         result.finished = true;
                         result.status = exitStatus == QProcess::NormalExit
                                             ? exitCode
                                             : kSignalStatusBase + exitCode;
                         loop.quit();
                     });
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    QTimer::singleShot(wait, &loop, &QEventLoop::quit);

    process->start();
    if (!result.finished && !result.failedToStart) {
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (result.failedToStart) {
        process->deleteLater();
    }
    return result;
}

}  // namespace

QString FindFileByExtension(const QString& directory, const QString& extension) {
    const QStringList names = QDir(directory).entryList({QStringLiteral("*.") + extension},
                                                        QDir::Files, QDir::Name | QDir::IgnoreCase);
    return names.isEmpty() ? QString() : names.first();
}

QString FindManual(bool english, const QStringList& folders) {
    if (english) {
        const QStringList found =
            CProgramFiles::Find(QString::fromLatin1(kEnglishManualName), folders);
        if (!found.isEmpty()) {
            return found.constFirst();
        }
    }
    const QStringList manuals = CProgramFiles::Find(QStringLiteral("*.pdf"), folders);
    return manuals.isEmpty() ? QString() : manuals.constFirst();
}

void ShowManual(QWidget* owner) {
    const QString manual = FindManual(CLanguage::IsEnglishLoaded(), CProgramFiles::Folders());
    if (!manual.isEmpty()) {
        OpenManualFile(manual, owner);
    }
}

void OpenManualIn(const QString& directory, QWidget* owner, std::chrono::milliseconds wait) {
    const QString file = FindFileByExtension(directory, QStringLiteral("pdf"));
    if (!file.isEmpty()) {
        OpenManualFile(QDir(directory).absoluteFilePath(file), owner, wait);
    }
}

void OpenManualFile(const QString& file, QWidget* owner, std::chrono::milliseconds wait) {
    // Not while a reader command waits for its reply: the wait for xdg-open
    // would run inside it. Nor a second xdg-open while one still runs (still
    // starting, or still handing the manual over after the wait).
    if (CBusyGuard::IsBusy() || (g_pXdgOpen && g_pXdgOpen->state() != QProcess::NotRunning)) {
        return;
    }
    QPointer<QWidget> guardedOwner(owner);
    // The full path: a file name starting with "-" must not read as an option.
    const QString path = QFileInfo(file).absoluteFilePath();
    const OpenResult result = RunXdgOpen(path, QFileInfo(path).absolutePath(), wait);

    if (result.failedToStart) {
        ShowMessage(Res::IDS_HELP_NO_RESOURCES, MsgStyle::Ok, guardedOwner);
    } else if (result.finished && result.status == kNoProgramForType) {
        ShowMessage(LoadString(Res::IDS_HELP_NO_VIEWER).arg(QDir::toNativeSeparators(path)),
                    MsgStyle::Ok, guardedOwner);
    } else if (result.finished && result.status != 0) {
        const QString text = LoadString(Res::IDS_HELP_UNKNOWN_ERROR)
                                 .replace(QStringLiteral("%d"), QString::number(result.status));
        ShowMessage(text, MsgStyle::Ok, guardedOwner);
    }
}

#include "ctl/CollectCommand.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QRegularExpression>

#include <unistd.h>

#include <vector>

#include "common/ResourceIds.h"
#include "common/Strings.h"
#include "ctl/AtomicFile.h"
#include "ctl/CtlLink.h"
#include "ctl/CtlOutput.h"
#include "ctl/HeadlessUserInterface.h"
#include "ctl/TerminalProgress.h"

namespace {

// The window's progress range of the buffer clear: 512 steps and "OK".
constexpr unsigned kClearRange = 516;
// Names tried after the first, when a file of that name is already there.
constexpr int kMaxNameSuffix = 99;

}  // namespace

CCollectCommand::CCollectCommand(const CCtlRequest& request, CHeadlessUserInterface& ui)
    : m_request(request),
      m_ui(ui),
      m_strFolder(QDir::cleanPath(request.args.value(0))),
      m_folder(m_strFolder.toStdString()) {}

QString CCollectCommand::FileName(const QString& id, const QDateTime& time) {
    QString safe = id;
    safe.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")), QStringLiteral("_"));
    if (safe.isEmpty()) {
        safe = QStringLiteral("reader");
    }
    return safe + time.toString(QStringLiteral("-yyyyMMdd-HHmmss")) + QStringLiteral(".txt");
}

QString CCollectCommand::IdOf(const std::string& report) {
    static const QRegularExpression pattern(QStringLiteral("ID:(\\S+)"));
    return pattern.match(QString::fromLatin1(report)).captured(1);
}

int CCollectCommand::RecordCount(const std::string& bytes) {
    int lines = 0;
    for (char c : bytes) {
        lines += c == '\n' ? 1 : 0;
    }
    const bool ended = bytes.size() >= 5 && bytes.compare(bytes.size() - 5, 5, "END\r\n") == 0;
    return ended ? lines - 1 : lines;
}

CtlExit CCollectCommand::Run() {
    if (!QFileInfo(m_strFolder).isDir()) {
        CCtlOutput::Error(tr("%1 ist kein Ordner.").arg(m_strFolder));
        return CtlExit::File;
    }
    switch (m_folder.Lock()) {
        case CCollectFolder::LockResult::Locked:
            break;
        case CCollectFolder::LockResult::Busy:
            CCtlOutput::Error(tr("Im Ordner %1 sammelt schon ein anderes orvanectl (PID %2); "
                                 "dieses liest nichts.")
                                  .arg(m_strFolder)
                                  .arg(m_folder.Holder()));
            return CtlExit::File;
        case CCollectFolder::LockResult::Failed:
            CCtlOutput::Error(tr("In den Ordner %1 kann nicht geschrieben werden: %2")
                                  .arg(m_strFolder, CCtlOutput::ErrnoText(m_folder.Error())));
            return CtlExit::File;
    }

    CCtlLink link(m_request);
    if (!link.Open()) {
        m_strPort = link.PortName();
        return Fail(CtlExit::NoLink, "no-link", link.Error());
    }
    m_strPort = link.PortName();
    if (!link.Warning().isEmpty()) {
        CCtlOutput::Error(link.Warning());
    }
    std::string report;
    link.ReadReport(report);
    m_strId = IdOf(report);

    std::string text;
    const bool complete = link.Reader().ReadRecords(text);
    const std::string bytes = link.ReceivedBytes();
    m_nBytes = bytes.size();
    m_nRecords = RecordCount(bytes);
    if (!complete) {
        return Fail(CtlExit::Reader, "read-failed", LoadString(Res::IDS_READ_ERROR));
    }

    QString path;
    if (!Save(bytes, path)) {
        return CtlExit::File;
    }
    if (!Log("saved", QFileInfo(path).fileName())) {
        // Without its log line the file does not count: the records stay in
        // the reader and the next run saves them again.
        const int error = m_folder.Error();
        ::unlink(path.toLocal8Bit().constData());
        int ignored = 0;
        CAtomicFile::SyncFolder(m_strFolder.toStdString(), ignored);
        CCtlOutput::Error(tr("%1/collect.log kann nicht geschrieben werden: %2")
                              .arg(m_strFolder, CCtlOutput::ErrnoText(error)));
        return CtlExit::File;
    }
    const CtlExit cleared = m_request.clear ? Clear(link) : CtlExit::Done;

    if (m_request.json) {
        CCtlOutput::Json(
            {{QStringLiteral("file"), path},
             {QStringLiteral("port"), m_strPort},
             {QStringLiteral("id"), m_strId},
             {QStringLiteral("bytes"), static_cast<qint64>(m_nBytes)},
             {QStringLiteral("records"), m_nRecords},
             {QStringLiteral("cleared"), m_request.clear && cleared == CtlExit::Done}});
    } else {
        CCtlOutput::Out(
            tr("%1 gesichert: %2 Datensätze, %3 Bytes.").arg(path).arg(m_nRecords).arg(m_nBytes));
        if (m_request.clear && cleared == CtlExit::Done) {
            CCtlOutput::Out(tr("Datenbuffer gelöscht."));
        }
    }
    return cleared;
}

bool CCollectCommand::Save(const std::string& bytes, QString& path) {
    const QString name = FileName(m_strId, QDateTime::currentDateTime());
    CAtomicFile file(QDir(m_strFolder).filePath(name).toStdString());
    bool saved = file.Create() && file.Write(bytes.data(), bytes.size()) && file.Commit(false);
    // A run in the same second as the last one: the next free name.
    for (int n = 2; !saved && file.Error() == EEXIST && n <= kMaxNameSuffix; ++n) {
        const QString other = name.chopped(4) + QStringLiteral("-%1.txt").arg(n);
        file.SetPath(QDir(m_strFolder).filePath(other).toStdString());
        saved = file.Commit(false);
    }
    path = QString::fromStdString(file.Path());
    if (!saved) {
        Fail(CtlExit::File, "write-failed",
             tr("%1 kann nicht geschrieben werden: %2")
                 .arg(path, CCtlOutput::ErrnoText(file.Error())));
    }
    return saved;
}

CtlExit CCollectCommand::Clear(CCtlLink& link) {
    CTerminalProgress progress(kClearRange);
    m_ui.SetProgress(&progress);
    link.Reader().m_pfnByteHook = &CTerminalProgress::Hook;
    const bool ok = link.Reader().ClearBuffer();
    link.Reader().m_pfnByteHook = nullptr;
    m_ui.SetProgress(nullptr);
    if (!ok) {
        return Fail(CtlExit::Reader, "clear-failed", LoadString(Res::IDS_CLEAR_BUFFER_ERROR));
    }
    Log("cleared");
    return CtlExit::Done;
}

CtlExit CCollectCommand::Fail(CtlExit status, const char* result, const QString& message) {
    Log(result, message);
    CCtlOutput::Error(message);
    return status;
}

bool CCollectCommand::Log(const char* result, const QString& detail) {
    // Tab-separated, so that scripts can cut it: time, port, ID, bytes,
    // records, result and what it concerns.
    const QDateTime now = QDateTime::currentDateTime();
    QStringList fields{now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODate),
                       m_strPort,
                       m_strId,
                       QString::number(m_nBytes),
                       QString::number(m_nRecords),
                       QString::fromLatin1(result)};
    if (!detail.isEmpty()) {
        fields << QString(detail)
                      .replace(QLatin1Char('\t'), QLatin1Char(' '))
                      .replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    return m_folder.AppendLog(fields.join(QLatin1Char('\t')).toUtf8().toStdString());
}

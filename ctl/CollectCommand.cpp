#include "ctl/CollectCommand.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>

#include <errno.h>

#include "common/ResourceIds.h"
#include "common/Strings.h"
#include "ctl/AtomicFile.h"
#include "ctl/CtlLink.h"
#include "ctl/CtlOutput.h"
#include "ctl/CtlSignals.h"
#include "ctl/HeadlessUserInterface.h"
#include "ctl/TerminalProgress.h"

namespace {

// The window's progress range of the buffer clear: 512 steps and "OK".
constexpr unsigned kClearRange = 516;
// Names tried after the first, when a file of that name is already there.
constexpr int kMaxNameSuffix = 99;
// Read-outs after the first that may bring records booked meanwhile; a
// reader that still books after them is not cleared.
constexpr int kMaxNewReadOuts = 3;
const std::string kEndLine = "END\r\n";

// A log field: one line, without the separator.
QString Field(QString text) {
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            c = QLatin1Char(' ');
        }
    }
    return text;
}

// The first part of the path that is missing (missing true) or that is
// there but no folder.
QString FirstBlocking(const QString& path, bool missing) {
    const QStringList parts = path.split(QLatin1Char('/'));
    QString prefix;
    for (int i = 0; i < parts.size(); ++i) {
        prefix += (i > 0 ? QStringLiteral("/") : QString()) + parts[i];
        if (prefix.isEmpty()) {
            continue;
        }
        const QFileInfo info(prefix);
        if (missing ? !info.exists() && !info.isSymLink() : info.exists() && !info.isDir()) {
            return prefix;
        }
    }
    return path;
}

}  // namespace

CCollectCommand::CCollectCommand(const CCtlRequest& request, CHeadlessUserInterface& ui)
    : m_request(request),
      m_ui(ui),
      m_strFolder(QDir::cleanPath(request.args.value(0))),
      m_folder(m_ownFolder.emplace(m_strFolder.toStdString())) {}

CCollectCommand::CCollectCommand(const CCtlRequest& request, CHeadlessUserInterface& ui,
                                 CCollectFolder& shared)
    : m_request(request),
      m_ui(ui),
      m_strFolder(QDir::cleanPath(request.args.value(0))),
      m_folder(shared) {}

QString CCollectCommand::FileName(const QString& id, const QDateTime& time, const QString& name) {
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9_-]"));
    QString safe = id;
    safe.replace(unsafe, QStringLiteral("_"));
    if (safe.isEmpty()) {
        safe = QStringLiteral("reader");
    }
    if (!name.isEmpty()) {
        // A list's names are checked already; the dots they may hold stay.
        safe.prepend(QString(name).replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")),
                                           QStringLiteral("_")) +
                     QLatin1Char('-'));
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
    return bytes.ends_with(kEndLine) ? lines - 1 : lines;
}

CtlExit CCollectCommand::Run(CCtlLink& link) {
    if (!OpenFolder(m_folder, m_strFolder)) {
        return CtlExit::File;
    }
    m_folder.RemoveStale();
    return RunLocked(link);
}

CtlExit CCollectCommand::RunLocked(CCtlLink& link) {
    const CtlExit status = Collect(link);
    if (status == CtlExit::Done || !m_files.isEmpty()) {
        Summary(status == CtlExit::Done && m_request.clear && !m_files.isEmpty());
    }
    return status;
}

CtlExit CCollectCommand::NotStarted() {
    m_strPort = m_request.port;
    return Fail(
        CtlExit::Interrupted, "interrupted",
        CCtlLink::Interrupted() + QLatin1Char(' ') + tr("Mit dem Leser wurde nicht gesprochen."));
}

bool CCollectCommand::OpenFolder(CCollectFolder& folder, const QString& path) {
    QString message;
    switch (folder.Open()) {
        case CCollectFolder::OpenResult::Opened:
        case CCollectFolder::OpenResult::Created:
            break;
        case CCollectFolder::OpenResult::Missing:
            message = tr("%1 gibt es nicht, und den Ordner darüber auch nicht: %2 fehlt.")
                          .arg(path, FirstBlocking(path, true));
            break;
        case CCollectFolder::OpenResult::NotAFolder:
            message = tr("%1 ist kein Ordner.").arg(FirstBlocking(path, false));
            break;
        case CCollectFolder::OpenResult::Untrusted:
            message = tr("%1 ist ein symbolischer Verweis, der weder root noch diesem Benutzer "
                         "gehört; collect folgt ihm nicht.")
                          .arg(path);
            break;
        case CCollectFolder::OpenResult::NotCreated:
            message = tr("Der Ordner %1 kann nicht angelegt werden: %2")
                          .arg(path, CCtlOutput::ErrnoText(folder.Error()));
            break;
        case CCollectFolder::OpenResult::Failed:
            message = tr("Der Ordner %1 kann nicht geöffnet werden: %2")
                          .arg(path, CCtlOutput::ErrnoText(folder.Error()));
            break;
    }
    if (message.isEmpty()) {
        switch (folder.Lock()) {
            case CCollectFolder::LockResult::Locked:
                return true;
            case CCollectFolder::LockResult::Busy:
                message = tr("Im Ordner %1 sammelt schon ein anderes orvanectl (PID %2); "
                             "dieses liest nichts.")
                              .arg(path, QString::number(folder.Holder()));
                break;
            case CCollectFolder::LockResult::Failed:
                message =
                    folder.Error() == ELOOP
                        ? FileError(QDir(path).filePath(QStringLiteral("collect.lock")), ELOOP)
                        : tr("In den Ordner %1 kann nicht geschrieben werden: %2")
                              .arg(path, CCtlOutput::ErrnoText(folder.Error()));
                break;
        }
    }
    CCtlOutput::Error(message);
    return false;
}

CtlExit CCollectCommand::Collect(CCtlLink& link) {
    const bool opened = link.Open();
    m_strPort = link.PortName();
    if (!opened) {
        return Fail(CtlExit::NoLink, "no-link", link.Error());
    }
    if (!link.Warning().isEmpty()) {
        CCtlOutput::Error(link.Warning());
    }
    // The report only names the file; a reader that sent none does not
    // answer, or the run was stopped.
    std::string report;
    if (!link.ReadReport(report) &&
        (!link.Answered() || link.Reader().Stopped() != CCtlReader::Stop::None)) {
        return FailRequest(link, "read-failed", Res::IDS_PARAMETERS_READ_ERROR, QString());
    }
    m_strId = IdOf(report);

    std::string bytes;
    CtlExit status = CtlExit::Done;
    if (!ReadOut(link, bytes, status)) {
        return status;
    }
    // A read-out with line errors is still data: saved, but never cleared.
    const bool damaged = link.Reader().LineErrors() > 0;
    if (m_nRecords > 0 && !Save(bytes)) {
        return CtlExit::File;
    }
    if (damaged) {
        return FailRequest(link, "line-errors", Res::IDS_READ_ERROR, Kept());
    }
    if (m_nRecords == 0) {
        // Nothing to keep and nothing to clear.
        Log("no-records");
        return CtlExit::Done;
    }
    return m_request.clear ? ConfirmAndClear(link, bytes) : CtlExit::Done;
}

bool CCollectCommand::ReadOut(CCtlLink& link, std::string& bytes, CtlExit& status) {
    std::string text;
    const bool judged = link.Reader().ReadRecords(text, CReaderProtocol::RecordsEnd::EndLine);
    bytes = link.ReceivedBytes();
    m_nBytes = bytes.size();
    m_nRecords = RecordCount(bytes);
    if (!judged) {
        status = FailRequest(link, "read-failed", Res::IDS_READ_ERROR, Kept());
    }
    return judged;
}

QString CCollectCommand::Kept() const {
    return m_request.clear ? tr("Der Datenbuffer wird nicht gelöscht.") : QString();
}

CtlExit CCollectCommand::ConfirmAndClear(CCtlLink& link, std::string saved) {
    const QString kept = Kept();
    // A signal caught between requests: no further request, and no clear.
    auto interrupted = [&] {
        return Fail(CtlExit::Interrupted, "interrupted",
                    CCtlLink::Interrupted() + QLatin1Char(' ') + kept);
    };
    for (int round = 1;; ++round) {
        if (CCtlSignals::Caught() != 0) {
            return interrupted();
        }
        std::string again;
        CtlExit status = CtlExit::Done;
        if (!ReadOut(link, again, status)) {
            return status;
        }
        if (link.Reader().LineErrors() > 0) {
            return FailRequest(link, "line-errors", Res::IDS_READ_ERROR, kept);
        }
        if (again == saved) {
            break;
        }
        // Records booked since the last read-out come before its "END".
        const size_t head = saved.size() - kEndLine.size();
        if (again.size() <= saved.size() || again.compare(0, head, saved, 0, head) != 0) {
            return Fail(CtlExit::Reader, "changed",
                        tr("Die zweite Auslese weicht von der gesicherten ab, nicht nur um neue "
                           "Datensätze am Ende.") +
                            QLatin1Char(' ') + kept);
        }
        if (!Save(again.substr(head))) {
            return CtlExit::File;
        }
        if (round == kMaxNewReadOuts) {
            return Fail(CtlExit::Reader, "still-booking",
                        tr("Der Leser bucht weiter: auch die %1. Auslese brachte neue Datensätze.")
                                .arg(round + 1) +
                            QLatin1Char(' ') + kept);
        }
        saved = std::move(again);
    }
    // Between the read-out that matched and the clear: nothing that waits.
    return CCtlSignals::Caught() != 0 ? interrupted() : Clear(link);
}

bool CCollectCommand::Save(const std::string& bytes) {
    m_nBytes = bytes.size();
    m_nRecords = RecordCount(bytes);
    const QString name = FileName(m_strId, QDateTime::currentDateTime(), m_request.readerName);
    CAtomicFile file(m_folder.Fd(), name.toStdString());
    bool saved = file.Create() && file.Write(bytes.data(), bytes.size()) && file.Commit(false);
    // A run in the same second as the last one: the next free name.
    for (int n = 2; !saved && file.Error() == EEXIST && n <= kMaxNameSuffix; ++n) {
        file.SetName((name.chopped(4) + QStringLiteral("-%1.txt").arg(n)).toStdString());
        saved = file.Commit(false);
    }
    const QString fileName = QString::fromStdString(file.Name());
    const QString path = QDir(m_strFolder).filePath(fileName);
    if (!saved) {
        Fail(CtlExit::File, "write-failed", FileError(path, file.Error()));
        return false;
    }
    if (!Log("saved", fileName)) {
        // Without its log line the file does not count: the records stay in
        // the reader and the next run saves them again.
        const int error = m_folder.Error();
        m_folder.Remove(file.Name());
        CCtlOutput::Error(
            FileError(QDir(m_strFolder).filePath(QStringLiteral("collect.log")), error));
        return false;
    }
    m_files << path;
    m_nSavedBytes += m_nBytes;
    m_nSavedRecords += m_nRecords;
    if (!m_request.json) {
        CCtlOutput::Out(tr("%1 gesichert: %2 Datensätze, %3 Bytes.")
                            .arg(path, QString::number(m_nRecords), QString::number(m_nBytes)));
    }
    return true;
}

CtlExit CCollectCommand::Clear(CCtlLink& link) {
    bool ok = false;
    if (!m_request.readerName.isEmpty()) {
        // One bar for many readers would tell nothing, and the bar is one at a time.
        ok = link.Reader().ClearBuffer();
    } else {
        CTerminalProgress progress(kClearRange);
        m_ui.SetProgress(&progress);
        link.Reader().m_pfnByteHook = &CTerminalProgress::Hook;
        ok = link.Reader().ClearBuffer();
        link.Reader().m_pfnByteHook = nullptr;
        m_ui.SetProgress(nullptr);
    }
    m_nBytes = m_nSavedBytes;
    m_nRecords = m_nSavedRecords;
    if (!ok) {
        return FailRequest(link, "clear-failed", Res::IDS_CLEAR_BUFFER_ERROR, QString());
    }
    Log("cleared");
    return CtlExit::Done;
}

CtlExit CCollectCommand::FailRequest(CCtlLink& link, const char* result, unsigned errorId,
                                     const QString& consequence) {
    const CCtlReader& reader = link.Reader();
    switch (reader.Stopped()) {
        case CCtlReader::Stop::Signal:
            result = "interrupted";
            break;
        case CCtlReader::Stop::Ceiling:
            result = "no-end";
            break;
        case CCtlReader::Stop::None:
            result = reader.LineErrors() > 0                      ? "line-errors"
                     : !link.Answered() && !reader.IsDeviceGone() ? "no-reader"
                                                                  : result;
            break;
    }
    QString message = link.Failure(errorId);
    if (!consequence.isEmpty()) {
        message += QLatin1Char(' ') + consequence;
    }
    return Fail(link.FailureStatus(), result, message);
}

CtlExit CCollectCommand::Fail(CtlExit status, const char* result, const QString& message) {
    Log(result, message);
    CCtlOutput::Error(message);
    return status;
}

bool CCollectCommand::Log(const char* result, const QString& detail) {
    // Tab-separated, so that scripts can cut it: time, port, ID, bytes,
    // records, result and what it concerns; for a reader of a list, its
    // name last (after an empty field when nothing more is said).
    const QDateTime now = QDateTime::currentDateTime();
    QStringList fields{now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODate),
                       Field(m_strPort),
                       Field(m_strId),
                       QString::number(m_nBytes),
                       QString::number(m_nRecords),
                       QString::fromLatin1(result)};
    if (!detail.isEmpty() || !m_request.readerName.isEmpty()) {
        fields << Field(detail);
    }
    if (!m_request.readerName.isEmpty()) {
        fields << Field(m_request.readerName);
    }
    return m_folder.AppendLog(fields.join(QLatin1Char('\t')).toUtf8().toStdString());
}

void CCollectCommand::Summary(bool cleared) const {
    if (m_request.json) {
        QJsonArray files;
        for (const QString& path : m_files) {
            files.append(path);
        }
        CCtlOutput::Json({{QStringLiteral("file"), m_files.value(0)},
                          {QStringLiteral("files"), files},
                          {QStringLiteral("port"), m_strPort},
                          {QStringLiteral("id"), m_strId},
                          {QStringLiteral("bytes"), static_cast<qint64>(m_nSavedBytes)},
                          {QStringLiteral("records"), m_nSavedRecords},
                          {QStringLiteral("cleared"), cleared}});
        return;
    }
    if (m_files.isEmpty()) {
        CCtlOutput::Out(tr("Keine Datensätze im Leser: keine Datei geschrieben."));
    }
    if (cleared) {
        CCtlOutput::Out(tr("Datenbuffer gelöscht."));
    }
}

QString CCollectCommand::FileError(const QString& path, int error) {
    if (error == ELOOP) {
        return tr("%1 ist ein symbolischer Verweis; collect schreibt nicht hinein.").arg(path);
    }
    return tr("%1 kann nicht geschrieben werden: %2").arg(path, CCtlOutput::ErrnoText(error));
}

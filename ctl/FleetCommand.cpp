#include "ctl/FleetCommand.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <optional>
#include <thread>

#include "ctl/CollectCommand.h"
#include "ctl/CollectFolder.h"
#include "ctl/CtlCommands.h"
#include "ctl/CtlLink.h"
#include "ctl/CtlOutput.h"
#include "ctl/CtlSignals.h"
#include "ctl/OverlayDeviceEntries.h"
#include "link/DeviceEntries.h"

namespace {
// Lines of several readers never interleave within a line.
std::mutex g_outputMutex;
}  // namespace

// A reader's output: each line at once with the reader's name before it;
// with --json the results are kept for the array and only messages go out.
class CFleetCommand::Output : public CCtlOutput::Sink {
public:
    Output(const QString& name, bool json, Result& result)
        : m_strName(name), m_bJson(json), m_result(result) {}

    void Line(bool error, const QString& text) override {
        m_result.messages << text;
        if (m_bJson && !error) {
            return;
        }
        QString lines;
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            lines += (error ? QStringLiteral("orvanectl: %1: %2\n") : QStringLiteral("%1: %2\n"))
                         .arg(m_strName, line);
        }
        const std::lock_guard lock(g_outputMutex);
        std::FILE* stream = error ? stderr : stdout;
        std::fputs(lines.toLocal8Bit().constData(), stream);
        std::fflush(stream);
    }

    void Json(const QJsonObject& object) override { m_result.json = object; }

private:
    const QString m_strName;
    const bool m_bJson;
    Result& m_result;
};

CFleetCommand::CFleetCommand(const CCtlRequest& request, CHeadlessUserInterface& ui)
    : m_request(request), m_ui(ui) {}

CtlExit CFleetCommand::Worst(CtlExit a, CtlExit b) {
    return static_cast<int>(a) >= static_cast<int>(b) ? a : b;
}

CCtlRequest CFleetCommand::ReaderRequest(size_t index) const {
    const CFleetReader& reader = m_request.fleet[index];
    CCtlRequest request = m_request;
    request.fleet.clear();
    request.readerName = reader.name;
    request.port = reader.port;
    request.baud = reader.baud != 0 ? reader.baud : m_request.baud;
    request.timeoutMs = reader.timeoutMs != 0 ? reader.timeoutMs : m_request.timeoutMs;
    if (request.command == QStringLiteral("records")) {
        request.output = QDir(m_request.output).filePath(reader.name + QStringLiteral(".txt"));
    }
    return request;
}

CtlExit CFleetCommand::Run() {
    const bool collect = m_request.command == QStringLiteral("collect");
    // One lock for the whole run, taken before any reader is asked.
    std::optional<CCollectFolder> folder;
    if (collect) {
        const QString path = QDir::cleanPath(m_request.args.value(0));
        if (!CCollectCommand::OpenFolder(folder.emplace(path.toStdString()), path)) {
            return CtlExit::File;
        }
        folder->RemoveStale();
    }

    // Every port that needs an entry has it before the threads start, so
    // that they only read the table.
    std::vector<CCtlRequest> requests;
    COverlayDeviceEntries entries(DeviceEntries());
    for (size_t i = 0; i < m_request.fleet.size(); ++i) {
        requests.push_back(ReaderRequest(i));
        const QString name = CCtlLink::OpenName(requests.back().port);
        if (CCtlLink::NeedsEntry(name)) {
            entries.Add(name.toStdString());
        }
    }
    IDeviceEntries* const previous = DeviceEntries();
    SetDeviceEntries(&entries);

    std::vector<Result> results(requests.size());
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < requests.size(); i = next++) {
            Output output(requests[i].readerName, m_request.json, results[i]);
            CCtlOutput::SetThreadSink(&output);
            if (CCtlSignals::Caught() != 0) {
                results[i].status = collect
                                        ? CCollectCommand(requests[i], m_ui, *folder).NotStarted()
                                        : CtlExit::Interrupted;
            } else if (collect) {
                CCtlLink link(requests[i], entries);
                results[i].status = CCollectCommand(requests[i], m_ui, *folder).RunLocked(link);
            } else {
                results[i].status = CCtlCommands(requests[i], m_ui, &entries).Run();
            }
            CCtlOutput::SetThreadSink(nullptr);
        }
    };
    const size_t jobs = std::min<size_t>(
        requests.size(),
        static_cast<size_t>(m_request.jobs > 0 ? m_request.jobs : CCtlCommandLine::kMaxJobs));
    std::vector<std::thread> threads;
    for (size_t i = 0; i < jobs; ++i) {
        threads.emplace_back(work);
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    SetDeviceEntries(previous);

    CtlExit status = CtlExit::Done;
    for (const Result& result : results) {
        status = Worst(status, result.status);
    }
    if (CCtlSignals::Caught() != 0) {
        status = CtlExit::Interrupted;
    }
    if (m_request.json) {
        QJsonArray array;
        for (size_t i = 0; i < results.size(); ++i) {
            array.append(QJsonObject{
                {QStringLiteral("name"), requests[i].readerName},
                {QStringLiteral("port"), requests[i].port},
                {QStringLiteral("status"), static_cast<int>(results[i].status)},
                {QStringLiteral("result"),
                 results[i].json.isEmpty() ? QJsonValue() : QJsonValue(results[i].json)},
                {QStringLiteral("messages"), QJsonArray::fromStringList(results[i].messages)}});
        }
        const std::lock_guard lock(g_outputMutex);
        std::fputs(QJsonDocument(array).toJson(QJsonDocument::Indented).constData(), stdout);
        std::fflush(stdout);
    }
    Summary(results);
    return status;
}

void CFleetCommand::Summary(const std::vector<Result>& results) const {
    int done = 0;
    QStringList failed;
    for (size_t i = 0; i < results.size(); ++i) {
        if (results[i].status == CtlExit::Done) {
            ++done;
        } else {
            failed << QStringLiteral("%1 (%2)").arg(
                m_request.fleet[i].name, QString::number(static_cast<int>(results[i].status)));
        }
    }
    QString line = tr("%1 von %2 Lesern erledigt.")
                       .arg(QString::number(done), QString::number(results.size()));
    if (!failed.isEmpty()) {
        line += QLatin1Char(' ') +
                tr("Nicht erledigt (Exit-Status): %1.").arg(failed.join(QStringLiteral(", ")));
    }
    // With --json standard output is the array alone.
    const std::lock_guard lock(g_outputMutex);
    std::FILE* stream = m_request.json ? stderr : stdout;
    std::fputs((line + QLatin1Char('\n')).toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

#include "ctl/CtlCommands.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>

#include <cstdlib>
#include <optional>
#include <vector>

#include "common/LinkTexts.h"
#include "common/ResourceIds.h"
#include "common/Strings.h"
#include "ctl/AtomicFile.h"
#include "ctl/ClockText.h"
#include "ctl/CollectCommand.h"
#include "ctl/CtlLink.h"
#include "ctl/CtlOutput.h"
#include "ctl/HeadlessUserInterface.h"
#include "ctl/TerminalProgress.h"
#include "link/PortDiscovery.h"
#include "link/SerialEngine.h"
#include "protocol/KeyList.h"

namespace {

// The window's progress ranges: the steps the reader sends and its "OK".
constexpr unsigned kClearRange = 516;
constexpr unsigned kMemoryTestRange = 1028;

// Reader text for the terminal: its line ends as the terminal's, none at the end.
QString ReaderLines(const std::string& text) {
    QString lines = QString::fromLatin1(text);
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    while (lines.endsWith(QLatin1Char('\n'))) {
        lines.chop(1);
    }
    return lines;
}

}  // namespace

CCtlCommands::CCtlCommands(const CCtlRequest& request, CHeadlessUserInterface& ui,
                           COverlayDeviceEntries* shared)
    : m_request(request), m_ui(ui), m_pShared(shared) {}

CtlExit CCtlCommands::Run() {
    const QString& command = m_request.command;
    if (command == QStringLiteral("ports")) {
        return Ports();
    }
    std::optional<CCtlLink> opened;
    CCtlLink& link =
        m_pShared != nullptr ? opened.emplace(m_request, *m_pShared) : opened.emplace(m_request);
    if (command == QStringLiteral("collect")) {
        return CCollectCommand(m_request, m_ui).Run(link);
    }
    if (command == QStringLiteral("keys") && !m_request.keyFile.isEmpty()) {
        if (const CtlExit status = LoadKeyList(); status != CtlExit::Done) {
            return status;
        }
    }
    if (!link.Open()) {
        CCtlOutput::Error(link.Error());
        return CtlExit::NoLink;
    }
    if (!link.Warning().isEmpty()) {
        CCtlOutput::Error(link.Warning());
    }
    if (command == QStringLiteral("records")) {
        return Records(link);
    }
    if (command == QStringLiteral("clock")) {
        return Clock(link);
    }
    if (command == QStringLiteral("parameters")) {
        return Parameters(link);
    }
    if (command == QStringLiteral("set")) {
        return Set(link);
    }
    if (command == QStringLiteral("reset")) {
        return Reset(link);
    }
    if (command == QStringLiteral("keys")) {
        return m_request.keyFile.isEmpty() ? Keys(link) : WriteKeys(link);
    }
    return Maintain(link, command == QStringLiteral("memory-test"));
}

CtlExit CCtlCommands::Ports() {
    // The entries as the interface dialog lists them, with the facts of its tool tips.
    std::vector<std::string> entries;
    std::vector<std::string> com;
    std::vector<std::string> usb;
    CSerialEngine engine;
    engine.EnumerateComPorts(com);
    engine.ListUsbDevices(usb);
    for (std::string entry : com) {
        if (entry.rfind("\\\\.\\", 0) == 0) {
            entry.erase(0, 4);
        }
        entries.push_back(entry);
    }
    for (const std::string& serial : usb) {
        entries.push_back("USB: " + serial);
    }
    const std::vector<CPortFacts> facts = CPortDiscovery().Describe(entries);
    QJsonArray list;
    for (size_t i = 0; i < entries.size() && i < facts.size(); ++i) {
        const CPortFacts& f = facts[i];
        if (m_request.json) {
            QJsonObject port{{QStringLiteral("port"), QString::fromStdString(entries[i])},
                             {QStringLiteral("device"), QString::fromStdString(f.devicePath)},
                             {QStringLiteral("byId"), QString::fromStdString(f.byId)},
                             {QStringLiteral("driver"), QString::fromStdString(f.driver)}};
            if (!f.usb.vendorId.empty() || !f.usb.serialNumber.empty()) {
                port[QStringLiteral("usb")] = QJsonObject{
                    {QStringLiteral("manufacturer"), QString::fromStdString(f.usb.manufacturer)},
                    {QStringLiteral("product"), QString::fromStdString(f.usb.product)},
                    {QStringLiteral("vendorId"), QString::fromStdString(f.usb.vendorId)},
                    {QStringLiteral("productId"), QString::fromStdString(f.usb.productId)},
                    {QStringLiteral("serialNumber"), QString::fromStdString(f.usb.serialNumber)}};
            }
            if (!f.network.empty()) {
                port[QStringLiteral("network")] = QString::fromStdString(f.network);
            }
            // "heldBy" only for the lock's holder, who keeps others out;
            // programs that merely have the port open are "openedBy".
            const auto process = [](const CDeviceHolder& holder) {
                return QJsonObject{{QStringLiteral("pid"), holder.pid},
                                   {QStringLiteral("name"), QString::fromStdString(holder.name)}};
            };
            QJsonArray openers;
            if (f.holder.pid != 0 && f.holder.locks) {
                port[QStringLiteral("heldBy")] = process(f.holder);
            } else if (f.holder.pid != 0) {
                openers.append(process(f.holder));
            }
            for (const CDeviceHolder& other : f.others) {
                openers.append(process(other));
            }
            if (!openers.isEmpty()) {
                port[QStringLiteral("openedBy")] = openers;
            }
            list.append(port);
            continue;
        }
        CCtlOutput::Out(QString::fromStdString(entries[i]));
        const QString lines = LinkTexts::Facts(f);
        if (!lines.isEmpty()) {
            CCtlOutput::Out(QStringLiteral("  ") +
                            QString(lines).replace(QLatin1Char('\n'), QStringLiteral("\n  ")));
        }
    }
    if (m_request.json) {
        CCtlOutput::Json(QJsonObject{{QStringLiteral("ports"), list}});
    }
    return CtlExit::Done;
}

CtlExit CCtlCommands::Records(CCtlLink& link) {
    std::string text;
    const bool complete =
        link.Sound(link.Reader().ReadRecords(text, CReaderProtocol::RecordsEnd::EndLine));
    const std::string bytes = link.ReceivedBytes();
    if (m_request.output.isEmpty()) {
        // What arrived, also when it did not end: like the window's transcript.
        if (!CCtlOutput::Bytes(bytes)) {
            CCtlOutput::Error(tr("Die Standardausgabe nimmt die Daten nicht an: %1")
                                  .arg(CCtlOutput::ErrnoText(errno)));
            return CtlExit::File;
        }
    } else if (complete) {
        CAtomicFile file(m_request.output.toStdString());
        if (!file.Create() || !file.Write(bytes.data(), bytes.size()) || !file.Commit(true)) {
            CCtlOutput::Error(tr("%1 kann nicht geschrieben werden: %2")
                                  .arg(m_request.output, CCtlOutput::ErrnoText(file.Error())));
            return CtlExit::File;
        }
    }
    return complete ? CtlExit::Done : Failed(link, Res::IDS_READ_ERROR);
}

CtlExit CCtlCommands::Clock(CCtlLink& link) {
    // The reader answers at once; the wait for silence comes after that.
    const QDateTime asked = QDateTime::currentDateTime();
    std::string clock;
    if (!link.Sound(link.Reader().ReadClock(clock))) {
        return Failed(link, Res::IDS_CLOCK_READ_ERROR);
    }
    const QString text = QString::fromLatin1(clock);
    const QDateTime readerTime = CClockText::Parse(text);
    const bool known = readerTime.isValid();
    const qint64 drift = known ? asked.addMSecs(-asked.time().msec()).secsTo(readerTime) : 0;
    bool wanted = !m_request.clockDigits.isEmpty();
    // A clock text of another form cannot be compared: then it is always set.
    if (m_request.maxDriftS >= 0 && known && std::llabs(drift) <= m_request.maxDriftS) {
        wanted = false;
    }
    bool set = false;
    if (wanted) {
        const QString digits = m_request.clockDigits == QStringLiteral("now")
                                   ? CClockText::Digits(QDateTime::currentDateTime())
                                   : m_request.clockDigits;
        set = link.Reader().SetClock(digits.toStdString());
    }
    if (m_request.json) {
        QJsonObject object{{QStringLiteral("reader"), text},
                           {QStringLiteral("pc"), asked.toString(Qt::ISODate)},
                           {QStringLiteral("set"), set}};
        object.insert(QStringLiteral("drift_seconds"),
                      known ? QJsonValue(static_cast<qint64>(drift)) : QJsonValue());
        CCtlOutput::Json(object);
    } else {
        CCtlOutput::Out(text);
        if (known) {
            CCtlOutput::Out(tr("Abweichung von der Uhr des PCs: %1 s").arg(QString::number(drift)));
        }
        if (m_request.maxDriftS >= 0 && !wanted) {
            CCtlOutput::Out(tr("Innerhalb von %1 s: Datum/Zeit bleibt, wie sie ist.")
                                .arg(QString::number(m_request.maxDriftS)));
        }
    }
    if (!wanted) {
        return CtlExit::Done;
    }
    if (set && m_request.json) {
        return CtlExit::Done;
    }
    return Report(link, set, Res::IDS_CLOCK_SET_OK, Res::IDS_CLOCK_SET_ERROR);
}

CtlExit CCtlCommands::Parameters(CCtlLink& link) {
    std::string report;
    const bool ok = link.ReadReport(report);
    const QString text = ReaderLines(report);
    if (m_request.json) {
        QJsonObject fields;
        static const QRegularExpression field(QStringLiteral("([A-Za-z]+):(\\S*)"));
        for (const QRegularExpressionMatch& match : field.globalMatch(text)) {
            fields.insert(match.captured(1), match.captured(2));
        }
        CCtlOutput::Json(
            {{QStringLiteral("report"), text},
             {QStringLiteral("model"),
              LoadString(link.IsExtended() ? Res::IDS_APP_TITLE_SX : Res::IDS_APP_TITLE)},
             {QStringLiteral("fields"), fields}});
    } else if (!text.isEmpty()) {
        CCtlOutput::Out(text);
    }
    return ok ? CtlExit::Done : Failed(link, Res::IDS_PARAMETERS_READ_ERROR);
}

CtlExit CCtlCommands::Set(CCtlLink& link) {
    const QString what = m_request.args.at(0);
    const std::string value = m_request.args.constLast().toStdString();
    CReaderProtocol& reader = link.Reader();
    if (what == QStringLiteral("id")) {
        return Report(link, reader.SetId(value), Res::IDS_ID_OK, Res::IDS_ID_ERROR);
    }
    if (what == QStringLiteral("number-format")) {
        return Report(link, reader.SetNumberFormat(value), Res::IDS_FORMAT_OK,
                      Res::IDS_FORMAT_ERROR);
    }
    if (what == QStringLiteral("time-format")) {
        return Report(link, reader.SetTimeFormat(value), Res::IDS_FORMAT_OK, Res::IDS_FORMAT_ERROR);
    }
    if (what == QStringLiteral("mode")) {
        // Two choices on the basic model, four on the extended one, as in
        // the window; which one it is, only its report tells.
        std::string report;
        if (!link.ReadReport(report)) {
            return Failed(link, Res::IDS_PARAMETERS_READ_ERROR);
        }
        if (!link.IsExtended() && value > "1") {
            CCtlOutput::Error(
                QStringLiteral("set mode %1: %2")
                    .arg(QString::fromStdString(value), CCtlCommandLine::ModeChoices(false)));
            return CtlExit::Usage;
        }
        return Report(link, reader.SetMode(value), Res::IDS_MODE_OK, Res::IDS_MODE_ERROR);
    }
    if (const CtlExit status = RequireExtended(link); status != CtlExit::Done) {
        return status;
    }
    return Report(link, reader.SetTimingValue(m_request.args.at(1).toStdString(), value),
                  Res::IDS_WRITE_OK, Res::IDS_WRITE_ERROR);
}

CtlExit CCtlCommands::Reset(CCtlLink& link) {
    if (const CtlExit status = RequireExtended(link); status != CtlExit::Done) {
        return status;
    }
    return Report(link, link.Reader().ResetParameters(), Res::IDS_WRITE_OK, Res::IDS_WRITE_ERROR);
}

CtlExit CCtlCommands::Keys(CCtlLink& link) {
    if (const CtlExit status = RequireExtended(link); status != CtlExit::Done) {
        return status;
    }
    std::string keys;
    const bool ok = link.Sound(link.Reader().ReadKeys(keys));
    // The list is shown whatever the verdict, as the key dialog shows it.
    const QString lines = ReaderLines(keys);
    if (!lines.isEmpty()) {
        CCtlOutput::Out(lines);
    }
    return ok ? CtlExit::Done : Failed(link, Res::IDS_READ_ERROR);
}

CtlExit CCtlCommands::LoadKeyList() {
    QFile file(m_request.keyFile);
    if (!file.open(QIODevice::ReadOnly)) {
        CCtlOutput::Error(
            tr("%1 kann nicht gelesen werden: %2").arg(m_request.keyFile, file.errorString()));
        return CtlExit::Usage;
    }
    const std::string list = file.readAll().toStdString();
    const CKeyListCheck check = CheckKeyList(list);
    if (!check.ok) {
        CCtlOutput::Error(
            QStringLiteral("keys --write %1: %2")
                .arg(m_request.keyFile,
                     LoadString(Res::IDS_NOT_A_KEY)
                         .arg(QString::number(check.line), QString::fromStdString(check.text))));
        return CtlExit::Usage;
    }
    // No key at all: the reader would erase every key it knows.
    const bool empty = list.find_first_not_of(" \t\r\n") == std::string::npos;
    if (empty && !m_request.yes) {
        CCtlOutput::Error(QStringLiteral("keys --write %1: %2")
                              .arg(m_request.keyFile, CCtlCommandLine::Confirmation(LoadString(
                                                          Res::IDS_ASK_ERASE_ALL_KEYS))));
        return CtlExit::Usage;
    }
    // One key number per line, whatever the file's line ends; sent as the
    // key dialog sends its list.
    QByteArray lines = QByteArray::fromStdString(list);
    lines.replace("\r\n", "\n");
    lines.replace('\r', '\n');
    lines.replace("\n", "\r\n");
    m_strKeyList = lines.toStdString();
    return CtlExit::Done;
}

CtlExit CCtlCommands::WriteKeys(CCtlLink& link) {
    if (const CtlExit status = RequireExtended(link); status != CtlExit::Done) {
        return status;
    }
    return Report(link, link.Reader().WriteKeys(m_strKeyList), Res::IDS_WRITE_OK,
                  Res::IDS_WRITE_ERROR);
}

CtlExit CCtlCommands::Maintain(CCtlLink& link, bool memoryTest) {
    bool ok = false;
    {
        CTerminalProgress progress(memoryTest ? kMemoryTestRange : kClearRange);
        m_ui.SetProgress(&progress);
        link.Reader().m_pfnByteHook = &CTerminalProgress::Hook;
        ok = memoryTest ? link.Reader().MemoryTest() : link.Reader().ClearBuffer();
        link.Reader().m_pfnByteHook = nullptr;
        m_ui.SetProgress(nullptr);
    }
    if (memoryTest) {
        return Report(link, ok, Res::IDS_MEMORY_TEST_OK, Res::IDS_MEMORY_TEST_ERROR);
    }
    if (!ok) {
        return Failed(link, Res::IDS_CLEAR_BUFFER_ERROR);
    }
    CCtlOutput::Out(tr("Datenbuffer gelöscht."));
    return CtlExit::Done;
}

CtlExit CCtlCommands::RequireExtended(CCtlLink& link) {
    std::string report;
    if (!link.ReadReport(report)) {
        return Failed(link, Res::IDS_PARAMETERS_READ_ERROR);
    }
    if (link.IsExtended()) {
        return CtlExit::Done;
    }
    const QString subject = m_request.command == QStringLiteral("set")
                                ? QStringLiteral("set ") + m_request.args.at(0)
                                : m_request.command;
    CCtlOutput::Error(tr("%1 gibt es nur beim %2; der Leser an %3 ist ein %4.")
                          .arg(subject, LoadString(Res::IDS_APP_TITLE_SX), link.PortName(),
                               LoadString(Res::IDS_APP_TITLE)));
    return CtlExit::Reader;
}

CtlExit CCtlCommands::Report(CCtlLink& link, bool ok, unsigned okId, unsigned errorId) {
    if (!ok) {
        return Failed(link, errorId);
    }
    CCtlOutput::Out(LoadString(okId));
    return CtlExit::Done;
}

CtlExit CCtlCommands::Failed(CCtlLink& link, unsigned errorId) {
    CCtlOutput::Error(link.Failure(errorId));
    return link.FailureStatus();
}

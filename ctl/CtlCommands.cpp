#include "ctl/CtlCommands.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>

#include <cstdlib>
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

CCtlCommands::CCtlCommands(const CCtlRequest& request, CHeadlessUserInterface& ui)
    : m_request(request), m_ui(ui) {}

CtlExit CCtlCommands::Run() {
    const QString& command = m_request.command;
    if (command == QStringLiteral("ports")) {
        return Ports();
    }
    if (command == QStringLiteral("collect")) {
        return CCollectCommand(m_request, m_ui).Run();
    }
    CCtlLink link(m_request);
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
            if (f.holder.pid != 0) {
                port[QStringLiteral("heldBy")] =
                    QJsonObject{{QStringLiteral("pid"), f.holder.pid},
                                {QStringLiteral("name"), QString::fromStdString(f.holder.name)}};
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
    const bool complete = link.Reader().ReadRecords(text);
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
    if (!complete) {
        CCtlOutput::Error(LoadString(Res::IDS_READ_ERROR));
        return CtlExit::Reader;
    }
    return CtlExit::Done;
}

CtlExit CCtlCommands::Clock(CCtlLink& link) {
    // The reader answers at once; the wait for silence comes after that.
    const QDateTime asked = QDateTime::currentDateTime();
    std::string clock;
    if (!link.Reader().ReadClock(clock)) {
        CCtlOutput::Error(LoadString(Res::IDS_CLOCK_READ_ERROR));
        return CtlExit::Reader;
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
            CCtlOutput::Out(tr("Abweichung von der Uhr des PCs: %1 s").arg(drift));
        }
        if (m_request.maxDriftS >= 0 && !wanted) {
            CCtlOutput::Out(
                tr("Innerhalb von %1 s: Datum/Zeit bleibt, wie sie ist.").arg(m_request.maxDriftS));
        }
    }
    if (!wanted) {
        return CtlExit::Done;
    }
    if (set && m_request.json) {
        return CtlExit::Done;
    }
    return Report(set, Res::IDS_CLOCK_SET_OK, Res::IDS_CLOCK_SET_ERROR);
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
    if (!ok) {
        CCtlOutput::Error(LoadString(Res::IDS_PARAMETERS_READ_ERROR));
        return CtlExit::Reader;
    }
    return CtlExit::Done;
}

CtlExit CCtlCommands::Set(CCtlLink& link) {
    const QString what = m_request.args.at(0);
    const std::string value = m_request.args.constLast().toStdString();
    CReaderProtocol& reader = link.Reader();
    if (what == QStringLiteral("id")) {
        return Report(reader.SetId(value), Res::IDS_ID_OK, Res::IDS_ID_ERROR);
    }
    if (what == QStringLiteral("number-format")) {
        return Report(reader.SetNumberFormat(value), Res::IDS_FORMAT_OK, Res::IDS_FORMAT_ERROR);
    }
    if (what == QStringLiteral("time-format")) {
        return Report(reader.SetTimeFormat(value), Res::IDS_FORMAT_OK, Res::IDS_FORMAT_ERROR);
    }
    if (what == QStringLiteral("mode")) {
        // Two choices on the basic model, four on the extended one, as in the window.
        std::string report;
        link.ReadReport(report);
        if (!link.IsExtended() && value > "1") {
            CCtlOutput::Error(
                QStringLiteral("set mode %1: %2")
                    .arg(QString::fromStdString(value), CCtlCommandLine::ModeChoices(false)));
            return CtlExit::Usage;
        }
        return Report(reader.SetMode(value), Res::IDS_MODE_OK, Res::IDS_MODE_ERROR);
    }
    if (!RequireExtended(link)) {
        return CtlExit::Reader;
    }
    return Report(reader.SetTimingValue(m_request.args.at(1).toStdString(), value),
                  Res::IDS_WRITE_OK, Res::IDS_WRITE_ERROR);
}

CtlExit CCtlCommands::Reset(CCtlLink& link) {
    if (!RequireExtended(link)) {
        return CtlExit::Reader;
    }
    return Report(link.Reader().ResetParameters(), Res::IDS_WRITE_OK, Res::IDS_WRITE_ERROR);
}

CtlExit CCtlCommands::Keys(CCtlLink& link) {
    if (!RequireExtended(link)) {
        return CtlExit::Reader;
    }
    std::string keys;
    const bool ok = link.Reader().ReadKeys(keys);
    // The list is shown whatever the verdict, as the key dialog shows it.
    const QString lines = ReaderLines(keys);
    if (!lines.isEmpty()) {
        CCtlOutput::Out(lines);
    }
    if (!ok) {
        CCtlOutput::Error(LoadString(Res::IDS_READ_ERROR));
        return CtlExit::Reader;
    }
    return CtlExit::Done;
}

CtlExit CCtlCommands::WriteKeys(CCtlLink& link) {
    QFile file(m_request.keyFile);
    if (!file.open(QIODevice::ReadOnly)) {
        CCtlOutput::Error(
            tr("%1 kann nicht gelesen werden: %2").arg(m_request.keyFile, file.errorString()));
        return CtlExit::Usage;
    }
    if (!RequireExtended(link)) {
        return CtlExit::Reader;
    }
    // One key number per line, whatever the file's line ends; sent as the
    // key dialog sends its list.
    QByteArray list = file.readAll();
    list.replace("\r\n", "\n");
    list.replace('\r', '\n');
    list.replace("\n", "\r\n");
    return Report(link.Reader().WriteKeys(list.toStdString()), Res::IDS_WRITE_OK,
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
        return Report(ok, Res::IDS_MEMORY_TEST_OK, Res::IDS_MEMORY_TEST_ERROR);
    }
    if (!ok) {
        CCtlOutput::Error(LoadString(Res::IDS_CLEAR_BUFFER_ERROR));
        return CtlExit::Reader;
    }
    CCtlOutput::Out(tr("Datenbuffer gelöscht."));
    return CtlExit::Done;
}

bool CCtlCommands::RequireExtended(CCtlLink& link) {
    std::string report;
    link.ReadReport(report);
    if (link.IsExtended()) {
        return true;
    }
    const QString subject = m_request.command == QStringLiteral("set")
                                ? QStringLiteral("set ") + m_request.args.at(0)
                                : m_request.command;
    CCtlOutput::Error(tr("%1 gibt es nur beim %2; der Leser an %3 ist ein %4.")
                          .arg(subject, LoadString(Res::IDS_APP_TITLE_SX), link.PortName(),
                               LoadString(Res::IDS_APP_TITLE)));
    return false;
}

CtlExit CCtlCommands::Report(bool ok, unsigned okId, unsigned errorId) {
    if (!ok) {
        CCtlOutput::Error(LoadString(errorId));
        return CtlExit::Reader;
    }
    CCtlOutput::Out(LoadString(okId));
    return CtlExit::Done;
}

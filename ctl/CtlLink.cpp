#include "ctl/CtlLink.h"

#include <QRegularExpression>

#include "common/LinkTexts.h"
#include "common/PortSettings.h"
#include "common/ResourceIds.h"
#include "common/Strings.h"
#include "ctl/CtlSignals.h"
#include "link/ComTable.h"

namespace {

const QRegularExpression& ComName() {
    static const QRegularExpression pattern(QStringLiteral("^COM[1-9][0-9]{0,2}$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

const QRegularExpression& UsbName() {
    static const QRegularExpression pattern(QStringLiteral("^USB: ?([A-Za-z0-9]+)$"));
    return pattern;
}

const QRegularExpression& TtyName() {
    static const QRegularExpression pattern(QStringLiteral("^tty[A-Za-z0-9]+$"));
    return pattern;
}

// HOST:PORT with a host name, an IPv4 address or an IPv6 address in brackets.
const QRegularExpression& NetworkName() {
    static const QRegularExpression pattern(QStringLiteral(
        "^(rfc2217|socket)://([A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?|\\[[0-9A-Fa-f:.]+\\]):"
        "([0-9]{1,5})$"));
    return pattern;
}

}  // namespace

CCtlLink::CCtlLink(const CCtlRequest& request)
    : m_request(request),
      m_ownEntries(DeviceEntries()),
      m_entries(m_ownEntries),
      m_pPreviousEntries(DeviceEntries()),
      m_bShared(false) {
    SetDeviceEntries(&m_entries);
}

CCtlLink::CCtlLink(const CCtlRequest& request, COverlayDeviceEntries& shared)
    : m_request(request),
      m_ownEntries(nullptr),
      m_entries(shared),
      m_pPreviousEntries(nullptr),
      m_bShared(true) {}

CCtlLink::~CCtlLink() {
    m_reader.Close();
    if (!m_bShared) {
        SetDeviceEntries(m_pPreviousEntries);
    }
}

bool CCtlLink::IsPortForm(const QString& port) {
    if (port.startsWith(QLatin1Char('/')) || ComName().match(port).hasMatch() ||
        UsbName().match(port).hasMatch() || TtyName().match(port).hasMatch()) {
        return true;
    }
    const QRegularExpressionMatch network = NetworkName().match(port);
    const int number = network.captured(4).toInt();
    return network.hasMatch() && number >= 1 && number <= 65535;
}

QString CCtlLink::PortForms() {
    return tr(
        "erwartet wird ein COM-Name (COM3), „USB: “ und die Seriennummer eines Adapters, "
        "ein Gerätepfad (/dev/ttyUSB0), ein Gerätename (ttyUSB0 für /dev/ttyUSB0), "
        "rfc2217://Rechner:Port oder socket://Rechner:Port (IPv6 in eckigen Klammern).");
}

QString CCtlLink::OpenName(const QString& port) {
    QString name = port;
    const QRegularExpressionMatch usb = UsbName().match(name);
    if (usb.hasMatch()) {
        name = usb.captured(1);
    }
    if (TtyName().match(name).hasMatch()) {
        name.prepend(QStringLiteral("/dev/"));
    }
    return name;
}

bool CCtlLink::NeedsEntry(const QString& openName) {
    return openName.startsWith(QLatin1Char('/')) || NetworkName().match(openName).hasMatch();
}

bool CCtlLink::Open() {
    const CPortSettings stored = CPortSettings::Load();
    m_strPort = m_request.port.isEmpty() ? stored.name : m_request.port;
    if (m_strPort.trimmed().isEmpty()) {
        m_strError =
            tr("Keine Schnittstelle eingestellt: --port angeben oder im Fenster unter "
               "„Schnittstelle wählen“ eine wählen.");
        return false;
    }
    QString name = OpenName(m_strPort);
    // A device path or a network address opens through an entry of its own.
    const bool pathGiven = NeedsEntry(name);
    if (pathGiven) {
        m_strPort = name;
        const int number = m_entries.Add(name.toStdString());
        name = QStringLiteral("COM%1").arg(number);
    }
    const unsigned baud = m_request.baud != 0 ? m_request.baud : stored.baudRate;
    if (!m_reader.Open(name.toStdString(), baud, 'N', 8, 1, 0, 9, 15000)) {
        m_strError = FailureText(pathGiven);
        return false;
    }
    // Open, but with a line setting the port refused: worth a word.
    if (m_reader.LastOpenFailure().Failed()) {
        m_strWarning = FailureText(pathGiven);
    }
    m_reader.m_timeoutMs = m_request.timeoutMs != 0
                               ? CPortSettings::HeldTimeout(m_request.timeoutMs)
                               : stored.timeoutMs;
    m_reader.SetCeiling(baud);
    if (!m_reader.StartMonitoring()) {
        m_reader.Close();
        m_strError = tr("%1 kann nicht geöffnet werden.").arg(m_strPort);
        return false;
    }
    return true;
}

// The window's words for the failure, naming the port as it was given.
QString CCtlLink::FailureText(bool pathGiven) const {
    CLinkFailure failure = m_reader.LastOpenFailure();
    if (!failure.Failed()) {
        return tr("%1 kann nicht geöffnet werden.").arg(m_strPort);
    }
    if (pathGiven) {
        failure.port = m_strPort.toStdString();
        if (failure.device == failure.port) {
            failure.device.clear();
        }
    }
    return LinkTexts::Failure(failure);
}

QString CCtlLink::PortAndDevice() const {
    const int number = CComTable::NumberOfName(m_strPort.toStdString());
    std::string path;
    if (number > 0 && CComTable(&m_entries).Resolve(number, path)) {
        return QStringLiteral("%1 (%2)").arg(m_strPort, QString::fromStdString(path));
    }
    return m_strPort;
}

bool CCtlLink::ReadReport(std::string& report) {
    const bool ok = Sound(m_reader.ReadParameters(report));
    if (ok) {
        m_bExtended = report.find("V:") != std::string::npos;
    }
    return ok;
}

std::string CCtlLink::ReceivedBytes() const {
    const std::vector<uint8_t> reply = m_reader.Reply();
    std::string bytes(reply.begin(), reply.end());
    // A judged reply ends with the zero byte that closed its text on this
    // side; the reader's record lines never hold one.
    if (!bytes.empty() && bytes.back() == '\0') {
        bytes.pop_back();
    }
    return bytes;
}

QString CCtlLink::Failure(unsigned errorId) const {
    switch (m_reader.Stopped()) {
        case CCtlReader::Stop::Signal:
            return Interrupted();
        case CCtlReader::Stop::Ceiling:
            return tr("Die Antwort an %1 endet nicht: nach %2 Bytes und %3 s abgebrochen "
                      "(höchstens %4 Bytes oder %5 s).")
                .arg(m_strPort, QString::number(m_reader.StoppedAtBytes()),
                     QString::number(m_reader.StoppedAtMs() / 1000),
                     QString::number(CCtlReader::kMaxReplyBytes),
                     QString::number(m_reader.CeilingMs() / 1000));
        case CCtlReader::Stop::None:
            break;
    }
    if (m_reader.LineErrors() > 0) {
        return tr("%1 Fehler auf der Leitung (Überlauf, Rahmen oder Parität) während der "
                  "Antwort an %2: sie gilt nicht.")
            .arg(QString::number(m_reader.LineErrors()), m_strPort);
    }
    // A line that went away before the first byte is no silent reader.
    if (m_reader.IsDeviceGone()) {
        return tr("Die Verbindung zu %1 ist getrennt worden.").arg(PortAndDevice()) +
               QLatin1Char(' ') + LoadString(errorId);
    }
    if (!Answered()) {
        return LoadString(Res::IDS_NO_READER_ANSWERS).arg(PortAndDevice());
    }
    return LoadString(errorId);
}

QString CCtlLink::Interrupted() {
    return tr("Unterbrochen durch %1.")
        .arg(QString::fromLatin1(CCtlSignals::Name(CCtlSignals::Caught())));
}

CtlExit CCtlLink::FailureStatus() const {
    return m_reader.Stopped() == CCtlReader::Stop::Signal ? CtlExit::Interrupted : CtlExit::Reader;
}

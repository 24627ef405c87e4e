#include "ctl/CtlLink.h"

#include "common/LinkTexts.h"
#include "common/PortSettings.h"

CCtlLink::CCtlLink(const CCtlRequest& request)
    : m_request(request), m_entries(DeviceEntries()), m_pPreviousEntries(DeviceEntries()) {
    SetDeviceEntries(&m_entries);
}

CCtlLink::~CCtlLink() {
    m_reader.Close();
    SetDeviceEntries(m_pPreviousEntries);
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
    QString name = m_strPort;
    name.remove(QStringLiteral("USB: "));
    if (name.startsWith(QLatin1Char('/'))) {
        const int number = m_entries.Add(name.toStdString());
        name = QStringLiteral("COM%1").arg(number);
    }
    const unsigned baud = m_request.baud != 0 ? m_request.baud : stored.baudRate;
    const bool pathGiven = m_strPort.startsWith(QLatin1Char('/'));
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

bool CCtlLink::ReadReport(std::string& report) {
    const bool ok = m_reader.ReadParameters(report);
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

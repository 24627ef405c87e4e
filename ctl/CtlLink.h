#pragma once

#include <QCoreApplication>
#include <QString>

#include <string>

#include "ctl/CtlCommandLine.h"
#include "ctl/OverlayDeviceEntries.h"
#include "protocol/ReaderProtocol.h"

// orvanectl's link to the reader, opened as the window opens it: the port,
// baud rate and reply time-out given on the command line or else stored by
// the window, the same engine open, and the same words for a failure.
class CCtlLink {
    Q_DECLARE_TR_FUNCTIONS(CCtlLink)
public:
    explicit CCtlLink(const CCtlRequest& request);
    ~CCtlLink();
    CCtlLink(const CCtlLink&) = delete;
    CCtlLink& operator=(const CCtlLink&) = delete;

    // False with Error() saying why the link did not open.
    bool Open();
    const QString& Error() const { return m_strError; }
    // Something the open noticed but that does not stop it (a refused line setting).
    const QString& Warning() const { return m_strWarning; }

    // The port as named: "COM3", "USB: A1B2C3", "/dev/ttyUSB0".
    const QString& PortName() const { return m_strPort; }
    CReaderProtocol& Reader() { return m_reader; }

    // Reads the parameter report and tells the model by it, as the window
    // does when it connects: "V:" in the report is the extended model.
    bool ReadReport(std::string& report);
    bool IsExtended() const { return m_bExtended; }
    // The bytes the reader sent since the last request, as they came.
    std::string ReceivedBytes() const;

private:
    QString FailureText(bool pathGiven) const;

    CCtlRequest m_request;
    QString m_strPort;
    QString m_strError;
    QString m_strWarning;
    COverlayDeviceEntries m_entries;
    IDeviceEntries* m_pPreviousEntries;
    bool m_bExtended = false;
    // Last: the link closes before the entries it opened through go.
    CReaderProtocol m_reader;
};

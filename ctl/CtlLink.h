#pragma once

#include <QCoreApplication>
#include <QString>

#include <string>

#include "ctl/CtlCommandLine.h"
#include "ctl/CtlExit.h"
#include "ctl/CtlReader.h"
#include "ctl/OverlayDeviceEntries.h"

// orvanectl's link to the reader, opened as the window opens it: the port,
// baud rate and reply time-out given on the command line or else stored by
// the window, the same engine open, and the same words for a failure.
class CCtlLink {
    Q_DECLARE_TR_FUNCTIONS(CCtlLink)
public:
    explicit CCtlLink(const CCtlRequest& request);
    // A link of a list's reader: it opens through `shared`, which the list
    // set up as the process's entries before its threads started and which
    // already holds this link's port, so that nothing process-wide changes.
    CCtlLink(const CCtlRequest& request, COverlayDeviceEntries& shared);
    ~CCtlLink();
    CCtlLink(const CCtlLink&) = delete;
    CCtlLink& operator=(const CCtlLink&) = delete;

    // True for a --port value orvanectl can open: a COM name, "USB:" and a
    // serial number, a device path, a bare tty name, or rfc2217:// or
    // socket:// with a host and port.
    static bool IsPortForm(const QString& port);
    // The accepted forms, for the message that refuses another.
    static QString PortForms();
    // The name the engine opens for an accepted form: the serial number of
    // "USB: …", /dev/ before a bare tty name, else the name as given.
    static QString OpenName(const QString& port);
    // Whether that name is a device path or network address, which opens
    // through an entry of its own.
    static bool NeedsEntry(const QString& openName);

    // False with Error() saying why the link did not open.
    bool Open();
    const QString& Error() const { return m_strError; }
    // Something the open noticed but that does not stop it (a refused line setting).
    const QString& Warning() const { return m_strWarning; }

    // The port as named: "COM3", "USB: A1B2C3", "/dev/ttyUSB0".
    const QString& PortName() const { return m_strPort; }
    CCtlReader& Reader() { return m_reader; }

    // Reads the parameter report and tells the model by it, as the window
    // does when it connects: "V:" in the report is the extended model.
    bool ReadReport(std::string& report);
    bool IsExtended() const { return m_bExtended; }
    // The bytes the reader sent since the last request, as they came.
    std::string ReceivedBytes() const;

    // Whether any byte came in answer to the last request.
    bool Answered() const { return !ReceivedBytes().empty(); }
    // Whether the last request's answer can be trusted: it was judged sound
    // and no line error came with it.
    bool Sound(bool judged) const { return judged && m_reader.LineErrors() == 0; }
    // Why the last request failed, most telling first: a signal, the
    // ceiling, line errors, no answer at all; else the text of errorId.
    QString Failure(unsigned errorId) const;
    CtlExit FailureStatus() const;
    // "Interrupted by SIGTERM." for the signal caught.
    static QString Interrupted();

private:
    QString FailureText(bool pathGiven) const;
    // The port and, for a COM name, the device it stands for.
    QString PortAndDevice() const;

    CCtlRequest m_request;
    QString m_strPort;
    QString m_strError;
    QString m_strWarning;
    COverlayDeviceEntries m_ownEntries;
    COverlayDeviceEntries& m_entries;
    IDeviceEntries* m_pPreviousEntries;
    const bool m_bShared;
    bool m_bExtended = false;
    // Last: the link closes before the entries it opened through go.
    CCtlReader m_reader;
};

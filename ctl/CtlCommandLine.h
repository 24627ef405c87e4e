#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <vector>

#include "ctl/FleetFile.h"

// What one run of orvanectl is asked to do.
struct CCtlRequest {
    QString command;    // "records", "collect", "set", ...
    QStringList args;   // the command's arguments, checked
    QString port;       // --port; empty: the stored "Port"/"Name"
    unsigned baud = 0;  // --baud; 0: the stored "Port"/"Baudrate"
    int timeoutMs = 0;  // --timeout; 0: the stored "Port"/"Timeout"
    bool json = false;
    bool clear = false;   // collect --clear
    bool yes = false;     // the confirmation of reset, clear, memory-test, keys --write of no key
    QString output;       // records -o FILE; empty: standard output
    QString clockDigits;  // clock --set: "DDMMYYhhmmss"; "now" for the PC's clock
    int maxDriftS = -1;   // clock --max-drift; -1: not given
    QString keyFile;      // keys --write FILE
    // --readers FILE: the readers of the list, checked; empty: one reader.
    std::vector<CFleetReader> fleet;
    int jobs = 0;        // --jobs; 0: every reader of the list at once, up to kMaxJobs
    QString readerName;  // set in the request of one reader of the list
};

// orvanectl's command line: one command with its arguments, the link options
// and the commands' own options. The values the window's dialogs check are
// checked here, with the dialogs' messages, before any link opens.
class CCtlCommandLine {
    Q_DECLARE_TR_FUNCTIONS(CCtlCommandLine)
public:
    enum class Action {
        Run,   // run Request()
        Exit,  // write the outputs and end with ExitStatus()
    };

    // Reads the arguments, program name first.
    Action Parse(const QStringList& arguments);

    const CCtlRequest& Request() const { return m_request; }
    const QString& Output() const { return m_strOutput; }
    const QString& ErrorOutput() const { return m_strError; }
    int ExitStatus() const { return m_nStatus; }

    // "Erlaubt sind: 0 = …, 1 = …" for the choices of set mode on either model.
    static QString ModeChoices(bool extended);
    // The question of a command that needs --yes, on one line, and how to confirm it.
    static QString Confirmation(const QString& question);
    // A --baud or --timeout value: empty with `value` set, or why it is refused.
    static QString CheckBaud(const QString& text, unsigned& value);
    static QString CheckTimeout(const QString& text, int& value);

    // Readers of a list that run at once unless --jobs says otherwise: each
    // takes two threads and a descriptor or socket.
    static constexpr int kMaxJobs = 32;

private:
    Action Fail(const QString& reason);
    Action Refuse(const QString& subject, const QString& reason);
    Action CheckCommand();
    Action CheckSet();
    Action CheckConfirmation(const QString& question);
    Action CheckFleet(const QString& file, bool portGiven);
    QString HelpText(const QString& parserHelp) const;

    QString m_strProgram;
    CCtlRequest m_request;
    QString m_strOutput;
    QString m_strError;
    int m_nStatus = 0;
};

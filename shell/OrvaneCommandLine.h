#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The program's command line: --help, --version and at most one file, which
// is opened as the transcript. Its texts come from the translators installed
// at the time, so main() lets them follow the system's language, as
// command-line output does, whatever language the window was left in.
class COrvaneCommandLine {
    Q_DECLARE_TR_FUNCTIONS(COrvaneCommandLine)
public:
    enum class Action {
        Start,  // start the program with Files()
        Exit,   // write the outputs and end with ExitStatus()
    };

    // Reads the arguments, program name first.
    Action Parse(const QStringList& arguments);

    // For Start: the file to open, or none for a new transcript.
    const QStringList& Files() const { return m_files; }
    // For Exit: the texts for standard output and standard error, and the status.
    const QString& Output() const { return m_strOutput; }
    const QString& ErrorOutput() const { return m_strError; }
    int ExitStatus() const { return m_nStatus; }

private:
    Action Fail(const QString& program, const QString& reason);
    // The hidden --check-files: loads the English catalogue and looks for the
    // manual the way the program does and names the files found, so that an
    // installation can be checked from outside; status 1 when one is missing.
    Action CheckFiles();

    QStringList m_files;
    QString m_strOutput;
    QString m_strError;
    int m_nStatus = 0;
};

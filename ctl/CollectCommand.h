#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

#include <string>

#include "ctl/CollectFolder.h"
#include "ctl/CtlCommandLine.h"
#include "ctl/CtlExit.h"

class CCtlLink;
class CHeadlessUserInterface;

// "collect DIR [--clear]": the records into a new file of their own in DIR,
// made so that no record is lost: the file appears only whole and on disk,
// every outcome is logged, and the reader's buffer is cleared only after the
// read-out ended with "END", the file and the log line are on disk.
class CCollectCommand {
    Q_DECLARE_TR_FUNCTIONS(CCollectCommand)
public:
    CCollectCommand(const CCtlRequest& request, CHeadlessUserInterface& ui);
    CtlExit Run();

    // "<ID>-YYYYMMDD-HHMMSS.txt"; characters a file name should not hold
    // become "_", and a reader without an ID is "reader".
    static QString FileName(const QString& id, const QDateTime& time);
    // The reader's ID from its parameter report ("ID:01 M:0 ..."); empty if none.
    static QString IdOf(const std::string& report);
    // The record lines of a read-out: its complete lines, less the final "END".
    static int RecordCount(const std::string& bytes);

private:
    // Saves the bytes as a new file; false with the message given.
    bool Save(const std::string& bytes, QString& path);
    CtlExit Clear(CCtlLink& link);
    CtlExit Fail(CtlExit status, const char* result, const QString& message);
    bool Log(const char* result, const QString& detail = QString());

    const CCtlRequest& m_request;
    CHeadlessUserInterface& m_ui;
    const QString m_strFolder;
    CCollectFolder m_folder;
    QString m_strPort;
    QString m_strId;
    size_t m_nBytes = 0;
    int m_nRecords = 0;
};

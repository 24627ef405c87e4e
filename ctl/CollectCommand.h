#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>

#include "ctl/CollectFolder.h"
#include "ctl/CtlCommandLine.h"
#include "ctl/CtlExit.h"

class CCtlLink;
class CHeadlessUserInterface;

// "collect DIR [--clear]": the records into a new file of their own in DIR,
// made so that no record is lost: a file appears only whole and on disk,
// every outcome is logged, and the reader's buffer is cleared only after a
// read-out that ended with "END" is in a file with its log line on disk,
// and a second read-out right before the clear holds nothing that is not
// saved. Records booked meanwhile go into a file of their own.
class CCollectCommand {
    Q_DECLARE_TR_FUNCTIONS(CCollectCommand)
public:
    CCollectCommand(const CCtlRequest& request, CHeadlessUserInterface& ui);
    // One reader of a list, into the list's folder, which is open and locked.
    CCollectCommand(const CCtlRequest& request, CHeadlessUserInterface& ui, CCollectFolder& shared);
    // The link is opened here, once the folder is locked.
    CtlExit Run(CCtlLink& link);
    // For a reader of a list: its collect in the shared folder.
    CtlExit RunLocked(CCtlLink& link);
    // For a reader of a list that a signal kept from starting: logged so.
    CtlExit NotStarted();

    // Opens and locks the folder; false after saying why.
    static bool OpenFolder(CCollectFolder& folder, const QString& path);

    // "<ID>-YYYYMMDD-HHMMSS.txt", for a reader of a list "<name>-<ID>-…";
    // characters a file name should not hold become "_", and a reader
    // without an ID is "reader".
    static QString FileName(const QString& id, const QDateTime& time,
                            const QString& name = QString());
    // The reader's ID from its parameter report ("ID:01 M:0 ..."); empty if none.
    static QString IdOf(const std::string& report);
    // The record lines of a read-out: its complete lines, less the final "END".
    static int RecordCount(const std::string& bytes);

private:
    CtlExit Collect(CCtlLink& link);
    // One read-out that ends at its "END" line; false after failing the run
    // (status in `status`).
    bool ReadOut(CCtlLink& link, std::string& bytes, CtlExit& status);
    // Reads again until a read-out shows nothing new, saving what is new;
    // then clears.
    CtlExit ConfirmAndClear(CCtlLink& link, std::string saved);
    // Saves the bytes as a new file and logs it; false after failing the run.
    bool Save(const std::string& bytes);
    CtlExit Clear(CCtlLink& link);
    // The outcome of a failed request, logged under `result` unless the
    // failure has a more telling name.
    CtlExit FailRequest(CCtlLink& link, const char* result, unsigned errorId,
                        const QString& consequence);
    CtlExit Fail(CtlExit status, const char* result, const QString& message);
    bool Log(const char* result, const QString& detail = QString());
    void Summary(bool cleared) const;
    // "The buffer is not cleared" for a run with --clear; else empty.
    QString Kept() const;
    // Why a file in the folder could not be written.
    static QString FileError(const QString& name, int error);

    const CCtlRequest& m_request;
    CHeadlessUserInterface& m_ui;
    const QString m_strFolder;
    std::optional<CCollectFolder> m_ownFolder;
    CCollectFolder& m_folder;
    QString m_strPort;
    QString m_strId;
    // Of the read-out or file the next log line is about.
    size_t m_nBytes = 0;
    int m_nRecords = 0;
    QStringList m_files;  // the paths saved, in order
    size_t m_nSavedBytes = 0;
    int m_nSavedRecords = 0;
};

#pragma once

#include <QObject>
#include <QString>

class COrvaneView;
class QFile;

// The program's one document: the transcript, saved and loaded as a plain
// text file that holds exactly the bytes received. It has a name ("Unbenannt"
// until saved or opened), a path and a modified flag.
class COrvaneDoc : public QObject {
    Q_OBJECT
public:
    explicit COrvaneDoc(QObject* parent = nullptr);

    void SetView(COrvaneView* view) { m_pView = view; }
    COrvaneView* GetView() const { return m_pView; }

    void SetModifiedFlag(bool bModified = true) { m_bModified = bModified; }
    bool IsModified() const { return m_bModified; }
    // The file's name, or "Unbenannt" in the language in force.
    QString GetTitle() const;
    QString GetPathName() const { return m_strPathName; }

    // Empties the transcript and makes the document new and unmodified.
    bool OnNewDocument();
    // Loads a file into the transcript; reports a failure and keeps the old text.
    bool OnOpenDocument(const QString& path);
    // Writes the transcript to path; the old file survives a failed write.
    bool OnSaveDocument(const QString& path);
    // Makes the document untitled again ("Unbenannt"), keeping its folder for
    // the next save.
    void ForgetPathName();

    // Save (57603): to the document's path, or asks for one when it has none.
    bool DoFileSave();
    // Save as (57604) when path is empty: asks for the file name.
    bool DoSave(const QString& path);
    // Asks "Änderungen in %1 speichern?" for a modified document; false when
    // the operator cancels or the save fails.
    bool SaveModified();

    // The file type line of the save and open dialogs.
    static QString FileFilter();

signals:
    void TitleChanged();
    // A file was saved or opened under this path (the recent-file list).
    void PathUsed(const QString& path);

private:
    void SetPathName(const QString& path);
    // The framework's message, the file and why it did not open.
    void RefuseOpen(const QString& path, const QString& reason);
    static QString OpenFailureReason(const QString& path, const QFile& file);
    QWidget* DialogParent() const;
    // The name a save of an untitled document proposes: date and port, in
    // the folder last used.
    QString ProposedPath() const;

    COrvaneView* m_pView = nullptr;
    bool m_bModified = false;
    QString m_strPathName;
    QString m_strTitle;
    QString m_strLastFolder;
};

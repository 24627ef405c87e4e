#pragma once

#include <QByteArray>
#include <QPlainTextEdit>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <chrono>
#include <memory>

#include "protocol/ReaderProtocol.h"
#include "protocol/ReaderSettings.h"

class COrvaneDoc;
class QPrinter;
struct CPortSettings;

// The transcript window: a wrapped plain-text editor that shows every byte the
// reader sends, and owner of the program's only link to the reader.
class COrvaneView : public QPlainTextEdit {
    Q_OBJECT
public:
    // The most characters the transcript holds (a line break counts two).
    static constexpr qsizetype kMaxLength = 1048575;

    explicit COrvaneView(COrvaneDoc* pDoc, QWidget* parent = nullptr);
    ~COrvaneView() override;

    CReaderProtocol m_reader;  // the program's only link; lives as long as the view
    QString m_strPortName;     // empty while no link is open
    bool m_bExtendedModel = false;
    int m_nPreviewPages = 0;  // 1 or 2 pages side by side in the print preview; 0 = not chosen

    COrvaneDoc* GetDocument() const;

    bool OpenLink();
    void CloseLink();
    bool SelectInterface(bool autoPick);

    // The lost link: the device went away under an open link. The port pane
    // says so, the reader commands stay enabled, and the stored interface is
    // opened again by itself once the same device is back.
    bool IsLinkLost() const { return m_bLinkLost; }
    void TakeLinkAsLost(bool cutShort);
    // For a command: false only when the link is lost and one attempt to
    // open it again failed (the status line then says why).
    bool ReopenIfLost();
    // Why the last OpenLink failed, or which setting the port refused.
    const CLinkFailure& LastLinkFailure() const { return m_lastFailure; }
    void HookOn();           // install EchoByteToView
    void HookOff();          // m_reader.m_pfnByteHook = nullptr
    void ClearTranscript();  // empty the text and repaint at once

    // The reader's settings from the latest parameter report of this link,
    // brought up to date by every set the reader confirmed; the dialogs open
    // at them. Nothing is known before a report or after the link closed.
    const CReaderSettings& ReaderSettings() const { return m_readerSettings; }

    bool OnUpdateLinkCommand() const;      // m_reader.IsOpen(), or the link is lost
    bool OnUpdateExtendedCommand() const;  // m_bExtendedModel

    // The reader's Teach IN as this side knows it: on after a "T" the line
    // took, off after such an "X". The reader keeps it on without a link, so
    // a link closed or lost while it was on leaves it maybe on, for the port
    // it was switched on at; otherwise unknown.
    enum class TeachIn { Unknown, Off, On, MaybeOn };
    TeachIn TeachInState() const { return m_teachIn; }
    void SetTeachIn(bool on);
    // While Teach IN is on, or maybe on for the reader at the open port:
    // asks "Teach IN ausschalten?" and on Yes switches it off. When the
    // link is back and before quitting.
    void OfferTeachInOff();
    // What the status bar shows instead of the idle text, empty for none:
    // Teach IN on, why the link did not open or was lost or came back, no
    // reader answering, a read-out cut by a long pause.
    QString StatusText() const;
    // The port pane: the open port (marked while no reader answers on it),
    // "<port> getrennt" while the link is lost, else empty.
    QString PortPaneText() const;
    // Around the reads that fill a fresh transcript. After one that ended
    // without its end mark, bytes arriving soon after mean the reader paused
    // for longer than the time-out, which the status bar then says; receive
    // errors on the line during the read are said there too.
    void ReadOutStarted();
    void ReadOutEnded(bool complete);

    // The first update of the view (start-up, new document, opened file):
    // connects from the stored interface unless a link is already open.
    void OnInitialUpdate();

    // The transcript as file bytes, and replacing it from file bytes.
    QByteArray TranscriptBytes();
    void SetTranscriptBytes(const QByteArray& bytes);
    // Its length in file bytes.
    qsizetype TranscriptLength();
    // Inserts received text that is waiting for the next event-loop pass.
    void FlushReceivedText();
    // Inserts at once every piece received so far, also those still queued
    // as events, so that a read-out's end finds its whole text in place.
    void InsertAllReceived();

    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();
    void OnFilePrintSetup();
    void OnEditCommand(unsigned id);

signals:
    // The title text of the frame: the model name once a link has opened.
    void TitleTextChanged(const QString& title);
    // StatusText() has changed.
    void StatusChanged();

public slots:  // implemented in views/OrvaneViewCommands.cpp
    void OnReadRecords();
    void OnReadClock();
    void OnSetClock();
    void OnSelectInterface();
    void OnClearBuffer();
    void OnSetFormat();
    void OnSetId();
    void OnSetMode();
    void OnReadParameters();
    void OnMemoryTest();
    void OnKeyNumbers();
    void OnSetParameters();
    void OnSetTimeFormat();

protected:
    bool event(QEvent* e) override;
    bool viewportEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    enum class LinkNote {
        None,
        Failed,
        Lost,
        CutShort,
        OtherDevice,
        Restored,
        NoReader,
        ReaderPaused,
        LineErrors
    };

    void InsertReceived(const QByteArray& bytes);
    void OnLinkWatch();
    bool OpenPort(const CPortSettings& port, const QString& name);
    bool FinishOpening(const CPortSettings& port, const QString& name);
    void TryStoredPort();
    void SetLinkNote(LinkNote note);
    QString LinkNoteText() const;
    void NoteRestored();
    // The link closed or was lost: Teach IN on becomes maybe on.
    void LeaveTeachIn();
    qsizetype Room();
    QPrinter& Printer();

    QPointer<COrvaneDoc> m_pDocument;  // may go before the view
    QByteArray m_pendingText;          // received pieces not yet inserted
    bool m_bFlushPosted = false;
    bool m_bCrShown = false;  // the last insertion ended with a CR, shown as its symbol
    int m_crPosition = -1;    // caret position just after that symbol
    bool m_bInserting = false;
    bool m_bLastChoiceAutomatic = false;
    TeachIn m_teachIn = TeachIn::Unknown;
    QString m_strTeachInPort;  // the port Teach IN was last switched at
    LinkNote m_linkNote = LinkNote::None;
    QString m_strSilentPort;  // the port and device no reader answered on
    std::chrono::steady_clock::time_point m_lateBytesUntil{};
    uint32_t m_readOutErrors = 0;  // kErr* bits the line reported during the last read-out
    bool m_bLinkLost = false;
    bool m_bAwaitingPort = false;  // the stored port did not open; the watch tries it
    QString m_strAwaitedName;      // the port name that did not open
    QString m_strOpenedName;       // the port name the last open reached
    QString m_strLostPort;         // the pane's port while the link is lost
    CLinkFailure m_lastFailure;
    CReaderSettings m_readerSettings;
    QTimer m_linkWatch;  // once a second while a link is open or lost
    std::unique_ptr<QPrinter> m_pPrinter;
};

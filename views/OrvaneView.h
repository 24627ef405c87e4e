#pragma once

#include <QByteArray>
#include <QPlainTextEdit>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <chrono>
#include <memory>

#include "protocol/ReaderProtocol.h"

class COrvaneDoc;
class QPrinter;

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

    bool OnUpdateLinkCommand() const;      // m_reader.IsOpen(), or the link is lost
    bool OnUpdateExtendedCommand() const;  // m_bExtendedModel

    // The reader's Teach IN as this side knows it: on after "T", off after
    // "X", unknown once the link has closed.
    enum class TeachIn { Unknown, Off, On };
    TeachIn TeachInState() const { return m_teachIn; }
    void SetTeachIn(bool on);
    // What the status bar shows instead of the idle text, empty for none:
    // Teach IN on, why the link did not open or was lost or came back, no
    // reader answering, a read-out cut by a long pause.
    QString StatusText() const;
    // The port pane: the open port (marked while no reader answers on it),
    // "<port> getrennt" while the link is lost, else empty.
    QString PortPaneText() const;
    // Around the reads that fill a fresh transcript. After one that ended
    // without its end mark, bytes arriving soon after mean the reader paused
    // for longer than the time-out, which the status bar then says.
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
    enum class LinkNote { None, Failed, Lost, CutShort, OtherDevice, Restored, NoReader, ReaderPaused };

    void InsertReceived(const QByteArray& bytes);
    void OnLinkWatch();
    void SetLinkNote(LinkNote note);
    void NoteRestored();
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
    LinkNote m_linkNote = LinkNote::None;
    QString m_strSilentPort;  // the port and device no reader answered on
    std::chrono::steady_clock::time_point m_lateBytesUntil{};
    bool m_bLinkLost = false;
    QString m_strLostPort;  // the pane's port while the link is lost
    CLinkFailure m_lastFailure;
    QTimer m_linkWatch;  // once a second while a link is open or lost
    std::unique_ptr<QPrinter> m_pPrinter;
};

#include "views/OrvaneView.h"

#include <QApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QStringList>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "common/LinkTexts.h"
#include "common/PortSettings.h"
#include "common/ResourceIds.h"
#include "common/SettingsStore.h"
#include "common/Strings.h"
#include "link/ComTable.h"
#include "link/DebugOutput.h"
#include "link/PortBackend.h"
#include "views/BusyGuard.h"
#include "views/EchoByteToView.h"
#include "views/InterfaceChoice.h"
#include "views/MessageBox.h"
#include "views/OrvaneDoc.h"
#include "views/TranscriptText.h"

namespace {

const QString kPort = QStringLiteral("Port");
// Received text is inserted at most this often: a fast line then costs a
// layout and paint pass per few dozen lines, not per line.
constexpr int kInsertIntervalMs = 40;

// How long after a cut read-out arriving bytes count as its late rest.
constexpr std::chrono::seconds kLateBytesWindow{3};

// "COM1 (/dev/ttyS0)" for a COM port, the serial number alone for an adapter.
QString PortAndDevice(const QString& name) {
    std::string path;
    CComTable table(DeviceEntries());
    const int number = CComTable::NumberOfName(name.toStdString());
    if (number > 0 && table.Resolve(number, path)) {
        return QStringLiteral("%1 (%2)").arg(name, QString::fromStdString(path));
    }
    return name;
}
// How often a lost link looks for its device, and an open one for its loss.
constexpr int kLinkWatchMs = 1000;

// "Überlauf, Rahmenfehler" for the receive errors in `errors`.
QString LineErrorKinds(uint32_t errors) {
    QStringList kinds;
    if ((errors & (kErrOverrun | kErrRxOverflow)) != 0) {
        kinds << LoadString(Res::IDS_LINE_ERROR_OVERRUN);
    }
    if ((errors & kErrFraming) != 0) {
        kinds << LoadString(Res::IDS_LINE_ERROR_FRAMING);
    }
    if ((errors & kErrParity) != 0) {
        kinds << LoadString(Res::IDS_LINE_ERROR_PARITY);
    }
    return kinds.join(QStringLiteral(", "));
}

bool IsInputEvent(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::InputMethod:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::ContextMenu:
        case QEvent::Drop:
            return true;
        default:
            return false;
    }
}

}  // namespace

COrvaneView::COrvaneView(COrvaneDoc* pDoc, QWidget* parent)
    : QPlainTextEdit(parent), m_pDocument(pDoc) {
    setObjectName(QStringLiteral("OrvaneView"));
    // Long lines wrap at the window's edge; there is no horizontal scroll bar.
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Record columns line up, on screen and on paper.
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    if (m_pDocument) {
        m_pDocument->SetView(this);
    }
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (m_pDocument) {
            m_pDocument->SetModifiedFlag(true);
        }
    });
    // Any change but our own insertion separates a shown CR from what follows.
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int, int) {
        if (!m_bInserting) {
            m_bCrShown = false;
        }
    });
    SetOutputView(this);
    m_linkWatch.setInterval(kLinkWatchMs);
    connect(&m_linkWatch, &QTimer::timeout, this, &COrvaneView::OnLinkWatch);
}

COrvaneView::~COrvaneView() {
    ReleaseOutputView(this);
    HookOff();
    m_reader.Close();
    if (m_pDocument && m_pDocument->GetView() == this) {
        m_pDocument->SetView(nullptr);
    }
}

COrvaneDoc* COrvaneView::GetDocument() const {
    return m_pDocument;
}

bool COrvaneView::OpenLink() {
    const CPortSettings port = CPortSettings::Load();
    QString name = port.name;
    name.remove(QStringLiteral("USB: "));
    // A port still open would keep the monitor thread from starting again.
    if (m_reader.IsOpen()) {
        CloseLink();
    }
    if (!OpenPort(port, name)) {
        SetLinkNote(LinkNote::Failed);
        return false;
    }
    return FinishOpening(port, name);
}

bool COrvaneView::OpenPort(const CPortSettings& port, const QString& name) {
    if (!m_reader.Open(name.toStdString(), port.baudRate, 'N', 8, 1, 0, 9, 15000)) {
        m_strPortName.clear();
        m_lastFailure = m_reader.LastOpenFailure();
        // The watch opens it once it can: a lost link's device, or else the
        // stored port that was held or missing.
        m_bAwaitingPort = !m_bLinkLost;
        m_strAwaitedName = name;
        m_linkWatch.start();
        return false;
    }
    m_strOpenedName = name;
    return true;
}

bool COrvaneView::FinishOpening(const CPortSettings& port, const QString& name) {
    // The parameter read dispatches events while the link already counts as
    // open: no command, interface choice or close may start inside it.
    CBusyGuard busy(window());
    m_bAwaitingPort = false;
    m_reader.m_timeoutMs = port.timeoutMs;
    if (!m_reader.StartMonitoring()) {
        // An open port without its monitor thread would enable the reader
        // commands on a link that cannot work.
        m_lastFailure = m_reader.LastOpenFailure();
        m_lastFailure.kind = LinkFailureKind::Other;
        m_lastFailure.error = EAGAIN;
        m_reader.Close();
        m_strPortName.clear();
        SetLinkNote(LinkNote::Failed);
        return false;
    }
    m_strPortName = name;
    m_bLinkLost = false;
    // Open, but perhaps with a line setting the port refused: worth a word.
    m_lastFailure = m_reader.LastOpenFailure();
    m_linkWatch.start();
    HookOff();
    std::string parameters;
    const bool answered = m_reader.ReadParameters(parameters);
    if (answered) {
        m_bExtendedModel = parameters.find("V:") != std::string::npos;
    }
    m_readerSettings = answered ? CReaderSettings::FromReport(parameters) : CReaderSettings{};
    HookOn();
    // An open port proves no reader: say so rather than look connected.
    m_strSilentPort = answered ? QString() : PortAndDevice(name);
    SetLinkNote(m_lastFailure.Failed() ? LinkNote::Failed
                : answered             ? LinkNote::None
                                       : LinkNote::NoReader);
    emit TitleTextChanged(
        LoadString(m_bExtendedModel ? Res::IDS_APP_TITLE_SX : Res::IDS_APP_TITLE));
    return true;
}

void COrvaneView::CloseLink() {
    m_strPortName.clear();
    m_bLinkLost = false;
    m_bAwaitingPort = false;
    m_linkWatch.stop();
    HookOff();
    m_reader.Close();
    m_readerSettings = {};
    LeaveTeachIn();
    SetLinkNote(LinkNote::None);
}

void COrvaneView::LeaveTeachIn() {
    // Whatever the reader does now, this side can no longer tell; but a
    // reader left in Teach IN stays so.
    m_teachIn = m_teachIn == TeachIn::On || m_teachIn == TeachIn::MaybeOn ? TeachIn::MaybeOn
                                                                          : TeachIn::Unknown;
}

void COrvaneView::TakeLinkAsLost(bool cutShort) {
    if (m_bLinkLost || !m_reader.IsOpen()) {
        return;
    }
    m_bLinkLost = true;
    m_strLostPort = m_strPortName;
    m_strPortName.clear();
    LeaveTeachIn();
    HookOff();
    // The dead descriptor goes at once: while it is open, Linux keeps the
    // device's node busy and a re-plugged adapter would come back under another name.
    m_reader.Close();
    // What had arrived of an unfinished line belongs to the transcript too.
    FlushEchoPiece();
    DebugOutput("Link to " + m_strLostPort.toStdString() + " lost");
    SetLinkNote(cutShort ? LinkNote::CutShort : LinkNote::Lost);
    m_linkWatch.start();
}

bool COrvaneView::ReopenIfLost() {
    if (!m_bLinkLost) {
        return true;
    }
    // Requests are for the reader: a device that took its name gets none.
    if (m_reader.OpenedDevicePresence() == CDeviceIdentity::Match::Other) {
        SetLinkNote(LinkNote::OtherDevice);
        return false;
    }
    if (!OpenLink()) {
        return false;
    }
    DebugOutput("Link to " + m_strPortName.toStdString() + " restored");
    NoteRestored();
    OfferTeachInOff();
    return true;
}

void COrvaneView::OnLinkWatch() {
    // Only while the window is idle: never inside a command, a dialog (the
    // interface dialog included) or a message box.
    if (CBusyGuard::IsBusy() || !window()->isEnabled() ||
        QApplication::activeModalWidget() != nullptr) {
        return;
    }
    if (m_bAwaitingPort) {
        TryStoredPort();
        return;
    }
    if (!m_bLinkLost) {
        if (m_reader.IsOpen() && m_reader.IsDeviceGone()) {
            TakeLinkAsLost(false);
        }
        return;
    }
    switch (m_reader.OpenedDevicePresence()) {
        case CDeviceIdentity::Match::Same:
            ReopenIfLost();
            break;
        case CDeviceIdentity::Match::Other:
            if (m_linkNote != LinkNote::OtherDevice) {
                SetLinkNote(LinkNote::OtherDevice);
            }
            break;
        case CDeviceIdentity::Match::Absent:
            if (m_linkNote == LinkNote::OtherDevice) {
                SetLinkNote(LinkNote::Lost);
            }
            break;
    }
}

// The stored port did not open (held by another program, not plugged in):
// opened as soon as it can be, unless another device took the name of the
// one opened there before. The reason on show changes only with the facts.
void COrvaneView::TryStoredPort() {
    const CPortSettings port = CPortSettings::Load();
    QString name = port.name;
    name.remove(QStringLiteral("USB: "));
    // Only the port that was asked for: not one the interface dialog merely proposed.
    if (name.isEmpty() || name != m_strAwaitedName) {
        return;
    }
    if (name == m_strOpenedName &&
        m_reader.OpenedDevicePresence() == CDeviceIdentity::Match::Other) {
        if (m_linkNote != LinkNote::OtherDevice) {
            m_strLostPort = name;
            SetLinkNote(LinkNote::OtherDevice);
        }
        return;
    }
    const QString reason = m_linkNote == LinkNote::Failed ? StatusText() : QString();
    if (!OpenPort(port, name)) {
        if (m_linkNote != LinkNote::Failed || StatusText() != reason) {
            SetLinkNote(LinkNote::Failed);
        }
        return;
    }
    if (FinishOpening(port, name)) {
        DebugOutput("Link to " + name.toStdString() + " opened");
        OfferTeachInOff();
    }
}

// A reopened link that found no reader, or a refused setting, says that instead.
void COrvaneView::NoteRestored() {
    if (m_linkNote == LinkNote::None) {
        SetLinkNote(LinkNote::Restored);
    }
}

bool COrvaneView::SelectInterface(bool autoPick) {
    m_bLastChoiceAutomatic = false;
    if (autoPick) {
        const QString name = CSettingsStore::GetProfileString(kPort, QStringLiteral("Name"));
        if (name.left(4) == QStringLiteral("USB:")) {
            std::vector<std::string> adapters;
            m_reader.ListUsbDevices(adapters);
            if (adapters.size() == 1) {
                CSettingsStore::WriteProfileString(
                    kPort, QStringLiteral("Name"),
                    QStringLiteral("USB: ") + QString::fromStdString(adapters.front()));
                m_bLastChoiceAutomatic = true;
                return true;
            }
        }
    }
    // The choice comes up because the stored interface did not open: it says why.
    return ChooseInterface(window(), LinkTexts::Failure(m_lastFailure));
}

void COrvaneView::HookOn() {
    m_reader.m_pfnByteHook = &EchoByteToView;
    // Every command that kept the reader's answer out of the transcript ends
    // here: an answer shows that a reader is there after all.
    if (m_linkNote == LinkNote::NoReader && !m_reader.Reply().empty()) {
        SetLinkNote(LinkNote::None);
    }
    // Once a command has run on the link that came back, that news is old.
    if (m_linkNote == LinkNote::Restored) {
        SetLinkNote(LinkNote::None);
    }
}

void COrvaneView::HookOff() {
    m_reader.m_pfnByteHook = nullptr;
}

void COrvaneView::ClearTranscript() {
    // A piece still being gathered belongs to the text that goes now.
    DiscardEchoPiece();
    FlushReceivedText();
    clear();
    m_bCrShown = false;
    viewport()->repaint();
}

bool COrvaneView::OnUpdateLinkCommand() const {
    return m_reader.IsOpen() || m_bLinkLost;
}

bool COrvaneView::OnUpdateExtendedCommand() const {
    return m_bExtendedModel;
}

void COrvaneView::SetTeachIn(bool on) {
    m_teachIn = !m_reader.IsOpen() ? TeachIn::Unknown : on ? TeachIn::On : TeachIn::Off;
    m_strTeachInPort = m_strPortName;
    emit StatusChanged();
}

void COrvaneView::OfferTeachInOff() {
    const bool atThisReader = m_teachIn == TeachIn::On ||
                              (m_teachIn == TeachIn::MaybeOn && m_strPortName == m_strTeachInPort);
    if (!atThisReader || !m_reader.IsOpen() ||
        ShowMessage(Res::IDS_ASK_TEACH_IN_OFF, MsgStyle::YesNoQuestionYesDefault, this) !=
            Res::IDYES) {
        return;
    }
    bool written = false;
    {
        CBusyGuard busy(window());
        written = m_reader.WriteUnanswered("X");
    }
    if (written) {
        SetTeachIn(false);
    } else {
        ShowMessage(Res::IDS_WRITE_ERROR, MsgStyle::Ok, this);
    }
}

QString COrvaneView::StatusText() const {
    if (m_teachIn == TeachIn::On) {
        return LoadString(Res::IDS_TEACH_IN_ON);
    }
    const QString note = LinkNoteText();
    if (m_teachIn != TeachIn::MaybeOn) {
        return note;
    }
    const QString teachIn = LoadString(Res::IDS_TEACH_IN_MAYBE_ON).arg(m_strTeachInPort);
    return note.isEmpty() ? teachIn : note + QLatin1Char(' ') + teachIn;
}

QString COrvaneView::LinkNoteText() const {
    switch (m_linkNote) {
        case LinkNote::Failed:
            return LinkTexts::Failure(m_lastFailure);
        case LinkNote::Lost:
        case LinkNote::CutShort:
            return LinkTexts::Lost(m_strLostPort, m_linkNote == LinkNote::CutShort);
        case LinkNote::OtherDevice:
            return LinkTexts::OtherDevice(m_strLostPort);
        case LinkNote::Restored:
            return LinkTexts::Restored(m_strPortName);
        case LinkNote::NoReader:
            return LoadString(Res::IDS_NO_READER_ANSWERS).arg(m_strSilentPort);
        case LinkNote::ReaderPaused:
            return LoadString(Res::IDS_READER_PAUSED).arg(m_reader.m_timeoutMs.load());
        case LinkNote::LineErrors:
            return LoadString(Res::IDS_LINE_ERRORS).arg(LineErrorKinds(m_readOutErrors));
        case LinkNote::None:
            break;
    }
    return {};
}

QString COrvaneView::PortPaneText() const {
    if (m_bLinkLost) {
        return LinkTexts::PaneLost(m_strLostPort);
    }
    if (m_linkNote == LinkNote::NoReader && !m_strPortName.isEmpty()) {
        return QStringLiteral(u"\u26A0 ") + m_strPortName;
    }
    return m_strPortName;
}

void COrvaneView::ReadOutStarted() {
    m_lateBytesUntil = {};
    // Errors of earlier traffic are not this read-out's.
    m_reader.TakeLineErrors();
    if (m_linkNote == LinkNote::ReaderPaused || m_linkNote == LinkNote::LineErrors) {
        SetLinkNote(LinkNote::None);
    }
}

void COrvaneView::ReadOutEnded(bool complete) {
    if (!complete) {
        m_lateBytesUntil = std::chrono::steady_clock::now() + kLateBytesWindow;
    }
    m_readOutErrors = m_reader.TakeLineErrors();
    if (m_readOutErrors != 0) {
        SetLinkNote(LinkNote::LineErrors);
    }
}

void COrvaneView::SetLinkNote(LinkNote note) {
    m_linkNote = note;
    emit StatusChanged();
}

void COrvaneView::OnInitialUpdate() {
    // A lost link comes back by itself; a new document does not ask for another.
    if (m_reader.IsOpen() || m_bLinkLost) {
        return;
    }
    // One automatic adapter choice at most: when that adapter does not open
    // either, the operator chooses in the dialog, so the procedure ends.
    bool autoPick = true;
    while (!OpenLink()) {
        if (!SelectInterface(autoPick)) {
            return;
        }
        if (m_bLastChoiceAutomatic) {
            autoPick = false;
        }
    }
}

QByteArray COrvaneView::TranscriptBytes() {
    FlushReceivedText();
    return CTranscriptText::ToBytes(document()->toRawText());
}

void COrvaneView::SetTranscriptBytes(const QByteArray& bytes) {
    m_pendingText.clear();
    setPlainText(CTranscriptText::FromBytes(bytes));
    m_bCrShown = false;
}

qsizetype COrvaneView::TranscriptLength() {
    FlushReceivedText();
    return Room() >= 0 ? kMaxLength - Room() : kMaxLength;
}

qsizetype COrvaneView::Room() {
    // Characters plus one more for each line break, which is CR LF in the file.
    const QTextDocument* doc = document();
    const qsizetype length = (doc->characterCount() - 1) + (doc->blockCount() - 1);
    return kMaxLength - length;
}

void COrvaneView::FlushReceivedText() {
    if (m_pendingText.isEmpty()) {
        return;
    }
    const QByteArray bytes = std::move(m_pendingText);
    m_pendingText.clear();
    InsertReceived(bytes);
}

void COrvaneView::InsertAllReceived() {
    QCoreApplication::sendPostedEvents(this, CViewUpdateEvent::kType);
    FlushReceivedText();
}

void COrvaneView::InsertReceived(const QByteArray& bytes) {
    QTextCursor cursor = textCursor();
    cursor.clearSelection();
    qsizetype room = Room();
    qsizetype start = 0;
    m_bInserting = true;
    // Received text is not an edit of the operator: it leaves no undo step,
    // and an undo step recorded before it would no longer fit the text.
    document()->setUndoRedoEnabled(false);

    // An LF right after a shown CR completes the line break.
    if (bytes.startsWith('\n') && m_bCrShown && cursor.position() == m_crPosition &&
        document()->characterAt(m_crPosition - 1) == CTranscriptText::kLoneCr && room >= 1) {
        cursor.setPosition(m_crPosition - 1, QTextCursor::KeepAnchor);
        cursor.insertText(QStringLiteral("\n"));
        room -= 1;
        start = 1;
    }
    m_bCrShown = false;

    const QString text = CTranscriptText::FromBytes(QByteArrayView(bytes).sliced(start));
    const qsizetype take = CTranscriptText::FittingLength(text, room);
    if (take > 0) {
        cursor.insertText(text.left(take));
        if (take == text.size() && text.endsWith(CTranscriptText::kLoneCr)) {
            m_bCrShown = true;
            m_crPosition = cursor.position();
        }
    }
    document()->setUndoRedoEnabled(true);
    m_bInserting = false;
    setTextCursor(cursor);
    ensureCursorVisible();
}

bool COrvaneView::event(QEvent* e) {
    CViewUpdateEvent::Receive();
    if (e->type() == CViewUpdateEvent::kType) {
        if (m_linkNote == LinkNote::NoReader) {
            SetLinkNote(LinkNote::None);
        }
        if (m_lateBytesUntil != std::chrono::steady_clock::time_point{}) {
            if (std::chrono::steady_clock::now() < m_lateBytesUntil) {
                SetLinkNote(LinkNote::ReaderPaused);
            }
            m_lateBytesUntil = {};
        }
        // Bytes beyond the room left cannot be inserted; a flood at the limit
        // must not pile them up until the next insertion. One byte more is
        // kept so that a CR at the edge still meets its LF.
        const qsizetype keep = std::max<qsizetype>(0, Room() + 1 - m_pendingText.size());
        m_pendingText += static_cast<CViewUpdateEvent*>(e)->Piece().left(keep);
        // Pieces that arrive together are inserted in one go a little later,
        // so a fast reader does not cost one layout pass per piece.
        if (!m_bFlushPosted) {
            m_bFlushPosted = true;
            QTimer::singleShot(kInsertIntervalMs, this, [this] {
                m_bFlushPosted = false;
                FlushReceivedText();
            });
        }
        return true;
    }
    // What arrived before the operator's input goes where the caret was then.
    if (IsInputEvent(e->type()) || e->type() == QEvent::ShortcutOverride) {
        FlushReceivedText();
    }
    return QPlainTextEdit::event(e);
}

bool COrvaneView::viewportEvent(QEvent* e) {
    if (IsInputEvent(e->type())) {
        FlushReceivedText();
    }
    return QPlainTextEdit::viewportEvent(e);
}

void COrvaneView::keyPressEvent(QKeyEvent* e) {
    // A chord with Alt or Ctrl is a command, never typing. AltGr characters
    // come without these modifiers, or with both where AltGr is reported so.
    const Qt::KeyboardModifiers chord = e->modifiers() & (Qt::AltModifier | Qt::ControlModifier);
    if (!e->text().isEmpty() && chord != Qt::NoModifier &&
        chord != (Qt::AltModifier | Qt::ControlModifier)) {
        QKeyEvent command(e->type(), e->key(), e->modifiers(), e->nativeScanCode(),
                          e->nativeVirtualKey(), e->nativeModifiers(), QString(), e->isAutoRepeat(),
                          e->count());
        QPlainTextEdit::keyPressEvent(&command);
        e->setAccepted(command.isAccepted());
        return;
    }
    // Typing stops at the transcript's limit; keys that do not type still work.
    const QString typed = e->text();
    if (!typed.isEmpty() && !textCursor().hasSelection()) {
        const QChar ch = typed.at(0);
        const qsizetype need = ch == QLatin1Char('\r') ? 2 : 1;
        if ((ch.isPrint() || ch == QLatin1Char('\r') || ch == QLatin1Char('\t')) && Room() < need) {
            e->accept();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(e);
}

void COrvaneView::insertFromMimeData(const QMimeData* source) {
    if (source == nullptr || !source->hasText()) {
        return;
    }
    QTextCursor cursor = textCursor();
    const qsizetype room = Room() + CTranscriptText::ByteLength(cursor.selectedText());
    const QString text = source->text();
    cursor.insertText(text.left(CTranscriptText::FittingLength(text, room)));
    setTextCursor(cursor);
    ensureCursorVisible();
}

void COrvaneView::OnEditCommand(unsigned id) {
    FlushReceivedText();
    switch (id) {
        case Res::ID_EDIT_COPY:
            copy();
            break;
        case Res::ID_EDIT_CUT:
            cut();
            break;
        case Res::ID_EDIT_PASTE:
            paste();
            break;
        case Res::ID_EDIT_UNDO:
            undo();
            break;
        default:
            break;
    }
}

QPrinter& COrvaneView::Printer() {
    if (!m_pPrinter) {
        m_pPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *m_pPrinter;
}

void COrvaneView::OnFilePrint() {
    FlushReceivedText();
    QPrintDialog dialog(&Printer(), window());
    if (dialog.exec() == QDialog::Accepted) {
        print(&Printer());
    }
}

void COrvaneView::OnFilePrintDirect() {
    FlushReceivedText();
    print(&Printer());
}

void COrvaneView::OnFilePrintPreview() {
    FlushReceivedText();
    QPrintPreviewDialog dialog(&Printer(), window());
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { print(printer); });
    auto* preview = dialog.findChild<QPrintPreviewWidget*>();
    if (preview != nullptr && m_nPreviewPages == 2) {
        preview->setViewMode(QPrintPreviewWidget::FacingPagesView);
    }
    dialog.exec();
    if (preview != nullptr) {
        m_nPreviewPages = preview->viewMode() == QPrintPreviewWidget::FacingPagesView ? 2 : 1;
    }
}

void COrvaneView::OnFilePrintSetup() {
    QPageSetupDialog dialog(&Printer(), window());
    dialog.exec();
}

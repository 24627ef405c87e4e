// The operator's reader commands. Each asks for what it needs, runs one
// reader operation and reports the outcome. The display hook decides which
// replies reach the transcript; the busy guard keeps a second command from
// starting while the reply wait dispatches events.
#include <QDialog>

#include <optional>
#include <string>

#include "common/ResourceIds.h"
#include "views/BusyGuard.h"
#include "views/ClearBufferDlg.h"
#include "views/ClockDisplayDlg.h"
#include "views/ClockSetDlg.h"
#include "views/Cp1252.h"
#include "views/IdDlg.h"
#include "views/KeyNumbersDlg.h"
#include "views/MemoryTestDlg.h"
#include "views/MessageBox.h"
#include "views/ModeDlg.h"
#include "views/NumberFormatDlg.h"
#include "views/OrvaneDoc.h"
#include "views/OrvaneView.h"
#include "views/ParametersDlg.h"
#include "views/TimeFormatDlg.h"

namespace {

// A message box while the busy cursor is up shows the normal cursor.
int Report(unsigned stringId, MsgStyle style, QWidget* parent) {
    const CBusyGuard::CNormalCursor normal;
    return ShowMessage(stringId, style, parent);
}

bool Confirmed(unsigned questionId, QWidget* parent) {
    return ShowMessage(questionId, MsgStyle::YesNoQuestion, parent) == Res::IDYES;
}

// The reads that fill a fresh transcript: everything the reader sends shows
// as it arrives; a failure keeps the partial text. True when the reader
// confirmed; `text` is its reply.
bool ReadIntoTranscript(COrvaneView& view, bool (CReaderProtocol::*read)(std::string&),
                        unsigned errorId, std::string& text) {
    if (!view.OnUpdateLinkCommand() || !view.ReopenIfLost()) {
        return false;
    }
    // The transcript is about to go: unsaved work is saved or dropped knowingly
    // (Cancel sends nothing).
    COrvaneDoc* doc = view.GetDocument();
    if (view.TranscriptLength() > 0 && !doc->SaveModified()) {
        return false;
    }
    CBusyGuard busy(view.window());
    view.ClearTranscript();
    // The new text is not that of the file it replaces: Save must not overwrite it.
    doc->ForgetPathName();
    view.ReadOutStarted();
    view.HookOn();
    const bool ok = (view.m_reader.*read)(text);
    if (!ok && view.m_reader.IsDeviceGone()) {
        view.TakeLinkAsLost(true);
    } else {
        view.ReadOutEnded(ok);
    }
    // Text inserted after the mark would set it again.
    view.InsertAllReceived();
    // Whatever arrived, also of a read-out cut short or failed, is the only
    // copy of those records: New, Open, the next read-out and closing ask first.
    view.GetDocument()->SetModifiedFlag(ok || view.TranscriptLength() > 0);
    if (!ok) {
        Report(errorId, MsgStyle::OkExclamation, &view);
    }
    return ok;
}

// The index a radio dialog opens at: the reader's where it is one of the
// dialog's `count` choices, else the first.
int KnownIndex(const std::optional<int>& index, int count) {
    return index && *index >= 0 && *index < count ? *index : 0;
}

// The second half of the commands that ask for a value in a dialog: sent
// with the transcript hook off, reported, and the hook put back.
// True when the reader confirmed the value.
bool SendAndReport(COrvaneView& view, bool (CReaderProtocol::*send)(const std::string&),
                   const std::string& value, unsigned okId, unsigned errorId) {
    view.HookOff();
    CBusyGuard busy(view.window());
    const bool ok = (view.m_reader.*send)(value);
    Report(ok ? okId : errorId, MsgStyle::Ok, &view);
    view.HookOn();
    return ok;
}

}  // namespace

void COrvaneView::OnReadRecords() {
    std::string text;  // not used: the transcript shows the same bytes
    ReadIntoTranscript(*this, &CReaderProtocol::ReadRecords, Res::IDS_READ_ERROR, text);
}

void COrvaneView::OnReadParameters() {
    std::string report;
    if (ReadIntoTranscript(*this, &CReaderProtocol::ReadParameters, Res::IDS_PARAMETERS_READ_ERROR,
                           report)) {
        m_readerSettings = CReaderSettings::FromReport(report);
    }
}

void COrvaneView::OnReadClock() {
    if (!OnUpdateLinkCommand() || !ReopenIfLost()) {
        return;
    }
    CBusyGuard busy(window());
    HookOff();
    std::string clock;
    if (m_reader.ReadClock(clock)) {
        // The main window stays disabled; the dialog keeps reading the clock.
        CClockDisplayDlg dialog(&m_reader, this);
        dialog.m_strClock = clock;
        const CBusyGuard::CNormalCursor normal;
        dialog.exec();
    } else {
        Report(Res::IDS_CLOCK_READ_ERROR, MsgStyle::OkExclamation, this);
    }
    HookOn();
}

void COrvaneView::OnSetClock() {
    if (!OnUpdateLinkCommand() || !ReopenIfLost()) {
        return;
    }
    // Off before the dialog, whatever it ends with.
    HookOff();
    CClockSetDlg dialog(this);
    if (dialog.exec() == QDialog::Accepted) {
        SendAndReport(*this, &CReaderProtocol::SetClock, dialog.m_strResult.toStdString(),
                      Res::IDS_CLOCK_SET_OK, Res::IDS_CLOCK_SET_ERROR);
    } else {
        HookOn();
    }
}

void COrvaneView::OnSetFormat() {
    if (!OnUpdateLinkCommand() || !ReopenIfLost()) {
        return;
    }
    CNumberFormatDlg dialog(this);
    dialog.m_nIndex = KnownIndex(m_readerSettings.numberFormat, 2);
    if (dialog.exec() == QDialog::Accepted &&
        SendAndReport(*this, &CReaderProtocol::SetNumberFormat, dialog.m_strResult.toStdString(),
                      Res::IDS_FORMAT_OK, Res::IDS_FORMAT_ERROR)) {
        m_readerSettings.numberFormat = dialog.m_nIndex;
    }
}

void COrvaneView::OnSetTimeFormat() {
    if (!OnUpdateLinkCommand() || !ReopenIfLost()) {
        return;
    }
    CTimeFormatDlg dialog(this);
    dialog.m_nIndex = KnownIndex(m_readerSettings.timeFormat, 2);
    if (dialog.exec() == QDialog::Accepted &&
        SendAndReport(*this, &CReaderProtocol::SetTimeFormat, dialog.m_strResult.toStdString(),
                      Res::IDS_FORMAT_OK, Res::IDS_FORMAT_ERROR)) {
        m_readerSettings.timeFormat = dialog.m_nIndex;
    }
}

void COrvaneView::OnSetId() {
    if (!OnUpdateLinkCommand() || !ReopenIfLost()) {
        return;
    }
    CIdDlg dialog(this);
    if (m_readerSettings.id) {
        dialog.m_strId = QString::fromStdString(*m_readerSettings.id);
    }
    if (dialog.exec() == QDialog::Accepted &&
        SendAndReport(*this, &CReaderProtocol::SetId, CCp1252::Encode(dialog.m_strId).toStdString(),
                      Res::IDS_ID_OK, Res::IDS_ID_ERROR)) {
        m_readerSettings.id = CCp1252::Encode(dialog.m_strId).toStdString();
    }
}

void COrvaneView::OnSetMode() {
    if (!OnUpdateLinkCommand() || !ReopenIfLost()) {
        return;
    }
    CModeDlg dialog(m_bExtendedModel ? Res::IDD_MODE_EXTENDED : Res::IDD_MODE_BASIC, this);
    dialog.m_nIndex = KnownIndex(m_readerSettings.mode, m_bExtendedModel ? 4 : 2);
    if (dialog.exec() == QDialog::Accepted &&
        SendAndReport(*this, &CReaderProtocol::SetMode, dialog.m_strResult.toStdString(),
                      Res::IDS_MODE_OK, Res::IDS_MODE_ERROR)) {
        m_readerSettings.mode = dialog.m_nIndex;
    }
}

void COrvaneView::OnClearBuffer() {
    if (!OnUpdateLinkCommand() || !ReopenIfLost() || !Confirmed(Res::IDS_ASK_CLEAR_BUFFER, this)) {
        return;
    }
    // Once the reader's records are gone, an unsaved read-out is their only
    // copy: it is saved or dropped knowingly first (Cancel sends nothing).
    if (TranscriptLength() > 0 && !GetDocument()->SaveModified()) {
        return;
    }
    CClearBufferDlg dialog(&m_reader, this);
    HookOff();
    if (dialog.exec() != QDialog::Accepted) {
        ShowMessage(Res::IDS_CLEAR_BUFFER_ERROR, MsgStyle::Ok, this);
    }
    HookOn();
}

void COrvaneView::OnMemoryTest() {
    if (!OnUpdateLinkCommand() || !ReopenIfLost() || !Confirmed(Res::IDS_ASK_MEMORY_TEST, this)) {
        return;
    }
    CMemoryTestDlg dialog(&m_reader, this);
    HookOff();
    const bool ok = dialog.exec() == QDialog::Accepted;
    ShowMessage(ok ? Res::IDS_MEMORY_TEST_OK : Res::IDS_MEMORY_TEST_ERROR, MsgStyle::Ok, this);
    HookOn();
}

void COrvaneView::OnSetParameters() {
    if (!m_bExtendedModel || !ReopenIfLost()) {
        return;
    }
    CParametersDlg dialog(&m_reader, this);
    dialog.m_nHoldTime = m_readerSettings.hold.value_or(0);
    dialog.m_nOpeningTime = m_readerSettings.opening.value_or(0);
    dialog.m_nDelayTime = m_readerSettings.delay.value_or(0);
    connect(&dialog, &CParametersDlg::TimingConfirmed, this,
            [this](char letter, int seconds) { m_readerSettings.SetTiming(letter, seconds); });
    connect(&dialog, &CParametersDlg::ResetConfirmed, this,
            [this] { m_readerSettings.ApplyReset(); });
    HookOff();
    dialog.exec();
    HookOn();
}

void COrvaneView::OnKeyNumbers() {
    if (!m_bExtendedModel || !ReopenIfLost()) {
        return;
    }
    // The hook stays on: key lists and Teach IN traffic appear in the transcript.
    CKeyNumbersDlg dialog(&m_reader, this);
    dialog.m_bTeachIn = m_teachIn == TeachIn::On;
    connect(&dialog, &CKeyNumbersDlg::TeachInChanged, this, &COrvaneView::SetTeachIn);
    dialog.exec();
}

void COrvaneView::OnSelectInterface() {
    CloseLink();
    while (SelectInterface(false)) {
        if (OpenLink()) {
            OfferTeachInOff();
            break;
        }
    }
}

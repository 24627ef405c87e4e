#include "views/KeyNumbersDlg.h"

#include <QGridLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>

#include <string>

#include "common/ResourceIds.h"
#include "common/Strings.h"
#include "protocol/KeyList.h"
#include "protocol/ReaderProtocol.h"
#include "views/BusyGuard.h"
#include "views/Cp1252.h"
#include "views/DialogControls.h"
#include "views/MessageBox.h"

namespace {
constexpr int kReadKeys = 1015;
constexpr int kTeachIn = 1016;
constexpr int kKeyEdit = 1017;
constexpr int kWriteKeys = 1019;

// Reader lines end in CR LF, the edit's in LF.
QString ToEditLines(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString ToReaderLines(QString text) {
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}
}  // namespace

CKeyNumbersDlg::CKeyNumbersDlg(CReaderProtocol* reader, QWidget* parent)
    : QDialog(parent), m_pReader(reader) {
    setWindowTitle(tr("Schlüssel verwalten"));
    QPushButton* close = MakeButton(this, Res::IDOK, tr("Schliessen"));
    QPushButton* read = MakeButton(this, kReadKeys, tr("Schlüssel\nlesen"));
    QPushButton* write = MakeButton(this, kWriteKeys, tr("Schlüssel\nschreiben"));
    m_pTeachIn = MakeButton(this, kTeachIn, tr("Teach IN"));
    m_pTeachIn->setCheckable(true);
    m_pEdit = new QPlainTextEdit(this);
    m_pEdit->setObjectName(ControlName(kKeyEdit));
    m_pEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pEdit->setTabChangesFocus(true);
    m_pEdit->setAccessibleName(tr("Schlüsselnummern"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_pEdit, 0, 0, 5, 1);
    layout->addWidget(read, 0, 1);
    layout->addWidget(write, 1, 1);
    layout->addWidget(m_pTeachIn, 2, 1);
    layout->setRowStretch(3, 1);
    layout->addWidget(close, 4, 1);
    // As the controls are seen: the list, then the buttons beside it from the top.
    setTabOrder(m_pEdit, read);
    setTabOrder(read, write);
    setTabOrder(write, m_pTeachIn);
    setTabOrder(m_pTeachIn, close);
    close->setFocus();

    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(read, &QPushButton::clicked, this, &CKeyNumbersDlg::OnReadKeys);
    connect(write, &QPushButton::clicked, this, &CKeyNumbersDlg::OnWriteKeys);
    // clicked, not toggled: only the operator's presses send anything.
    connect(m_pTeachIn, &QPushButton::clicked, this, &CKeyNumbersDlg::OnTeachIn);
}

void CKeyNumbersDlg::showEvent(QShowEvent* event) {
    m_pEdit->setPlainText(ToEditLines(m_strKeyList));
    m_pTeachIn->setChecked(m_bTeachIn);
    QDialog::showEvent(event);
}

void CKeyNumbersDlg::OnReadKeys() {
    std::string keys;
    {
        // No second request from this dialog while the reply wait dispatches events.
        CBusyGuard busy(this);
        // The verdict is not shown: a broken list is still worth seeing.
        m_pReader->ReadKeys(keys);
    }
    while (!keys.empty() && (keys.back() == '\r' || keys.back() == '\n')) {
        keys.pop_back();
    }
    m_strKeyList = CCp1252::Decode(QByteArray::fromStdString(keys));
    m_pEdit->setPlainText(ToEditLines(m_strKeyList));
}

void CKeyNumbersDlg::OnWriteKeys() {
    ReadEdit();
    // A line that is no key number would reach the reader as one, or end the
    // request early ("X"): nothing is sent, and the line is named and marked.
    const CKeyListCheck check = CheckKeyList(CCp1252::Encode(m_strKeyList).toStdString());
    if (!check.ok) {
        const QString line = CCp1252::Decode(QByteArray::fromStdString(check.text));
        ShowMessage(LoadString(Res::IDS_NOT_A_KEY).arg(check.line).arg(line),
                    MsgStyle::OkExclamation, this);
        QTextCursor cursor(
            m_pEdit->document()->findBlockByNumber(static_cast<int>(check.line) - 1));
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        m_pEdit->setTextCursor(cursor);
        m_pEdit->setFocus();
        return;
    }
    // The reader takes an empty list as the order to erase every key.
    if (m_strKeyList.trimmed().isEmpty() &&
        ShowMessage(Res::IDS_ASK_ERASE_ALL_KEYS, MsgStyle::YesNoQuestion, this) != Res::IDYES) {
        return;
    }
    bool ok = false;
    {
        CBusyGuard busy(this);
        ok = m_pReader->WriteKeys(CCp1252::Encode(m_strKeyList).toStdString());
    }
    ShowMessage(ok ? Res::IDS_WRITE_OK : Res::IDS_WRITE_ERROR, MsgStyle::Ok, this);
}

void CKeyNumbersDlg::OnTeachIn(bool checked) {
    // A bare write: the reader's answers reach the transcript through the view's hook.
    bool written = false;
    {
        CBusyGuard busy(this);
        written = m_pReader->WriteUnanswered(checked ? "T" : "X");
    }
    if (!written) {
        // The reader did not get it: the button and the state stay as they were.
        m_pTeachIn->setChecked(m_bTeachIn);
        ShowMessage(Res::IDS_WRITE_ERROR, MsgStyle::Ok, this);
        return;
    }
    m_bTeachIn = checked;
    emit TeachInChanged(checked);
}

void CKeyNumbersDlg::ReadEdit() {
    m_strKeyList = ToReaderLines(m_pEdit->toPlainText());
}

void CKeyNumbersDlg::accept() {
    ReadEdit();
    QDialog::accept();
}

void CKeyNumbersDlg::done(int result) {
    // A reader left in Teach IN enrols every badge presented at the door;
    // leaving it so is allowed, but not unnoticed.
    if (m_bTeachIn && ShowMessage(Res::IDS_ASK_TEACH_IN_OFF, MsgStyle::YesNoQuestionYesDefault,
                                  this) == Res::IDYES) {
        m_pTeachIn->setChecked(false);
        OnTeachIn(false);
    }
    QDialog::done(result);
}

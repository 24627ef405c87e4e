#include "views/ParametersDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

#include "common/ResourceIds.h"
#include "common/Strings.h"
#include "protocol/ReaderProtocol.h"
#include "protocol/ReaderSettings.h"
#include "views/BusyGuard.h"
#include "views/DialogControls.h"
#include "views/MessageBox.h"

namespace {
constexpr int kDelayEdit = 1011;
constexpr int kOpeningEdit = 1012;
constexpr int kHoldEdit = 1013;
constexpr int kDelaySet = 1014;
constexpr int kOpeningSet = 1015;
constexpr int kHoldSet = 1016;
constexpr int kReset = 1017;
constexpr int kMinSeconds = 0;
constexpr int kMaxSeconds = 999;
}  // namespace

CParametersDlg::CParametersDlg(CReaderProtocol* reader, QWidget* parent)
    : QDialog(parent), m_pReader(reader) {
    setWindowTitle(tr("Parameter setzen"));
    auto* grid = new QGridLayout;
    QWidget* previous = nullptr;
    auto addRow = [&](int row, const QString& text, int editId, int buttonId) {
        QLineEdit* edit = MakeDigitEdit(this, editId);
        edit->setAlignment(Qt::AlignRight);
        QPushButton* button = MakeButton(this, buttonId, tr("Setzen"));
        auto* label = new QLabel(text, this);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(new QLabel(tr("Sek."), this), row, 2);
        grid->addWidget(button, row, 3);
        if (previous != nullptr) {
            setTabOrder(previous, edit);
        }
        setTabOrder(edit, button);
        previous = button;
        return std::pair{edit, button};
    };
    auto [delayEdit, delaySet] = addRow(0, tr("Verzögerungszeit:"), kDelayEdit, kDelaySet);
    auto [openingEdit, openingSet] = addRow(1, tr("Öffnungszeit:"), kOpeningEdit, kOpeningSet);
    auto [holdEdit, holdSet] = addRow(2, tr("Haltezeit:"), kHoldEdit, kHoldSet);
    m_pDelayEdit = delayEdit;
    m_pOpeningEdit = openingEdit;
    m_pHoldEdit = holdEdit;

    QPushButton* reset = MakeButton(this, kReset, tr("Reset"));
    grid->addWidget(new QLabel(tr("Parameter und Schlüssel zurücksetzen:"), this), 3, 0, 1, 3);
    grid->addWidget(reset, 3, 3);
    QPushButton* close = MakeButton(this, Res::IDCANCEL, tr("Schliessen"));
    // No default button: Return in an edit must not send some timing value.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
    }
    setTabOrder(previous, reset);
    setTabOrder(reset, close);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(bottom);

    connect(holdSet, &QPushButton::clicked, this,
            [this] { SendValue('H', &CParametersDlg::m_nHoldTime); });
    connect(openingSet, &QPushButton::clicked, this,
            [this] { SendValue('Z', &CParametersDlg::m_nOpeningTime); });
    connect(delaySet, &QPushButton::clicked, this,
            [this] { SendValue('V', &CParametersDlg::m_nDelayTime); });
    connect(reset, &QPushButton::clicked, this, &CParametersDlg::OnReset);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void CParametersDlg::showEvent(QShowEvent* event) {
    ShowValues();
    QDialog::showEvent(event);
}

void CParametersDlg::ShowValues() {
    m_pHoldEdit->setText(QString::number(m_nHoldTime));
    m_pOpeningEdit->setText(QString::number(m_nOpeningTime));
    m_pDelayEdit->setText(QString::number(m_nDelayTime));
}

void CParametersDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Return presses only the button that has the focus, as Space does.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

bool CParametersDlg::ReadEdits() {
    return ReadValue(m_pHoldEdit, m_nHoldTime) && ReadValue(m_pOpeningEdit, m_nOpeningTime) &&
           ReadValue(m_pDelayEdit, m_nDelayTime);
}

bool CParametersDlg::ReadValue(QLineEdit* edit, int& value) {
    static const QRegularExpression wholeNumber(QStringLiteral("^[+-]?[0-9]+$"));
    const QString text = edit->text().trimmed();
    bool parsed = false;
    const qlonglong number = text.toLongLong(&parsed);
    QString refusal;
    MsgStyle style = MsgStyle::Ok;
    if (!wholeNumber.match(text).hasMatch()) {
        refusal = LoadString(Res::IDP_PARSE_INT);
    } else if (!parsed || number < kMinSeconds || number > kMaxSeconds) {
        // Too many digits for any integer is out of range as well.
        refusal = LoadString(Res::IDP_PARSE_INT_RANGE).arg(kMinSeconds).arg(kMaxSeconds);
        style = MsgStyle::OkExclamation;
    } else {
        value = static_cast<int>(number);
        return true;
    }
    ShowMessage(refusal, style, this);
    edit->setFocus();
    edit->selectAll();
    return false;
}

void CParametersDlg::SendValue(char letter, int CParametersDlg::*value) {
    if (!ReadEdits()) {
        return;
    }
    const std::string digits = QString::asprintf("%03d", this->*value).toStdString();
    bool ok = false;
    {
        // No second request from this dialog while the reply wait dispatches events.
        CBusyGuard busy(this);
        ok = m_pReader->SetTimingValue(std::string(1, letter), digits);
    }
    if (ok) {
        emit TimingConfirmed(letter, this->*value);
    }
    ShowMessage(ok ? Res::IDS_WRITE_OK : Res::IDS_WRITE_ERROR, MsgStyle::Ok, this);
}

void CParametersDlg::OnReset() {
    // The reset also erases every key in the reader.
    if (ShowMessage(Res::IDS_ASK_RESET, MsgStyle::YesNoQuestion, this) != Res::IDYES) {
        return;
    }
    bool ok = false;
    {
        CBusyGuard busy(this);
        ok = m_pReader->ResetParameters();
    }
    if (ok) {
        m_nHoldTime = CReaderSettings::kFactoryHold;
        m_nOpeningTime = CReaderSettings::kFactoryOpening;
        m_nDelayTime = CReaderSettings::kFactoryDelay;
        ShowValues();
        emit ResetConfirmed();
    }
    ShowMessage(ok ? Res::IDS_WRITE_OK : Res::IDS_WRITE_ERROR, MsgStyle::Ok, this);
}

#include "shell/MainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

#include "common/Language.h"
#include "common/ResourceIds.h"
#include "common/SettingsStore.h"
#include "common/Strings.h"
#include "resources/FrameResources.h"
#include "shell/PlainToolTip.h"
#include "views/BusyGuard.h"
#include "views/MessageBox.h"
#include "views/OrvaneDoc.h"
#include "views/OrvaneView.h"

namespace {

// The message pane's text starts 6 pixels in and ends 4 before the port pane
// (as the status bar draws it), with room for a frame.
constexpr int kStatusMargins = 14;

// Commands that talk to the reader and need the open link.
bool IsLinkCommand(unsigned id) {
    switch (id) {
        case Res::ID_READ_RECORDS:
        case Res::ID_READ_CLOCK:
        case Res::ID_SET_CLOCK:
        case Res::ID_CLEAR_BUFFER:
        case Res::ID_SET_FORMAT:
        case Res::ID_SET_ID:
        case Res::ID_SET_MODE:
        case Res::ID_READ_PARAMETERS:
        case Res::ID_MEMORY_TEST:
        case Res::ID_SET_TIME_FORMAT:
            return true;
        default:
            return false;
    }
}

// The status-line prompt is the string's text before the line break, the tool tip the text after.
QString PromptPart(const QString& text) {
    return text.section(QLatin1Char('\n'), 0, 0);
}

QString ToolTipPart(const QString& text) {
    return text.section(QLatin1Char('\n'), 1).trimmed();
}

// Dates in the interface's language: the system's own formats when they are
// of that language, else the language's usual ones (German: 08.12.26; English:
// the unambiguous 8 Dec 2026).
QLocale InterfaceLocale(bool english) {
    const QLocale system = QLocale::system();
    if (english) {
        return system.language() == QLocale::English ? system : QLocale::c();
    }
    return system.language() == QLocale::German ? system
                                                : QLocale(QLocale::German, QLocale::Germany);
}

// "\tL" for a command with a single-letter accelerator, shown in the menu's
// key column after the unchanged text; empty for the others.
QString LetterKey(unsigned id) {
    for (const Res::Accelerator& accelerator : Res::MainAccelerators()) {
        if (accelerator.id == id && accelerator.key[0].keyboardModifiers() == Qt::NoModifier) {
            return QLatin1Char('\t') + accelerator.key.toString(QKeySequence::NativeText);
        }
    }
    return {};
}

// The commands the view handles: the reader commands and printing.
using ViewHandler = void (COrvaneView::*)();
const std::map<unsigned, ViewHandler>& ViewCommands() {
    static const std::map<unsigned, ViewHandler> handlers = {
        {Res::ID_READ_RECORDS, &COrvaneView::OnReadRecords},
        {Res::ID_READ_CLOCK, &COrvaneView::OnReadClock},
        {Res::ID_SET_CLOCK, &COrvaneView::OnSetClock},
        {Res::ID_CLEAR_BUFFER, &COrvaneView::OnClearBuffer},
        {Res::ID_SET_ID, &COrvaneView::OnSetId},
        {Res::ID_SET_MODE, &COrvaneView::OnSetMode},
        {Res::ID_SET_FORMAT, &COrvaneView::OnSetFormat},
        {Res::ID_SET_TIME_FORMAT, &COrvaneView::OnSetTimeFormat},
        {Res::ID_SET_PARAMETERS, &COrvaneView::OnSetParameters},
        {Res::ID_READ_PARAMETERS, &COrvaneView::OnReadParameters},
        {Res::ID_KEY_NUMBERS, &COrvaneView::OnKeyNumbers},
        {Res::ID_MEMORY_TEST, &COrvaneView::OnMemoryTest},
        {Res::ID_SELECT_INTERFACE, &COrvaneView::OnSelectInterface},
        {Res::ID_FILE_PRINT, &COrvaneView::OnFilePrint},
        {Res::ID_FILE_PRINT_DIRECT, &COrvaneView::OnFilePrintDirect},
        {Res::ID_FILE_PRINT_PREVIEW, &COrvaneView::OnFilePrintPreview},
        {Res::ID_FILE_PRINT_SETUP, &COrvaneView::OnFilePrintSetup},
    };
    return handlers;
}

}  // namespace

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent), m_strTitle(LoadString(Res::IDS_APP_TITLE)) {
    Q_INIT_RESOURCE(toolbar);
    setObjectName(QStringLiteral("MainFrame"));
    // Not resizable by its edge (see resizeEvent), but it can be maximised and minimised.
    setMinimumSize(kWidth, kHeight);
    resize(kWidth, kHeight);
    setWindowIcon(QIcon(Res::ApplicationIcon()));
    m_updateTimer.setInterval(150);
    connect(&m_updateTimer, &QTimer::timeout, this, &CMainFrame::UpdateCommandUI);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::SetView(COrvaneView* view) {
    m_pView = view;
    setCentralWidget(view);
    NameBars();
    view->installEventFilter(this);
    view->setFocus();
    connect(view, &COrvaneView::TitleTextChanged, this, &CMainFrame::SetTitleText);
    connect(view, &COrvaneView::StatusChanged, this, [this] {
        ShowIdleMessage();
        UpdateCommandUI();
    });
    if (COrvaneDoc* doc = view->GetDocument()) {
        connect(doc, &COrvaneDoc::TitleChanged, this, &CMainFrame::OnUpdateFrameTitle);
    }
    OnUpdateFrameTitle();
}

COrvaneDoc* CMainFrame::GetActiveDocument() const {
    return m_pView != nullptr ? m_pView->GetDocument() : nullptr;
}

bool CMainFrame::OnCreate() {
    if (!BuildToolBar() || !BuildStatusBar()) {
        return false;
    }
    BuildAccelerators();
    BuildMenu();
    NameBars();
    QLocale::setDefault(InterfaceLocale(false));
    m_updateTimer.start();
    if (CSettingsStore::GetProfileInt(QStringLiteral("Settings"), QStringLiteral("Sprache"), 0) ==
        1) {
        OnLanguageEnglish();
    }
    UpdateCommandUI();
    return true;
}

bool CMainFrame::BuildToolBar() {
    m_wndToolBar = new QToolBar(tr("Symbolleiste"), this);
    m_wndToolBar->setObjectName(QStringLiteral("ToolBar128"));
    m_wndToolBar->setIconSize(QSize(40, 38));
    m_wndToolBar->setMovable(true);
    m_wndToolBar->setFloatable(true);
    m_wndToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (unsigned id : Res::MainToolBar()) {
        if (id == 0) {
            m_wndToolBar->addSeparator();
            continue;
        }
        const QIcon icon(Res::ToolBarIcon(id));
        if (icon.isNull()) {
            return false;
        }
        QAction* action = m_wndToolBar->addAction(icon, QString());
        action->setObjectName(QStringLiteral("ToolBar%1").arg(id));
        ApplyPrompts(action, id);
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        m_toolActions[id] = action;
    }
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);
    return true;
}

bool CMainFrame::BuildStatusBar() {
    m_pPortPane = new QLabel(this);
    m_pPortPane->setObjectName(QStringLiteral("ID_INDICATOR_PORT"));
    m_pPortPane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_pPortPane->setMinimumWidth(
        m_pPortPane->fontMetrics().horizontalAdvance(LoadString(Res::IDS_PORT_PANE_SIZE)) + 8);
    m_pPortPane->setTextFormat(Qt::PlainText);
    statusBar()->addPermanentWidget(m_pPortPane);
    statusBar()->installEventFilter(this);
    ShowIdleMessage();
    return true;
}

void CMainFrame::BuildAccelerators() {
    for (const Res::Accelerator& accelerator : Res::MainAccelerators()) {
        auto* action = new QAction(this);
        action->setShortcut(accelerator.key);
        action->setShortcutContext(Qt::WindowShortcut);
        const unsigned id = accelerator.id;
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        addAction(action);
    }
}

void CMainFrame::BuildMenu() {
    // A fresh menu: the update handler sets the check marks.
    auto* bar = new QMenuBar(this);
    m_menuActions.clear();
    for (const Res::MenuPopup& popup : Res::MainMenu()) {
        QMenu* menu = bar->addMenu(QCoreApplication::translate("Menu", popup.title));
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
        for (const Res::MenuItem& item : popup.items) {
            if (item.id == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(QCoreApplication::translate("Menu", item.text) +
                                              LetterKey(item.id));
            action->setObjectName(QStringLiteral("Menu%1").arg(item.id));
            action->setStatusTip(PromptPart(LoadString(item.id)));
            if (item.id == Res::ID_LANGUAGE_GERMAN || item.id == Res::ID_LANGUAGE_ENGLISH) {
                action->setCheckable(true);
            }
            const unsigned id = item.id;
            connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
            m_menuActions[id] = action;
        }
    }
    setMenuBar(bar);  // the menu shown before is destroyed
}

void CMainFrame::ApplyPrompts(QAction* action, unsigned id) {
    const QString text = LoadString(id);
    action->setStatusTip(PromptPart(text));
    action->setToolTip(ToolTipPart(text));
    // The button shows only its picture; its text is the name a screen reader says.
    action->setText(ToolTipPart(text));
}

// What the link has to say (why it did not open, that it was lost) stays
// in the status line in place of "Bereit" until there is nothing to say.
void CMainFrame::ShowIdleMessage() {
    // A state the operator must not miss (Teach IN on, no reader) replaces "Bereit".
    const QString state = m_pView != nullptr ? m_pView->StatusText() : QString();
    ShowStatus(state.isEmpty() ? LoadString(Res::IDS_IDLE_MESSAGE) : state);
}

// A text longer than the message pane loses its middle, not its end: the
// reason's subject stays at the start and the remedy at the end. The whole
// text is the status bar's tool tip.
void CMainFrame::ShowStatus(const QString& text) {
    m_strStatus = text;
    QStatusBar* bar = statusBar();
    // Before the bar is laid out its width says nothing; it is fitted once it is shown.
    const QString shown = bar->isVisible()
                              ? bar->fontMetrics().elidedText(text, Qt::ElideMiddle, StatusWidth())
                              : text;
    bar->showMessage(shown);
    bar->setToolTip(PlainToolTip(text));
}

// The message pane's width: the status bar's, less its margins and the port pane.
int CMainFrame::StatusWidth() const {
    const QStatusBar* bar = statusBar();
    const int right = m_pPortPane != nullptr && m_pPortPane->isVisible()
                          ? m_pPortPane->x()
                          : bar->width() - (m_pPortPane != nullptr ? m_pPortPane->width() : 0);
    return std::max(0, right - kStatusMargins);
}

// The names a screen reader says for the transcript and the bars, including
// the buttons that show what a bar has no room for.
void CMainFrame::NameBars() {
    if (m_pView != nullptr) {
        m_pView->setAccessibleName(tr("Protokoll"));
    }
    if (m_wndToolBar == nullptr) {
        return;
    }
    m_wndToolBar->setWindowTitle(tr("Symbolleiste"));
    for (QWidget* bar : {static_cast<QWidget*>(m_wndToolBar), static_cast<QWidget*>(menuBar())}) {
        for (auto* more : bar->findChildren<QToolButton*>(
                 QRegularExpression(QStringLiteral("^qt_.*_ext_button$")))) {
            more->setAccessibleName(tr("Weitere Befehle"));
        }
    }
}

void CMainFrame::SetTitleText(const QString& title) {
    m_strTitle = title;
    OnUpdateFrameTitle();
}

void CMainFrame::OnUpdateFrameTitle() {
    const COrvaneDoc* doc = GetActiveDocument();
    setWindowTitle(doc != nullptr ? doc->GetTitle() + QStringLiteral(" - ") + m_strTitle
                                  : m_strTitle);
}

void CMainFrame::OnLanguageEnglish() {
    if (m_bEnglish == 1) {
        return;
    }
    if (!CLanguage::LoadEnglish()) {
        ShowMessage(Res::IDS_LANGUAGE_LOAD_ERROR, MsgStyle::OkExclamation,
                    isVisible() ? this : nullptr);
        return;
    }
    CLanguage::RemoveQtGerman();
    m_bEnglish = 1;
    ShowLanguage();
}

void CMainFrame::OnLanguageGerman() {
    if (m_bEnglish == 0) {
        return;
    }
    CLanguage::UnloadEnglish();
    CLanguage::InstallQtGerman();
    m_bEnglish = 0;
    ShowLanguage();
}

void CMainFrame::ShowLanguage() {
    QLocale::setDefault(InterfaceLocale(m_bEnglish == 1));
    BuildMenu();
    for (const auto& [id, action] : m_toolActions) {
        ApplyPrompts(action, id);
    }
    NameBars();
    ShowIdleMessage();
    OnUpdateFrameTitle();
    UpdateCommandUI();
}

bool CMainFrame::IsCommandEnabled(unsigned id) const {
    if (IsLinkCommand(id)) {
        return m_pView != nullptr && m_pView->OnUpdateLinkCommand();
    }
    if (id == Res::ID_SET_PARAMETERS || id == Res::ID_KEY_NUMBERS) {
        return m_pView != nullptr && m_pView->OnUpdateExtendedCommand();
    }
    return true;
}

void CMainFrame::UpdateCommandUI() {
    for (const auto& [id, action] : m_toolActions) {
        action->setEnabled(IsCommandEnabled(id));
    }
    for (const auto& [id, action] : m_menuActions) {
        action->setEnabled(IsCommandEnabled(id));
    }
    // The marks show the language in force, also after Qt ticked an item
    // whose switch then failed.
    if (QAction* german = MenuAction(Res::ID_LANGUAGE_GERMAN)) {
        german->setChecked(m_bEnglish == 0);
    }
    if (QAction* english = MenuAction(Res::ID_LANGUAGE_ENGLISH)) {
        english->setChecked(m_bEnglish == 1);
    }
    if (m_pPortPane != nullptr) {
        m_pPortPane->setText(m_pView != nullptr ? m_pView->PortPaneText() : QString());
    }
}

void CMainFrame::RunCommand(unsigned id) {
    // A key or button of a command that is disabled now does nothing, nor does
    // anything while a command keeps the window disabled.
    if (!isEnabled() || !IsCommandEnabled(id)) {
        return;
    }
    const auto& viewCommands = ViewCommands();
    if (const auto it = viewCommands.find(id); it != viewCommands.end()) {
        if (m_pView != nullptr) {
            (m_pView->*it->second)();
        }
    } else if (id == Res::ID_LANGUAGE_GERMAN) {
        OnLanguageGerman();
    } else if (id == Res::ID_LANGUAGE_ENGLISH) {
        OnLanguageEnglish();
    } else if (id == Res::ID_FILE_SAVE && GetActiveDocument() != nullptr) {
        GetActiveDocument()->DoFileSave();
    } else if (id == Res::ID_FILE_SAVE_AS && GetActiveDocument() != nullptr) {
        GetActiveDocument()->DoSave(QString());
    } else if (id == Res::ID_EDIT_COPY || id == Res::ID_EDIT_CUT || id == Res::ID_EDIT_PASTE ||
               id == Res::ID_EDIT_UNDO) {
        if (m_pView != nullptr) {
            m_pView->OnEditCommand(id);
        }
    } else {
        emit ApplicationCommand(id);
    }
    UpdateCommandUI();
}

QAction* CMainFrame::MenuAction(unsigned id) const {
    const auto it = m_menuActions.find(id);
    return it != m_menuActions.end() ? it->second : nullptr;
}

QAction* CMainFrame::ToolBarAction(unsigned id) const {
    const auto it = m_toolActions.find(id);
    return it != m_toolActions.end() ? it->second : nullptr;
}

bool CMainFrame::IsAcceleratorLetter(const QKeyEvent* e) const {
    if ((e->modifiers() &
         (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0) {
        return false;
    }
    for (const Res::Accelerator& accelerator : Res::MainAccelerators()) {
        if (accelerator.key[0].keyboardModifiers() == Qt::NoModifier &&
            accelerator.key[0].key() == e->key()) {
            return true;
        }
    }
    return false;
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* e) {
    // The status text is fitted again to a status bar of another width (maximised).
    if (watched == statusBar() && e->type() == QEvent::Resize &&
        !statusBar()->currentMessage().isEmpty()) {
        QTimer::singleShot(0, this, [this] {
            if (!statusBar()->currentMessage().isEmpty()) {
                ShowStatus(m_strStatus);
            }
        });
    }
    // The transcript would claim plain letters for typing; the accelerator
    // letters start their commands instead.
    if (watched == m_pView && e->type() == QEvent::ShortcutOverride &&
        IsAcceleratorLetter(static_cast<QKeyEvent*>(e))) {
        e->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, e);
}

bool CMainFrame::event(QEvent* e) {
    if (e->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(e)->tip();
        if (tip.isEmpty()) {
            ShowIdleMessage();
        } else {
            ShowStatus(tip);
        }
        return true;
    }
    return QMainWindow::event(e);
}

void CMainFrame::closeEvent(QCloseEvent* e) {
    // A disabled window still gets the window manager's close requests. While
    // a command or a link opening waits for the reader, closing would switch
    // the language, ask to save a half transcript and pull the window away
    // under the waiting handler: the request is refused.
    if (CBusyGuard::IsBusy()) {
        e->ignore();
        return;
    }
    // A reader left in Teach IN enrols every badge shown to it: the last chance to end it.
    if (m_pView != nullptr) {
        m_pView->OfferTeachInOff();
    }
    CSettingsStore::WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("Sprache"),
                                    m_bEnglish);
    OnLanguageGerman();
    COrvaneDoc* doc = GetActiveDocument();
    if (doc != nullptr && !doc->SaveModified()) {
        e->ignore();
        return;
    }
    m_updateTimer.stop();
    e->accept();
}

void CMainFrame::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    // In the normal state the frame keeps its size: a drag on its edge springs
    // back. A size the window manager imposes twice in a row (a tiling desktop)
    // is accepted, so the two never resize each other without end.
    const QSize fixed(kWidth, kHeight);
    if (windowState() != Qt::WindowNoState || size() == fixed || size() == m_refusedSize) {
        return;
    }
    m_refusedSize = size();
    QTimer::singleShot(0, this, [this, fixed] {
        if (windowState() == Qt::WindowNoState) {
            resize(fixed);
        }
    });
}

void CMainFrame::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange && windowState() == Qt::WindowNoState) {
        m_refusedSize = QSize();
        resize(kWidth, kHeight);
    }
}

#include "shell/OrvaneApp.h"

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLoggingCategory>

#include "common/Language.h"
#include "common/ResourceIds.h"
#include "common/SettingsDeviceEntries.h"
#include "common/SettingsStore.h"
#include "link/DebugOutput.h"
#include "link/DeviceEntries.h"
#include "protocol/UserInterface.h"
#include "shell/Help.h"
#include "shell/InfoDlg.h"
#include "shell/InterfaceDlgChoice.h"
#include "shell/MainFrame.h"
#include "shell/QtUserInterface.h"
#include "views/MessageBox.h"
#include "views/OrvaneDoc.h"
#include "views/OrvaneView.h"

// Debug lines of the link and the protocol: quiet unless enabled with
// QT_LOGGING_RULES="orvane.link.debug=true".
Q_LOGGING_CATEGORY(lcLink, "orvane.link", QtInfoMsg)

namespace {

const QString kRecentSection = QStringLiteral("Recent File List");

}  // namespace

COrvaneApp::COrvaneApp()
    : m_pUserInterface(std::make_unique<CQtUserInterface>()),
      m_pInterfaceChoice(std::make_unique<CInterfaceDlgChoice>()),
      m_pDeviceEntries(std::make_unique<CSettingsDeviceEntries>()) {}

COrvaneApp::~COrvaneApp() {
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeEventFilter(this);
    }
    // The frame takes the view and with it the link; then nothing of the core
    // may reach the objects installed here.
    m_pMainWnd.reset();
    m_pDocument.reset();
    SetUserInterface(nullptr);
    SetInterfaceChoice(nullptr);
    SetDeviceEntries(nullptr);
    SetDebugSink(nullptr);
}

bool COrvaneApp::InitInstance(const QStringList& arguments) {
    // The settings location: "Meridel Applikationen/Orvane".
    QCoreApplication::setOrganizationName(QStringLiteral("Meridel Applikationen"));
    QCoreApplication::setApplicationName(QStringLiteral("Orvane"));
    // The desktop entry's name, so that Wayland desktops match the window to its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(ORVANE_APP_ID));
    SetDeviceEntries(m_pDeviceEntries.get());
    SetUserInterface(m_pUserInterface.get());
    SetInterfaceChoice(m_pInterfaceChoice.get());
    SetDebugSink([](const std::string& line) { qCDebug(lcLink, "%s", line.c_str()); });
    CLanguage::InstallQtGerman();
    LoadStdProfileSettings();

    // The document, its frame (bars, stored language) and its view.
    m_pDocument = std::make_unique<COrvaneDoc>();
    m_pMainWnd = std::make_unique<CMainFrame>();
    auto* view = new COrvaneView(m_pDocument.get());
    view->m_nPreviewPages = m_nPreviewPages;
    m_pMainWnd->SetView(view);
    if (!m_pMainWnd->OnCreate()) {
        ShowMessage(Res::IDP_FAILED_TO_CREATE_DOC, MsgStyle::OkExclamation);
        return false;
    }
    connect(m_pMainWnd.get(), &CMainFrame::ApplicationCommand, this, &COrvaneApp::OnCommand);
    connect(m_pDocument.get(), &COrvaneDoc::PathUsed, this, &COrvaneApp::AddToRecentFileList);
    QCoreApplication::instance()->installEventFilter(this);

    // The command line: no argument makes a new document, a file name opens it.
    if (arguments.isEmpty()) {
        m_pDocument->OnNewDocument();
    } else if (!m_pDocument->OnOpenDocument(arguments.constFirst())) {
        return false;
    }
    // The first update connects (or asks for an interface) before the window shows.
    view->OnInitialUpdate();
    m_pMainWnd->show();
    m_pMainWnd->activateWindow();
    return true;
}

void COrvaneApp::ExitInstance() {
    for (int i = 0; i < kRecentFiles; ++i) {
        const QString entry = QStringLiteral("File%1").arg(i + 1);
        if (i < m_recentFiles.size()) {
            CSettingsStore::WriteProfileString(kRecentSection, entry, m_recentFiles[i]);
        }
    }
    if (COrvaneView* view = GetView()) {
        m_nPreviewPages = view->m_nPreviewPages;
    }
    if (m_nPreviewPages != 0) {
        CSettingsStore::WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("PreviewPages"),
                                        m_nPreviewPages);
    }
}

COrvaneView* COrvaneApp::GetView() const {
    return m_pMainWnd ? m_pMainWnd->GetActiveView() : nullptr;
}

void COrvaneApp::LoadStdProfileSettings() {
    m_recentFiles.clear();
    for (int i = 1; i <= kRecentFiles; ++i) {
        const QString path =
            CSettingsStore::GetProfileString(kRecentSection, QStringLiteral("File%1").arg(i));
        if (!path.isEmpty()) {
            m_recentFiles << path;
        }
    }
    m_nPreviewPages = CSettingsStore::GetProfileInt(QStringLiteral("Settings"),
                                                    QStringLiteral("PreviewPages"), 0);
}

void COrvaneApp::AddToRecentFileList(const QString& path) {
    m_recentFiles.removeAll(path);
    m_recentFiles.prepend(path);
    while (m_recentFiles.size() > kRecentFiles) {
        m_recentFiles.removeLast();
    }
}

void COrvaneApp::OnCommand(unsigned id) {
    switch (id) {
        case Res::ID_APP_EXIT:
            OnExitCommand();
            break;
        case Res::ID_APP_ABOUT:
            OnAppAbout();
            break;
        case Res::ID_HELP:
            OnHelp();
            break;
        case Res::ID_FILE_NEW:
            OnFileNew();
            break;
        case Res::ID_FILE_OPEN:
            OnFileOpen();
            break;
        default:
            break;
    }
}

void COrvaneApp::OnExitCommand() {
    if (!m_pMainWnd) {
        return;
    }
    COrvaneView* view = GetView();
    // No save prompt for an empty transcript, whatever its modified flag says.
    if (view != nullptr && view->TranscriptLength() == 0 && m_pDocument) {
        m_pDocument->SetModifiedFlag(false);
    }
    m_pMainWnd->close();
}

void COrvaneApp::OnAppAbout() {
    CInfoDlg dialog(m_pMainWnd.get());
    dialog.exec();
}

void COrvaneApp::OnHelp() {
    ShowManual(m_pMainWnd.get());
}

void COrvaneApp::OnFileNew() {
    if (!m_pDocument->SaveModified()) {
        return;
    }
    m_pDocument->OnNewDocument();
    // An open link stays as it is; without one the link procedure runs again.
    GetView()->OnInitialUpdate();
}

void COrvaneApp::OnFileOpen() {
    QFileDialog dialog(m_pMainWnd.get());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({COrvaneDoc::FileFilter(), tr("Alle Dateien (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    OpenDocumentFile(dialog.selectedFiles().constFirst());
}

bool COrvaneApp::OpenDocumentFile(const QString& path) {
    if (!m_pDocument->SaveModified() || !m_pDocument->OnOpenDocument(path)) {
        return false;
    }
    GetView()->OnInitialUpdate();
    return true;
}

bool COrvaneApp::eventFilter(QObject* watched, QEvent* e) {
    // F1 anywhere (main window, dialog, open menu) asks for the manual.
    if ((e->type() == QEvent::KeyPress || e->type() == QEvent::ShortcutOverride) &&
        watched->isWidgetType()) {
        const auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
            if (e->type() == QEvent::KeyPress && !m_bHelpShowing && !key->isAutoRepeat()) {
                m_bHelpShowing = true;
                OnHelp();
                m_bHelpShowing = false;
            }
            e->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, e);
}

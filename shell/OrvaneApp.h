#pragma once

#include <QObject>
#include <QStringList>

#include <memory>

class CInterfaceDlgChoice;
class CMainFrame;
class COrvaneDoc;
class COrvaneView;
class CQtUserInterface;
class CSettingsDeviceEntries;

// The application object: starts the program (settings location, recent
// files, the document with its frame and view, the link procedure before the
// main window shows), handles the application-wide commands and ends the
// program in order. The QApplication itself is created by main().
class COrvaneApp : public QObject {
    Q_OBJECT
public:
    static constexpr int kRecentFiles = 4;

    COrvaneApp();
    ~COrvaneApp() override;

    // The start-up sequence; arguments are those after the program name. False
    // ends the program at once.
    bool InitInstance(const QStringList& arguments);
    // The framework's exit step after the message loop: writes the recent-file
    // list and the print preview's page count.
    void ExitInstance();

    CMainFrame* GetMainWnd() const { return m_pMainWnd.get(); }
    COrvaneDoc* GetDocument() const { return m_pDocument.get(); }
    COrvaneView* GetView() const;
    QStringList RecentFiles() const { return m_recentFiles; }

    void OnExitCommand();
    void OnAppAbout();
    void OnHelp();
    void OnFileNew();
    void OnFileOpen();
    // Opens a file as the transcript: save prompt, load, first update.
    bool OpenDocumentFile(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void OnCommand(unsigned id);
    void LoadStdProfileSettings();
    void AddToRecentFileList(const QString& path);

    std::unique_ptr<CQtUserInterface> m_pUserInterface;
    std::unique_ptr<CInterfaceDlgChoice> m_pInterfaceChoice;
    std::unique_ptr<CSettingsDeviceEntries> m_pDeviceEntries;
    std::unique_ptr<COrvaneDoc> m_pDocument;
    std::unique_ptr<CMainFrame> m_pMainWnd;  // destroyed before the document
    QStringList m_recentFiles;
    int m_nPreviewPages = 0;
    bool m_bHelpShowing = false;
};

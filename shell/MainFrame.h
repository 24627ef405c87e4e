#pragma once

#include <QMainWindow>
#include <QString>
#include <QTimer>

#include <map>

class COrvaneDoc;
class COrvaneView;
class QAction;
class QLabel;
class QToolBar;

// The main window: a frame of fixed size around the transcript view with
// menu 128, the accelerators, tool bar 128 and a status bar with the message
// pane and the port pane. It routes every command id to its handler, keeps
// each command's enabled state up to date, and switches the interface between
// German and English at once.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kWidth = 815;
    static constexpr int kHeight = 500;

    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Makes the view the client area and follows its document's title.
    void SetView(COrvaneView* view);
    COrvaneView* GetActiveView() const { return m_pView; }
    COrvaneDoc* GetActiveDocument() const;

    // Builds the bars and applies the stored language; false when a bar could
    // not be built.
    bool OnCreate();

    // The title reads: document name, " - ", title text.
    void SetTitleText(const QString& title);
    QString GetTitleText() const { return m_strTitle; }
    void OnUpdateFrameTitle();

    void OnLanguageGerman();
    void OnLanguageEnglish();
    bool IsEnglish() const { return m_bEnglish != 0; }

    // Runs a command if its update rule allows it now.
    void RunCommand(unsigned id);
    bool IsCommandEnabled(unsigned id) const;
    // Applies the update rules to the menu, the tool bar and the port pane.
    void UpdateCommandUI();

    QAction* MenuAction(unsigned id) const;
    QAction* ToolBarAction(unsigned id) const;
    QToolBar* ToolBar() const { return m_wndToolBar; }
    QLabel* PortPane() const { return m_pPortPane; }

signals:
    // Commands of the application object: new, open, about, exit, help.
    void ApplicationCommand(unsigned id);

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    bool BuildToolBar();
    bool BuildStatusBar();
    void BuildAccelerators();
    void BuildMenu();
    void ApplyPrompts(QAction* action, unsigned id);
    void NameBars();
    void ShowIdleMessage();
    // Shows a text in the message pane, shortened to fit, the whole text as tool tip.
    void ShowStatus(const QString& text);
    int StatusWidth() const;
    // Shows every text on screen in the language now in force.
    void ShowLanguage();
    bool IsAcceleratorLetter(const QKeyEvent* e) const;

    QToolBar* m_wndToolBar = nullptr;
    QLabel* m_pPortPane = nullptr;
    COrvaneView* m_pView = nullptr;
    int m_bEnglish = 0;
    QString m_strTitle;
    QString m_strStatus;  // the whole text of the message pane
    std::map<unsigned, QAction*> m_menuActions;
    std::map<unsigned, QAction*> m_toolActions;
    QTimer m_updateTimer;
    QSize m_refusedSize;  // the last size a drag on the edge was refused
};

#pragma once

#include "CommandRouter.h"
#include "CommandTarget.h"
#include "FrameHost.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

class CChildFrame;
class CTorvex2App;
class IdleHook;
class QKeySequence;
class QLabel;
class QStyle;
class QMdiArea;
class QTabBar;
class QToolButton;
class Ribbon;
class View;

// The main window: the ribbon, the documents' windows as tabs, the status bar, the selectable
// look and the command route. It is also the frame host of the document framework.
class CMainFrame : public QMainWindow, public CommandTarget, public FrameHost {
    Q_OBJECT
public:
    explicit CMainFrame(CTorvex2App& app);
    ~CMainFrame() override;

    // Builds the window (ribbon, tabs, status bar, look); false when that fails.
    bool LoadFrame();

    Ribbon* GetRibbonBar() const { return m_Ribbon; }
    QMdiArea* MdiArea() const { return m_Mdi; }
    QTabBar* TabBar() const;
    QLabel* StatusPane(int index) const;
    const CommandRouter& Router() const { return m_Router; }
    CChildFrame* ActiveChildFrame() const;
    View* ActiveView() const;
    QList<CChildFrame*> ChildFrames() const;

    // Sends a command along the route: active view, its document, the child frame, this frame, the
    // application.
    bool OnCommand(int id);
    // What the event loop does when it runs out of work: command states, titles, recent files.
    void OnIdleUpdate();

    void OnApplicationLook(int id);
    void OnUpdateApplicationLook(CmdUI& cmdUI);
    void OnWindowManager();
    // The help commands: the HTML help beside the program, or a note that it is not installed.
    void OnHelpFinder();
    static QString HelpIndex();

    // Opens every local file among the urls (files dropped on the window); false when none was.
    bool OpenDroppedFiles(const QList<QUrl>& urls);

    // FrameHost
    bool CreateFrame(DocTemplate& docTemplate, Document& document) override;
    void InitialUpdateFrame(Document& document, bool makeVisible) override;
    void ActivateFrame(Document& document) override;
    void DestroyFrames(Document& document) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<CommandTarget*> Route() const;
    // A key that sends the command while the command is enabled.
    void AddAccelerator(const QList<QKeySequence>& keys, int id);
    void ColourTabs();
    void PlaceTabCloseButton();
    void PlaceDocumentMenu();
    void UpdateTitles();

    CTorvex2App& m_App;
    CommandRouter m_Router;
    Ribbon* m_Ribbon = nullptr;
    QMdiArea* m_Mdi = nullptr;
    QLabel* m_Pane1 = nullptr;
    QLabel* m_Pane2 = nullptr;
    QToolButton* m_DocumentMenu = nullptr;
    QPointer<QStyle> m_TabStyle;
    IdleHook* m_Idle = nullptr;
    QList<QPointer<CChildFrame>> m_Frames;
    QStringList m_ShownRecent;
    bool m_RecentShown = false;
};

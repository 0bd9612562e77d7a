#include "CMainFrame.h"

#include "CAboutDlg.h"
#include "CChildFrame.h"
#include "CTorvex2App.h"
#include "CommandIds.h"
#include "ContextMenuManager.h"
#include "DocManager.h"
#include "DocTemplate.h"
#include "Document.h"
#include "IdleHook.h"
#include "Looks.h"
#include "RecentFileList.h"
#include "Resource.h"
#include "Ribbon.h"
#include "RibbonLayout.h"
#include "UiServices.h"
#include "View.h"
#include "WindowsDialog.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QToolButton>
#include <QUrl>

#include <algorithm>

CMainFrame::CMainFrame(CTorvex2App& app) : m_App(app)
{
    m_App.m_nAppLook = unsigned(m_App.GetInt(QStringLiteral("ApplicationLook"), ID_VIEW_APPLOOK_VS_2005));
    m_Router.SetRoute([this] { return Route(); });

    MapCommand(ID_WINDOW_MANAGER, [this] { OnWindowManager(); });
    MapCommandRange(ID_VIEW_APPLOOK_WIN_2000, ID_VIEW_APPLOOK_OFF_2007_AQUA,
                    [this](int id) { OnApplicationLook(id); });
    MapUpdateRange(ID_VIEW_APPLOOK_WIN_2000, ID_VIEW_APPLOOK_OFF_2007_AQUA,
                   [this](CmdUI& cmdUI) { OnUpdateApplicationLook(cmdUI); });
    for (int id : {ID_HELP_FINDER, ID_DEFAULT_HELP, ID_HELP, ID_CONTEXT_HELP})
        MapCommand(id, [this] { OnHelpFinder(); });

    // The window starts over the whole screen and maximised.
    if (QScreen* screen = QGuiApplication::primaryScreen()) setGeometry(screen->geometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    setWindowIcon(CAboutDlg::ProgramIcon());
}

CMainFrame::~CMainFrame()
{
    if (frameHost() == this) setFrameHost(nullptr);
    ContextMenuManager::SetRouter(nullptr);
}

bool CMainFrame::LoadFrame()
{
    setWindowTitle(QString::fromLatin1(strings::AppTitle));
    OnApplicationLook(int(m_App.m_nAppLook));

    m_Mdi = new QMdiArea(this);
    m_Mdi->setViewMode(QMdiArea::TabbedView);
    m_Mdi->setDocumentMode(true);
    m_Mdi->setTabsMovable(true);
    m_Mdi->setTabsClosable(false); // the close button sits on the active tab only
    m_Mdi->setTabShape(QTabWidget::Rounded);
    m_Mdi->setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(m_Mdi);
    if (QTabBar* bar = TabBar()) {
        ColourTabs();
        bar->setExpanding(false);
        bar->setElideMode(Qt::ElideRight);
        connect(bar, &QTabBar::currentChanged, this, [this] { PlaceTabCloseButton(); });
    }
    m_DocumentMenu = new QToolButton(m_Mdi);
    m_DocumentMenu->setAutoRaise(true);
    m_DocumentMenu->setArrowType(Qt::DownArrow);
    m_DocumentMenu->setToolTip(QStringLiteral("Active Files"));
    m_DocumentMenu->setPopupMode(QToolButton::InstantPopup);
    auto* documents = new QMenu(m_DocumentMenu);
    m_DocumentMenu->setMenu(documents);
    connect(documents, &QMenu::aboutToShow, this, [this, documents] {
        documents->clear();
        for (QMdiSubWindow* w : m_Mdi->subWindowList())
            documents->addAction(w->windowTitle(), this, [this, w = QPointer<QMdiSubWindow>(w)] {
                if (w) m_Mdi->setActiveSubWindow(w);
            });
    });
    m_Mdi->installEventFilter(this);
    connect(m_Mdi, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* active) {
        PlaceTabCloseButton();
        PlaceDocumentMenu();
        if (!active) return; // the main window lost the focus; its document window stays the active one
        for (CChildFrame* f : ChildFrames())
            if (f->GetView()) f->GetView()->OnActivateView(f == active);
    });

    m_Ribbon = new Ribbon(this);
    BuildRibbon(*m_Ribbon);
    setMenuWidget(m_Ribbon);
    Ribbon::SetMain(m_Ribbon);
    connect(m_Ribbon, &Ribbon::commandTriggered, this, [this](int id) { OnCommand(id); });

    m_Pane1 = new QLabel(QString::fromLatin1(strings::Pane1), this);
    m_Pane1->setObjectName(QStringLiteral("pane%1").arg(ID_STATUSBAR_PANE1));
    m_Pane2 = new QLabel(QString::fromLatin1(strings::Pane2), this);
    m_Pane2->setObjectName(QStringLiteral("pane%1").arg(ID_STATUSBAR_PANE2));
    statusBar()->addWidget(m_Pane1);
    statusBar()->addPermanentWidget(m_Pane2);

    // The standard keys of the file, edit and print commands; a text window that handles them
    // itself takes them first. Redo also answers to Ctrl+Y, its key on Windows.
    const std::pair<QKeySequence::StandardKey, int> keys[] = {
        {QKeySequence::New, ID_FILE_NEW},     {QKeySequence::Open, ID_FILE_OPEN},
        {QKeySequence::Save, ID_FILE_SAVE},   {QKeySequence::Print, ID_FILE_PRINT},
        {QKeySequence::Undo, ID_EDIT_UNDO},   {QKeySequence::Redo, ID_EDIT_REDO},
        {QKeySequence::Cut, ID_EDIT_CUT},     {QKeySequence::Copy, ID_EDIT_COPY},
        {QKeySequence::Paste, ID_EDIT_PASTE},
    };
    for (const auto& [key, id] : keys) {
        QList<QKeySequence> sequences = QKeySequence::keyBindings(key);
        const QKeySequence windowsRedo(Qt::CTRL | Qt::Key_Y);
        if (id == ID_EDIT_REDO && !sequences.contains(windowsRedo)) sequences << windowsRedo;
        AddAccelerator(sequences, id);
    }
    // The help keys, as on Windows.
    AddAccelerator({QKeySequence(Qt::Key_F1)}, ID_HELP);
    AddAccelerator({QKeySequence(Qt::SHIFT | Qt::Key_F1)}, ID_CONTEXT_HELP);

    // Files dropped anywhere on the window open, whatever widget is under the mouse.
    qApp->installEventFilter(this);
    setFrameHost(this);
    ContextMenuManager::SetRouter(&m_Router);
    m_Idle = new IdleHook([this] { OnIdleUpdate(); }, this);
    return true;
}

void CMainFrame::AddAccelerator(const QList<QKeySequence>& keys, int id)
{
    auto* accelerator = new QAction(this);
    accelerator->setShortcuts(keys);
    accelerator->setShortcutContext(Qt::WindowShortcut);
    connect(accelerator, &QAction::triggered, this, [this, id] {
        if (m_Router.Update(id).IsEnabled()) OnCommand(id);
    });
    addAction(accelerator);
}

QTabBar* CMainFrame::TabBar() const
{
    return m_Mdi ? m_Mdi->findChild<QTabBar*>() : nullptr;
}

QLabel* CMainFrame::StatusPane(int index) const
{
    return index == 0 ? m_Pane1 : index == 1 ? m_Pane2 : nullptr;
}

CChildFrame* CMainFrame::ActiveChildFrame() const
{
    if (!m_Mdi) return nullptr;
    QMdiSubWindow* window = m_Mdi->currentSubWindow();
    // While the main window itself is not active the area reports no current window; the one
    // activated last is still the one the commands are for.
    if (!window) {
        const QList<QMdiSubWindow*> history = m_Mdi->subWindowList(QMdiArea::ActivationHistoryOrder);
        if (!history.isEmpty()) window = history.last();
    }
    return qobject_cast<CChildFrame*>(window);
}

View* CMainFrame::ActiveView() const
{
    CChildFrame* frame = ActiveChildFrame();
    return frame ? frame->GetView() : nullptr;
}

QList<CChildFrame*> CMainFrame::ChildFrames() const
{
    QList<CChildFrame*> list;
    for (const QPointer<CChildFrame>& f : m_Frames)
        if (f) list << f;
    return list;
}

QList<CommandTarget*> CMainFrame::Route() const
{
    QList<CommandTarget*> route;
    CChildFrame* frame = ActiveChildFrame();
    // A preview takes the place of the view: its frame receives the print commands.
    if (frame && !frame->IsClosing() && !frame->InPrintPreview()) {
        if (View* view = frame->GetView()) {
            route << view;
            if (view->GetDocument()) route << view->GetDocument();
        }
    }
    if (frame) route << frame;
    route << const_cast<CMainFrame*>(this) << &m_App;
    return route;
}

bool CMainFrame::OnCommand(int id)
{
    const bool handled = m_Router.Execute(id);
    OnIdleUpdate();
    return handled;
}

void CMainFrame::OnIdleUpdate()
{
    if (!m_Ribbon) return;
    if (const RecentFileList* recent = m_App.GetDocManager().RecentFiles();
        recent && (!m_RecentShown || recent->Files() != m_ShownRecent)) {
        m_ShownRecent = recent->Files();
        m_RecentShown = true;
        m_Ribbon->SetRecentFiles(m_ShownRecent, ID_FILE_MRU_FILE1);
    }
    m_Ribbon->UpdateCommandUI(m_Router);
    UpdateTitles();
}

void CMainFrame::UpdateTitles()
{
    for (CChildFrame* f : ChildFrames()) {
        View* view = f->GetView();
        Document* doc = view ? view->GetDocument() : nullptr;
        if (!doc) continue;
        QString title = doc->Title();
        if (doc->Views().size() > 1) title += QStringLiteral(":%1").arg(doc->Views().indexOf(view) + 1);
        if (f->windowTitle() != title) f->setWindowTitle(title);
    }
    // Tabs show no document icons.
    if (QTabBar* bar = TabBar())
        for (int i = 0; i < bar->count(); ++i)
            if (!bar->tabIcon(i).isNull()) bar->setTabIcon(i, QIcon());
    QString title = QString::fromLatin1(strings::AppTitle);
    if (CChildFrame* f = ActiveChildFrame(); f && !f->windowTitle().isEmpty())
        title = f->windowTitle() + QStringLiteral(" - ") + title;
    if (windowTitle() != title) setWindowTitle(title);
}

void CMainFrame::OnApplicationLook(int id)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_App.m_nAppLook = unsigned(id);
    looks::Apply(id);
    if (m_Mdi) m_Mdi->setBackground(QApplication::palette().brush(QPalette::Dark));
    ColourTabs();
    update();
    m_App.WriteInt(QStringLiteral("ApplicationLook"), id);
    QApplication::restoreOverrideCursor();
}

// The documents' tabs take their colours automatically, each its own, in the style of the look.
void CMainFrame::ColourTabs()
{
    QTabBar* bar = TabBar();
    if (!bar) return;
    auto* style = new looks::ColouredTabs(int(m_App.m_nAppLook));
    // Owned by the window, which outlives its tab bar.
    style->setParent(this);
    bar->setStyle(style);
    if (m_TabStyle) m_TabStyle->deleteLater();
    m_TabStyle = style;
}

void CMainFrame::OnUpdateApplicationLook(CmdUI& cmdUI)
{
    cmdUI.SetRadio(unsigned(cmdUI.ID()) == m_App.m_nAppLook);
}

void CMainFrame::OnWindowManager()
{
    WindowsDialog dialog(m_Mdi, this);
    dialog.exec();
}

QString CMainFrame::HelpIndex()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help/index.html"));
}

void CMainFrame::OnHelpFinder()
{
    const QString index = HelpIndex();
    if (QFileInfo::exists(index) && QDesktopServices::openUrl(QUrl::fromLocalFile(index))) return;
    ui().message(QStringLiteral("Help is not installed."));
}

bool CMainFrame::OpenDroppedFiles(const QList<QUrl>& urls)
{
    bool any = false;
    for (const QUrl& url : urls)
        if (url.isLocalFile()) {
            any = true;
            m_App.OpenDocumentFile(url.toLocalFile());
        }
    return any;
}

bool CMainFrame::CreateFrame(DocTemplate& docTemplate, Document& document)
{
    View* view = docTemplate.CreateView(document);
    if (!view) return false;
    if (!view->Widget()) {
        document.RemoveView(view);
        delete view;
        return false;
    }
    auto* frame = new CChildFrame(view);
    m_Frames << frame;
    return true;
}

void CMainFrame::InitialUpdateFrame(Document& document, bool makeVisible)
{
    for (CChildFrame* f : ChildFrames()) {
        if (!f->GetView() || f->GetView()->GetDocument() != &document || f->mdiArea()) continue;
        f->GetView()->OnInitialUpdate();
        if (!makeVisible) continue;
        m_Mdi->addSubWindow(f);
        f->showMaximized();
        m_Mdi->setActiveSubWindow(f);
    }
    OnIdleUpdate();
}

void CMainFrame::ActivateFrame(Document& document)
{
    for (CChildFrame* f : ChildFrames())
        if (f->GetView() && f->GetView()->GetDocument() == &document && f->mdiArea()) {
            m_Mdi->setActiveSubWindow(f);
            return;
        }
}

void CMainFrame::DestroyFrames(Document& document)
{
    for (CChildFrame* f : ChildFrames()) {
        View* view = f->GetView();
        if (!view || view->GetDocument() != &document) continue;
        document.RemoveView(view);
        m_Frames.removeAll(f);
        if (f->IsClosing()) continue; // closing by itself already
        f->SetClosing();
        if (f->mdiArea())
            f->close();
        else
            f->deleteLater();
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    DocManager& manager = m_App.GetDocManager();
    if (!manager.SaveAllModified()) {
        event->ignore();
        return;
    }
    manager.CloseAllDocuments();
    m_App.ExitInstance();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    activateWindow();
    if (OpenDroppedFiles(event->mimeData()->urls())) event->acceptProposedAction();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_Mdi && event->type() == QEvent::Resize) PlaceDocumentMenu();
    const QEvent::Type type = event->type();
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) {
        auto* widget = qobject_cast<QWidget*>(watched);
        auto* drop = static_cast<QDropEvent*>(event);
        const QList<QUrl> urls = drop->mimeData() ? drop->mimeData()->urls() : QList<QUrl>();
        const bool files =
            std::any_of(urls.cbegin(), urls.cend(), [](const QUrl& url) { return url.isLocalFile(); });
        if (widget && widget != this && widget->window() == this && files) {
            drop->acceptProposedAction();
            if (type == QEvent::Drop) dropEvent(drop);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::PlaceTabCloseButton()
{
    QTabBar* bar = TabBar();
    if (!bar) return;
    // The tab bar deletes a tab's button with the tab, so each active tab gets a button of its own.
    for (int i = 0; i < bar->count(); ++i)
        if (QWidget* old = bar->tabButton(i, QTabBar::RightSide)) {
            bar->setTabButton(i, QTabBar::RightSide, nullptr);
            old->deleteLater();
        }
    const int current = bar->currentIndex();
    if (current < 0) return;
    auto* close = new QToolButton(bar);
    close->setAutoRaise(true);
    close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close->setIconSize(QSize(10, 10));
    close->setToolTip(QStringLiteral("Close"));
    connect(close, &QToolButton::clicked, this, [this] {
        if (CChildFrame* frame = ActiveChildFrame()) frame->close();
    });
    bar->setTabButton(current, QTabBar::RightSide, close);
}

void CMainFrame::PlaceDocumentMenu()
{
    QTabBar* bar = TabBar();
    if (!m_DocumentMenu || !bar) return;
    const int h = bar->isVisible() ? bar->height() : 0;
    m_DocumentMenu->setVisible(h > 0);
    m_DocumentMenu->setGeometry(m_Mdi->width() - h, 0, h, h);
    m_DocumentMenu->raise();
}

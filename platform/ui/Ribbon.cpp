#include "Ribbon.h"

#include "CommandRouter.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStyle>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QPointer<Ribbon> g_main;
constexpr int kSmallRows = 3;
constexpr int kCaptionHeight = 16;
constexpr int kPageHeight = 96;
} // namespace

// ---------------------------------------------------------------------------------------------
// RibbonPanel

RibbonPanel::RibbonPanel(Ribbon* ribbon, const QString& name, QWidget* parent)
    : QWidget(parent), m_Ribbon(ribbon), m_Name(name)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 3, 4, kCaptionHeight + 2);
    outer->setSpacing(0);
    m_Columns = new QHBoxLayout;
    m_Columns->setSpacing(4);
    outer->addLayout(m_Columns);
    outer->addStretch();
}

void RibbonPanel::AddSmall(QWidget* control)
{
    if (!m_SmallColumn || m_SmallRows == kSmallRows) {
        m_SmallColumn = new QVBoxLayout;
        m_SmallColumn->setSpacing(2);
        m_SmallColumn->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        m_Columns->addLayout(m_SmallColumn);
        m_SmallRows = 0;
    }
    m_SmallColumn->addWidget(control, 0, Qt::AlignLeft);
    ++m_SmallRows;
}

void RibbonPanel::AddLarge(QWidget* control)
{
    m_Columns->addWidget(control, 0, Qt::AlignTop);
    m_SmallColumn = nullptr;
}

QToolButton* RibbonPanel::AddButton(int id, const QString& text, const QIcon& icon, bool large)
{
    auto* button = new QToolButton(this);
    button->setText(text);
    button->setToolTip(QString(text).remove(QLatin1Char('&')));
    button->setAutoRaise(true);
    // Tools show their chosen state as a pressed button; only update handlers set it.
    button->setCheckable(true);
    if (!icon.isNull()) button->setIcon(icon);
    if (large) {
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setIconSize(QSize(32, 32));
        button->setMinimumWidth(56);
        AddLarge(button);
    } else {
        button->setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonTextBesideIcon);
        button->setIconSize(QSize(16, 16));
        AddSmall(button);
    }
    connect(button, &QToolButton::clicked, m_Ribbon, [this, button, id](bool checked) {
        button->setChecked(!checked);
        CloseFolded();
        emit m_Ribbon->commandTriggered(id);
    });
    m_Ribbon->Register(id, Ribbon::Kind::Button, button, button);
    return button;
}

QCheckBox* RibbonPanel::AddCheckBox(int id, const QString& text)
{
    auto* box = new QCheckBox(text, this);
    AddSmall(box);
    connect(box, &QCheckBox::clicked, m_Ribbon, [this, box, id](bool checked) {
        box->setChecked(!checked);
        CloseFolded();
        emit m_Ribbon->commandTriggered(id);
    });
    m_Ribbon->Register(id, Ribbon::Kind::CheckBox, box, box);
    return box;
}

QLineEdit* RibbonPanel::AddEdit(int id, const QString& label, int width)
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    auto* caption = new QLabel(label, row);
    auto* edit = new QLineEdit(row);
    edit->setFixedWidth(width);
    caption->setBuddy(edit);
    layout->addWidget(caption);
    layout->addStretch();
    layout->addWidget(edit);
    AddSmall(row);
    connect(edit, &QLineEdit::textEdited, m_Ribbon, [this, id] { emit m_Ribbon->commandTriggered(id); });
    m_Ribbon->Register(id, Ribbon::Kind::Edit, edit, row);
    return edit;
}

QComboBox* RibbonPanel::AddComboBox(int id, const QString& label, const QStringList& items, int width)
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    auto* caption = new QLabel(label, row);
    auto* combo = new QComboBox(row);
    combo->addItems(items);
    if (width > 0) combo->setFixedWidth(width);
    caption->setBuddy(combo);
    layout->addWidget(caption);
    layout->addStretch();
    layout->addWidget(combo);
    AddSmall(row);
    connect(combo, &QComboBox::activated, m_Ribbon, [this, id] { emit m_Ribbon->commandTriggered(id); });
    m_Ribbon->Register(id, Ribbon::Kind::Combo, combo, row);
    return combo;
}

QProgressBar* RibbonPanel::AddProgressBar(int id, int width, int height)
{
    auto* bar = new QProgressBar(this);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setFixedSize(width, height);
    AddSmall(bar);
    m_Ribbon->Register(id, Ribbon::Kind::Progress, bar, bar);
    return bar;
}

void RibbonPanel::CloseFolded()
{
    // A command chosen in a folded panel closes it, as a menu closes.
    if (window()->windowType() == Qt::Popup) window()->hide();
}

QSize RibbonPanel::sizeHint() const
{
    QSize hint = QWidget::sizeHint();
    hint.setWidth(std::max(hint.width(), fontMetrics().horizontalAdvance(m_Name) + 16));
    return hint;
}

QSize RibbonPanel::minimumSizeHint() const
{
    return sizeHint();
}

void RibbonPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    QPainterPath frame;
    frame.addRoundedRect(r, 3, 3);
    p.fillPath(frame, palette().color(QPalette::Base).lighter(102));
    const QRectF band(r.left(), r.bottom() - kCaptionHeight, r.width(), kCaptionHeight);
    p.save();
    p.setClipPath(frame);
    p.fillRect(band, palette().color(QPalette::Button));
    p.restore();
    p.setPen(palette().color(QPalette::Mid));
    p.drawPath(frame);
    p.setPen(palette().color(QPalette::WindowText));
    QFont f = font();
    f.setPointSizeF(f.pointSizeF() * 0.9);
    p.setFont(f);
    p.drawText(band, Qt::AlignCenter, m_Name);
}

// ---------------------------------------------------------------------------------------------
// RibbonCategory

RibbonCategory::RibbonCategory(Ribbon* ribbon, const QString& name, QWidget* parent)
    : QWidget(parent), m_Ribbon(ribbon), m_Name(name)
{
    m_Layout = new QHBoxLayout(this);
    m_Layout->setContentsMargins(3, 3, 3, 3);
    m_Layout->setSpacing(3);
    m_Layout->addStretch();
}

RibbonPanel* RibbonCategory::AddPanel(const QString& name)
{
    auto* panel = new RibbonPanel(m_Ribbon, name, this);
    m_Layout->insertWidget(m_Layout->count() - 1, panel);
    auto* folded = new QToolButton(this);
    folded->setText(QString(name).replace(QLatin1Char('&'), QLatin1String("&&")));
    folded->setToolTip(name);
    folded->setArrowType(Qt::DownArrow);
    folded->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    folded->setFixedHeight(kPageHeight - 6);
    folded->setFocusPolicy(Qt::NoFocus);
    folded->hide();
    m_Layout->insertWidget(m_Layout->count() - 1, folded);
    auto* popup = new QFrame(this, Qt::Popup);
    popup->setFrameShape(QFrame::StyledPanel);
    auto* popupLayout = new QVBoxLayout(popup);
    popupLayout->setContentsMargins(2, 2, 2, 2);
    popup->installEventFilter(this);
    const int index = m_Panels.size();
    connect(folded, &QToolButton::clicked, this, [this, index] { ShowFolded(index); });
    m_Panels.append(panel);
    m_Folded.append(folded);
    m_Popups.append(popup);
    return panel;
}

void RibbonCategory::Fit(int width)
{
    for (QFrame* popup : m_Popups)
        popup->hide();
    const QMargins margins = m_Layout->contentsMargins();
    const qsizetype count = m_Panels.size();
    int needed =
        margins.left() + margins.right() + m_Layout->spacing() * int(std::max<qsizetype>(0, count - 1));
    for (RibbonPanel* panel : m_Panels)
        needed += panel->sizeHint().width();
    qsizetype open = count;
    while (open > 0 && needed > width) {
        --open;
        needed -= m_Panels[open]->sizeHint().width() - m_Folded[open]->sizeHint().width();
    }
    for (qsizetype i = 0; i < count; ++i) {
        m_Panels[i]->setVisible(i < open);
        m_Folded[i]->setVisible(i >= open);
    }
}

void RibbonCategory::ShowFolded(int index)
{
    if (index < 0 || index >= m_Panels.size()) return;
    RibbonPanel* panel = m_Panels[index];
    QFrame* popup = m_Popups[index];
    QToolButton* button = m_Folded[index];
    popup->layout()->addWidget(panel);
    panel->show();
    popup->adjustSize();
    QPoint at = button->mapToGlobal(QPoint(0, button->height()));
    if (const QScreen* screen = button->screen()) {
        const QRect area = screen->availableGeometry();
        at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - popup->width())));
    }
    popup->move(at);
    popup->show();
}

bool RibbonCategory::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == parentWidget()) {
        Fit(static_cast<QResizeEvent*>(event)->size().width());
    } else if (event->type() == QEvent::Hide) {
        const qsizetype index = m_Popups.indexOf(qobject_cast<QFrame*>(watched));
        if (index >= 0 && m_Panels[index]->parentWidget() == m_Popups[index]) {
            // Back in its place, still folded.
            m_Layout->insertWidget(m_Layout->indexOf(m_Folded[index]), m_Panels[index]);
            m_Panels[index]->hide();
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Ribbon

Ribbon::Ribbon(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(2, 2, 4, 0);
    top->setSpacing(2);
    m_AppButton = new QToolButton(this);
    m_AppButton->setText(QStringLiteral("File"));
    m_AppButton->setPopupMode(QToolButton::InstantPopup);
    m_AppButton->setStyleSheet(QStringLiteral(
        "QToolButton { background: palette(highlight); color: palette(highlighted-text); border-radius: 3px;"
        " padding: 3px 14px; font-weight: bold; } QToolButton::menu-indicator { image: none; width: 0; }"));
    m_AppMenu = new QMenu(m_AppButton);
    m_AppButton->setMenu(m_AppMenu);
    top->addWidget(m_AppButton);

    m_Tabs = new QTabBar(this);
    m_Tabs->setDrawBase(false);
    m_Tabs->setExpanding(false);
    m_Tabs->setDocumentMode(true);
    top->addWidget(m_Tabs, 0, Qt::AlignBottom);
    top->addStretch();
    m_RightArea = new QHBoxLayout;
    m_RightArea->setSpacing(2);
    top->addLayout(m_RightArea);
    layout->addLayout(top);

    m_Pages = new QStackedWidget(this);
    m_Pages->setFixedHeight(kPageHeight + style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    m_Pages->setAutoFillBackground(true);
    m_Pages->setBackgroundRole(QPalette::Window);
    layout->addWidget(m_Pages);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);

    connect(m_Tabs, &QTabBar::currentChanged, m_Pages, &QStackedWidget::setCurrentIndex);
}

Ribbon::~Ribbon()
{
    if (g_main == this) g_main = nullptr;
}

Ribbon* Ribbon::Main()
{
    return g_main;
}
void Ribbon::SetMain(Ribbon* ribbon)
{
    g_main = ribbon;
}

RibbonCategory* Ribbon::AddCategory(const QString& name)
{
    // A category wider than the window scrolls instead of squeezing its controls.
    auto* scroller = new QScrollArea(m_Pages);
    // A click on the ribbon leaves the keyboard with the document's window.
    scroller->setFocusPolicy(Qt::NoFocus);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* category = new RibbonCategory(this, name, scroller);
    category->setFixedHeight(kPageHeight);
    scroller->setWidget(category);
    // The width the category has is the scroller's window on it.
    scroller->viewport()->installEventFilter(category);
    m_Pages->addWidget(scroller);
    m_Tabs->addTab(name);
    m_Categories.append(category);
    return category;
}

RibbonCategory* Ribbon::GetCategory(int index) const
{
    return index >= 0 && index < m_Categories.size() ? m_Categories[index] : nullptr;
}

RibbonCategory* Ribbon::FindCategory(const QString& name) const
{
    for (RibbonCategory* c : m_Categories)
        if (c->Name() == name) return c;
    return nullptr;
}

RibbonCategory* Ribbon::GetActiveCategory() const
{
    return GetCategory(m_Tabs->currentIndex());
}

void Ribbon::SetActiveCategory(RibbonCategory* category)
{
    const int index = m_Categories.indexOf(category);
    if (index >= 0) m_Tabs->setCurrentIndex(index);
}

void Ribbon::Register(int id, Kind kind, QWidget* control, QWidget* container)
{
    m_Elements.append({id, kind, control, container});
}

QAction* Ribbon::RegisterAction(int id, QAction* action)
{
    m_Actions.append({id, action});
    connect(action, &QAction::triggered, this, [this, action, id](bool checked) {
        if (action->isCheckable()) action->setChecked(!checked);
        emit commandTriggered(id);
    });
    return action;
}

const Ribbon::Element* Ribbon::Find(int id) const
{
    for (const Element& e : m_Elements)
        if (e.id == id && e.control) return &e;
    return nullptr;
}

QWidget* Ribbon::FindByID(int id) const
{
    const Element* e = Find(id);
    return e ? e->control.data() : nullptr;
}

QAbstractButton* Ribbon::FindButton(int id) const
{
    return qobject_cast<QAbstractButton*>(FindByID(id));
}
QLineEdit* Ribbon::FindEdit(int id) const
{
    return qobject_cast<QLineEdit*>(FindByID(id));
}
QComboBox* Ribbon::FindComboBox(int id) const
{
    return qobject_cast<QComboBox*>(FindByID(id));
}
QProgressBar* Ribbon::FindProgressBar(int id) const
{
    return qobject_cast<QProgressBar*>(FindByID(id));
}

QAction* Ribbon::FindAction(int id) const
{
    for (const auto& a : m_Actions)
        if (a.first == id && a.second) return a.second;
    return nullptr;
}

void Ribbon::SetApplicationButtonText(const QString& text)
{
    m_AppButton->setText(text);
}

QAction* Ribbon::AddApplicationCommand(int id, const QString& text, const QIcon& icon)
{
    QAction* action = new QAction(icon, text, m_AppMenu);
    m_AppMenu->insertAction(m_RecentSection, action);
    return RegisterAction(id, action);
}

void Ribbon::AddApplicationSeparator()
{
    m_AppMenu->insertSeparator(m_RecentSection);
}

void Ribbon::SetRecentFiles(const QStringList& files, int firstId)
{
    for (QAction* a : m_RecentActions) {
        for (auto it = m_Actions.begin(); it != m_Actions.end();)
            it = it->second == a ? m_Actions.erase(it) : it + 1;
        delete a;
    }
    m_RecentActions.clear();
    if (!m_RecentSection) m_RecentSection = m_AppMenu->addSection(QStringLiteral("Recent Documents"));
    for (int i = 0; i < files.size(); ++i) {
        auto* action =
            new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(files[i]).fileName()), m_AppMenu);
        action->setToolTip(files[i]);
        action->setStatusTip(files[i]);
        m_AppMenu->addAction(action);
        m_RecentActions.append(RegisterAction(firstId + i, action));
    }
}

QMenu* Ribbon::AddRightMenu(const QString& title, const QIcon& icon)
{
    auto* button = new QToolButton(this);
    button->setText(title);
    button->setIcon(icon);
    button->setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonTextBesideIcon);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setAutoRaise(true);
    auto* menu = new QMenu(title, button);
    button->setMenu(menu);
    m_RightArea->addWidget(button);
    return menu;
}

QAction* Ribbon::AddMenuCommand(QMenu* menu, int id, const QString& text, bool checkable)
{
    QAction* action = menu->addAction(text);
    action->setCheckable(checkable);
    return RegisterAction(id, action);
}

QAction* Ribbon::AddRightButton(int id, const QString& toolTip, const QIcon& icon)
{
    auto* button = new QToolButton(this);
    button->setAutoRaise(true);
    auto* action = new QAction(icon, toolTip, button);
    button->setDefaultAction(action);
    m_RightArea->addWidget(button);
    return RegisterAction(id, action);
}

void Ribbon::UpdateCommandUI(const CommandRouter& router)
{
    for (const Element& e : m_Elements) {
        if (!e.control || e.kind == Kind::Progress) continue;
        const CmdUI state = router.Update(e.id);
        if (e.container->isEnabled() != state.IsEnabled()) e.container->setEnabled(state.IsEnabled());
        if (auto* button = qobject_cast<QAbstractButton*>(e.control.data())) {
            const bool checked = state.Check() == 1;
            if (button->isChecked() != checked) button->setChecked(checked);
        }
    }
    for (const auto& a : m_Actions) {
        if (!a.second) continue;
        const CmdUI state = router.Update(a.first);
        if (a.second->isEnabled() != state.IsEnabled()) a.second->setEnabled(state.IsEnabled());
        if (a.second->isCheckable() && a.second->isChecked() != (state.Check() == 1))
            a.second->setChecked(state.Check() == 1);
    }
}

#include "ToolTipManager.h"

#include <QApplication>
#include <QFont>
#include <QHelpEvent>
#include <QTextLayout>
#include <QToolTip>
#include <QWidget>

namespace {
ToolTipManager* g_manager = nullptr;
} // namespace

void ToolTipManager::Init(int maxDescriptionWidth)
{
    if (!g_manager) {
        g_manager = new ToolTipManager(qApp);
        qApp->installEventFilter(g_manager);
    }
    g_manager->m_Width = std::max(1, maxDescriptionWidth);
}

int ToolTipManager::MaxDescriptionWidth()
{
    return g_manager ? g_manager->m_Width : 0;
}

QString ToolTipManager::Wrapped(const QString& text, const QFont& font, int width)
{
    QStringList lines;
    for (const QString& paragraph : text.split(u'\n')) {
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            // The blanks a line was broken at go with the break.
            lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
    }
    return lines.join(u'\n');
}

bool ToolTipManager::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    const QString text = widget->toolTip();
    // Widgets without a tooltip of their own (tab bars, lists, menus) answer for their items or
    // hand the request to their parent; rich text lays itself out.
    if (text.isEmpty() || Qt::mightBeRichText(text)) return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos(), Wrapped(text, QToolTip::font(), m_Width), widget, QRect(),
                       widget->toolTipDuration());
    return true;
}

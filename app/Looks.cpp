#include "Looks.h"

#include "CommandIds.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace looks {

namespace {
// The Office 2007 colour scheme that an unknown id keeps, as the visual manager keeps its style.
int g_office2007 = ID_VIEW_APPLOOK_OFF_2007_BLUE;

struct Colours {
    QColor window, base, button, text, highlight, highlightedText;
};

QPalette make(const Colours& c)
{
    QPalette p;
    p.setColor(QPalette::Window, c.window);
    p.setColor(QPalette::WindowText, c.text);
    p.setColor(QPalette::Base, c.base);
    p.setColor(QPalette::AlternateBase, c.window.lighter(106));
    p.setColor(QPalette::Text, c.text);
    p.setColor(QPalette::Button, c.button);
    p.setColor(QPalette::ButtonText, c.text);
    p.setColor(QPalette::Highlight, c.highlight);
    p.setColor(QPalette::HighlightedText, c.highlightedText);
    p.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    p.setColor(QPalette::ToolTipText, Qt::black);
    p.setColor(QPalette::Light, c.button.lighter(150));
    p.setColor(QPalette::Midlight, c.button.lighter(115));
    p.setColor(QPalette::Mid, c.button.darker(140));
    p.setColor(QPalette::Dark, c.button.darker(200));
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::PlaceholderText, c.text.lighter(180));
    const QColor disabled = c.window.lightness() < 110 ? QColor(128, 128, 128) : QColor(150, 150, 150);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabled);
    return p;
}
} // namespace

Look Describe(int id)
{
    switch (id) {
    case ID_VIEW_APPLOOK_WIN_2000:
        return {QStringLiteral("Windows"), QStringLiteral("Windows 2000")};
    case ID_VIEW_APPLOOK_OFF_XP:
        return {QStringLiteral("Fusion"), QStringLiteral("Office XP")};
    case ID_VIEW_APPLOOK_WIN_XP:
        return {QStringLiteral("Fusion"), QStringLiteral("Windows XP")};
    case ID_VIEW_APPLOOK_OFF_2003:
        return {QStringLiteral("Fusion"), QStringLiteral("Office 2003")};
    case ID_VIEW_APPLOOK_VS_2005:
        return {QStringLiteral("Fusion"), QStringLiteral("Visual Studio 2005")};
    case ID_VIEW_APPLOOK_OFF_2007_BLUE:
        return {QStringLiteral("Fusion"), QStringLiteral("Office 2007 (Blue Style)")};
    case ID_VIEW_APPLOOK_OFF_2007_BLACK:
        return {QStringLiteral("Fusion"), QStringLiteral("Office 2007 (Black Style)")};
    case ID_VIEW_APPLOOK_OFF_2007_SILVER:
        return {QStringLiteral("Fusion"), QStringLiteral("Office 2007 (Silver Style)")};
    case ID_VIEW_APPLOOK_OFF_2007_AQUA:
        return {QStringLiteral("Fusion"), QStringLiteral("Office 2007 (Aqua Style)")};
    default:
        return Describe(g_office2007);
    }
}

QPalette Palette(int id)
{
    switch (id) {
    case ID_VIEW_APPLOOK_WIN_2000:
        return make({QColor(212, 208, 200), Qt::white, QColor(212, 208, 200), Qt::black, QColor(10, 36, 106),
                     Qt::white});
    case ID_VIEW_APPLOOK_OFF_XP:
        return make({QColor(238, 238, 238), Qt::white, QColor(230, 230, 230), Qt::black,
                     QColor(182, 189, 210), Qt::black});
    case ID_VIEW_APPLOOK_WIN_XP:
        return make({QColor(236, 233, 216), Qt::white, QColor(236, 233, 216), Qt::black, QColor(49, 106, 197),
                     Qt::white});
    case ID_VIEW_APPLOOK_OFF_2003:
        return make({QColor(218, 232, 252), Qt::white, QColor(196, 218, 250), Qt::black,
                     QColor(255, 213, 140), Qt::black});
    case ID_VIEW_APPLOOK_VS_2005:
        return make({QColor(238, 237, 229), Qt::white, QColor(229, 227, 214), Qt::black, QColor(51, 94, 168),
                     Qt::white});
    case ID_VIEW_APPLOOK_OFF_2007_BLUE:
        return make({QColor(214, 228, 245), Qt::white, QColor(196, 216, 241), QColor(21, 66, 139),
                     QColor(255, 214, 120), Qt::black});
    case ID_VIEW_APPLOOK_OFF_2007_BLACK:
        return make({QColor(83, 83, 83), QColor(235, 235, 235), QColor(104, 104, 104), Qt::white,
                     QColor(255, 200, 90), Qt::black});
    case ID_VIEW_APPLOOK_OFF_2007_SILVER:
        return make({QColor(226, 229, 235), Qt::white, QColor(208, 212, 221), QColor(40, 40, 40),
                     QColor(255, 214, 120), Qt::black});
    case ID_VIEW_APPLOOK_OFF_2007_AQUA:
        return make({QColor(204, 221, 232), Qt::white, QColor(182, 206, 222), QColor(20, 60, 90),
                     QColor(255, 214, 120), Qt::black});
    default:
        return Palette(g_office2007);
    }
}

void Apply(int id)
{
    if (id >= ID_VIEW_APPLOOK_OFF_2007_BLUE && id <= ID_VIEW_APPLOOK_OFF_2007_AQUA) g_office2007 = id;
    const Look look = Describe(id);
    if (QApplication::style()->name().compare(look.style, Qt::CaseInsensitive) != 0)
        if (QStyle* style = QStyleFactory::create(look.style)) QApplication::setStyle(style);
    QApplication::setPalette(Palette(id));
}

} // namespace looks

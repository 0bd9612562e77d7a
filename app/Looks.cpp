#include "Looks.h"

#include "CommandIds.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionTab>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace looks {

namespace {
// The Office 2007 colour scheme that an unknown id keeps, as the visual manager keeps its style.
int g_office2007 = ID_VIEW_APPLOOK_OFF_2007_BLUE;

struct Colours {
    QColor window, base, button, text, highlight, highlightedText;
};

QColor mix(const QColor& from, const QColor& to, double share)
{
    const auto channel = [share](int a, int b) { return int(std::lround(a + (b - a) * share)); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

// The faintest shade on the way from `from` to the text that still reads on every background: what
// disabled entries and the hints of empty fields are written in.
QColor faintest(const QColor& text, const QColor& from, std::initializer_list<QColor> backgrounds)
{
    for (int step = 0; step <= 50; ++step) {
        const QColor c = mix(from, text, step / 50.0);
        if (std::all_of(backgrounds.begin(), backgrounds.end(),
                        [&c](const QColor& b) { return ContrastRatio(c, b) >= kMinContrast + 0.1; }))
            return c;
    }
    return text;
}

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
    p.setColor(QPalette::PlaceholderText, faintest(c.text, c.base, {c.base}));
    const QColor disabled =
        faintest(c.text, c.window, {c.window, c.base, c.button, p.color(QPalette::AlternateBase)});
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabled);
    return p;
}

double luminance(const QColor& c)
{
    const auto linear = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

// Pale enough for black text, apart enough to tell the documents' tabs from each other.
constexpr QRgb kTabColours[] = {0x94b4e6, 0xfad678, 0xb4d696, 0xf0a0a0,
                                0xbeaae6, 0x96c8be, 0xf5b982, 0xd7aac8};
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
        // Dark throughout: the fields and the ribbon's panels carry the same light text as the frame.
        return make({QColor(66, 66, 66), QColor(40, 40, 40), QColor(58, 58, 58), QColor(245, 245, 245),
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
    // Tooltips keep a palette of their own, which the application's does not reach.
    QToolTip::setPalette(Palette(id));
}

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::span<const TextOnBackground> TextPairs()
{
    static constexpr TextOnBackground kPairs[] = {
        {QPalette::WindowText, QPalette::Window, "labels, tabs, the status bar"},
        {QPalette::WindowText, QPalette::Base, "labels on the ribbon's panels"},
        {QPalette::WindowText, QPalette::Button, "the captions of the ribbon's panels"},
        {QPalette::ButtonText, QPalette::Button, "buttons and drop-down lists"},
        {QPalette::ButtonText, QPalette::Base, "buttons on the ribbon's panels"},
        {QPalette::ButtonText, QPalette::Window, "buttons beside the ribbon's tabs"},
        {QPalette::Text, QPalette::Base, "fields, the netlist, lists and menus"},
        {QPalette::Text, QPalette::AlternateBase, "alternate rows of lists"},
        {QPalette::PlaceholderText, QPalette::Base, "the hints of empty fields"},
        {QPalette::HighlightedText, QPalette::Highlight, "selections, the menu entry under the mouse, File"},
        {QPalette::ToolTipText, QPalette::ToolTipBase, "prompts"},
    };
    return kPairs;
}

QColor TabColour(int index, bool selected)
{
    const QColor c = QColor::fromRgb(kTabColours[size_t(std::abs(index)) % std::size(kTabColours)]);
    return selected ? c : mix(c, Qt::white, 0.35);
}

ColouredTabs::ColouredTabs(int lookId) : QProxyStyle(QStyleFactory::create(Describe(lookId).style)) {}

void ColouredTabs::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const
{
    const auto* tab = qstyleoption_cast<const QStyleOptionTab*>(option);
    if (!tab || tab->tabIndex < 0 || (element != CE_TabBarTabShape && element != CE_TabBarTabLabel)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    QStyleOptionTab coloured(*tab);
    const QColor fill = TabColour(tab->tabIndex, tab->state & State_Selected);
    for (QPalette::ColorRole role :
         {QPalette::Window, QPalette::Button, QPalette::Base, QPalette::Light, QPalette::Midlight})
        coloured.palette.setColor(role, fill);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        coloured.palette.setColor(role, kTabText);
    QProxyStyle::drawControl(element, &coloured, painter, widget);
}

} // namespace looks

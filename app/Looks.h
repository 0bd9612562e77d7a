#pragma once

#include <QColor>
#include <QPalette>
#include <QProxyStyle>
#include <QString>

#include <span>

// The program's looks (ids 210-218) as Qt styles and palettes.
namespace looks {
struct Look {
    QString style; // Qt style key
    QString name;
};
// The look of an id; ids outside 210-218 keep the last Office 2007 colour scheme.
Look Describe(int id);
QPalette Palette(int id);
// Applies the look to the whole application.
void Apply(int id);

// ---- readability ----
// How far text stands out from its background: the ratio of the two colours' relative luminance
// (each plus 0.05), from 1 (the same) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);
// What every text of the program needs against its background.
inline constexpr double kMinContrast = 4.5;
// A colour role drawn as text over a background role somewhere in the program's widgets.
struct TextOnBackground {
    QPalette::ColorRole text;
    QPalette::ColorRole background;
    const char* where;
};
std::span<const TextOnBackground> TextPairs();

// ---- the tabs of the documents ----
// Each tab has a colour of its own, given in turn by the tab's place; its text is black.
QColor TabColour(int index, bool selected);
inline const QColor kTabText = QColor(0, 0, 0);

// The look's style for the tab bar of the documents, which colours each tab.
class ColouredTabs : public QProxyStyle {
public:
    explicit ColouredTabs(int lookId);
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};
} // namespace looks

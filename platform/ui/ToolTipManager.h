#pragma once

#include <QObject>
#include <QString>

class QFont;

// The program's tooltips: a widget's tooltip text is laid out in lines no wider than the
// description width and shown in the tooltip colours of the look (QToolTip's palette, which the
// look sets).
class ToolTipManager : public QObject {
public:
    static constexpr int kMaxDescriptionWidth = 200;

    // Takes over the tooltips of the whole application with the given width in pixels; a second
    // call only changes the width.
    static void Init(int maxDescriptionWidth = kMaxDescriptionWidth);
    static int MaxDescriptionWidth();

    // The text in lines at most `width` pixels wide in the font: broken at blanks where a line has
    // one, anywhere in a word longer than the width; its own line breaks stay.
    static QString Wrapped(const QString& text, const QFont& font, int width);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
    int m_Width = kMaxDescriptionWidth;
};

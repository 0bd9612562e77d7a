#include "CSwitch.h"

#include "ComboSearch.h"
#include "DialogText.h"
#include "PartSymbol.h"

namespace {

// The list's selection for a word of the value text, searched as the list itself searches (after the
// first item, wrapping), or the word kept aside when nothing matches.
void selectWord(const QStringList& items, const QString& word, int& selected, QString& unmatched)
{
    selected = selectStringPrefix(items, 0, word);
    unmatched = selected < 0 ? word : QString();
}

QString selectedWord(const QStringList& items, int selected, const QString& unmatched)
{
    return selected >= 0 && selected < int(items.size()) ? items[selected] : unmatched;
}

} // namespace

const ClassInfo CSwitch::Class = {"CSwitch", 3, false, &CComponent::Class, &CreatePersistent<CSwitch>};

// A new switch shows its name only.
// clang-format off
const AttachmentLayout CSwitch::kLayout{.value = AttachmentLayout::ValueHidden, .offsets = {{
    // name         value         pin 1   pin 2
    {{{100, 300},  {100, -100},  {0, 0}, {432, 0}}},
    {{{150, -100}, {150, -300},  {0, 0}, {0, -432}}},
    {{{-400, 300}, {-400, -100}, {0, 0}, {-432, 0}}},
    {{{150, 500},  {150, 300},   {0, 0}, {0, 432}}},
}}};
// clang-format on

const QStringList& CSwitch::Criteria()
{
    static const QStringList items{"TIME", "VOLT", "CUR", "ENERGY"};
    return items;
}

const QStringList& CSwitch::TimeDependences()
{
    static const QStringList items{"EXP", "LIN", "T0/T", "TANH"};
    return items;
}

QString CSwitch::GetDefaultValue() const
{
    return QStringLiteral("TIME 1E6 0.1 10n 1n LIN");
}

void CSwitch::OnInitDialog()
{
    const QStringList words = splitAtBlanks(ValueBuffer);
    selectWord(Criteria(), words.value(0), CriterionCombo, UnmatchedCriterion);
    InitialResistanceText = words.value(1);
    FinalResistanceText = words.value(2);
    CriticalValueText = words.value(3);
    TimeConstantText = words.value(4);
    selectWord(TimeDependences(), words.value(5), TimeDependenceCombo, UnmatchedTimeDependence);
}

bool CSwitch::OnOK()
{
    ValueBuffer = QStringList{selectedWord(Criteria(), CriterionCombo, UnmatchedCriterion),
                              InitialResistanceText,
                              FinalResistanceText,
                              CriticalValueText,
                              TimeConstantText,
                              selectedWord(TimeDependences(), TimeDependenceCombo, UnmatchedTimeDependence)}
                      .join(QLatin1Char(' '));
    return true;
}

void CSwitch::Draw(Dc& dc)
{
    SymbolPainter p(dc, *this);
    dc.SelectObject(Brush(p.pen().color));
    Extent = p.Box(0, 144, 432, -144);
    p.Line(0, 0, 144, 0);
    p.Ellipse(108, 36, 180, -36);
    p.Line(144, 0, 288, 100);
    p.Ellipse(252, 36, 324, -36);
    p.Line(288, 0, 432, 0);
}

#include "CPlanarDiode.h"

#include "COilSwitch.h"
#include "DialogText.h"
#include "PartSymbol.h"

namespace {
// The two bands: dense and sparse blue dots on white.
constexpr std::array<quint8, 8> kDenseDots = {0xAA, 0x00, 0x55, 0x00, 0xAA, 0x00, 0x55, 0x00};
constexpr std::array<quint8, 8> kSparseDots = {0x80, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00};
} // namespace

const ClassInfo CPlanarDiode::Class = {"CPlanarDiode", 3, false, &CResistor::Class,
                                       &CreatePersistent<CPlanarDiode>};

QString CPlanarDiode::GetDefaultValue() const
{
    return QStringLiteral("PLDIODE EL=1 EW=1 EG=1 CV=2 IM=1 BF=50 TOT=10 AET=1");
}

void CPlanarDiode::OnInitDialog()
{
    TakeFrom(*this);
    const auto fields = Fields();
    readKeyedValues(splitAtBlanks(ValueBuffer), kKeys,
                    [&](size_t k, const QString& text) { *fields[k] = text; });
}

bool CPlanarDiode::OnOK()
{
    QStringList words{QStringLiteral("PLDIODE")};
    const auto fields = Fields();
    for (size_t k = 0; k < kKeys.size(); ++k)
        words << QLatin1String(kKeys[k]) + QLatin1Char('=') + *fields[k];
    GiveTo(*this);
    ValueBuffer = words.join(QLatin1Char(' '));
    return true;
}

void CPlanarDiode::Draw(Dc& dc)
{
    SymbolPainter p(dc, *this);
    Extent = p.Box(0, 144, 576, -144);
    p.Line(0, 0, 144, 0);
    dc.SelectObject(Pen::NullPen());
    const QColor blue(0, 0, 255), white(255, 255, 255);
    dc.SelectObject(Brush::PatternBrush(kDenseDots, blue, white));
    p.Rectangle(144, 144, 244, -144);
    dc.SelectObject(Brush::PatternBrush(kSparseDots, blue, white));
    p.Rectangle(244, 144, 344, -144);
    dc.SelectObject(p.pen());
    p.Line(144, 144, 144, -144);
    p.Line(432, 144, 432, -144);
    p.Line(432, 0, 576, 0);
}

const AttachmentLayout& CPlanarDiode::Layout() const
{
    return COilSwitch::kLayout;
}

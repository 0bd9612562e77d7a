#include "CSubcircuit.h"

#include "CDrawing.h"
#include "Dc.h"
#include "SubcircuitFile.h"
#include "UiServices.h"

const ClassInfo CSubcircuit::Class = {"CSubcircuit", 3, false, &CComponent::Class,
                                      &CreatePersistent<CSubcircuit>};

// The file label starts empty; the parameter label, hidden, holds the block's own "PARAMS:".
// clang-format off
const AttachmentLayout CSubcircuit::kLayout{.ic = "PARAMS:", .pins = "1234", .offsets = {{
    // name         file         parameters   pin 1   pin 2      pin 3       pin 4
    {{{290, 383},  {310, 583},  {310, 783},  {0, 0}, {0, -288}, {1008, 0},  {1008, -288}}},
    {{{200, -200}, {200, -450}, {200, -700}, {0, 0}, {-288, 0}, {0, -1008}, {-288, -1008}}},
    {{{-800, 383}, {-780, 583}, {-780, 783}, {0, 0}, {0, -288}, {-1008, 0}, {-1008, -288}}},
    {{{200, 800},  {200, 550},  {200, 300},  {0, 0}, {-288, 0}, {0, 1008},  {-288, 1008}}},
}}};
// clang-format on

namespace {

// The symbol for orientation 1, from pin 1: the pins and the ends of their leads at the box.
constexpr QPoint kPins[] = {{0, 0}, {0, -288}, {1008, 0}, {1008, -288}};
constexpr QPoint kLeadEnds[] = {{144, 0}, {144, -288}, {864, 0}, {864, -288}};
constexpr QPoint kBox[] = {{144, 144}, {864, -432}};
constexpr QPoint kExtent[] = {{0, 144}, {1008, -442}};

// The top-left of pin `pin`'s number (0 to 3), a text of `size`: inside the box beside its lead. The
// text stays upright, so it is placed by hand rather than turned.
QPoint numberAt(int orientation, QPoint p, int pin, QSize size)
{
    const bool farSide = pin >= 2;
    const bool second = pin % 2 == 1;
    const int w = size.width();
    const int h = size.height();
    switch (orientation) {
    case 2:
        return CDrawing::Shifted(p, -(second ? 288 : 0) - w / 2, farSide ? -808 + h : -200);
    case 3:
        return CDrawing::Shifted(p, -(farSide ? 740 : 200) - w, second ? -198 : 90);
    case 4:
        return CDrawing::Shifted(p, -(second ? 288 : 0) - w / 2, farSide ? 808 : 200 + h);
    }
    return CDrawing::Shifted(p, farSide ? 740 : 200, second ? -198 : 90);
}

} // namespace

// ---- the symbol ----

void CSubcircuit::Draw(Dc& dc)
{
    const QColor color = CDrawing::SymbolColor(*this);
    const Pen oldPen = dc.SelectObject(Pen(Pen::Solid, 15, color));
    const Brush oldBrush = dc.SelectObject(Brush::WhiteBrush());
    const Font oldFont = dc.SelectObject(CDrawing::CreateArialFont(170));
    const QColor oldText = dc.SetTextColor(color);
    const QColor oldBk = dc.SetBkColor(QColor(255, 255, 255));

    dc.Rectangle(CDrawing::TurnBox(Orientation, Position, kBox[0], kBox[1]));
    for (int pin = 0; pin < 4; ++pin) {
        dc.MoveTo(CDrawing::Shifted(Position, CDrawing::Turn(Orientation, kPins[pin])));
        dc.LineTo(CDrawing::Shifted(Position, CDrawing::Turn(Orientation, kLeadEnds[pin])));
        const QString number = QString::number(pin + 1);
        const QPoint at = numberAt(Orientation, Position, pin, dc.GetTextExtent(number));
        dc.TextOut(at.x(), at.y(), number);
    }
    Extent = CDrawing::TurnBox(Orientation, Position, kExtent[0], kExtent[1]);

    dc.SetBkColor(oldBk);
    dc.SetTextColor(oldText);
    dc.SelectObject(oldFont);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

// ---- the dialog ----

bool CSubcircuit::EditProperties(ComponentHost& doc)
{
    ParentDocument = &doc;
    const bool changed = LabelledPart::EditProperties(doc);
    ParentDocument = nullptr;
    OpenedDocument = {};
    return changed;
}

void CSubcircuit::OnInitDialog()
{
    // A document opened in an earlier run of the dialog stays open, but this run no longer closes it.
    OpenedDocument = {};
    ExchangeBuffers(true);
}

bool CSubcircuit::OnOK()
{
    ExchangeBuffers(false);
    return true;
}

void CSubcircuit::ExchangeBuffers(bool intoFields)
{
    const auto pass = [intoFields](auto& field, auto& buffer) {
        if (intoFields)
            field = buffer;
        else
            buffer = field;
    };
    pass(NameText, NameBuffer);
    pass(NameVisible, NameVisibleCheck);
    pass(FileText, ValueBuffer);
    pass(FileVisible, ValueVisibleCheck);
    pass(ParamsText, ICBuffer);
    pass(ParamsVisible, ICVisibleCheck);
}

void CSubcircuit::OnBrowse(const QString& chosen)
{
    if (!chosen.isEmpty()) FileText = chosen;
}

void CSubcircuit::OnOpen()
{
    OnClose();
    if (ParentDocument && !FileText.isEmpty()) {
        const QString path = resolveSubcircuitFile(FileText, ParentDocument->DocumentPath());
        if (!path.isEmpty()) OpenedDocument = ParentDocument->OpenDocumentWindow(path);
    }
    if (!OpenedDocument.IsOpen()) ui().message(OpenFailedMessage(FileText));
}

void CSubcircuit::OnClose()
{
    if (OpenedDocument.IsOpen() && ParentDocument) ParentDocument->CloseDocumentWindow(OpenedDocument);
    OpenedDocument = {};
}

void CSubcircuit::OnRemovePath()
{
    FileText = removeSubcircuitPath(FileText);
}

#pragma once

#include "CComponent.h"
#include "DialogText.h"

#include <QPoint>

#include <array>

class SymbolPainter;

// Where a two-terminal part's attachments go in one orientation, relative to the part's position;
// pin "1" is at the position itself.
struct AttachmentOffsets {
    QPoint pin2;
    QPoint nameLabel;
    QPoint valueLabel; // not used by a part without a value label
};
// One row for each of the orientations 1 to 4.
using AttachmentTable = std::array<AttachmentOffsets, 4>;

// The voltage source (type 541): a circle with a plus sign and a bar, followed by its name label,
// its value label and pins "1" (the positive node) and "2". Its value text is a DC value, a pulse or
// the name of an archive waveform, which the source dialog shows as fields.
class CVoltageSource : public CComponent, public DialogNameFields {
public:
    static const ClassInfo Class;
    static constexpr int kDialogTemplate = 346; // "Source Edit"

    CVoltageSource();
    explicit CVoltageSource(quint32 typeId);
    explicit CVoltageSource(const CComponent& source);
    const ClassInfo& RuntimeClass() const override { return Class; }

    void OnInitDialog() override;
    bool OnOK() override;
    void Draw(Dc& dc) override;
    int GetAttachmentCount() const override { return 4; }
    QString GetDefaultValue() const override;
    void CreateAttachments(ComponentHost& doc, int x, int y) override;
    void PlaceAttachments(ComponentHost& doc, ComponentList::iterator self) override;
    bool EditProperties(ComponentHost& doc) override;

    // ---- what the two-terminal parts share ----
    // The prefix letter of a new part of the type (its designator counter's letter).
    static QString PrefixLetter(quint32 typeId);
    enum class ValueLabel { Shown, Hidden, None };
    // Appends the part's name label with `name` (the part names itself from its letter's counter
    // first), its value label (the default value text) unless there is none, and pins "1" and "2",
    // then places them. Nothing happens unless the part is the tail of the document's list.
    static void AppendLabelsAndPins(CComponent& part, ComponentHost& doc, const QString& name,
                                    ValueLabel valueLabel);
    // Pin "1" goes to the part's position; pin "2" and the labels to the offsets of the part's
    // orientation (none for an orientation outside 1 to 4).
    static void PlaceLabelsAndPins(const CComponent& part, ComponentHost& doc, ComponentList::iterator self,
                                   const AttachmentTable& table, bool withValueLabel);

    // ---- dialog fields (not stored) ----
    enum Kind { KindDC = 0, KindPulse = 1, KindOrlisk = 2 };
    int SourceKind = KindDC;
    QString DCText = QStringLiteral("1");
    QString V1Text = QStringLiteral("0");
    QString V2Text = QStringLiteral("1");
    QString TDText = QStringLiteral("10n");
    QString TRText = QStringLiteral("1n");
    QString TFText = QStringLiteral("1n");
    QString PWText = QStringLiteral("10n");
    QString PERText = QStringLiteral("100n");
    QString WaveformName = QStringLiteral("Waveform");

protected:
    // The leads and the circle that both sources draw; `whiteFill` selects a white brush first.
    void DrawLeadsAndCircle(SymbolPainter& p, bool whiteFill);

private:
    PulseFields Pulse();
};

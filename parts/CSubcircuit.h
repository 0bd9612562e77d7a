#pragma once

#include "LabelledPart.h"

// A block that stands for another schematic file: a box with four numbered pins. Its name label
// carries its designator (X1, X2, ...), its file label the file it stands for, and its hidden
// parameter label a "PARAMS:" text for this instance; the netlist writer joins the file's bubbles
// "SUB1" to "SUB4" to the block's pins 1 to 4. Its dialog can also pick the file, open it in a
// window of its own, close it again and cut the folder off the stored name.
class CSubcircuit : public LabelledPart {
public:
    static const ClassInfo Class;
    static constexpr int kDialogTemplate = 351; // "Subcircuit Edit"
    // Name label, file label, parameter label, pins 1 to 4.
    static const AttachmentLayout kLayout;

    CSubcircuit() : LabelledPart(Dialog{kDialogTemplate}) {}
    explicit CSubcircuit(quint32 typeId) : LabelledPart(Dialog{kDialogTemplate}, typeId) {}
    explicit CSubcircuit(const CComponent& source) : LabelledPart(Dialog{kDialogTemplate}, source) {}

    const ClassInfo& RuntimeClass() const override { return Class; }

    void OnInitDialog() override;
    bool OnOK() override;
    void Draw(Dc& dc) override;
    const AttachmentLayout& Layout() const override { return kLayout; }
    // The shared editing of a part, with the file and parameter labels in place of the value and
    // initial-condition labels.
    bool EditProperties(ComponentHost& doc) override;

    // ---- the dialog's buttons; the dialog puts its controls into the fields before and shows the
    // fields again after ----
    // The file the user chose (empty: the choice was cancelled).
    void OnBrowse(const QString& chosen);
    // Opens the named file in a window of its own, after closing the one opened before.
    void OnOpen();
    void OnClose();
    void OnRemovePath();

    static QString FileFilter()
    {
        return QStringLiteral("TORVEX Circuits (*.cas)|*.cas|All Files (*.*)|*.*||");
    }
    static QString OpenFailedMessage(const QString& file)
    {
        return QStringLiteral("Error.  Could not open subcircuit file '") + file + u'\'';
    }

    // ---- while the dialog runs ----
    DocumentHandle OpenedDocument;
    ComponentHost* ParentDocument = nullptr;
    QString NameText; // 1000
    int NameVisible = 0;
    QString FileText; // 1002
    int FileVisible = 0;
    QString ParamsText; // 1001
    int ParamsVisible = 0;

private:
    // The dialog's fields from the buffers of the shared editing, or back.
    void ExchangeBuffers(bool intoFields);
};

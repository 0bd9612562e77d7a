#pragma once

#include "LabelledPart.h"

#include <QColor>

// A lossless transmission line: a cylinder between port 1 (pins 1 and 2) and port 2 (pins 3 and 4),
// the shield joining the return pins 2 and 4; followed by its name, value and IC labels and its four
// pins. The other line kinds differ in their type, their default text and the look of the body.
class CTransmissionLine : public LabelledPart {
public:
    static const ClassInfo Class;
    static const AttachmentLayout kLayout;

    CTransmissionLine() : LabelledPart(Dialog{kDialogTemplate}) {}
    explicit CTransmissionLine(quint32 typeId) : LabelledPart(Dialog{kDialogTemplate}, typeId) {}
    const ClassInfo& RuntimeClass() const override { return Class; }

    void Draw(Dc& dc) override;
    QString GetDefaultValue() const override { return QStringLiteral("Z0=1, TD=1n"); }
    const AttachmentLayout& Layout() const override { return kLayout; }

protected:
    // The line's figure with a body of the colour, narrowing towards port 2 when tapered.
    void DrawLine(Dc& dc, QColor body, bool tapered);
};

// A line in a lossy dielectric.
class CLossyDielTL : public CTransmissionLine {
public:
    static const ClassInfo Class;
    using CTransmissionLine::CTransmissionLine;
    const ClassInfo& RuntimeClass() const override { return Class; }
    void Draw(Dc& dc) override;
    QString GetDefaultValue() const override { return QStringLiteral("LOSSYZ Z0=1 TD=1n RHO=2 ER=81"); }
};

// A line in a lossy dielectric whose impedance changes from one end to the other.
class CLossyDielTLX : public CTransmissionLine {
public:
    static const ClassInfo Class;
    using CTransmissionLine::CTransmissionLine;
    const ClassInfo& RuntimeClass() const override { return Class; }
    void Draw(Dc& dc) override;
    QString GetDefaultValue() const override { return QStringLiteral("LOSSYX Z0=1 Z1=1 TD=1n RHO=2 ER=81"); }
};

// A line with a resistance at its input.
class CLossyTL : public CTransmissionLine {
public:
    static const ClassInfo Class;
    using CTransmissionLine::CTransmissionLine;
    const ClassInfo& RuntimeClass() const override { return Class; }
    QString GetDefaultValue() const override { return QStringLiteral("LOSSYR Z0=1 TD=1n R=1"); }
};

// Magnetically insulated lines, lossless and lossy.
class CMITL0 : public CTransmissionLine {
public:
    static const ClassInfo Class;
    using CTransmissionLine::CTransmissionLine;
    const ClassInfo& RuntimeClass() const override { return Class; }
    QString GetDefaultValue() const override { return QStringLiteral("MITL0, Z0=30 TD=1n"); }
};

class CMITL1 : public CTransmissionLine {
public:
    static const ClassInfo Class;
    using CTransmissionLine::CTransmissionLine;
    const ClassInfo& RuntimeClass() const override { return Class; }
    QString GetDefaultValue() const override
    {
        return QStringLiteral("MITL1, RI=10mm RO=20mm TD=1n EB=30MEG TOT=10n");
    }
};

// A capacitor that the simulator builds from a line stub: the capacitor's symbol and attachments.
class CTLineC : public CTransmissionLine {
public:
    static const ClassInfo Class;
    using CTransmissionLine::CTransmissionLine;
    const ClassInfo& RuntimeClass() const override { return Class; }
    void Draw(Dc& dc) override;
    QString GetDefaultValue() const override { return QStringLiteral("TL C=1nF"); }
    const AttachmentLayout& Layout() const override;
};

// An inductor that the simulator builds from a line stub: the inductor's symbol and attachments.
class CTLineL : public CTransmissionLine {
public:
    static const ClassInfo Class;
    using CTransmissionLine::CTransmissionLine;
    const ClassInfo& RuntimeClass() const override { return Class; }
    void Draw(Dc& dc) override;
    QString GetDefaultValue() const override { return QStringLiteral("TL L=1nH"); }
    const AttachmentLayout& Layout() const override;
};

// Two classes that older schematic files may name. No tool makes them; an object read from a file is a
// plain line of whatever type its record holds, edited through the common dialog.
class CVariableTL : public CTransmissionLine {
public:
    static const ClassInfo Class;
    const ClassInfo& RuntimeClass() const override { return Class; }
};

class CVariableZ : public CTransmissionLine {
public:
    static const ClassInfo Class;
    const ClassInfo& RuntimeClass() const override { return Class; }
};

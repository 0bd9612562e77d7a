#pragma once
// Schematics built object by object in the order the part classes lay them out (a part, its labels,
// its pins), from plain objects of the right types, for the netlist writer's tests.
#include "CComponent.h"
#include "CTorvex2Doc.h"
#include "ComponentTypeId.h"
#include "NetlistWriter.h"

#include <QBuffer>
#include <QFile>
#include <QPoint>

#include <initializer_list>
#include <memory>

// A grid point, 144 twips apart.
inline QPoint G(int x, int y = 0)
{
    return QPoint(144 * x, -144 * y);
}

struct Sheet {
    CTorvex2Doc doc;

    CComponent& add(quint32 type, const QString& text = {}, QPoint at = {})
    {
        auto object = std::make_unique<CComponent>();
        object->Init(type);
        object->Text = text;
        object->Position = at;
        object->State = 1;
        doc.Components().push_back(std::move(object));
        return *doc.Components().back();
    }
    // A part with its name label, its value label, its IC label when `ic` is given, and its pins.
    Sheet& part(quint32 type, const QString& name, const QString& value, std::initializer_list<QPoint> pins,
                const QString* ic = nullptr)
    {
        add(type, name.left(1), *pins.begin());
        add(TypeLabel, name);
        add(TypeLabel, value);
        if (ic) add(TypeLabel, *ic);
        int n = 1;
        for (QPoint p : pins)
            add(TypeTerminal, QString::number(n++), p);
        return *this;
    }
    Sheet& r(const QString& name, const QString& value, QPoint a, QPoint b)
    {
        return part(TypeResistor, name, value, {a, b});
    }
    Sheet& line(quint32 type, const QString& name, const QString& value, const QString& ic,
                std::initializer_list<QPoint> pins)
    {
        return part(type, name, value, pins, &ic);
    }
    Sheet& wire(QPoint a, QPoint b)
    {
        add(TypeWire, {}, a);
        add(TypeTerminal, QStringLiteral("1"), a);
        add(TypeTerminal, QStringLiteral("2"), b);
        return *this;
    }
    Sheet& ground(QPoint p)
    {
        add(TypeGround, {}, p);
        add(TypeTerminal, QStringLiteral("1"), p);
        return *this;
    }
    // A bubble connector or a voltage probe.
    Sheet& labelled(quint32 type, const QString& label, QPoint p)
    {
        add(type, label.left(1), p);
        add(TypeLabel, label);
        add(TypeTerminal, QStringLiteral("1"), p);
        return *this;
    }
    Sheet& bubble(const QString& label, QPoint p) { return labelled(TypeBubbleConnector, label, p); }
    Sheet& probe(const QString& label, QPoint p) { return labelled(TypeVoltageProbe, label, p); }
    Sheet& text(const QString& t)
    {
        add(TypeTextSelectionTool, t);
        return *this;
    }
    // A sub-circuit block with its pins 1 to 4 at the points.
    Sheet& block(const QString& name, const QString& file, const QString& params,
                 std::initializer_list<QPoint> pins)
    {
        add(TypeSubcircuitInterface, QStringLiteral("X"), *pins.begin());
        add(TypeLabel, name);
        add(TypeLabel, file);
        add(TypeLabel, params);
        int n = 1;
        for (QPoint p : pins)
            add(TypeTerminal, QString::number(n++), p);
        return *this;
    }

    QString write(NetlistReport* report = nullptr)
    {
        return doc.WriteNetlist({}, {}, {}, {}, {}, {}, report);
    }
    // The statements of the netlist, without line ends; comment lines included.
    QStringList lines(NetlistReport* report = nullptr)
    {
        QStringList out = write(report).split(QStringLiteral("\r\n"));
        if (!out.isEmpty() && out.last().isEmpty()) out.removeLast();
        return out;
    }
    // Stores the schematic as a file, which then becomes its path.
    bool saveAs(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !doc.Save(file)) return false;
        doc.SetPathName(path);
        return true;
    }
};

#pragma once
// Schematics built object by object (a part of its class, then the labels and pins given), for the
// netlist writer's tests: a group may be laid out as its class lays it, or broken on purpose.
#include "CComponent.h"
#include "CTorvex2Doc.h"
#include "ComponentTypeId.h"
#include "NetlistWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

// A grid point, 144 twips apart.
inline QPoint G(int x, int y = 0)
{
    return QPoint(144 * x, -144 * y);
}

struct Sheet {
    CTorvex2Doc doc;

    Sheet& add(quint32 type, const QString& text = {}, QPoint at = {})
    {
        std::unique_ptr<CComponent> object = CTorvex2Doc::CreateComponent(type);
        object->Text = text;
        object->Position = at;
        doc.Components().push_back(std::move(object));
        return *this;
    }
    // The object, then a label for each text, then a pin at each point.
    Sheet& obj(quint32 type, QStringList labels, std::initializer_list<QPoint> pins)
    {
        add(type, labels.value(0).left(1), pins.size() ? *pins.begin() : QPoint());
        for (const QString& label : labels)
            add(TypeLabel, label);
        for (QPoint p : pins)
            add(TypeTerminal, QString(), p);
        return *this;
    }
    Sheet& r(const QString& name, const QString& value, QPoint a, QPoint b)
    {
        return obj(TypeResistor, {name, value}, {a, b});
    }
    Sheet& v(const QString& name, const QString& value, QPoint a, QPoint b)
    {
        return obj(TypeVoltageSource, {name, value}, {a, b});
    }
    Sheet& wire(QPoint a, QPoint b) { return obj(TypeWire, {}, {a, b}); }
    Sheet& ground(QPoint p) { return obj(TypeGround, {}, {p}); }
    Sheet& bubble(const QString& label, QPoint p) { return obj(TypeBubbleConnector, {label}, {p}); }
    Sheet& probe(const QString& label, QPoint p) { return obj(TypeVoltageProbe, {label}, {p}); }
    Sheet& text(const QString& t) { return add(TypeTextSelectionTool, t); }
    // A block with its pins 1 and 2 at the points and pins 3 and 4 where nothing else is.
    Sheet& block(const QString& name, const QString& file, QPoint a, QPoint b,
                 const QString& params = QStringLiteral("PARAMS:"))
    {
        return obj(TypeSubcircuitInterface, {name, file, params}, {a, b, G(-99, 1), G(-99, 2)});
    }

    // The netlist's lines without their ends.
    QStringList lines(NetlistReport* report = nullptr)
    {
        QStringList out = doc.WriteNetlist({}, {}, {}, {}, {}, {}, report).split(QStringLiteral("\r\n"));
        out.removeAll(QString());
        return out;
    }
    bool saveAs(const QString& path)
    {
        QFile file(path);
        doc.SetPathName(path);
        return file.open(QIODevice::WriteOnly) && doc.Save(file);
    }
};

// Schematic files in a folder of their own, and netlists of schematics that live beside them, so
// that bare file names in blocks resolve.
class WriterFiles : public ::testing::Test {
protected:
    QString path(const QString& name) const { return QFileInfo(m_dir.filePath(name)).absoluteFilePath(); }
    QString canonical(const QString& name) const
    {
        return QFileInfo(m_dir.filePath(name)).canonicalFilePath();
    }
    void file(const QString& name, const std::function<void(Sheet&)>& build)
    {
        Sheet s;
        build(s);
        ASSERT_TRUE(s.saveAs(path(name)));
    }
    QStringList top(const std::function<void(Sheet&)>& build, NetlistReport* report = nullptr)
    {
        Sheet s;
        build(s);
        s.doc.SetPathName(path("top.cas"));
        return s.lines(report);
    }
    QTemporaryDir m_dir;
};

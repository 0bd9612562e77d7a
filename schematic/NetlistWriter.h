#pragma once

#include "NetlistNodes.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <array>

class CComponent;
class CTorvex2Doc;
class WrittenDocument;
struct WrittenItem;

// What writing a netlist found out beyond its text.
struct NetlistReport {
    // False when no netlist could be written; the reason has been shown.
    bool ok = true;
    // The elements that run without a simulation model of their own, with their keyword: "R3 (MOV)",
    // "T1_X1 (MITL0)". The simulator runs them as near short circuits.
    QStringList partsWithoutModel;
};

// The one warning for a netlist whose parts include some without a model of their own.
QString NoModelWarning(const QStringList& partsWithoutModel);

// One netlist, however many documents it is written from: a schematic becomes the netlist text the
// simulator reads. Nodes are named into the pins' texts, one line is written per part, and every
// sub-circuit block is replaced by the netlist of the file it stands for, written with the block's
// prefix.
class NetlistWriter {
public:
    // A node of the block being written that one of its pins stands on.
    struct Port {
        QString name;
        NodeOrigin origin = FromOutside;
    };
    using Ports = std::array<Port, 4>;

    // `topPath`: the file of the document the netlist is written from, if it has one.
    NetlistWriter(NetlistReport& report, const QString& topPath);

    // Appends the document's netlist to `out`; false after the one message of a failure.
    bool Write(CTorvex2Doc& doc, const QString& prefix, const QString& parameterText, const Ports& ports,
               QString& out);
    // The warnings about the netlist as a whole: names that stand for more than one element or node,
    // and texts that held line breaks or control characters.
    void Warn() const;

private:
    bool Fail(const QString& message);
    // The lines of the document's parts in list order, each block's netlist in its place.
    bool WriteLines(WrittenDocument& sheet, QString& out);
    // The netlist of the file a block stands for, with the block's prefix, its instance's parameters
    // and then the writing document's, and its pins' nodes as the file's "SUB1" to "SUB4".
    bool ExpandBlock(WrittenDocument& sheet, const WrittenItem& block, QString& out);
    // Why the file of a block cannot be written inside the blocks being written; empty when it can.
    QString RefusedBlock(const QString& label, const QString& canonical) const;
    // A text of a statement, with every line break and control character a blank; the element it
    // belongs to is noted when one was.
    QString StatementText(QString text, const QString& element);
    void NoteElement(const QString& name);
    void NoteNode(const QString& name, NodeOrigin origin);
    void NoteCollision(const QString& name);
    void NoteModel(const QString& name, const QString& value);

    NetlistReport& m_Report;
    // The canonical paths of the files being written, outermost first, and how deep the block being
    // written stands.
    QStringList m_Chain;
    int m_Depth = 0;
    QSet<QString> m_ElementNames;       // upper-cased
    QHash<QString, quint8> m_NodeNames; // upper-cased, with the origins met
    QStringList m_Collisions;
    QSet<QString> m_CollisionSet;
    QStringList m_Blanked; // the elements whose texts held line breaks or control characters
};

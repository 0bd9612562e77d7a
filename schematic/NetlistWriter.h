#pragma once

#include "WrittenDocument.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class CTorvex2Doc;

// What writing a netlist found out beyond its text.
struct NetlistReport {
    // False when no netlist could be written; the reason has been shown.
    bool ok = true;
    // The elements that run without a simulation model of their own, with their keyword: "R3 (MOV)",
    // "T1_X1 (MITL0)". The simulator runs them as near short circuits.
    QStringList partsWithoutModel;
    // The pins that nothing connects to: the only element pin of a node that is not ground, as
    // "R1 pin 2" or "C1_X1 pin 1", in netlist order.
    QStringList unconnectedPins;
};

// The one warning for a netlist whose parts include some without a model of their own.
QString NoModelWarning(const QStringList& partsWithoutModel);
// The one warning for a netlist with pins that nothing connects to.
QString UnconnectedPinsWarning(const QStringList& unconnectedPins);

// One netlist, however many documents it is written from: a schematic becomes the netlist text the
// simulator reads. Every document is read first (the files of the blocks with the blocks' prefixes),
// then the nodes that ports, bubble labels and equal names join across the documents become one net
// with one name, and then one line is written per part, each block's netlist in its place.
class NetlistWriter {
public:
    using Port = NetlistPort;
    using Ports = NetlistPorts;

    // `topPath`: the file of the document the netlist is written from, if it has one.
    NetlistWriter(NetlistReport& report, const QString& topPath);
    ~NetlistWriter();

    // Appends the document's netlist to `out`; false after the one message of a failure.
    bool Write(CTorvex2Doc& doc, const QString& prefix, const QString& parameterText, const Ports& ports,
               QString& out);
    // The warnings about the netlist as a whole: names that stand for more than one element or node,
    // texts that held line breaks or control characters, and voltage probes whose names the netlist
    // does not use.
    void Warn() const;

private:
    struct Instance;

    // Shows the message of a failure; -1.
    int Fail(const QString& message);
    // Reads a document and then, in list order, the files of its blocks; the index of its instance,
    // or -1 after the one message of a failure.
    int Load(CTorvex2Doc& doc, std::unique_ptr<CTorvex2Doc> owned, const QString& prefix,
             const QString& parameterText, const Ports& ports);
    // The file a block stands for, with the block's prefix, its instance's parameters and then the
    // writing document's, and its pins' nodes as the file's "SUB1" to "SUB4".
    int LoadBlock(size_t parent, size_t item);
    // Why the file of a block cannot be written inside the blocks being written; empty when it can.
    QString RefusedBlock(const QString& label, const QString& canonical) const;
    // Every node takes the name of its net: a ground anywhere makes it 0, else the last probe that
    // names it, else the last label, else the last generated name, in the order the documents and
    // their passes named them.
    void NameNets();
    // The nodes of every document, each by its root (numbered from its instance's base), joined
    // where ports, shared bubble labels or equal names join them.
    DisjointSets JoinNets();
    void NoteProbes(WrittenDocument& sheet);
    // The lines of an instance's parts in list order, each block's netlist in its place.
    void WriteLines(size_t instance, QString& out);
    // A text of a statement, with every line break and control character a blank; the element it
    // belongs to is noted when one was.
    QString StatementText(QString text, const QString& element);
    void NoteElement(const QString& name);
    void NoteNode(const QString& name, NodeOrigin origin);
    void NoteCollision(const QString& name);
    void NoteModel(const QString& name, const QString& value);
    void NoteTerminal(int net, const QString& element, size_t pin);

    NetlistReport& m_Report;
    // The documents in the order they were read: the document written first, each block's file
    // after its parent and before the next block.
    std::vector<std::unique_ptr<Instance>> m_Instances;
    // The canonical paths of the files being read, outermost first, and how deep the block being
    // read stands.
    QStringList m_Chain;
    int m_Depth = 0;
    QSet<QString> m_ElementNames;       // upper-cased
    QHash<QString, quint8> m_NodeNames; // upper-cased, with the origins met
    QStringList m_Collisions;
    QSet<QString> m_CollisionSet;
    QStringList m_Blanked; // the elements whose texts held line breaks or control characters
    QStringList m_ProbesOnGround;
    QStringList m_ProbesRenamed; // "P1 (P2_X1)": the probe and the name its net has
    // The element pins on each net (-1 for ground), and the first pin of each net, in netlist order.
    std::vector<int> m_TerminalCount;
    struct FirstTerminal {
        int net;
        QString pin;
    };
    std::vector<FirstTerminal> m_FirstTerminals;
};

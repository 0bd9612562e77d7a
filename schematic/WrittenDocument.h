#pragma once

#include "ComponentTypeId.h"
#include "NetlistNodes.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class CComponent;
class CTorvex2Doc;

// A node of the block being written that one of its pins stands on.
struct NetlistPort {
    QString name;
    NodeOrigin origin = FromOutside;
};
using NetlistPorts = std::array<NetlistPort, 4>;

// An object that the writer reads, with where its labels and pins stand in the list order.
struct WrittenItem {
    NetlistForm form;
    CComponent* object;
    size_t name, value, ic; // its labels (where its layout has them)
    size_t pin;             // its pin 1; the others follow
};

// One document while its netlist is written: its objects in list order, the objects the writer
// reads, the node of every pin, and the parameters its value texts take. Its passes run in the order
// of the naming rules; each later pass renames what the earlier ones named. What joins its nodes to
// those of other documents (ports, bubble labels) is kept for the nets of the whole netlist, which
// give every node its final name.
class WrittenDocument {
public:
    WrittenDocument(CTorvex2Doc& doc, const QString& prefix) : doc(doc), prefix(prefix) {}

    // The simulator reads blanks as separators and line breaks as ends of statements. A line break or
    // control character would start a statement of its own; a tab would glue two tokens together.
    static bool IsControl(QChar c);
    // A name as the netlist can hold it: a blank or control character would split or glue tokens.
    static QString EmittedName(QString name);

    // One walk over the list: every group checked against its class's layout, and every pin in the
    // node of its position. False when a part is not followed by its labels and pins: a damaged file
    // kept as it was must not send the writer into another part's objects.
    bool Collect();
    // The instance's parameters first: earlier pairs win, so they beat the file's defaults.
    void ReadParameters(const QString& parameterText);
    void NameNodes(const NetlistPorts& ports);

    // How strongly a node's name names its net, once the naming passes ran: a ground anywhere grounds
    // the whole net, a probe names it before any label does, and a label before a generated name.
    enum Rank { RankGenerated, RankLabel, RankProbe, RankGround };
    Rank RankOf(int node);

    // The node of a part's pin k (0 the first), and its name within this document, which a block's
    // file takes for the port.
    int PinNodeId(const WrittenItem& item, size_t k) const { return m_NodeOf[item.pin + k]; }
    NetlistPort PinPort(const WrittenItem& item, size_t k)
    {
        const int node = PinNodeId(item, k);
        return {nodes.Name(node), nodes.OriginOf(node)};
    }
    // The name the netlist gives a pin's node, once the nets are named.
    const QString& PinNode(const WrittenItem& item, size_t k) { return NodeName(PinNodeId(item, k)); }
    const QString& NodeName(int node) { return m_NetName[size_t(nodes.Find(node))]; }
    // Every node takes the name of its net (given by the id of the node's root), and the document's
    // pins remember their nodes' names in their texts.
    void TakeNetNames(std::vector<QString> netNames);
    const QString& Text(size_t index) const;

    CTorvex2Doc& doc;
    const QString prefix;
    std::vector<WrittenItem> items;
    NodeTable nodes;
    QStringList names, values;
    // Labels that joined generated nodes, and generated nodes that labels joined.
    QStringList collided;

    // What names nodes beyond this document: the voltage probes in list order (the node of each and
    // the name it gives), the bubble labels that name nodes shared with every document, and the nodes
    // of the "SUB1" to "SUB4" bubbles, which are the nodes of the block's pins.
    struct Probe {
        int node;
        QString name;
    };
    std::vector<Probe> probes;
    std::vector<std::pair<QString, int>> sharedLabels;
    std::array<std::vector<int>, 4> portNodes;

private:
    void ReadParameterText(const QString& text);
    void JoinWires();
    void GroundLineReturns();
    void NameBubbles(const NetlistPorts& ports);
    void NameProbesAndGrounds();

    std::vector<CComponent*> m_Objects;
    std::vector<int> m_NodeOf; // the node of each pin; -1 for the other objects
    std::vector<QString> m_NetName;
    std::vector<char> m_NamedByProbe; // by root, once the passes ran
};

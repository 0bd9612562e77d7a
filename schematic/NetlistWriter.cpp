// The netlist writer: a schematic becomes the netlist text the simulator reads. Nodes are named into
// the pins' texts, one line is written per part, and every sub-circuit block is replaced by the
// netlist of the file it stands for, written with the block's prefix.
#include "NetlistWriter.h"

#include "CComponent.h"
#include "CSubcircuit.h"
#include "CTorvex2Doc.h"
#include "ComponentTypeId.h"
#include "SubcircuitFile.h"
#include "Text.h"
#include "UiServices.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <array>
#include <span>
#include <vector>

namespace {

// How deep blocks may stand inside blocks. A file that contains itself is refused by the chain of
// files being written; this stops what the chain cannot see (the same file under links it cannot
// resolve).
constexpr int kMaxBlockDepth = 32;

enum class Group {
    None,
    TwoTerminal,
    TwoTerminalWithIC,
    FourTerminal,
    CurrentProbe,
    Block,
    Bubble,
    VoltageProbe,
    Ground,
    Wire,
    Text,
};

// The objects that follow an object of a group, in order.
std::span<const quint32> AttachmentTypes(Group group)
{
    static constexpr quint32 L = TypeLabel, P = TypeTerminal;
    static constexpr quint32 twoTerminal[] = {L, L, P, P};
    static constexpr quint32 twoTerminalWithIC[] = {L, L, L, P, P};
    static constexpr quint32 fourTerminal[] = {L, L, L, P, P, P, P};
    static constexpr quint32 currentProbe[] = {L, P, P};
    static constexpr quint32 labelAndPin[] = {L, P};
    static constexpr quint32 pin[] = {P};
    static constexpr quint32 wire[] = {P, P};
    switch (group) {
    case Group::TwoTerminal:
        return twoTerminal;
    case Group::TwoTerminalWithIC:
        return twoTerminalWithIC;
    case Group::FourTerminal:
    case Group::Block:
        return fourTerminal;
    case Group::CurrentProbe:
        return currentProbe;
    case Group::Bubble:
    case Group::VoltageProbe:
        return labelAndPin;
    case Group::Ground:
        return pin;
    case Group::Wire:
        return wire;
    case Group::None:
    case Group::Text:
        break;
    }
    return {};
}

Group GroupOf(quint32 type)
{
    switch (type) {
    case TypeResistor:
    case TypeVariableResistor:
    case TypeResistiveSwitch:
    case TypeVoltageSource:
    case TypeCurrentSource:
    case TypeIdealDiode:
    case TypeRodpinchModel:
    case TypeOilSwitchModel:
    case TypePlanarDiodeModel:
        return Group::TwoTerminal;
    case TypeCapacitor:
    case TypeInductor:
    case TypeVariableCapacitor:
    case TypeDiode:
    case TypeMetalOxideVaristor:
    case TypeLineInductor:
    case TypeLineCapacitor:
    case TypeRailgunModel:
        return Group::TwoTerminalWithIC;
    case TypeTransmissionLine:
    case TypeLossyTransmissionLine:
    case TypeLossyLineTransformer:
    case TypeIdealTransformer:
    case TypeLossyMitlModel:
    case TypeLosslessMitlModel:
    case TypeLossyLineWithResistance:
        return Group::FourTerminal;
    case TypeCurrentProbe:
        return Group::CurrentProbe;
    case TypeSubcircuitInterface:
        return Group::Block;
    case TypeBubbleConnector:
        return Group::Bubble;
    case TypeVoltageProbe:
        return Group::VoltageProbe;
    case TypeGround:
        return Group::Ground;
    case TypeWire:
        return Group::Wire;
    case TypeTextSelectionTool:
        return Group::Text;
    default:
        return Group::None;
    }
}

// The lines whose unconnected return conductors are ground.
bool IsGroundedReturnLine(quint32 type)
{
    return type == TypeTransmissionLine || type == TypeLossyTransmissionLine ||
           type == TypeLossyLineTransformer;
}

// Where a node's name came from; a label that takes a generated name joins nodes the user never
// joined.
enum Origin : quint8 { FromOutside = 0, Generated = 1, FromLabel = 2 };

struct Port {
    QString name;
    Origin origin = FromOutside;
};

// The simulator reads blanks as separators and line breaks as ends of statements; inside a name they
// would split it, glue it to its neighbour or start a new statement.
QString EmittedName(QString name)
{
    for (QChar& c : name)
        if (c == u' ' || c.category() == QChar::Other_Control) c = u'_';
    return name;
}

// The blank-separated tokens of a "PARAMS:" text; a double-quoted run, blanks and all, stays inside
// its token.
QStringList ParameterTokens(QStringView text)
{
    QStringList tokens;
    QString token;
    bool quoted = false;
    for (QChar c : text) {
        if (c == u'"') quoted = !quoted;
        if (c == u' ' && !quoted) {
            if (!token.isEmpty()) tokens << std::exchange(token, {});
            continue;
        }
        token += c;
    }
    if (!token.isEmpty()) tokens << token;
    return tokens;
}

QString WithoutQuotes(const QString& value)
{
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        return value.mid(1, value.size() - 2);
    return value;
}

// Replaces every whole `name` that stands between one of the `left` characters and one of the
// `right` ones; replaced text is not searched again.
void ReplaceBounded(QString& text, const QString& name, const QString& value, QStringView left,
                    QStringView right)
{
    if (name.isEmpty()) return;
    QString out;
    qsizetype done = 0;
    for (qsizetype i = text.indexOf(name); i >= 0;) {
        const qsizetype end = i + name.size();
        if (i > 0 && end < text.size() && left.contains(text[i - 1]) && right.contains(text[end])) {
            out += QStringView(text).mid(done, i - done);
            out += value;
            done = end;
            i = text.indexOf(name, end);
        } else {
            i = text.indexOf(name, i + 1);
        }
    }
    if (done == 0) return;
    out += QStringView(text).mid(done);
    text = std::move(out);
}

// The nodes of one document: every pin starts in the node of its position, and the naming passes
// join nodes and rename them. A name always belongs to one node.
class NodeTable {
public:
    int Add(const QString& name, Origin origin)
    {
        const int id = int(m_Parent.size());
        m_Parent.push_back(id);
        m_Size.push_back(1);
        m_Name.push_back(name);
        m_Origin.push_back(origin);
        m_Compared.push_back(0);
        m_ByName.insert(name, id);
        return id;
    }
    int Find(int id)
    {
        while (m_Parent[size_t(id)] != id) {
            m_Parent[size_t(id)] = m_Parent[size_t(m_Parent[size_t(id)])];
            id = m_Parent[size_t(id)];
        }
        return id;
    }
    const QString& Name(int id) { return m_Name[size_t(Find(id))]; }
    Origin OriginOf(int id) { return m_Origin[size_t(Find(id))]; }
    // Pins that a line's return pin is compared with (see the line-return pass).
    int& Compared(int id) { return m_Compared[size_t(Find(id))]; }

    // Every pin of the node takes the name, joining the node that has it already. A label that
    // joins a generated node (or the other way round) is reported through `collided`.
    void Rename(int id, QString name, Origin origin, QStringList& collided)
    {
        int a = Find(id);
        if (m_Name[size_t(a)] == name) return;
        m_ByName.remove(m_Name[size_t(a)]);
        const auto existing = m_ByName.constFind(name);
        if (existing == m_ByName.cend()) {
            m_Name[size_t(a)] = name;
            m_Origin[size_t(a)] = origin;
            m_ByName.insert(name, a);
            return;
        }
        int b = Find(*existing);
        const Origin kept = m_Origin[size_t(b)];
        if ((origin | kept) == (Generated | FromLabel)) collided << name;
        if (m_Size[size_t(a)] > m_Size[size_t(b)]) std::swap(a, b);
        m_Parent[size_t(a)] = b;
        m_Size[size_t(b)] += m_Size[size_t(a)];
        m_Compared[size_t(b)] += m_Compared[size_t(a)];
        m_Name[size_t(b)] = name;
        m_Origin[size_t(b)] = kept;
        m_ByName.insert(name, b);
    }

    // Every node that remains: its name and where the name came from.
    template <class F> void ForEachNode(F f)
    {
        for (int id = 0; id < int(m_Parent.size()); ++id)
            if (m_Parent[size_t(id)] == id) f(m_Name[size_t(id)], m_Origin[size_t(id)]);
    }

private:
    std::vector<int> m_Parent;
    std::vector<int> m_Size;
    std::vector<QString> m_Name;
    std::vector<Origin> m_Origin;
    std::vector<int> m_Compared;
    QHash<QString, int> m_ByName;
};

// One object of the list that the writer works with, and the objects that follow it.
struct Item {
    Group group;
    CComponent* object;
    size_t first; // index of its first attachment in the list order
};

// One netlist, however many documents it is written from.
class NetlistWriter {
public:
    // `topPath`: the file of the document the netlist is written from, if it has one.
    NetlistWriter(NetlistReport& report, const QString& topPath);

    // Appends the document's netlist to `out`; false after the one message of a failure.
    bool Write(CTorvex2Doc& doc, const QString& prefix, const QString& parameterText,
               const std::array<Port, 4>& ports, QString& out);
    // The one warning about names that stand for more than one element or node.
    void WarnOfCollisions();

private:
    bool Fail(const QString& message)
    {
        ui().message(message);
        m_Report.ok = false;
        return false;
    }
    // The block's labels (name, file, parameters), its pins' nodes and the writing document's
    // parameters.
    bool ExpandBlock(const CTorvex2Doc& doc, const CComponent* const labels[3],
                     const std::array<Port, 4>& ports, const QString& prefix, const QStringList& names,
                     const QStringList& values, QString& out);
    void NoteElement(const QString& name);
    void NoteNode(const QString& name, Origin origin);
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
};

QString DocumentName(const CTorvex2Doc& doc)
{
    return doc.PathName().isEmpty() ? QStringLiteral("Unsaved File") : doc.PathName();
}

QString CanonicalPath(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

NetlistWriter::NetlistWriter(NetlistReport& report, const QString& topPath) : m_Report(report)
{
    m_Report = {};
    if (!topPath.isEmpty()) m_Chain << CanonicalPath(topPath);
}

bool NetlistWriter::Write(CTorvex2Doc& doc, const QString& prefix, const QString& parameterText,
                          const std::array<Port, 4>& ports, QString& out)
{
    CTorvex2Doc::BusyScope busy(doc);

    // One walk over the list: every group checked, and every pin in the node of its position. A part
    // cut off from its labels and pins (a damaged file kept as it was) must not send the writer into
    // another part's objects.
    const ComponentList& list = doc.Components();
    std::vector<CComponent*> objects;
    objects.reserve(list.size());
    std::vector<Item> items;
    NodeTable nodes;
    std::vector<int> nodeOf;
    nodeOf.reserve(list.size());
    QHash<quint64, int> byPosition;
    int counter = 1;
    for (auto it = list.begin(); it != list.end(); ++it) {
        CComponent* object = it->get();
        objects.push_back(object);
        nodeOf.push_back(-1);
        if (object->TypeId == TypeTerminal) {
            // Pins at one position are one node, named by the first of them.
            const QPoint p = object->Position;
            const quint64 key = (quint64(quint32(p.x())) << 32) | quint32(p.y());
            const auto found = byPosition.constFind(key);
            nodeOf.back() = found != byPosition.cend()
                                ? *found
                                : *byPosition.insert(
                                      key, nodes.Add(u'N' + QString::number(counter++) + prefix, Generated));
            ++nodes.Compared(nodeOf.back());
            continue;
        }
        const Group group = GroupOf(object->TypeId);
        if (group == Group::None) continue;
        bool whole = true;
        auto next = std::next(it);
        for (quint32 type : AttachmentTypes(group)) {
            whole = next != list.end() && (*next)->TypeId == type;
            if (!whole) break;
            ++next;
        }
        if (!whole)
            return Fail(QStringLiteral("Error.  The component list of '") + DocumentName(doc) +
                        QStringLiteral("' is damaged: a part is not followed by its labels and pins.  "
                                       "Repair it with List Components."));
        items.push_back({group, object, objects.size()});
    }

    // Parameters, the instance's own first: earlier pairs win, so they beat the file's defaults.
    QStringList names, values;
    const auto readParameters = [&](const QString& text) {
        if (text::upperAscii(text.left(7)) != u"PARAMS:") return;
        for (const QString& token : ParameterTokens(QStringView(text).mid(7).trimmed())) {
            const qsizetype equals = token.indexOf(u'=');
            if (equals <= 0) continue;
            const QString name = text::upperAscii(token.left(equals));
            const QString value = token.mid(equals + 1);
            if (name == u"PATH") {
                // A folder of this machine: its case matters.
                doc.InputMode = QStringLiteral("Path");
                doc.InputPath = WithoutQuotes(value);
            } else {
                names << name;
                values << text::upperAscii(value);
            }
        }
    };
    if (!prefix.isEmpty()) readParameters(parameterText);
    for (const Item& item : items)
        if (item.group == Group::Text) readParameters(item.object->Text);

    // A line's return pins are compared with every pin but those of wires and the return pins of lines.
    for (const Item& item : items) {
        if (item.group == Group::Wire) {
            --nodes.Compared(nodeOf[item.first]);
            --nodes.Compared(nodeOf[item.first + 1]);
        }
        if (item.group == Group::FourTerminal && IsGroundedReturnLine(item.object->TypeId)) {
            --nodes.Compared(nodeOf[item.first + 4]);
            --nodes.Compared(nodeOf[item.first + 6]);
        }
    }

    QStringList collided;
    // Wires: each joins the node of its pin 2 to the node of its pin 1.
    for (const Item& item : items)
        if (item.group == Group::Wire) {
            const int to = nodeOf[item.first];
            nodes.Rename(nodeOf[item.first + 1], nodes.Name(to), nodes.OriginOf(to), collided);
        }

    // A line's return pin that touches nothing but other lines' return pins is ground.
    for (const Item& item : items) {
        if (item.group != Group::FourTerminal || !IsGroundedReturnLine(item.object->TypeId)) continue;
        const size_t pin1 = item.first + 3;
        const int own[2] = {nodes.Find(nodeOf[pin1]), nodes.Find(nodeOf[pin1 + 2])};
        bool shared[2];
        for (int k = 0; k < 2; ++k) {
            const int node = nodes.Find(nodeOf[pin1 + 1 + 2 * k]);
            shared[k] = nodes.Compared(node) - (own[0] == node) - (own[1] == node) > 0;
        }
        for (int k = 0; k < 2; ++k)
            if (!shared[k])
                nodes.Rename(nodeOf[pin1 + 1 + 2 * k], QStringLiteral("0"), FromOutside, collided);
    }

    // Bubbles: equal labels are one node, in every block and at the top; inside a block "SUB1" to
    // "SUB4" are the nodes of the block's pins. An empty label names nothing.
    static const QString kPortLabels[4] = {QStringLiteral("SUB1"), QStringLiteral("SUB2"),
                                           QStringLiteral("SUB3"), QStringLiteral("SUB4")};
    for (const Item& item : items) {
        if (item.group != Group::Bubble) continue;
        CComponent& label = *objects[item.first];
        Origin origin = FromLabel;
        if (!prefix.isEmpty()) {
            const QString upper = text::upperAscii(label.Text);
            for (int k = 0; k < 4; ++k)
                if (upper == kPortLabels[k]) {
                    label.Text = ports[size_t(k)].name;
                    origin = ports[size_t(k)].origin;
                    break;
                }
        }
        const QString name = EmittedName(text::upperAscii(label.Text));
        if (!name.isEmpty()) nodes.Rename(nodeOf[item.first + 1], name, origin, collided);
    }
    // Voltage probes name their node for this instance.
    for (const Item& item : items)
        if (item.group == Group::VoltageProbe && !objects[item.first]->Text.isEmpty())
            nodes.Rename(nodeOf[item.first + 1], EmittedName(objects[item.first]->Text + prefix), FromLabel,
                         collided);
    for (const Item& item : items)
        if (item.group == Group::Ground)
            nodes.Rename(nodeOf[item.first], QStringLiteral("0"), FromOutside, collided);

    for (size_t i = 0; i < objects.size(); ++i)
        if (nodeOf[i] >= 0) objects[i]->Text = nodes.Name(nodeOf[i]);
    for (const QString& name : collided)
        NoteCollision(name);
    nodes.ForEachNode([this](const QString& name, Origin origin) { NoteNode(name, origin); });

    // Only the outermost level: a reserve at each block would copy the text written so far each time.
    if (out.isEmpty()) out.reserve(qsizetype(items.size()) * 32);
    out += u'*' + prefix + QStringLiteral(" TORVEX Generated Netlist of ") + DocumentName(doc) +
           QStringLiteral("\r\n");
    for (const Item& item : items) {
        const auto at = [&](size_t k) { return objects[item.first + k]; };
        // The element's name, its nodes, its value (which tells whether it has a model of its own)
        // and what follows the value.
        const auto statement = [&](std::initializer_list<size_t> pins, const QString& value,
                                   const QString& rest) {
            QString line = EmittedName(at(0)->Text + prefix);
            NoteElement(line);
            NoteModel(line, value);
            for (size_t k : pins)
                line += u' ' + nodes.Name(nodeOf[item.first + k]);
            line += u' ' + value + rest;
            return line + QStringLiteral("\r\n");
        };
        const auto value = [&](size_t k) {
            return CTorvex2Doc::SubstituteParameters(at(k)->Text, names, values);
        };
        switch (item.group) {
        case Group::TwoTerminal:
            out += statement({2, 3}, value(1), {});
            break;
        case Group::TwoTerminalWithIC:
            out += statement({3, 4}, value(1), u' ' + value(2));
            break;
        case Group::FourTerminal:
            // The commas that separate the values read well on the page; the simulator takes blanks.
            // Those of the initial conditions are part of their syntax.
            out += statement({3, 4, 5, 6}, value(1).remove(u','), u' ' + value(2));
            break;
        case Group::CurrentProbe:
            out += statement({1, 2}, QStringLiteral("DC 0"), {});
            break;
        case Group::Block: {
            std::array<Port, 4> blockPorts;
            for (size_t k = 0; k < 4; ++k)
                blockPorts[k] = {nodes.Name(nodeOf[item.first + 3 + k]),
                                 nodes.OriginOf(nodeOf[item.first + 3 + k])};
            const CComponent* const labels[3] = {at(0), at(1), at(2)};
            if (!ExpandBlock(doc, labels, blockPorts, prefix, names, values, out)) return false;
            break;
        }
        default:
            break;
        }
    }
    return true;
}

bool NetlistWriter::ExpandBlock(const CTorvex2Doc& doc, const CComponent* const labels[3],
                                const std::array<Port, 4>& ports, const QString& prefix,
                                const QStringList& names, const QStringList& values, QString& out)
{
    const QString blockName = EmittedName(labels[0]->Text);
    const QString& file = labels[1]->Text;
    const QString message = CSubcircuit::OpenFailedMessage(file);
    const QString path = resolveSubcircuitFile(file, doc.PathName());
    if (path.isEmpty()) return Fail(message);
    // A file inside itself, at any depth, would never end.
    const QString canonical = CanonicalPath(path);
    if (m_Chain.contains(canonical) || m_Depth >= kMaxBlockDepth) return Fail(message);
    QString reason;
    const std::unique_ptr<CTorvex2Doc> sub = CTorvex2Doc::OpenDetached(path, &reason);
    if (!sub) return Fail(message + u'\n' + reason);

    // The instance's parameters, then its parent's: a block inherits what it does not set itself.
    QString parameters = labels[2]->Text;
    for (qsizetype i = 0; i < names.size(); ++i)
        parameters += u' ' + names[i] + u'=' + values[i];

    m_Chain << canonical;
    ++m_Depth;
    const bool written = Write(*sub, u'_' + blockName + prefix, parameters, ports, out);
    --m_Depth;
    m_Chain.removeLast();
    if (!written) return false;
    out += QStringLiteral("*_") + blockName + QStringLiteral(" Ends\r\n");
    return true;
}

void NetlistWriter::NoteCollision(const QString& name)
{
    if (m_CollisionSet.contains(name)) return;
    m_CollisionSet.insert(name);
    m_Collisions << name;
}

void NetlistWriter::NoteElement(const QString& name)
{
    const QString upper = text::upperAscii(name);
    if (m_ElementNames.contains(upper))
        NoteCollision(name);
    else
        m_ElementNames.insert(upper);
}

void NetlistWriter::NoteNode(const QString& name, Origin origin)
{
    if (origin == FromOutside) return;
    quint8& seen = m_NodeNames[text::upperAscii(name)];
    seen |= origin;
    if (seen == (Generated | FromLabel)) NoteCollision(name);
}

void NetlistWriter::NoteModel(const QString& name, const QString& value)
{
    // As the simulator tells them: by the element's letter and the keyword its value begins with.
    static const char* const kResistorKeywords[] = {"MOV", "OILSW", "PLDIODE"};
    static const char* const kLineKeywords[] = {"MITL0", "MITL1"};
    const QChar letter = name.isEmpty() ? QChar() : text::upperAscii(name.left(1)).at(0);
    QString keyword;
    if (letter == u'R') {
        for (const char* k : kResistorKeywords)
            if (value.startsWith(QLatin1String(k))) keyword = QLatin1String(k);
    } else if (letter == u'T') {
        const QString first = value.section(u' ', 0, 0);
        for (const char* k : kLineKeywords)
            if (first == QLatin1String(k)) keyword = first;
    }
    if (!keyword.isEmpty()) m_Report.partsWithoutModel << name + QStringLiteral(" (") + keyword + u')';
}

void NetlistWriter::WarnOfCollisions()
{
    if (m_Collisions.isEmpty()) return;
    ui().message(
        QStringLiteral("Warning:  These names stand for more than one element or node in the netlist, "
                       "where upper and lower case are the same: ") +
        m_Collisions.join(QStringLiteral(", ")));
}

} // namespace

QString NoModelWarning(const QStringList& partsWithoutModel)
{
    return QStringLiteral("Warning:  These parts have no simulation model of their own and run as near short "
                          "circuits: ") +
           partsWithoutModel.join(QStringLiteral(", "));
}

QString CTorvex2Doc::SubstituteParameters(QString text, const QStringList& names, const QStringList& values)
{
    const qsizetype count = std::min(names.size(), values.size());
    text = u' ' + text::upperAscii(text) + u' ';
    // Only whole names are replaced: a parameter N must not turn 10N into 10 followed by its value.
    // The three rounds keep the order in which names are looked for, so an earlier pair wins over a
    // later one of the same name and a value may name a later parameter.
    for (qsizetype i = 0; i < count; ++i)
        ReplaceBounded(text, names[i], values[i], u"=", u" ,");
    for (qsizetype i = 0; i < count; ++i)
        ReplaceBounded(text, names[i], values[i], u" =", u" ");
    for (qsizetype i = 0; i < count; ++i)
        ReplaceBounded(text, names[i], values[i], u" ", u" ,");
    return text.trimmed();
}

QString CTorvex2Doc::WriteNetlist(QString prefix, QString parameterText, QString port1, QString port2,
                                  QString port3, QString port4, NetlistReport* report)
{
    NetlistReport own;
    NetlistWriter writer(report ? *report : own, PathName());
    const std::array<Port, 4> ports = {Port{port1}, Port{port2}, Port{port3}, Port{port4}};
    QString text;
    if (!writer.Write(*this, prefix, parameterText, ports, text)) return {};
    writer.WarnOfCollisions();
    return text;
}

std::optional<QString> CTorvex2Doc::CreateNetlistText()
{
    NetlistReport report;
    QString text = WriteNetlist({}, {}, {}, {}, {}, {}, &report);
    if (!report.ok) return std::nullopt;
    if (!report.partsWithoutModel.isEmpty()) ui().message(NoModelWarning(report.partsWithoutModel));
    return text;
}

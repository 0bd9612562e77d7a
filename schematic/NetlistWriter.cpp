#include "NetlistWriter.h"

#include "CComponent.h"
#include "CSubcircuit.h"
#include "CTorvex2Doc.h"
#include "ComponentTypeId.h"
#include "ElementClass.h"
#include "SubcircuitFile.h"
#include "Text.h"
#include "UiServices.h"

#include <QFileInfo>

#include <tuple>
#include <utility>

namespace {

using enum NetlistForm;

// How deep blocks may stand inside blocks. A file that contains itself is refused by the chain of
// files being written; this stops what the chain cannot see (the same file under links it cannot
// resolve).
constexpr int kMaxBlockDepth = 32;

QString DocumentName(const CTorvex2Doc& doc)
{
    return doc.PathName().isEmpty() ? QStringLiteral("Unsaved File") : doc.PathName();
}

QString DamagedMessage(const CTorvex2Doc& doc)
{
    return QStringLiteral("Error.  The component list of '") + DocumentName(doc) +
           QStringLiteral("' is damaged: a part is not followed by its labels and pins.  "
                          "Repair it with List Components.");
}

QString CanonicalPath(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

// A document being written: the top one, or the file of a block, which it owns.
struct NetlistWriter::Instance {
    Instance(CTorvex2Doc& doc, std::unique_ptr<CTorvex2Doc> owned, const QString& prefix)
        : owned(std::move(owned)), sheet(doc, prefix)
    {
    }
    std::unique_ptr<CTorvex2Doc> owned;
    WrittenDocument sheet;
    // The instance that holds its block, and the block among that instance's items.
    int parent = -1;
    size_t block = 0;
    // The instances of its own blocks, in list order.
    std::vector<int> children;
    // Its first node among the nodes of every instance, and the net of each of its nodes (by root).
    int base = 0;
    std::vector<int> net;
};

QString NoModelWarning(const QStringList& partsWithoutModel)
{
    return QStringLiteral("Warning:  These parts have no simulation model of their own and run as near short "
                          "circuits: ") +
           partsWithoutModel.join(QStringLiteral(", "));
}

QString UnconnectedPinsWarning(const QStringList& unconnectedPins)
{
    return QStringLiteral(
               "Warning:  Nothing connects to these pins, each a node of its own in the netlist: ") +
           unconnectedPins.join(QStringLiteral(", "));
}

NetlistWriter::NetlistWriter(NetlistReport& report, const QString& topPath) : m_Report(report)
{
    m_Report = {};
    if (!topPath.isEmpty()) m_Chain << CanonicalPath(topPath);
}

NetlistWriter::~NetlistWriter() = default;

int NetlistWriter::Fail(const QString& message)
{
    ui().message(message);
    m_Report.ok = false;
    return -1;
}

bool NetlistWriter::Write(CTorvex2Doc& doc, const QString& prefix, const QString& parameterText,
                          const Ports& ports, QString& out)
{
    CTorvex2Doc::BusyScope busy(doc);
    m_Instances.clear();
    if (Load(doc, nullptr, prefix, parameterText, ports) < 0) return false;
    NameNets();
    qsizetype items = 0;
    for (const auto& instance : m_Instances)
        items += qsizetype(instance->sheet.items.size());
    out.reserve(out.size() + items * 32);
    WriteLines(0, out);
    for (const FirstTerminal& t : m_FirstTerminals)
        if (m_TerminalCount[size_t(t.net)] == 1) m_Report.unconnectedPins << t.pin;
    return true;
}

int NetlistWriter::Load(CTorvex2Doc& doc, std::unique_ptr<CTorvex2Doc> owned, const QString& prefix,
                        const QString& parameterText, const Ports& ports)
{
    const size_t index = m_Instances.size();
    m_Instances.push_back(std::make_unique<Instance>(doc, std::move(owned), prefix));
    WrittenDocument& sheet = m_Instances.back()->sheet;
    if (!sheet.Collect()) return Fail(DamagedMessage(doc));
    sheet.ReadParameters(parameterText);
    sheet.NameNodes(ports);
    for (const QString& name : std::as_const(sheet.collided))
        NoteCollision(name);
    sheet.nodes.ForEachNode([this](int, const QString& name, NodeOrigin origin) { NoteNode(name, origin); });
    for (size_t i = 0; i < sheet.items.size(); ++i) {
        if (sheet.items[i].form != Block) continue;
        const int child = LoadBlock(index, i);
        if (child < 0) return -1;
        m_Instances[index]->children.push_back(child);
    }
    return int(index);
}

int NetlistWriter::LoadBlock(size_t parent, size_t item)
{
    WrittenDocument& sheet = m_Instances[parent]->sheet;
    const WrittenItem& block = sheet.items[item];
    const QString blockName = WrittenDocument::EmittedName(sheet.Text(block.name));
    const QString& file = sheet.Text(block.value);
    const QString message = CSubcircuit::OpenFailedMessage(file);
    const QString path = resolveSubcircuitFile(file, sheet.doc.PathName());
    if (path.isEmpty()) return Fail(message);
    const QString canonical = CanonicalPath(path);
    if (const QString refused = RefusedBlock(file, canonical); !refused.isEmpty()) return Fail(refused);
    QString reason;
    std::unique_ptr<CTorvex2Doc> sub = CTorvex2Doc::OpenDetached(path, &reason);
    if (!sub) return Fail(message + u'\n' + reason);

    // The instance's parameters, then its parent's: a block inherits what it does not set itself.
    QString parameters = sheet.Text(block.ic);
    for (qsizetype i = 0; i < sheet.names.size(); ++i)
        parameters += u' ' + sheet.names[i] + u'=' + sheet.values[i];
    const Ports ports = {sheet.PinPort(block, 0), sheet.PinPort(block, 1), sheet.PinPort(block, 2),
                         sheet.PinPort(block, 3)};

    m_Chain << canonical;
    ++m_Depth;
    CTorvex2Doc& doc = *sub;
    const int child = Load(doc, std::move(sub), u'_' + blockName + sheet.prefix, parameters, ports);
    --m_Depth;
    m_Chain.removeLast();
    if (child >= 0) {
        m_Instances[size_t(child)]->parent = int(parent);
        m_Instances[size_t(child)]->block = item;
    }
    return child;
}

QString NetlistWriter::RefusedBlock(const QString& label, const QString& canonical) const
{
    // A file inside itself, at any depth, would never end.
    const qsizetype at = m_Chain.indexOf(canonical);
    if (at >= 0 && at == m_Chain.size() - 1)
        return QStringLiteral("Error.  The subcircuit file '") + label + QStringLiteral("' includes itself.");
    if (at >= 0)
        return QStringLiteral("Error.  These subcircuit files include each other in a cycle: ") +
               (m_Chain.mid(at) << canonical).join(QStringLiteral(" -> "));
    if (m_Depth >= kMaxBlockDepth)
        return QStringLiteral("Error.  The subcircuit file '") + label + QStringLiteral("' would stand ") +
               QString::number(m_Depth + 1) + QStringLiteral(" blocks deep; blocks stand at most ") +
               QString::number(kMaxBlockDepth) + QStringLiteral(" deep inside each other.");
    return {};
}

DisjointSets NetlistWriter::JoinNets()
{
    int total = 0;
    for (const auto& instance : m_Instances) {
        instance->base = total;
        total += instance->sheet.nodes.Size();
    }
    DisjointSets nets(total);
    // A block's pins are the nodes of its file's "SUB1" to "SUB4", whatever names them there.
    for (const auto& instance : m_Instances) {
        if (instance->parent < 0) continue;
        Instance& parent = *m_Instances[size_t(instance->parent)];
        const WrittenItem& block = parent.sheet.items[instance->block];
        for (size_t k = 0; k < 4; ++k)
            for (int node : instance->sheet.portNodes[k])
                nets.Join(instance->base + instance->sheet.nodes.Find(node),
                          parent.base + parent.sheet.nodes.Find(parent.sheet.PinNodeId(block, k)));
    }
    // The simulator joins equal names whatever their case, and equal bubble labels are one node even
    // where a probe or a ground renamed one of them afterwards.
    QHash<QString, int> byName;
    const auto joinName = [&](const QString& name, int id) {
        const QString upper = text::upper(name);
        const auto it = byName.constFind(upper);
        if (it != byName.cend())
            nets.Join(*it, id);
        else
            byName.insert(upper, id);
    };
    for (const auto& instance : m_Instances) {
        WrittenDocument& sheet = instance->sheet;
        for (const auto& [label, node] : sheet.sharedLabels)
            joinName(label, instance->base + sheet.nodes.Find(node));
        sheet.nodes.ForEachNode(
            [&](int id, const QString& name, NodeOrigin) { joinName(name, instance->base + id); });
    }
    return nets;
}

void NetlistWriter::NameNets()
{
    DisjointSets nets = JoinNets();
    // The name of each net: the strongest name of its nodes, the latest of equal strength. A node is
    // known by its root in its document's table.
    using Key = std::tuple<int, size_t, int>;
    const size_t total =
        m_Instances.empty() ? 0 : size_t(m_Instances.back()->base + m_Instances.back()->sheet.nodes.Size());
    std::vector<Key> best(total, Key{-1, 0, 0});
    std::vector<const QString*> bestName(total, nullptr);
    for (size_t i = 0; i < m_Instances.size(); ++i) {
        WrittenDocument& sheet = m_Instances[i]->sheet;
        sheet.nodes.ForEachNode([&](int id, const QString& name, NodeOrigin) {
            const Key key{sheet.RankOf(id), i, sheet.nodes.Stamp(id)};
            const size_t net = size_t(nets.Find(m_Instances[i]->base + id));
            if (key > best[net]) {
                best[net] = key;
                bestName[net] = &name;
            }
        });
    }
    m_TerminalCount.assign(total, 0);
    for (size_t net = 0; net < total; ++net)
        if (bestName[net] && *bestName[net] == u"0") m_TerminalCount[net] = -1;
    for (const auto& instance : m_Instances) {
        WrittenDocument& sheet = instance->sheet;
        std::vector<QString> names(size_t(sheet.nodes.Size()));
        instance->net.assign(size_t(sheet.nodes.Size()), -1);
        sheet.nodes.ForEachNode([&](int id, const QString& name, NodeOrigin) {
            const int net = nets.Find(instance->base + id);
            const QString& netName = *bestName[size_t(net)];
            instance->net[size_t(id)] = net;
            // A name the simulator reads as the net's keeps its own spelling.
            const bool same = name == netName || text::upper(name) == text::upper(netName);
            names[size_t(id)] = same ? name : netName;
        });
        sheet.TakeNetNames(std::move(names));
        NoteProbes(sheet);
    }
}

void NetlistWriter::NoteProbes(WrittenDocument& sheet)
{
    for (const WrittenDocument::Probe& probe : sheet.probes) {
        const QString& net = sheet.NodeName(probe.node);
        if (net == u"0")
            m_ProbesOnGround << probe.name;
        else if (text::upper(net) != text::upper(probe.name))
            m_ProbesRenamed << probe.name + QStringLiteral(" (") + net + u')';
    }
}

void NetlistWriter::WriteLines(size_t instance, QString& out)
{
    const Instance& self = *m_Instances[instance];
    WrittenDocument& sheet = m_Instances[instance]->sheet;
    // A file name on Linux may hold a line break as well.
    out += u'*' + sheet.prefix + QStringLiteral(" TORVEX Generated Netlist of ") +
           StatementText(DocumentName(sheet.doc), {}) + QStringLiteral("\r\n");
    size_t blocks = 0;
    for (const WrittenItem& item : sheet.items) {
        if (item.form == Block) {
            WriteLines(size_t(self.children[blocks++]), out);
            out += QStringLiteral("*_") + WrittenDocument::EmittedName(sheet.Text(item.name)) +
                   QStringLiteral(" Ends\r\n");
            continue;
        }
        if (!WritesElement(item.form)) continue;
        // The element's name, its nodes, its value (which tells whether it has a model of its own)
        // and what follows the value.
        const QString name = WrittenDocument::EmittedName(sheet.Text(item.name) + sheet.prefix);
        const auto text = [&](size_t label) {
            return StatementText(
                CTorvex2Doc::SubstituteParameters(sheet.Text(label), sheet.names, sheet.values), name);
        };
        QString value, rest;
        size_t pins = 2;
        switch (item.form) {
        case TwoTerminal:
            value = text(item.value);
            break;
        case TwoTerminalWithIC:
            value = text(item.value);
            rest = u' ' + text(item.ic);
            break;
        case FourTerminal:
        case Line:
            // The commas that separate the values read well on the page; the simulator takes blanks.
            // Those of the initial conditions are part of their syntax.
            value = text(item.value).remove(u',');
            rest = u' ' + text(item.ic);
            pins = 4;
            break;
        default: // the current probe: a zero-volt source whose branch current is the reading
            value = QStringLiteral("DC 0");
            break;
        }
        NoteElement(name);
        NoteModel(name, value);
        out += name;
        for (size_t k = 0; k < pins; ++k) {
            NoteTerminal(self.net[size_t(sheet.nodes.Find(sheet.PinNodeId(item, k)))], name, k);
            out += u' ' + sheet.PinNode(item, k);
        }
        out += u' ' + value + rest + QStringLiteral("\r\n");
    }
}

QString NetlistWriter::StatementText(QString text, const QString& element)
{
    bool blanked = false;
    for (QChar& c : text)
        if (WrittenDocument::IsControl(c)) {
            c = u' ';
            blanked = true;
        }
    if (!blanked) return text;
    if (!element.isEmpty() && (m_Blanked.isEmpty() || m_Blanked.last() != element)) m_Blanked << element;
    return text.trimmed();
}

void NetlistWriter::NoteCollision(const QString& name)
{
    if (m_CollisionSet.contains(name)) return;
    m_CollisionSet.insert(name);
    m_Collisions << name;
}

void NetlistWriter::NoteElement(const QString& name)
{
    const QString upper = text::upper(name);
    if (m_ElementNames.contains(upper))
        NoteCollision(name);
    else
        m_ElementNames.insert(upper);
}

void NetlistWriter::NoteNode(const QString& name, NodeOrigin origin)
{
    if (origin == FromOutside) return;
    quint8& seen = m_NodeNames[text::upper(name)];
    seen |= origin;
    if (seen == (Generated | FromLabel)) NoteCollision(name);
}

void NetlistWriter::NoteModel(const QString& name, const QString& value)
{
    // As the simulator tells them: by the element's letter and its first value.
    const QChar letter = name.isEmpty() ? QChar() : text::upperAscii(name.left(1)).at(0);
    const qsizetype blank = value.indexOf(u' ');
    const QString keyword =
        NoModelKeyword(letter, blank < 0 ? QStringView(value) : QStringView(value).first(blank));
    if (!keyword.isEmpty()) m_Report.partsWithoutModel << name + QStringLiteral(" (") + keyword + u')';
}

void NetlistWriter::NoteTerminal(int net, const QString& element, size_t pin)
{
    // Ground is connected by being ground.
    int& count = m_TerminalCount[size_t(net)];
    if (count < 0) return;
    if (count++ == 0)
        m_FirstTerminals.push_back({net, element + QStringLiteral(" pin ") + QString::number(pin + 1)});
}

void NetlistWriter::Warn() const
{
    if (!m_Collisions.isEmpty())
        ui().message(
            QStringLiteral("Warning:  These names stand for more than one element or node in the netlist, "
                           "where upper and lower case are the same: ") +
            m_Collisions.join(QStringLiteral(", ")));
    if (!m_Blanked.isEmpty())
        ui().message(QStringLiteral("Warning:  The texts of these parts held line breaks or control "
                                    "characters, which the netlist holds as blanks: ") +
                     m_Blanked.join(QStringLiteral(", ")));
    if (!m_ProbesOnGround.isEmpty())
        ui().message(
            QStringLiteral("Warning:  These voltage probes stand on ground, which the netlist names 0: ") +
            m_ProbesOnGround.join(QStringLiteral(", ")));
    if (!m_ProbesRenamed.isEmpty())
        ui().message(
            QStringLiteral("Warning:  These voltage probes stand on a node that another probe names, "
                           "and the netlist gives it that name: ") +
            m_ProbesRenamed.join(QStringLiteral(", ")));
}

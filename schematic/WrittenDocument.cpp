#include "WrittenDocument.h"

#include "CComponent.h"
#include "CTorvex2Doc.h"
#include "PartAttachments.h"
#include "Text.h"

#include <utility>

namespace {

using enum NetlistForm;

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

// The labels a form reads after its part, and its number of pins. A part's class must lay out
// exactly these: a class of another shape under the type's id (a damaged file) is not written.
struct FormShape {
    bool name = false, value = false, ic = false;
    int pins = 0;
};

FormShape ShapeOf(NetlistForm form)
{
    switch (form) {
    case TwoTerminal:
        return {true, true, false, 2};
    case TwoTerminalWithIC:
        return {true, true, true, 2};
    case FourTerminal:
    case Line:
    case Block:
        return {true, true, true, 4};
    case ZeroVoltSource:
        return {true, false, false, 2};
    case Bubble:
    case VoltageProbe:
        return {true, false, false, 1};
    case Ground:
        return {false, false, false, 1};
    case Wire:
        return {false, false, false, 2};
    case None:
    case Parameters:
        break;
    }
    return {};
}

bool Fits(const AttachmentLayout* layout, NetlistForm form)
{
    const FormShape shape = ShapeOf(form);
    if (!layout) return shape.pins == 0 && !shape.name;
    return layout->named == shape.name && (layout->value != AttachmentLayout::NoValueLabel) == shape.value &&
           (layout->ic != nullptr) == shape.ic && layout->PinCount() == shape.pins;
}

} // namespace

bool WrittenDocument::IsControl(QChar c)
{
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Separator_Line ||
           category == QChar::Separator_Paragraph;
}

QString WrittenDocument::EmittedName(QString name)
{
    // Inside a name a blank would split it, so blanks become "_" as well.
    for (QChar& c : name)
        if (c == u' ' || IsControl(c)) c = u'_';
    return name;
}

const QString& WrittenDocument::Text(size_t index) const
{
    return m_Objects[index]->Text;
}

bool WrittenDocument::Collect()
{
    const ComponentList& list = doc.Components();
    m_Objects.reserve(list.size());
    m_NodeOf.reserve(list.size());
    QHash<quint64, int> byPosition;
    int counter = 1;
    for (auto it = list.begin(); it != list.end(); ++it) {
        CComponent* object = it->get();
        m_Objects.push_back(object);
        m_NodeOf.push_back(-1);
        if (object->TypeId == TypeTerminal) {
            // Pins at one position are one node, named by the first of them.
            const QPoint p = object->Position;
            const quint64 key = (quint64(quint32(p.x())) << 32) | quint32(p.y());
            const auto found = byPosition.constFind(key);
            m_NodeOf.back() =
                found != byPosition.cend()
                    ? *found
                    : *byPosition.insert(key,
                                         nodes.Add(u'N' + QString::number(counter++) + prefix, Generated));
            ++nodes.Compared(m_NodeOf.back());
            continue;
        }
        const ComponentType* type = FindComponentType(object->TypeId);
        const NetlistForm form = type ? type->netlist : None;
        if (form == None) continue;
        const AttachmentLayout* layout = object->AttachmentOrder();
        if (!Fits(layout, form)) return false;
        const int labels = layout ? layout->LabelCount() : 0;
        const int count = layout ? layout->Count() : 0;
        auto next = std::next(it);
        for (int k = 0; k < count; ++k, ++next)
            if (next == list.end() || (*next)->TypeId != (k < labels ? TypeLabel : TypeTerminal))
                return false;
        const size_t first = m_Objects.size();
        const size_t value = first + size_t(layout && layout->named);
        const size_t ic = value + size_t(layout && layout->value != AttachmentLayout::NoValueLabel);
        items.push_back({form, object, first, value, ic, first + size_t(labels)});
    }
    return true;
}

void WrittenDocument::ReadParameters(const QString& parameterText)
{
    if (!prefix.isEmpty()) ReadParameterText(parameterText);
    for (const WrittenItem& item : items)
        if (item.form == Parameters) ReadParameterText(item.object->Text);
}

void WrittenDocument::ReadParameterText(const QString& text)
{
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
}

void WrittenDocument::NameNodes(const NetlistPorts& ports)
{
    JoinWires();
    GroundLineReturns();
    NameBubbles(ports);
    NameProbesAndGrounds();
    m_NamedByProbe.assign(size_t(nodes.Size()), 0);
    for (const Probe& probe : probes)
        if (nodes.Name(probe.node) == probe.name) m_NamedByProbe[size_t(nodes.Find(probe.node))] = 1;
}

WrittenDocument::Rank WrittenDocument::RankOf(int node)
{
    const int root = nodes.Find(node);
    if (nodes.Name(root) == u"0") return RankGround;
    if (m_NamedByProbe[size_t(root)]) return RankProbe;
    return nodes.OriginOf(root) == Generated ? RankGenerated : RankLabel;
}

void WrittenDocument::TakeNetNames(std::vector<QString> netNames)
{
    m_NetName = std::move(netNames);
    for (size_t i = 0; i < m_Objects.size(); ++i)
        if (m_NodeOf[i] >= 0) m_Objects[i]->Text = NodeName(m_NodeOf[i]);
}

// Each wire joins the node of its pin 2 to the node of its pin 1.
void WrittenDocument::JoinWires()
{
    for (const WrittenItem& item : items)
        if (item.form == Wire) {
            const int to = m_NodeOf[item.pin];
            nodes.Rename(m_NodeOf[item.pin + 1], nodes.Name(to), nodes.OriginOf(to), collided);
        }
}

// A line's return pin that touches nothing but other lines' return pins is ground. Its return pins
// are compared with every pin but those of wires and the return pins of lines.
void WrittenDocument::GroundLineReturns()
{
    for (const WrittenItem& item : items) {
        if (item.form == Wire) {
            --nodes.Compared(m_NodeOf[item.pin]);
            --nodes.Compared(m_NodeOf[item.pin + 1]);
        }
        if (item.form == Line) {
            --nodes.Compared(m_NodeOf[item.pin + 1]);
            --nodes.Compared(m_NodeOf[item.pin + 3]);
        }
    }
    for (const WrittenItem& item : items) {
        if (item.form != Line) continue;
        const int own[2] = {nodes.Find(m_NodeOf[item.pin]), nodes.Find(m_NodeOf[item.pin + 2])};
        bool shared[2];
        for (int k = 0; k < 2; ++k) {
            const int node = nodes.Find(m_NodeOf[item.pin + 1 + 2 * size_t(k)]);
            shared[k] = nodes.Compared(node) - (own[0] == node) - (own[1] == node) > 0;
        }
        for (int k = 0; k < 2; ++k)
            if (!shared[k])
                nodes.Rename(m_NodeOf[item.pin + 1 + 2 * size_t(k)], QStringLiteral("0"), FromOutside,
                             collided);
    }
}

// Equal bubble labels are one node, in every block and at the top; inside a block "SUB1" to "SUB4"
// are the nodes of the block's pins. An empty label names nothing.
void WrittenDocument::NameBubbles(const NetlistPorts& ports)
{
    static const QString kPortLabels[4] = {QStringLiteral("SUB1"), QStringLiteral("SUB2"),
                                           QStringLiteral("SUB3"), QStringLiteral("SUB4")};
    for (const WrittenItem& item : items) {
        if (item.form != Bubble) continue;
        CComponent& label = *m_Objects[item.name];
        NodeOrigin origin = FromLabel;
        bool port = false;
        if (!prefix.isEmpty()) {
            const QString upper = text::upperAscii(label.Text);
            for (size_t k = 0; k < 4 && !port; ++k)
                if (upper == kPortLabels[k]) {
                    label.Text = ports[k].name;
                    origin = ports[k].origin;
                    portNodes[k].push_back(m_NodeOf[item.pin]);
                    port = true;
                }
        }
        const QString name = EmittedName(text::upperAscii(label.Text));
        if (name.isEmpty()) continue;
        if (!port) sharedLabels.emplace_back(name, m_NodeOf[item.pin]);
        nodes.Rename(m_NodeOf[item.pin], name, origin, collided);
    }
}

// Voltage probes name their node for this instance; grounds make theirs 0.
void WrittenDocument::NameProbesAndGrounds()
{
    for (const WrittenItem& item : items)
        if (item.form == VoltageProbe && !Text(item.name).isEmpty()) {
            probes.push_back({m_NodeOf[item.pin], EmittedName(Text(item.name) + prefix)});
            nodes.Rename(m_NodeOf[item.pin], probes.back().name, FromLabel, collided);
        }
    for (const WrittenItem& item : items)
        if (item.form == Ground) nodes.Rename(m_NodeOf[item.pin], QStringLiteral("0"), FromOutside, collided);
}

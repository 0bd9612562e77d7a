#include "NetlistWriter.h"

#include "CComponent.h"
#include "CSubcircuit.h"
#include "CTorvex2Doc.h"
#include "ComponentTypeId.h"
#include "ElementClass.h"
#include "PartAttachments.h"
#include "SubcircuitFile.h"
#include "Text.h"
#include "UiServices.h"

#include <QFileInfo>

#include <utility>
#include <vector>

namespace {

using enum NetlistForm;

// How deep blocks may stand inside blocks. A file that contains itself is refused by the chain of
// files being written; this stops what the chain cannot see (the same file under links it cannot
// resolve).
constexpr int kMaxBlockDepth = 32;

// The simulator reads blanks as separators and line breaks as ends of statements. A line break or
// control character would start a statement of its own; a tab would glue two tokens together.
bool IsControl(QChar c)
{
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Separator_Line ||
           category == QChar::Separator_Paragraph;
}

// Inside a name a blank would split it, so blanks become "_" there as well.
QString EmittedName(QString name)
{
    for (QChar& c : name)
        if (c == u' ' || IsControl(c)) c = u'_';
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

// An object that the writer reads, with where its labels and pins stand in the list order.
struct WrittenItem {
    NetlistForm form;
    CComponent* object;
    size_t name, value, ic; // its labels (where its layout has them)
    size_t pin;             // its pin 1; the others follow
};

// One document while its netlist is written: its objects in list order, the objects the writer
// reads, the node of every pin, and the parameters its value texts take. Its passes run in the order
// of the naming rules; each later pass renames what the earlier ones named.
class WrittenDocument {
public:
    WrittenDocument(CTorvex2Doc& doc, const QString& prefix) : doc(doc), prefix(prefix) {}

    // One walk over the list: every group checked against its class's layout, and every pin in the
    // node of its position. False when a part is not followed by its labels and pins: a damaged file
    // kept as it was must not send the writer into another part's objects.
    bool Collect();
    // The instance's parameters first: earlier pairs win, so they beat the file's defaults.
    void ReadParameters(const QString& parameterText);
    void NameNodes(const NetlistWriter::Ports& ports);

    // The node name of a part's pin k (0 the first).
    const QString& PinNode(const WrittenItem& item, size_t k) { return nodes.Name(m_NodeOf[item.pin + k]); }
    NetlistWriter::Port PinPort(const WrittenItem& item, size_t k)
    {
        const int node = m_NodeOf[item.pin + k];
        return {nodes.Name(node), nodes.OriginOf(node)};
    }
    const QString& Text(size_t index) const { return m_Objects[index]->Text; }

    CTorvex2Doc& doc;
    const QString prefix;
    std::vector<WrittenItem> items;
    NodeTable nodes;
    QStringList names, values;
    // Labels that joined generated nodes, and generated nodes that labels joined.
    QStringList collided;

private:
    void ReadParameterText(const QString& text);
    void JoinWires();
    void GroundLineReturns();
    void NameBubbles(const NetlistWriter::Ports& ports);
    void NameProbesAndGrounds();

    std::vector<CComponent*> m_Objects;
    std::vector<int> m_NodeOf; // the node of each pin; -1 for the other objects
};

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

void WrittenDocument::NameNodes(const NetlistWriter::Ports& ports)
{
    JoinWires();
    GroundLineReturns();
    NameBubbles(ports);
    NameProbesAndGrounds();
    for (size_t i = 0; i < m_Objects.size(); ++i)
        if (m_NodeOf[i] >= 0) m_Objects[i]->Text = nodes.Name(m_NodeOf[i]);
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
void WrittenDocument::NameBubbles(const NetlistWriter::Ports& ports)
{
    static const QString kPortLabels[4] = {QStringLiteral("SUB1"), QStringLiteral("SUB2"),
                                           QStringLiteral("SUB3"), QStringLiteral("SUB4")};
    for (const WrittenItem& item : items) {
        if (item.form != Bubble) continue;
        CComponent& label = *m_Objects[item.name];
        NodeOrigin origin = FromLabel;
        if (!prefix.isEmpty()) {
            const QString upper = text::upperAscii(label.Text);
            for (size_t k = 0; k < 4; ++k)
                if (upper == kPortLabels[k]) {
                    label.Text = ports[k].name;
                    origin = ports[k].origin;
                    break;
                }
        }
        const QString name = EmittedName(text::upperAscii(label.Text));
        if (!name.isEmpty()) nodes.Rename(m_NodeOf[item.pin], name, origin, collided);
    }
}

// Voltage probes name their node for this instance; grounds make theirs 0.
void WrittenDocument::NameProbesAndGrounds()
{
    for (const WrittenItem& item : items)
        if (item.form == VoltageProbe && !Text(item.name).isEmpty())
            nodes.Rename(m_NodeOf[item.pin], EmittedName(Text(item.name) + prefix), FromLabel, collided);
    for (const WrittenItem& item : items)
        if (item.form == Ground) nodes.Rename(m_NodeOf[item.pin], QStringLiteral("0"), FromOutside, collided);
}

// ---- the writer ----

QString NoModelWarning(const QStringList& partsWithoutModel)
{
    return QStringLiteral("Warning:  These parts have no simulation model of their own and run as near short "
                          "circuits: ") +
           partsWithoutModel.join(QStringLiteral(", "));
}

NetlistWriter::NetlistWriter(NetlistReport& report, const QString& topPath) : m_Report(report)
{
    m_Report = {};
    if (!topPath.isEmpty()) m_Chain << CanonicalPath(topPath);
}

bool NetlistWriter::Fail(const QString& message)
{
    ui().message(message);
    m_Report.ok = false;
    return false;
}

bool NetlistWriter::Write(CTorvex2Doc& doc, const QString& prefix, const QString& parameterText,
                          const Ports& ports, QString& out)
{
    CTorvex2Doc::BusyScope busy(doc);
    WrittenDocument sheet(doc, prefix);
    if (!sheet.Collect()) return Fail(DamagedMessage(doc));
    sheet.ReadParameters(parameterText);
    sheet.NameNodes(ports);
    for (const QString& name : std::as_const(sheet.collided))
        NoteCollision(name);
    sheet.nodes.ForEachNode([this](const QString& name, NodeOrigin origin) { NoteNode(name, origin); });

    // Only the outermost level: a reserve at each block would copy the text written so far each time.
    if (out.isEmpty()) out.reserve(qsizetype(sheet.items.size()) * 32);
    // A file name on Linux may hold a line break as well.
    out += u'*' + prefix + QStringLiteral(" TORVEX Generated Netlist of ") +
           StatementText(DocumentName(doc), {}) + QStringLiteral("\r\n");
    return WriteLines(sheet, out);
}

bool NetlistWriter::WriteLines(WrittenDocument& sheet, QString& out)
{
    for (const WrittenItem& item : sheet.items) {
        if (item.form == Block) {
            if (!ExpandBlock(sheet, item, out)) return false;
            continue;
        }
        if (!WritesElement(item.form)) continue;
        // The element's name, its nodes, its value (which tells whether it has a model of its own)
        // and what follows the value.
        const QString name = EmittedName(sheet.Text(item.name) + sheet.prefix);
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
        for (size_t k = 0; k < pins; ++k)
            out += u' ' + sheet.PinNode(item, k);
        out += u' ' + value + rest + QStringLiteral("\r\n");
    }
    return true;
}

bool NetlistWriter::ExpandBlock(WrittenDocument& sheet, const WrittenItem& block, QString& out)
{
    const QString blockName = EmittedName(sheet.Text(block.name));
    const QString& file = sheet.Text(block.value);
    const QString message = CSubcircuit::OpenFailedMessage(file);
    const QString path = resolveSubcircuitFile(file, sheet.doc.PathName());
    if (path.isEmpty()) return Fail(message);
    const QString canonical = CanonicalPath(path);
    if (const QString refused = RefusedBlock(file, canonical); !refused.isEmpty()) return Fail(refused);
    QString reason;
    const std::unique_ptr<CTorvex2Doc> sub = CTorvex2Doc::OpenDetached(path, &reason);
    if (!sub) return Fail(message + u'\n' + reason);

    // The instance's parameters, then its parent's: a block inherits what it does not set itself.
    QString parameters = sheet.Text(block.ic);
    for (qsizetype i = 0; i < sheet.names.size(); ++i)
        parameters += u' ' + sheet.names[i] + u'=' + sheet.values[i];
    const Ports ports = {sheet.PinPort(block, 0), sheet.PinPort(block, 1), sheet.PinPort(block, 2),
                         sheet.PinPort(block, 3)};

    m_Chain << canonical;
    ++m_Depth;
    const bool written = Write(*sub, u'_' + blockName + sheet.prefix, parameters, ports, out);
    --m_Depth;
    m_Chain.removeLast();
    if (!written) return false;
    out += QStringLiteral("*_") + blockName + QStringLiteral(" Ends\r\n");
    return true;
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

QString NetlistWriter::StatementText(QString text, const QString& element)
{
    bool blanked = false;
    for (QChar& c : text)
        if (IsControl(c)) {
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
    const QString upper = text::upperAscii(name);
    if (m_ElementNames.contains(upper))
        NoteCollision(name);
    else
        m_ElementNames.insert(upper);
}

void NetlistWriter::NoteNode(const QString& name, NodeOrigin origin)
{
    if (origin == FromOutside) return;
    quint8& seen = m_NodeNames[text::upperAscii(name)];
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
}

#include "CTorvex2Doc.h"

#include "Archive.h"
#include "CComponent.h"
#include "CommandIds.h"
#include "ComponentClasses.h"
#include "ComponentListCheck.h"
#include "DocManager.h"
#include "DocTemplate.h"
#include "FirstGeneration.h"
#include "NetlistDocuments.h"
#include "NetlistWriter.h"
#include "OpenDocuments.h"
#include "RunSettings.h"
#include "SchematicViews.h"
#include "Text.h"
#include "UiServices.h"

#include <QIODevice>

#include <algorithm>
#include <climits>
#include <new>

namespace {
OpenDocuments* g_openDocuments = nullptr;

// The smallest stored object: a class reference, the fixed part of the record, an empty 8-bit
// text and the visible byte.
constexpr qsizetype kMinObjectBytes = 2 + 32 + 1 + 1;
// The smallest stored string: an empty 8-bit text.
constexpr qsizetype kMinStringBytes = 1;

struct PageSize {
    int id;
    qint32 width;
    qint32 height;
};
constexpr PageSize kPageSizes[] = {
    {ID_PageSizeA, 15840, 12240}, // 11 x 8.5 inches
    {ID_PageSizeB, 24480, 15840}, // 17 x 11 inches
    {ID_PageSizeC, 31680, 24480}, // 22 x 17 inches
};

const PageSize* findPageSize(int id)
{
    for (const PageSize& p : kPageSizes)
        if (p.id == id) return &p;
    return nullptr;
}

void writeList(Archive& ar, const QStringList& list)
{
    ar.WriteCount(quint32(list.size()));
    for (const QString& s : list)
        ar.WriteString(s);
}

QStringList readList(Archive& ar)
{
    QStringList list;
    // No reserve: the count is only checked against one byte per string, so a damaged file could
    // otherwise claim many times its size in memory.
    const quint32 n = ar.ReadCount(kMinStringBytes);
    for (quint32 i = 0; i < n; ++i)
        list << ar.ReadString();
    return list;
}
} // namespace

// The schematic as a netlist run sees it.
class CTorvex2Doc::RunSettingsAdapter : public RunSettingsReceiver {
public:
    explicit RunSettingsAdapter(CTorvex2Doc* doc) : m_doc(doc) {}

    void ReceiveRunSettings(const RunSettings& settings, bool archiveMode) override
    {
        m_doc->TimeStep = settings.timeStep;
        m_doc->StartTime = settings.startTime;
        m_doc->TimeSpan = settings.timeSpan;
        m_doc->InputMode = settings.sourceMode;
        if (archiveMode) {
            m_doc->ArchiveRoot = settings.archiveRoot;
            m_doc->Experiment = settings.experiment;
            m_doc->Shot = settings.shot;
        } else {
            m_doc->InputPath = settings.path;
        }
    }
    QStringList* TraceSelectionHistory() override { return &m_doc->TraceSelectionHistory; }
    void SetModified() override { m_doc->SetModifiedFlag(); }

private:
    CTorvex2Doc* m_doc;
};

CTorvex2Doc::CTorvex2Doc() : m_RunSettings(std::make_unique<RunSettingsAdapter>(this))
{
    // Every document must be able to read the objects of this build, whoever created it.
    RegisterComponentClasses(ClassRegistry::instance());
    SetDefaults();
}

CTorvex2Doc::~CTorvex2Doc()
{
    DeleteContents();
}

void CTorvex2Doc::SetOpenDocuments(OpenDocuments* documents)
{
    g_openDocuments = documents;
}

std::weak_ptr<RunSettingsReceiver> CTorvex2Doc::RunSettingsLink() const
{
    // Alive exactly as long as the document.
    return std::shared_ptr<RunSettingsReceiver>(Liveness().lock(), m_RunSettings.get());
}

void CTorvex2Doc::SetDefaults()
{
    PageRect = Rect{0, 0, 15840, -12240};
    SchematicFileVersion = kFileVersion;
    GridSpacing = 144;
    ShowGrid = true;
    SnapToGrid = true;
    TimeStep = QStringLiteral("1ns");
    StartTime = QStringLiteral("0ns");
    TimeSpan = QStringLiteral("100ns");
    ArchiveRoot = QStringLiteral("C:\\Experiments\\");
    Experiment.clear();
    Shot.clear();
    InputPath.clear();
    InputMode = QStringLiteral("Orlisk");
    DesignatorCounters.assign(kCounterCount, 0);
    TraceSelectionHistory.clear();
    for (QStringList& list : SpareStringLists)
        list.clear();
}

// ---- opening, saving, closing ----

bool CTorvex2Doc::OnNewDocument()
{
    if (!Document::OnNewDocument()) return false;
    SetDefaults();
    CheckPoint();
    MarkSaved();
    return true;
}

bool CTorvex2Doc::OnOpenDocument(const QString& path)
{
    BusyScope busy(*this);
    if (!Document::OnOpenDocument(path)) return false;
    CloseUntouchedDocuments();
    // A repair makes the document differ from its file: it is saved on closing like any edit, and no
    // state that undo reaches is the file's.
    const bool repaired =
        !CheckComponentList(m_Objects) &&
        ui().question(RepairOffer(), UiServices::Buttons::YesNo) == UiServices::Answer::Yes &&
        RunComponentListDialog(*this);
    if (repaired) SetModifiedFlag(true);
    CheckPoint();
    if (!repaired) MarkSaved();
    return true;
}

bool CTorvex2Doc::OnSaveDocument(const QString& path)
{
    if (SchematicFileVersion < 3 &&
        ui().question(ConvertedFileNotice(), UiServices::Buttons::OkCancel) != UiServices::Answer::Ok)
        return false;
    BusyScope busy(*this);
    if (m_Views) m_Views->CancelOperation();
    // A failed save keeps the old number, so a converted file is still asked about next time.
    if (!Document::OnSaveDocument(path)) return false;
    SchematicFileVersion = kFileVersion;
    MarkSaved();
    return true;
}

void CTorvex2Doc::DeleteContents()
{
    while (!m_Objects.empty())
        m_Objects.pop_front();
    Document::DeleteContents();
}

void CTorvex2Doc::CloseUntouchedDocuments()
{
    if (!g_openDocuments) return;
    // Collected first: closing changes the documents' list, and a document on the stack (being
    // opened, written or run) must survive.
    std::vector<Document*> untouched;
    for (const OpenDocuments::Entry& e : g_openDocuments->Entries()) {
        if (e.document != this && OpenDocuments::IsUntouched(e)) untouched.push_back(e.document);
    }
    for (Document* d : untouched)
        g_openDocuments->CloseDocument(d);
}

bool OpenDocuments::IsUntouched(const Entry& entry)
{
    const Document* d = entry.document;
    if (!d || !d->PathName().isEmpty() || d->IsModified() || d->IsBusy()) return false;
    if (entry.kind == Kind::Plot) return false;
    return !netlist_documents::HoldsResults(d);
}

// ---- the file ----

std::optional<QString> CTorvex2Doc::ReadFile(QIODevice& in)
{
    try {
        const QByteArray data = in.readAll();
        Archive ar(data);
        ReadContents(ar, false);
        return std::nullopt;
    } catch (const ArchiveError& e) {
        return QStringLiteral("Unexpected file format.\n") + e.detail();
    } catch (const OpenRefused& refused) {
        return refused.message;
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Failed to open document.");
    }
}

bool CTorvex2Doc::Load(QIODevice& in)
{
    const std::optional<QString> failure = ReadFile(in);
    if (failure && !failure->isEmpty()) ui().message(*failure);
    return !failure;
}

bool CTorvex2Doc::Save(QIODevice& out)
{
    QByteArray bytes;
    Archive ar(&bytes);
    WriteContents(ar, false);
    return out.write(bytes) == bytes.size();
}

void CTorvex2Doc::Serialize(Archive& ar)
{
    if (ar.IsStoring())
        WriteContents(ar, false);
    else
        ReadContents(ar, false);
}

void CTorvex2Doc::RestoredState(bool saved)
{
    SetModifiedFlag(!saved);
}

void CTorvex2Doc::SerializeForUndo(Archive& ar)
{
    if (ar.IsStoring())
        WriteContents(ar, true);
    else
        ReadContents(ar, true);
}

void CTorvex2Doc::WriteContents(Archive& ar, bool snapshot)
{
    ar.WriteInt(snapshot ? SchematicFileVersion : kFileVersion);
    ar.WriteRect(PageRect);
    ar.WriteInt(GridSpacing);
    ar.WriteCount(quint32(DesignatorCounters.size()));
    for (int c : DesignatorCounters)
        ar.WriteInt(c);
    ar.WriteCount(quint32(m_Objects.size()));
    for (const auto& object : m_Objects)
        ar.WriteObject(*object);
    ar.WriteByte(ShowGrid ? 1 : 0);
    ar.WriteByte(SnapToGrid ? 1 : 0);
    for (const QString* s :
         {&TimeStep, &StartTime, &TimeSpan, &ArchiveRoot, &Experiment, &Shot, &InputPath, &InputMode})
        ar.WriteString(*s);
    writeList(ar, TraceSelectionHistory);
    for (const QStringList& list : SpareStringLists)
        writeList(ar, list);
}

// What every version of the file holds first, after its version number.
struct CTorvex2Doc::StoredHead {
    Rect page;
    qint32 grid = 0;
    std::vector<int> counters;
    ComponentList objects;
    bool showGrid = true;
    bool snapToGrid = true;
};

ComponentList CTorvex2Doc::ReadObjectList(Archive& ar)
{
    return ar.ReadObjectList<ComponentList>(kMinObjectBytes,
                                            QStringLiteral("An object is not a schematic object."));
}

CTorvex2Doc::StoredHead CTorvex2Doc::ReadHead(Archive& ar)
{
    StoredHead head;
    head.page = ar.ReadRect();
    head.grid = ar.ReadInt();

    head.counters.resize(ar.ReadCount(4));
    for (int& c : head.counters)
        c = ar.ReadInt();

    head.objects = ReadObjectList(ar);

    head.showGrid = ar.ReadByte() != 0;
    head.snapToGrid = ar.ReadByte() != 0;
    return head;
}

void CTorvex2Doc::TakeHead(StoredHead& head)
{
    // Values that the views cannot work with: a page without area, or wider than their arithmetic
    // reaches, is refused; a grid of no size would never finish drawing its dots; letters without a
    // counter could not name their parts.
    const Rect& page = head.page;
    const qint64 width = page.Width();
    const qint64 height = qint64(page.top) - page.bottom;
    if (width <= 0 || height <= 0 || width > INT_MAX || height > INT_MAX)
        throw ArchiveError(ArchiveError::BadValue, QStringLiteral("The page size is not valid."));
    if (head.counters.size() < size_t(kCounterCount)) head.counters.resize(kCounterCount, 0);

    PageRect = page;
    GridSpacing = head.grid > 0 ? head.grid : 144;
    DesignatorCounters = std::move(head.counters);
    m_Objects = std::move(head.objects);
    ShowGrid = head.showGrid;
    SnapToGrid = head.snapToGrid;
}

void CTorvex2Doc::ReadContents(Archive& ar, bool snapshot)
{
    const qint32 version = ar.ReadInt();
    // First-generation files count their versions from 0, and no version will come near the limit:
    // other bytes (another program's file, a waveform, a netlist) are no schematic at all.
    if ((version < 0 || version > kMaxFileVersion) && !snapshot)
        throw ArchiveError(ArchiveError::BadValue, QStringLiteral("The file is not a schematic."));
    if (version < 3 && !snapshot) {
        ImportFirstGenerationSchematic(ar, version);
        return;
    }
    // Data a newer program added would be dropped on the next save.
    if (version > kFileVersion && !snapshot)
        throw ArchiveError(ArchiveError::BadSchema,
                           QStringLiteral("The file was written by a newer version of this program "
                                          "(file version %1).")
                               .arg(version));
    // Everything is read aside first: a damaged file leaves the document as it was.
    StoredHead head = ReadHead(ar);
    std::array<QString, 6> settings;
    for (QString& s : settings)
        s = ar.ReadString();
    QString inputPath = InputPath;
    QString inputMode = InputMode;
    if (version >= 4 || snapshot) {
        inputPath = ar.ReadString();
        inputMode = ar.ReadString();
    }
    QStringList history;
    std::array<QStringList, 3> spare;
    if (version >= 5 || snapshot) {
        history = readList(ar);
        for (QStringList& list : spare)
            list = readList(ar);
    }

    TakeHead(head);
    SchematicFileVersion = version;
    SetRunSettings(settings);
    InputPath = inputPath;
    InputMode = inputMode.isEmpty() ? QStringLiteral("Orlisk") : inputMode;
    TraceSelectionHistory = std::move(history);
    SpareStringLists = std::move(spare);
}

void CTorvex2Doc::SetRunSettings(const std::array<QString, 6>& settings)
{
    TimeStep = settings[0];
    StartTime = settings[1];
    TimeSpan = settings[2];
    ArchiveRoot = settings[3];
    Experiment = settings[4];
    Shot = settings[5];
}

void CTorvex2Doc::ImportFirstGenerationSchematic(Archive& ar, qint32 version)
{
    if (version < 0)
        throw ArchiveError(ArchiveError::BadValue,
                           QStringLiteral("The file version %1 is not valid.").arg(version));
    // The user knows why the file did not open. A sub-circuit file read while a netlist is written
    // converts without asking: nothing of it is ever saved.
    if (!m_Detached &&
        ui().question(FirstGenerationNotice(), UiServices::Buttons::OkCancel) != UiServices::Answer::Ok)
        throw OpenRefused{};
    StoredHead head = ReadHead(ar);
    // The first generation kept its run settings from its last version on; the archive settings
    // of older files are left empty, as they were.
    std::array<QString, 6> settings{QStringLiteral("1ns"), QStringLiteral("0ns"), QStringLiteral("100ns")};
    if (version == 2) {
        for (QString& s : settings)
            s = ar.ReadString();
    }
    // Objects left out are named, and a file of which nothing is left is refused, so that saving
    // an empty page cannot overwrite it.
    std::vector<quint32> leftOut;
    const bool hadObjects = !head.objects.empty();
    head.objects = ConvertFirstGenerationObjects(head.objects, &leftOut);
    if (hadObjects && head.objects.empty()) throw OpenRefused{LeftOutObjectsMessage(leftOut, true)};
    // The old counters belong to the old names; today's start from the converted names.
    head.counters.assign(kCounterCount, 0);
    RaiseDesignatorCounters(head.objects, head.counters);

    TakeHead(head);
    SchematicFileVersion = version;
    SetRunSettings(settings);
    // A sub-circuit read for a netlist says nothing: its objects are the user's only as a block.
    if (!leftOut.empty() && !m_Detached) ui().message(LeftOutObjectsMessage(leftOut, false));
    if (m_Views) m_Views->UpdateAllViews();
}

// ---- objects ----

std::optional<int> CTorvex2Doc::NextDesignatorNumber(QChar letter)
{
    const size_t index = letter.unicode();
    if (index >= DesignatorCounters.size() || DesignatorCounters[index] == INT_MAX) return std::nullopt;
    return ++DesignatorCounters[index];
}

void CTorvex2Doc::RecordEdit()
{
    CheckPoint();
    SetModifiedFlag(true);
}

DocumentHandle CTorvex2Doc::OpenDocumentWindow(const QString& path)
{
    DocTemplate* docTemplate = Template();
    if (!docTemplate) return {};
    if (const DocManager* manager = DocManager::Instance())
        if (Document* open = manager->ActivateOpenDocument(path)) return {open, open->Liveness(), true};
    // Opening a schematic closes the untouched documents; this one has a dialog running over it and
    // must stay, even with no file and nothing changed.
    BusyScope busy(*this);
    Document* opened = docTemplate->OpenDocumentFile(path, true);
    if (!opened) return {};
    return {opened, opened->Liveness()};
}

void CTorvex2Doc::CloseDocumentWindow(const DocumentHandle& document)
{
    if (!document.IsOpen() || document.wasOpen || document.document == this) return;
    if (DocTemplate* docTemplate = document.document->Template())
        docTemplate->CloseDocument(document.document);
}

// ---- page size ----

void CTorvex2Doc::OnPageSize(int id)
{
    const PageSize* size = findPageSize(id);
    if (!size) return;
    PageRect = Rect{0, 0, size->width, -size->height};
    SetModifiedFlag(true);
    if (m_Views) m_Views->UpdateAllViews();
}

bool CTorvex2Doc::IsPageSizeEnabled(int id) const
{
    const PageSize* size = findPageSize(id);
    return size && PageRect.Width() != size->width;
}

// ---- the netlist ----

namespace {

// Replaces every whole `name` that stands between one of the `left` characters and one of the
// `right` ones; replaced text is not searched again.
void replaceBounded(QString& text, const QString& name, const QString& value, QStringView left,
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

} // namespace

QString CTorvex2Doc::SubstituteParameters(QString text, const QStringList& names, const QStringList& values)
{
    const qsizetype count = std::min(names.size(), values.size());
    text = u' ' + text::upperAscii(text) + u' ';
    // Only whole names are replaced: a parameter N must not turn 10N into 10 followed by its value.
    // The three rounds keep the order in which names are looked for, so an earlier pair wins over a
    // later one of the same name and a value may name a later parameter.
    for (qsizetype i = 0; i < count; ++i)
        replaceBounded(text, names[i], values[i], u"=", u" ,");
    for (qsizetype i = 0; i < count; ++i)
        replaceBounded(text, names[i], values[i], u" =", u" ");
    for (qsizetype i = 0; i < count; ++i)
        replaceBounded(text, names[i], values[i], u" ", u" ,");
    return text.trimmed();
}

QString CTorvex2Doc::WriteNetlist(QString prefix, QString parameterText, QString port1, QString port2,
                                  QString port3, QString port4, NetlistReport* report)
{
    NetlistReport own;
    NetlistWriter writer(report ? *report : own, PathName());
    const NetlistWriter::Ports ports = {NetlistWriter::Port{port1}, NetlistWriter::Port{port2},
                                        NetlistWriter::Port{port3}, NetlistWriter::Port{port4}};
    QString text;
    if (!writer.Write(*this, prefix, parameterText, ports, text)) return {};
    writer.Warn();
    return text;
}

std::optional<QString> CTorvex2Doc::CreateNetlistText()
{
    NetlistReport report;
    QString text = WriteNetlist({}, {}, {}, {}, {}, {}, &report);
    if (!report.ok) return std::nullopt;
    if (!report.partsWithoutModel.isEmpty()) ui().message(NoModelWarning(report.partsWithoutModel));
    // A wire that ends beside a pin looks joined on the page; the netlist would split the node unseen.
    if (!report.unconnectedPins.isEmpty()) ui().message(UnconnectedPinsWarning(report.unconnectedPins));
    return text;
}

#pragma once

#include "CUndo.h"
#include "ComponentHost.h"
#include "Document.h"
#include "Rect.h"

#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class Archive;
class OpenDocuments;
class RunSettingsReceiver;
class SchematicViews;
struct NetlistReport;

// The document of a schematic: page, grid, the list of schematic objects, the designator counters,
// the run settings that travel with the circuit to the simulator and the saved trace-selection
// lines. It reads and writes the .cas file and keeps whole-document undo snapshots.
class CTorvex2Doc : public Document, public CUndo, public ComponentHost {
public:
    static constexpr qint32 kFileVersion = 5;
    // The largest version a file of a later program may carry; beyond it the bytes are no schematic.
    static constexpr qint32 kMaxFileVersion = 1000;
    static constexpr int kCounterCount = 128;

    CTorvex2Doc();
    ~CTorvex2Doc() override;

    // ---- Document ----
    bool OnNewDocument() override;
    bool OnOpenDocument(const QString& path) override;
    bool OnSaveDocument(const QString& path) override;
    void DeleteContents() override;
    bool Load(QIODevice& in) override;
    bool Save(QIODevice& out) override;

    // The .cas layout; reading throws ArchiveError on a damaged file and leaves the document as it
    // was.
    void Serialize(Archive& ar);

    // ---- ComponentHost ----
    ComponentList& Components() override { return m_Objects; }
    std::optional<int> NextDesignatorNumber(QChar letter) override;
    void RecordEdit() override;
    QString DocumentPath() const override { return PathName(); }
    DocumentHandle OpenDocumentWindow(const QString& path) override;
    void CloseDocumentWindow(const DocumentHandle& document) override;

    // A count and that many schematic objects, as the file and the clipboard store them; throws
    // ArchiveError.
    static ComponentList ReadObjectList(Archive& ar);

    // A new object for a ribbon tool id, not yet in the list; null for the ids that make none.
    static std::unique_ptr<CComponent> CreateComponent(quint32 typeId);

    // Closes every other document that has no file and is not modified, except those that are busy
    // (being opened, written or run), plots, and netlists holding the results of a run.
    void CloseUntouchedDocuments();

    // ---- the netlist ----
    // The netlist text of the schematic. At the top level every argument is empty; a sub-circuit is
    // written with its prefix ("_X1"), its instance's parameter text and the node names of the block's
    // pins 1 to 4. Names the nodes into the pins' texts, and a PATH parameter sets the input mode and
    // path. Empty when the netlist cannot be written, after one message saying why.
    QString WriteNetlist(QString prefix, QString parameterText, QString port1, QString port2, QString port3,
                         QString port4, NetlistReport* report = nullptr);
    // The text with every parameter name replaced by its value, upper-cased and trimmed; an earlier pair
    // wins over a later one of the same name.
    static QString SubstituteParameters(QString text, const QStringList& names, const QStringList& values);
    // What Create Netlist shows: the top-level netlist, after one warning when parts in it run without
    // a model of their own and one naming the pins that nothing connects to; nothing when it cannot
    // be written (the reason has been shown).
    std::optional<QString> CreateNetlistText();

    // A schematic file read into a document of its own that no window shows and the program does not
    // know of: nothing else is closed, nothing asked, no undo snapshot taken. Null when the file cannot
    // be read, with the reason.
    static std::unique_ptr<CTorvex2Doc> OpenDetached(const QString& path, QString* reason);

    // ---- page size commands ----
    void OnPageSize(int id);
    bool IsPageSizeEnabled(int id) const;

    // The link a netlist document made from this schematic holds: each run sends its settings back
    // through it. It expires with the document.
    std::weak_ptr<RunSettingsReceiver> RunSettingsLink() const;

    // While a document writes its netlist or opens and saves its file it must not be closed as an
    // untouched document; a scope marks it busy.
    class BusyScope {
    public:
        explicit BusyScope(CTorvex2Doc& doc) : m_doc(doc) { ++m_doc.m_Busy; }
        ~BusyScope() { --m_doc.m_Busy; }
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        CTorvex2Doc& m_doc;
    };
    bool IsBusy() const override { return m_Busy > 0; }

    // The shell's services; each may be missing (tests, hidden documents).
    void SetViews(SchematicViews* views) { m_Views = views; }
    static void SetOpenDocuments(OpenDocuments* documents);

    static QString ConvertedFileNotice()
    {
        return QStringLiteral(
            "You are saving a converted TORVEX1 schematic as a TORVEX2 schematic.  The saved file "
            "will no longer be readable by TORVEX1");
    }
    static QString RepairOffer() { return QStringLiteral("Errors detected in file.  Show repair window?"); }

    // ---- the document's data ----
    Rect PageRect{0, 0, 15840, -12240};         // y runs negative downwards
    qint32 SchematicFileVersion = kFileVersion; // as read; 0 to 2 mark a converted first-generation file
    qint32 GridSpacing = 144;                   // twips
    bool ShowGrid = true;
    bool SnapToGrid = true;
    QString TimeStep;
    QString StartTime;
    QString TimeSpan;
    QString ArchiveRoot;
    QString Experiment;
    QString Shot;
    QString InputPath;
    QString InputMode;                   // "Orlisk" or "Path"
    std::vector<int> DesignatorCounters; // by prefix character: the last number given
    QStringList TraceSelectionHistory;   // newest first
    std::array<QStringList, 3> SpareStringLists;

protected:
    void SerializeForUndo(Archive& ar) override;
    // The document is modified exactly when undo and redo have left it away from its saved state.
    void RestoredState(bool saved) override;

private:
    class RunSettingsAdapter;
    // Thrown when a file is refused for a reason of its own; an empty message means the user already
    // knows (a cancelled question).
    struct OpenRefused {
        QString message;
    };

    void SetDefaults();
    // Reads a whole file; on failure the document is as it was and the reason is returned (empty
    // when the user knows it already, after a cancelled question).
    std::optional<QString> ReadFile(QIODevice& in);
    // The full layout of this build. A file is stamped with kFileVersion; a snapshot keeps the
    // version as read, so an undo does not forget that the file came from an older program.
    void WriteContents(Archive& ar, bool snapshot);
    // A snapshot always holds the full layout, whatever version it carries, and never goes through
    // the first-generation conversion.
    void ReadContents(Archive& ar, bool snapshot);
    // A file of the first generation (versions 0 to 2), converted into today's objects; the
    // document keeps the old version until it is saved.
    void ImportFirstGenerationSchematic(Archive& ar, qint32 version);
    struct StoredHead;
    static StoredHead ReadHead(Archive& ar);
    // Checks what the views rely on and takes it in.
    void TakeHead(StoredHead& head);
    void SetRunSettings(const std::array<QString, 6>& settings);

    ComponentList m_Objects;
    SchematicViews* m_Views = nullptr;
    int m_Busy = 0;
    // Read by OpenDetached: reading the file must ask nothing (the conversion of a first-generation
    // file goes ahead without its notice).
    bool m_Detached = false;
    const std::unique_ptr<RunSettingsAdapter> m_RunSettings;
};

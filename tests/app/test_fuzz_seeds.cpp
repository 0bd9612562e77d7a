// The fuzz targets start from seeds; those that stand for valid input must stay valid, or the
// fuzzer never reaches what lies behind the first refusal (the paste path had no valid seed).
#include "CComponent.h"
#include "COrliskWave.h"
#include "CPlotDoc.h"
#include "CSimulatorDoc.h"
#include "CTorvex2Doc.h"
#include "EditorFixture.h"
#include "Files.h"
#include "Text.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>

#include <functional>

namespace {

const QString kCorpus = QStringLiteral(TORVEX_FUZZ_CORPUS_DIR);

template <class Doc> bool loads(const QByteArray& bytes)
{
    Doc doc;
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    return doc.Load(in);
}

bool pastes(const QByteArray& bytes)
{
    CTorvex2Doc doc;
    doc.OnNewDocument();
    EditorWindowModel window;
    SchematicEditor editor(window, window);
    editor.SetDocument(&doc);
    return editor.Paste(bytes) && !doc.Components().empty();
}

// The fuzz target also reads its input as a first-generation file: the first byte's remainder by 3
// is the version, the rest follows it. The import's notice is answered OK.
bool importsAsFirstGeneration(const QByteArray& bytes, ScriptedUiServices& ui)
{
    if (bytes.isEmpty()) return false;
    QByteArray file(4, '\0');
    file[0] = char(quint8(bytes[0]) % 3);
    file += bytes.mid(1);
    ui.answers = {UiServices::Answer::Ok};
    CTorvex2Doc doc;
    QBuffer in(&file);
    in.open(QIODevice::ReadOnly);
    return doc.Load(in) && !doc.Components().empty();
}

bool reads(const QString& path)
{
    return COrliskWave().Read(path);
}

bool readsAsNetlist(const QByteArray& bytes)
{
    CSimulatorDoc doc;
    doc.SetNetlistText(text::decode(bytes));
    return doc.ReadNetlistLines() && !doc.Lines().isEmpty();
}

} // namespace

TEST(FuzzSeeds, TheSeedsOfValidInputAreValid)
{
    ScriptedUiServices ui;
    const struct {
        const char* target;
        QStringList seeds; // of the target's corpus
        std::function<bool(const QString& path, const QByteArray& bytes)> valid;
    } targets[] = {
        {"fuzz_cas",
         {"new.cas", "two-resistors.cas", "version-3.cas", "version-4.cas"},
         [](const QString&, const QByteArray& b) { return loads<CTorvex2Doc>(b); }},
        {"fuzz_cas", {"paste-*.bin"}, [](const QString&, const QByteArray& b) { return pastes(b); }},
        {"fuzz_cas",
         {"first-generation-*.bin"},
         [&ui](const QString&, const QByteArray& b) { return importsAsFirstGeneration(b, ui); }},
        {"fuzz_plot",
         {"new.plot", "one-trace.plot", "two-traces.plot"},
         [](const QString&, const QByteArray& b) { return loads<CPlotDoc>(b); }},
        {"fuzz_wvf",
         {"example.wvf", "ringdown.wvf"},
         [](const QString& p, const QByteArray&) { return reads(p); }},
        {"fuzz_netlist", {"*.cir"}, [](const QString&, const QByteArray& b) { return readsAsNetlist(b); }},
    };
    for (const auto& t : targets) {
        const QDir folder(kCorpus + u'/' + QLatin1String(t.target));
        const QStringList names = folder.entryList(t.seeds, QDir::Files);
        EXPECT_FALSE(names.isEmpty()) << t.target << ": " << t.seeds.join(' ').toStdString();
        for (const QString& name : names) {
            const QString path = folder.filePath(name);
            const std::optional<QByteArray> bytes = files::Read(path, files::Kind::Schematic);
            ASSERT_TRUE(bytes) << path.toStdString();
            EXPECT_TRUE(t.valid(path, *bytes))
                << path.toStdString() << ": " << ui.messages.join(" | ").toStdString();
            ui.messages.clear();
        }
    }
    // A netlist seed large enough for the reader's long paths.
    EXPECT_GT(QFileInfo(kCorpus + "/fuzz_netlist/ladder-100k.cir").size(), 90000);
}

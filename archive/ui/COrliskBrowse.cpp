#include "COrliskBrowse.h"

#include "ArchivePrompts.h"
#include "OrliskArchive.h"
#include "OrliskCombo.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

QComboBox* makeCombo(QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    // Not editable: only listed folders can be chosen, so what the box shows is what is used
    // (new roots come from Find Root, new experiments and shots from their buttons).
    combo->setEditable(false);
    return combo;
}

// The lists keep their items in the archive's name order, whatever order they arrive in.
int insertSorted(QComboBox* combo, const QString& text)
{
    int at = 0;
    while (at < combo->count() && !orlisk::NameLess(text, combo->itemText(at)))
        ++at;
    const QSignalBlocker quiet(combo);
    combo->insertItem(at, text);
    return at;
}

// Selects the item equal to `text` ignoring case; nothing when there is none.
void selectMatching(QComboBox* combo, const QString& text)
{
    const QSignalBlocker quiet(combo);
    combo->setCurrentIndex(combo->findText(text, Qt::MatchFixedString));
}

void select(QComboBox* combo, int index)
{
    const QSignalBlocker quiet(combo);
    combo->setCurrentIndex(index);
}

void clear(QComboBox* combo)
{
    const QSignalBlocker quiet(combo);
    combo->clear();
}

QString selectedText(const QComboBox* combo)
{
    return combo->currentIndex() >= 0 ? combo->itemText(combo->currentIndex()) : QString();
}

// Fills with names already in order, selects item 0 and returns its text (empty without items).
QString fillAndSelectFirst(QComboBox* combo, const QStringList& names)
{
    const QSignalBlocker quiet(combo);
    combo->clear();
    combo->addItems(names);
    combo->setCurrentIndex(names.isEmpty() ? -1 : 0);
    return selectedText(combo);
}

// A folder from the desktop's picker continues with the separator of its own kind.
QString withFolderEnd(const QString& folder)
{
    if (folder.endsWith(u'\\') || folder.endsWith(u'/')) return folder;
    return folder + (folder.startsWith(u'/') ? u'/' : u'\\');
}

} // namespace

COrliskBrowse::COrliskBrowse(const OrliskCombo& ribbonRoots, const OrliskCombo& ribbonExperiments,
                             const OrliskCombo& ribbonShots, QWidget* parent)
    : QDialog(parent), m_ribbonRoots(ribbonRoots), m_ribbonExperiments(ribbonExperiments),
      m_ribbonShots(ribbonShots)
{
    setWindowTitle(QStringLiteral("Select Orlisk Path"));
    m_roots = makeCombo(this);
    m_experiments = makeCombo(this);
    m_shots = makeCombo(this);
    m_traces = new QListWidget(this);

    auto* findRoot = new QPushButton(QStringLiteral("Find Root"), this);
    auto* newExperiment = new QPushButton(QStringLiteral("New Experiment"), this);
    auto* newShot = new QPushButton(QStringLiteral("New Shot"), this);
    for (QPushButton* b : {findRoot, newExperiment, newShot})
        b->setAutoDefault(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Orlisk Root Folder:"), this), 0, 0);
    grid->addWidget(m_roots, 1, 0);
    grid->addWidget(findRoot, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Select Experiment:"), this), 2, 0);
    grid->addWidget(m_experiments, 3, 0);
    grid->addWidget(newExperiment, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Select Shot:"), this), 4, 0);
    grid->addWidget(m_shots, 5, 0);
    grid->addWidget(newShot, 5, 1);
    grid->addWidget(new QLabel(QStringLiteral("Available Traces:"), this), 6, 0);
    grid->addWidget(m_traces, 7, 0, 1, 2);
    grid->addWidget(buttons, 8, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(7, 1);
    setMinimumSize(480, 400);

    // Only the user's choices run the handlers; the fills change the lists quietly.
    connect(m_roots, &QComboBox::activated, this, &COrliskBrowse::OnSelchangeRoot);
    connect(m_experiments, &QComboBox::activated, this, &COrliskBrowse::OnSelchangeExperiment);
    connect(m_shots, &QComboBox::activated, this, &COrliskBrowse::OnSelchangeShot);
    connect(m_traces, &QListWidget::currentRowChanged, this, &COrliskBrowse::OnSelchangeTraces);
    connect(findRoot, &QPushButton::clicked, this, &COrliskBrowse::OnFindRoot);
    connect(newExperiment, &QPushButton::clicked, this, &COrliskBrowse::OnNewExperiment);
    connect(newShot, &QPushButton::clicked, this, &COrliskBrowse::OnNewShot);
    connect(buttons, &QDialogButtonBox::accepted, this, &COrliskBrowse::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COrliskBrowse::reject);
}

void COrliskBrowse::showEvent(QShowEvent* event)
{
    if (!m_initialised) OnInitDialog();
    QDialog::showEvent(event);
}

void COrliskBrowse::OnInitDialog()
{
    m_initialised = true;
    clear(m_roots);
    for (const QString& root : m_ribbonRoots.Items())
        insertSorted(m_roots, root);
    selectMatching(m_roots, m_ribbonRoots.SelectedText());
    Root = selectedText(m_roots);

    FillExperiments();
    selectMatching(m_experiments, m_ribbonExperiments.SelectedText());
    OnSelchangeExperiment();

    selectMatching(m_shots, m_ribbonShots.SelectedText());
    OnSelchangeShot();
}

void COrliskBrowse::FillExperiments()
{
    Experiment = fillAndSelectFirst(m_experiments, orlisk::Experiments(Root));
}

void COrliskBrowse::FillShots()
{
    Shot = fillAndSelectFirst(m_shots, orlisk::Shots(Root + Experiment, true));
}

void COrliskBrowse::FillTraces(const QString& folder)
{
    const QSignalBlocker quiet(m_traces);
    m_traces->clear();
    m_traces->addItems(orlisk::Traces(folder));
    m_traces->setCurrentRow(m_traces->count() > 0 ? 0 : -1);
    Trace = m_traces->currentItem() ? m_traces->currentItem()->text() : QString();
}

void COrliskBrowse::OnSelchangeRoot()
{
    Root = selectedText(m_roots);
    FillExperiments();
    OnSelchangeExperiment();
}

void COrliskBrowse::OnSelchangeExperiment()
{
    if (m_experiments->currentIndex() >= 0) {
        Experiment = selectedText(m_experiments);
        FillShots();
        OnSelchangeShot();
        return;
    }
    Experiment.clear();
    Shot.clear();
    Trace.clear();
    clear(m_shots);
    const QSignalBlocker quiet(m_traces);
    m_traces->clear();
}

void COrliskBrowse::OnSelchangeShot()
{
    if (m_shots->currentIndex() >= 0) {
        Shot = selectedText(m_shots);
        FillTraces(Root + Experiment + QStringLiteral("\\Shots\\Shot") + Shot);
        return;
    }
    Shot.clear();
    Trace.clear();
    const QSignalBlocker quiet(m_traces);
    m_traces->clear();
}

void COrliskBrowse::OnSelchangeTraces()
{
    const QListWidgetItem* item = m_traces->currentItem();
    Trace = item ? item->text() : QString();
}

void COrliskBrowse::OnFindRoot()
{
    const QString folder =
        archivePrompts().PickFolder(this, QStringLiteral("Select new 'Experiments' folder"));
    if (folder.isEmpty()) return;
    // A root already listed is selected rather than listed twice.
    const QString root = withFolderEnd(folder);
    const int listed = m_roots->findText(root, Qt::MatchExactly | Qt::MatchCaseSensitive);
    select(m_roots, listed >= 0 ? listed : insertSorted(m_roots, root));
    OnSelchangeRoot();
}

void COrliskBrowse::OnNewExperiment()
{
    QString name;
    if (!archivePrompts().AskText(this, QStringLiteral("New Experiment Name"),
                                  QStringLiteral("Enter name for Experiment"), name))
        return;
    if (!orlisk::CreateExperimentFolders(Root, name)) return;
    // Cancel here still makes the experiment, only without a description.
    QString description;
    archivePrompts().AskText(this, QStringLiteral("New Experiment Description"),
                             QStringLiteral("Enter description for Experiment: ") + name, description);
    orlisk::WriteExperimentFiles(Root, name, description);
    select(m_experiments, insertSorted(m_experiments, name));
    OnSelchangeExperiment();
}

void COrliskBrowse::OnNewShot()
{
    QString name;
    if (!archivePrompts().AskText(this, QStringLiteral("New Shot Name"),
                                  QStringLiteral("Enter name for Shot"), name))
        return;
    if (!orlisk::CreateShotFolder(Root, Experiment, name)) return;
    select(m_shots, insertSorted(m_shots, name));
    OnSelchangeShot();
}

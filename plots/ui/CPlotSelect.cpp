#include "CPlotSelect.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

QPushButton* makeButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    // Enter in the selection box must not press a button the user did not choose.
    button->setAutoDefault(false);
    return button;
}

} // namespace

CPlotSelect::CPlotSelect(const TraceSource& source, const QString& archivePath,
                         std::weak_ptr<RunSettingsReceiver> schematic, QWidget* parent)
    : QDialog(parent), m_Model(source, archivePath, std::move(schematic)), m_Types(new QListWidget(this)),
      m_Traces(new QListWidget(this)), m_Selection(new QComboBox(this)),
      m_PathText(new QLabel(QStringLiteral("Orlisk Path"), this)),
      m_Plot(makeButton(QStringLiteral("Plot"), this)),
      m_SaveText(makeButton(QStringLiteral("Save to Text File"), this)),
      m_SaveOrlisk(makeButton(QStringLiteral("Save to Orlisk"), this))
{
    setWindowTitle(QStringLiteral("Select Traces to Plot or Save"));
    m_Selection->setEditable(true);
    m_Selection->setInsertPolicy(QComboBox::NoInsert);
    m_Selection->setMinimumContentsLength(40);
    m_PathText->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* group = new QGroupBox(QStringLiteral("Select Trace from Type List"), this);
    auto* lists = new QGridLayout(group);
    lists->addWidget(new QLabel(QStringLiteral("Trace Types:"), group), 0, 0);
    lists->addWidget(new QLabel(QStringLiteral("Trace List (double-click to select):"), group), 0, 1);
    lists->addWidget(m_Types, 1, 0);
    lists->addWidget(m_Traces, 1, 1);
    lists->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_Plot);
    buttons->addWidget(m_SaveText);
    buttons->addWidget(m_SaveOrlisk);
    buttons->addStretch(1);

    auto* path = new QHBoxLayout;
    path->addWidget(new QLabel(QStringLiteral("Orlisk Path:"), this));
    path->addWidget(m_PathText, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group, 1);
    layout->addWidget(new QLabel(QStringLiteral("Selected Traces:"), this));
    layout->addWidget(m_Selection);
    layout->addLayout(buttons);
    layout->addLayout(path);

    connect(m_Types, &QListWidget::currentRowChanged, this, [this] { OnSelchangeTypeList(); });
    connect(m_Traces, &QListWidget::itemDoubleClicked, this, [this] { OnDblclkTraceList(); });
    connect(m_Plot, &QPushButton::clicked, this, [this] { OnPlot(); });
    connect(m_SaveText, &QPushButton::clicked, this, [this] { OnSaveToTextFile(); });
    connect(m_SaveOrlisk, &QPushButton::clicked, this, [this] { OnSaveToOrlisk(); });

    OnInitDialog();
}

void CPlotSelect::OnInitDialog()
{
    {
        const QSignalBlocker quiet(m_Types);
        m_Types->clear();
        m_Types->addItems(TraceSelection::TraceTypes());
        m_Types->setCurrentRow(TraceSelection::kPartVoltages);
    }
    m_PathText->setText(m_Model.ArchivePath());
    OnSelchangeTypeList();
    m_Selection->addItems(m_Model.HistoryLines());
    // The box starts empty; the saved lines wait in its list.
    m_Selection->setCurrentIndex(-1);
    m_Selection->setEditText(QString());
}

void CPlotSelect::OnSelchangeTypeList()
{
    m_Traces->clear();
    m_Traces->addItems(m_Model.TraceNames(m_Types->currentRow()));
}

void CPlotSelect::OnDblclkTraceList()
{
    const QListWidgetItem* item = m_Traces->currentItem();
    if (!item) return;
    m_Selection->setEditText(TraceSelection::AppendTrace(SelectionLine(), item->text()));
}

QString CPlotSelect::SelectionLine() const
{
    return m_Selection->currentText();
}

void CPlotSelect::OnPlot()
{
    if (m_Model.Plot(SelectionLine())) accept();
}

void CPlotSelect::OnSaveToTextFile()
{
    m_Model.SaveToTextFile(SelectionLine());
}

void CPlotSelect::OnSaveToOrlisk()
{
    m_Model.SaveToOrlisk(SelectionLine());
}

#include "CPlotDataViewer.h"

#include "CPlotDoc.h"
#include "NetlistValue.h"
#include "Text.h"
#include "UiServices.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cmath>

namespace {
const QString kLineEnd = QStringLiteral("\r\n");
}

CPlotDataViewer::CPlotDataViewer()
{
    setWindowTitle(QStringLiteral("Dialog"));
    m_TimeEdit = new QLineEdit(this);
    m_ShowData = new QPushButton(QStringLiteral("ShowData"), this);
    m_ShowData->setAutoDefault(false);
    m_ListingEdit = new QPlainTextEdit(this);
    m_ListingEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::hide);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    connect(m_ShowData, &QPushButton::clicked, this, &CPlotDataViewer::OnShowData);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_TimeEdit, 0, 0);
    layout->addWidget(m_ShowData, 0, 1);
    layout->addWidget(m_ListingEdit, 1, 0, 1, 2);
    layout->addWidget(buttons, 2, 0, 1, 2);
    resize(312, 358); // 208 by 220 dialog units
}

CPlotDataViewer::~CPlotDataViewer() = default;

void CPlotDataViewer::SetDocument(CPlotDoc* doc)
{
    m_Doc = doc;
    m_DocAlive = doc ? doc->Liveness() : std::weak_ptr<const void>();
}

CPlotDoc* CPlotDataViewer::Document() const
{
    return m_DocAlive.expired() ? nullptr : m_Doc;
}

void CPlotDataViewer::UpdateData(bool save)
{
    if (save) {
        TimeText = m_TimeEdit->text();
        OutputText = m_ListingEdit->toPlainText().replace(QLatin1Char('\n'), kLineEnd);
    } else {
        m_TimeEdit->setText(TimeText);
        m_ListingEdit->setPlainText(QString(OutputText).replace(kLineEnd, QStringLiteral("\n")));
    }
}

bool CPlotDataViewer::ReadTime(const QString& typed, double& t)
{
    const NetlistValue v = ReadNetlistValue(text::upperAscii(typed.trimmed()));
    if (!v.digits || v.stray || !std::isfinite(v.value)) return false;
    t = v.value;
    return true;
}

void CPlotDataViewer::OnShowData()
{
    UpdateData(true);
    double t = 0;
    if (!ReadTime(TimeText, t)) {
        ui().message(QStringLiteral("The time must be a number, such as 42n or 4.2e-8: ") + TimeText);
        return;
    }
    OutputText = text::format("Time= %e ", t) + kLineEnd;
    if (const CPlotDoc* doc = Document())
        for (int i = 0; i < doc->TracesInUse(); ++i)
            OutputText +=
                doc->GetTraceName(i) + kLineEnd + text::format(" %e ", doc->GetTraceValueAt(i, t)) + kLineEnd;
    UpdateData(false);
}

#include "SourceDialog.h"

#include "CVoltageSource.h"
#include "FieldDialog.h"
#include "QtPropertyDialogs.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace {

class SourceDialog : public FieldDialog {
public:
    SourceDialog(CVoltageSource& s, QWidget* parent) : FieldDialog(s, QStringLiteral("Source Edit"), parent)
    {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(NameRow(1010, s.DialogName, 1011, s.DialogNameVisible));
        auto* group = new QGroupBox(QStringLiteral("Value"), this);
        auto* grid = new QGridLayout(group);
        using K = CVoltageSource;
        grid->addWidget(BindRadio(1005, QStringLiteral("DC:"), s.SourceKind, K::KindDC), 0, 0);
        grid->addWidget(EditRow({{"V:", 1012, &s.DCText}}), 0, 1);
        PulseAndWaveformRows(grid, 1, s.SourceKind, s, {"V1:", 1013, &s.V1Text}, {"V2:", 1014, &s.V2Text});
        grid->addWidget(BindCheck(1024, QStringLiteral("Visible"), s.DialogValueVisible), 4, 0);
        layout->addWidget(group);
        layout->addWidget(Buttons());
        Load();
    }
};

} // namespace

void RegisterSourceDialog(QtPropertyDialogs& dialogs)
{
    dialogs.Register<CVoltageSource, SourceDialog>(CVoltageSource::kDialogTemplate);
}

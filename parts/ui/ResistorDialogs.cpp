#include "ResistorDialogs.h"

#include "CPlanarDiode.h"
#include "CResistor.h"
#include "CSwitch.h"
#include "CVariableR.h"
#include "FieldDialog.h"
#include "QtPropertyDialogs.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

// Name and value as free text, each with its "Visible" check.
class NameValueDialog : public FieldDialog {
public:
    NameValueDialog(CComponent& c, QWidget* parent)
        : FieldDialog(c, QStringLiteral("Edit Component Properties"), parent)
    {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(NameRow(1000, c.NameBuffer, 1003, c.NameVisibleCheck));
        QWidget* value = EditRow({{"Value:", 1002, &c.ValueBuffer}});
        value->layout()->addWidget(BindCheck(1004, QStringLiteral("Visible"), c.ValueVisibleCheck));
        layout->addWidget(value);
        layout->addWidget(Buttons());
        Load();
    }
};

class SwitchDialog : public FieldDialog {
public:
    SwitchDialog(CSwitch& s, QWidget* parent) : FieldDialog(s, QStringLiteral("Dialog"), parent)
    {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(NameRow(1000, s.NameBuffer, 1009, s.NameVisibleCheck));
        auto* group = new QGroupBox(QStringLiteral("Value"), this);
        auto* form = new QFormLayout(group);
        auto* criterion = new QHBoxLayout;
        criterion->addWidget(BindCombo(1039, CSwitch::Criteria(), s.CriterionCombo));
        criterion->addWidget(BindCheck(1010, QStringLiteral("Visible"), s.ValueVisibleCheck));
        form->addRow(QStringLiteral("Switch Criterion:"), criterion);
        form->addRow(QStringLiteral("Initial Resistance:"), BindEdit(1041, s.InitialResistanceText));
        form->addRow(QStringLiteral("Final Resistance:"), BindEdit(1042, s.FinalResistanceText));
        form->addRow(QStringLiteral("Critical Value:"), BindEdit(1043, s.CriticalValueText));
        form->addRow(QStringLiteral("Time Constant:"), BindEdit(1044, s.TimeConstantText));
        form->addRow(QStringLiteral("Time Dependence:"),
                     BindCombo(1040, CSwitch::TimeDependences(), s.TimeDependenceCombo));
        // The value text is composed from the fields when OK is pressed.
        BindEdit(1002, s.ValueBuffer)->setEnabled(false);
        form->addRow(Edit(1002));
        layout->addWidget(group);
        layout->addWidget(Buttons());
        Load();
    }
};

class VariableResistorDialog : public FieldDialog {
public:
    VariableResistorDialog(CVariableR& r, QWidget* parent)
        : FieldDialog(r, QStringLiteral("Variable Resistor"), parent)
    {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(NameRow(1010, r.DialogName, 1011, r.DialogNameVisible));
        auto* group = new QGroupBox(QStringLiteral("Value"), this);
        auto* grid = new QGridLayout(group);
        grid->addWidget(BindCheck(1024, QStringLiteral("Visible"), r.DialogValueVisible), 0, 0);
        grid->addWidget(BindRadio(1005, QStringLiteral("Power Law:"), r.LawChoice, CVariableR::LawPower), 1,
                        0);
        grid->addWidget(EditRow({{"A:", 1012, &r.AText}, {"B:", 1015, &r.BText}, {"N:", 1016, &r.NText}}), 1,
                        1);
        PulseAndWaveformRows(grid, 2, r.LawChoice, r, {"R1:", 1013, &r.R1Text}, {"R2:", 1014, &r.R2Text});
        layout->addWidget(group);
        layout->addWidget(Buttons());
        Load();
    }
};

class PlanarDiodeDialog : public FieldDialog {
public:
    PlanarDiodeDialog(CPlanarDiode& d, QWidget* parent)
        : FieldDialog(d, QStringLiteral("Edit Planar Diode"), parent)
    {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(NameRow(1010, d.DialogName, 1011, d.DialogNameVisible));
        auto* group = new QGroupBox(QStringLiteral("Parameters"), this);
        auto* grid = new QGridLayout(group);
        grid->addWidget(BindCheck(1024, QStringLiteral("Visible"), d.DialogValueVisible), 0, 0);
        EditRows(grid, 1,
                 {{"Electrode Length:", 1013, &d.ELText, "[cm]"},
                  {"Electrode Width:", 1014, &d.EWText, "[cm]"},
                  {"Electrode Gap:", 1021, &d.EGText, "[cm]"},
                  {"Gap Closure Velocity:", 1017, &d.CVText, "[cm/us]"},
                  {"Ion Mass:", 1018, &d.IMText, "[AMU]"},
                  {"Breakdown Field:", 1063, &d.BFText, "[kV/cm]"},
                  {"Turn-On Time:", 1062, &d.TOTText, "[ns]"},
                  {"Anode Turn-On Threshold:", 1064, &d.AETText, "[J/cm^2]"}});
        layout->addWidget(group);
        layout->addWidget(Buttons());
        Load();
    }
};

} // namespace

void RegisterResistorDialogs(QtPropertyDialogs& dialogs)
{
    dialogs.Register<CComponent, NameValueDialog>(CResistor::kDialogTemplate);
    dialogs.Register<CSwitch, SwitchDialog>(CSwitch::kDialogTemplate);
    dialogs.Register<CVariableR, VariableResistorDialog>(CVariableR::kDialogTemplate);
    dialogs.Register<CPlanarDiode, PlanarDiodeDialog>(CPlanarDiode::kDialogTemplate);
}

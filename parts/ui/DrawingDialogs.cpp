#include "DrawingDialogs.h"

#include "CDrawing.h"
#include "CSubcircuit.h"
#include "CText.h"
#include "QtPropertyDialogs.h"
#include "UiServices.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The framework's filter ("name|pattern|name|pattern||") as Qt writes it ("name;;name").
QString qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|', Qt::SkipEmptyParts);
    QStringList names;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        names << parts[i];
    return names.join(QStringLiteral(";;"));
}

} // namespace

void RegisterDrawingDialogs(QtPropertyDialogs& dialogs)
{
    dialogs.Register<CDrawing, EditLabelDialog>(CDrawing::kDialogTemplate);
    dialogs.Register<CText, EditTextDialog>(CText::kDialogTemplate);
    dialogs.Register<CSubcircuit, SubcircuitEditDialog>(CSubcircuit::kDialogTemplate);
}

// ---- 311 ----

EditLabelDialog::EditLabelDialog(CDrawing& object, QWidget* parent)
    : FieldDialog(object, QStringLiteral("Edit Label"), parent)
{
    auto* grid = new QGridLayout(this);
    LabelRow(grid, 0, "Name:", 1000, object.LabelBuffer, 1003, object.LabelVisibleCheck);
    grid->addWidget(Buttons(), 1, 0, 1, 3);
    Load();
}

// ---- 352 ----

EditTextDialog::EditTextDialog(CText& object, QWidget* parent)
    : FieldDialog(object, QStringLiteral("Edit Text"), parent)
{
    auto* grid = new QGridLayout(this);
    EditRows(grid, 0, {{"Input Text:", 1010, &object.TextBuffer}});
    grid->addWidget(Buttons(), 1, 0, 1, 2);
    Edit(1010)->setMinimumWidth(320);
    Load();
}

// ---- 351 ----

SubcircuitEditDialog::SubcircuitEditDialog(CSubcircuit& object, QWidget* parent)
    : FieldDialog(object, QStringLiteral("Subcircuit Edit"), parent)
{
    CSubcircuit& b = object;
    auto* grid = new QGridLayout(this);
    LabelRow(grid, 0, "Name:", 1000, b.NameText, 1003, b.NameVisible);
    LabelRow(grid, 1, "Filename:", 1002, b.FileText, 1004, b.FileVisible);
    LabelRow(grid, 2, "Parameters:", 1001, b.ParamsText, 1005, b.ParamsVisible);
    Edit(1002)->setMinimumWidth(320);
    auto* row = new QHBoxLayout;
    row->addWidget(BindButton(1016, QStringLiteral("Browse"),
                              [&b] { b.OnBrowse(ui().openFileName(qtFilter(CSubcircuit::FileFilter()))); }));
    row->addWidget(BindButton(1017, QStringLiteral("Open"), [&b] { b.OnOpen(); }));
    row->addWidget(BindButton(1018, QStringLiteral("Close"), [&b] { b.OnClose(); }));
    row->addWidget(BindButton(1019, QStringLiteral("Remove Path"), [&b] { b.OnRemovePath(); }));
    grid->addLayout(row, 3, 0, 1, 3);
    grid->addWidget(Buttons(), 4, 0, 1, 3);
    Load();
}

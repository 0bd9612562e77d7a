#include "RibbonLayout.h"

#include "CommandIds.h"
#include "ComponentTypeId.h"
#include "Resource.h"
#include "Ribbon.h"

#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QToolButton>

namespace {

QIcon standard(QStyle::StandardPixmap pixmap)
{
    return QApplication::style()->standardIcon(pixmap);
}

// The tools that place objects; their texts are the type table's, their prompts its names.
void addTypeTools(RibbonPanel* panel, std::initializer_list<ComponentTypeId> types)
{
    for (ComponentTypeId t : types) {
        const ComponentType* type = FindComponentType(t);
        QToolButton* button =
            panel->AddButton(t, QString::fromUtf8(type && type->ribbonLabel ? type->ribbonLabel : ""));
        if (type && type->name) button->setToolTip(QString::fromUtf8(type->name));
    }
}

// A menu text with the key of its command beside it.
QString withKey(const char* text, QKeySequence::StandardKey key)
{
    return QString::fromLatin1(text) + QLatin1Char('\t') +
           QKeySequence(key).toString(QKeySequence::NativeText);
}

// The zoom commands of a zooming window, with their prompts.
void addZoomButtons(RibbonPanel* panel)
{
    panel->AddButton(ID_Zoom_Tool, QStringLiteral("Zoom In/Out"))
        ->setToolTip(QStringLiteral("Zoom In/Out Tool"));
    panel->AddButton(ID_Zoom_Out, QStringLiteral("Zoom Out"));
    panel->AddButton(ID_Zoom_Fit, QStringLiteral("Zoom to Fit"))
        ->setToolTip(QStringLiteral("Zoom to Fit in Window"));
    panel->AddButton(ID_Zoom_ActualSize, QStringLiteral("Actual Size"))
        ->setToolTip(QStringLiteral("Zoom to Actual Size"));
}

void buildApplicationMenu(Ribbon& ribbon)
{
    ribbon.AddApplicationCommand(ID_FILE_NEW, withKey("&New", QKeySequence::New),
                                 standard(QStyle::SP_FileIcon));
    ribbon.AddApplicationCommand(ID_FILE_OPEN, withKey("&Open...", QKeySequence::Open),
                                 standard(QStyle::SP_DialogOpenButton));
    ribbon.AddApplicationCommand(ID_FILE_SAVE, withKey("&Save", QKeySequence::Save),
                                 standard(QStyle::SP_DialogSaveButton));
    ribbon.AddApplicationCommand(ID_FILE_SAVE_AS, QStringLiteral("Save &As..."));
    ribbon.AddApplicationSeparator();
    ribbon.AddApplicationCommand(ID_FILE_PRINT, withKey("&Print...", QKeySequence::Print));
    ribbon.AddApplicationCommand(ID_FILE_PRINT_DIRECT, QStringLiteral("&Quick Print"));
    ribbon.AddApplicationCommand(ID_FILE_PRINT_PREVIEW, QStringLiteral("Print Pre&view"));
    ribbon.AddApplicationCommand(ID_FILE_PRINT_SETUP, QStringLiteral("P&rint Setup..."));
    ribbon.AddApplicationSeparator();
    ribbon.AddApplicationCommand(ID_FILE_CLOSE, QStringLiteral("&Close"),
                                 standard(QStyle::SP_DialogCloseButton));
    ribbon.AddApplicationCommand(ID_APP_EXIT, QStringLiteral("E&xit"));
    ribbon.SetRecentFiles({}, ID_FILE_MRU_FILE1);
}

void buildHome(Ribbon& ribbon)
{
    RibbonCategory* home = ribbon.AddCategory(QStringLiteral("Home"));
    RibbonPanel* clipboard = home->AddPanel(QStringLiteral("Clipboard"));
    clipboard->AddButton(ID_EDIT_PASTE, QStringLiteral("Paste"), standard(QStyle::SP_DialogApplyButton),
                         true);
    clipboard->AddButton(ID_EDIT_CUT, QStringLiteral("Cut"));
    clipboard->AddButton(ID_EDIT_COPY, QStringLiteral("Copy"));
    RibbonPanel* edit = home->AddPanel(QStringLiteral("Edit"));
    edit->AddButton(ID_EDIT_UNDO, QStringLiteral("Undo"), standard(QStyle::SP_ArrowBack));
    edit->AddButton(ID_EDIT_REDO, QStringLiteral("Redo"), standard(QStyle::SP_ArrowForward));
    RibbonPanel* print = home->AddPanel(QStringLiteral("Print"));
    print->AddButton(ID_FILE_PRINT, QStringLiteral("Print"), standard(QStyle::SP_FileDialogDetailedView),
                     true);
    print->AddButton(ID_FILE_PRINT_PREVIEW, QStringLiteral("Print Preview"));
    print->AddButton(ID_FILE_PRINT_DIRECT, QStringLiteral("Quick Print"));
    print->AddButton(ID_FILE_PRINT_SETUP, QStringLiteral("Print Setup"));
    RibbonPanel* window = home->AddPanel(QStringLiteral("Window"));
    window->AddButton(ID_WINDOW_MANAGER, QString::fromLatin1(strings::WindowsMenu),
                      standard(QStyle::SP_FileDialogListView), true);
    // The plot window's tools, shown when a plot is active; the zoom and select commands reach
    // whichever window is.
    RibbonPanel* plot = home->AddPanel(QStringLiteral("Plot"));
    plot->AddButton(ID_ViewPlotData, QStringLiteral("View Plot Data"),
                    standard(QStyle::SP_FileDialogContentsView), true)
        ->setToolTip(QStringLiteral("View tabulated plot data"));
    addTypeTools(plot, {TypePartSelectionTool});
    addZoomButtons(plot);
}

void buildSimulate(Ribbon& ribbon)
{
    RibbonCategory* simulate = ribbon.AddCategory(QStringLiteral("Simulate"));
    RibbonPanel* transient = simulate->AddPanel(QStringLiteral("Transient Analysis"));
    transient->AddEdit(ID_Transient_TimeStep, QStringLiteral("Time Step:"), 50)
        ->setText(QStringLiteral("1ns"));
    transient->AddEdit(ID_Transient_TimeSpan, QStringLiteral("Time Span:"), 50)
        ->setText(QStringLiteral("100ns"));
    transient->AddEdit(ID_Transient_StartTime, QStringLiteral("Start Time:"), 50)
        ->setText(QStringLiteral("0ns"));
    transient->AddButton(ID_Transient_OldSimulator, QStringLiteral("Old Simulator"));
    transient->AddButton(ID_Transient_Simulate, QStringLiteral("Start Simulation"),
                         standard(QStyle::SP_MediaPlay));
    transient->AddButton(ID_Parts_Netlist, QStringLiteral("Create Netlist"),
                         standard(QStyle::SP_FileDialogContentsView));
    transient->AddProgressBar(ID_Transient_Progress, 90, 22);
    transient->AddButton(ID_Transient_Abort, QStringLiteral("Stop Simulation"),
                         standard(QStyle::SP_MediaStop));
    transient->AddComboBox(IDC_MatrixModeCombo, QStringLiteral("Mode"),
                           {QStringLiteral("Auto"), QStringLiteral("None"), QStringLiteral("Minimal"),
                            QStringLiteral("Maximal")});
    RibbonPanel* input = simulate->AddPanel(QStringLiteral("Orlisk/File Input Path"));
    input->AddComboBox(IDC_FilePathCombo, QStringLiteral("Mode"),
                       {QStringLiteral("Orlisk"), QStringLiteral("Path")});
    input->AddEdit(ID_PathEdit, QStringLiteral("Path:"), 150);
    input->AddButton(ID_PathBrowse, QStringLiteral("Path Browse"));
    input->AddComboBox(IDC_OrliskRootCombo, QStringLiteral("Root:"), {QStringLiteral("C:\\Experiments")},
                       150);
    input->AddComboBox(IDC_Value, QStringLiteral("Expt:"), {QStringLiteral("Experiment")}, 150);
    input->AddComboBox(IDC_OrliskShotCombo, QStringLiteral("Shot:"), {QStringLiteral("Shot")}, 150);
    input->AddButton(IDC_SC, QStringLiteral("Orlisk Browse"), standard(QStyle::SP_DirOpenIcon), true);
    RibbonPanel* analysis = simulate->AddPanel(QStringLiteral("Analysis"));
    analysis->AddButton(ID_PlotTraces, QStringLiteral("Plot Traces"), standard(QStyle::SP_FileDialogInfoView),
                        true);
}

void buildSchematic(Ribbon& ribbon)
{
    RibbonCategory* schematic = ribbon.AddCategory(QStringLiteral("Schematic"));
    RibbonPanel* tools = schematic->AddPanel(QStringLiteral("Tools"));
    addTypeTools(tools, {TypePartSelectionTool, TypeTextSelectionTool, TypeWire});
    tools->AddButton(ID_ButtonListComponents, QStringLiteral("List Components"),
                     standard(QStyle::SP_FileDialogListView), true);
    tools->AddButton(ID_Parts_Netlist, QStringLiteral("Simulate"), standard(QStyle::SP_MediaPlay), true);
    addTypeTools(schematic->AddPanel(QStringLiteral("R&S")),
                 {TypeResistor, TypeVariableResistor, TypeResistiveSwitch});
    addTypeTools(schematic->AddPanel(QStringLiteral("L, C & K")),
                 {TypeCapacitor, TypeInductor, TypeVariableCapacitor, TypeIdealTransformer});
    addTypeTools(schematic->AddPanel(QStringLiteral("Transmission Lines")),
                 {TypeTransmissionLine, TypeLossyTransmissionLine, TypeLossyLineTransformer, TypeLineInductor,
                  TypeLineCapacitor, TypeLossyLineWithResistance});
    addTypeTools(schematic->AddPanel(QStringLiteral("Sources & Probes")),
                 {TypeVoltageSource, TypeCurrentSource, TypeGround, TypeVoltageProbe, TypeCurrentProbe,
                  TypeBubbleConnector});
    addTypeTools(schematic->AddPanel(QStringLiteral("Other Devices")),
                 {TypeDiode, TypeMetalOxideVaristor, TypeIdealDiode, TypeSubcircuitInterface});
    addTypeTools(schematic->AddPanel(QStringLiteral("Special Devices")),
                 {TypeOilSwitchModel, TypePlanarDiodeModel});
    // Each state of the grid and of snapping has its command, which shows checked while it holds.
    RibbonPanel* grid = schematic->AddPanel(QStringLiteral("Grid"));
    grid->AddButton(ID_Grid_Show, QStringLiteral("Show Grid"))->setToolTip(QStringLiteral("Show the Grid"));
    grid->AddButton(ID_Grid_Hide, QStringLiteral("Hide Grid"))->setToolTip(QStringLiteral("Hide the Grid"));
    grid->AddButton(ID_Grid_SnapOn, QStringLiteral("Snap On"))
        ->setToolTip(QStringLiteral("Enable snap parts to grid"));
    grid->AddButton(ID_Grid_SnapOff, QStringLiteral("Snap Off"))
        ->setToolTip(QStringLiteral("Disable snap parts to grid"));
    addZoomButtons(schematic->AddPanel(QStringLiteral("Zoom")));
    // The sheet sizes, each disabled while the page has its width.
    RibbonPanel* page = schematic->AddPanel(QStringLiteral("Page"));
    page->AddButton(ID_PageSizeA, QStringLiteral("Set Page Size A"));
    page->AddButton(ID_PageSizeB, QStringLiteral("Set Page Size B"));
    page->AddButton(ID_PageSizeC, QStringLiteral("Set Page Size C"));
}

} // namespace

void BuildRibbon(Ribbon& ribbon)
{
    buildApplicationMenu(ribbon);
    buildHome(ribbon);
    buildSimulate(ribbon);
    buildSchematic(ribbon);

    QMenu* style = ribbon.AddRightMenu(QStringLiteral("Style"));
    ribbon.AddMenuCommand(style, ID_VIEW_APPLOOK_OFF_2007_BLUE, QStringLiteral("Office 2007 (&Blue Style)"),
                          true);
    ribbon.AddMenuCommand(style, ID_VIEW_APPLOOK_OFF_2007_BLACK, QStringLiteral("Office 2007 (B&lack Style)"),
                          true);
    ribbon.AddMenuCommand(style, ID_VIEW_APPLOOK_OFF_2007_SILVER,
                          QStringLiteral("Office 2007 (&Silver Style)"), true);
    ribbon.AddMenuCommand(style, ID_VIEW_APPLOOK_OFF_2007_AQUA, QStringLiteral("Office 2007 (&Aqua Style)"),
                          true);
    ribbon.AddRightButton(ID_HELP_FINDER, QStringLiteral("Help"), {})->setText(QStringLiteral("?"));
    ribbon.AddRightButton(ID_APP_ABOUT, QStringLiteral("About Torvex2"),
                          standard(QStyle::SP_MessageBoxInformation));
}

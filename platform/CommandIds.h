#pragma once

// Every command id of the program. Stored ribbon layouts, the command maps and the settings (the
// stored look) use these numbers, so they keep their values.

// The framework's standard commands.
enum StandardCommand : int {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_DIRECT = 57608,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_MRU_FILE1 = 57616,
    ID_FILE_MRU_FILE16 = 57631,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_HELP_FINDER = 57667,
    ID_CONTEXT_HELP = 57669,
    ID_HELP = 57670,
    ID_DEFAULT_HELP = 57671,
};

// The program's own commands.
enum ProgramCommand : int {
    ID_ViewPlotData = 103, // "View tabulated plot data"
    ID_WINDOW_MANAGER = 131,

    // The looks; the ribbon's "Style" menu offers the four Office 2007 ones.
    ID_VIEW_APPLOOK_WIN_2000 = 210,
    ID_VIEW_APPLOOK_OFF_XP = 211,
    ID_VIEW_APPLOOK_WIN_XP = 212,
    ID_VIEW_APPLOOK_OFF_2003 = 213,
    ID_VIEW_APPLOOK_VS_2005 = 214,
    ID_VIEW_APPLOOK_OFF_2007_BLUE = 215,
    ID_VIEW_APPLOOK_OFF_2007_BLACK = 216,
    ID_VIEW_APPLOOK_OFF_2007_SILVER = 217,
    ID_VIEW_APPLOOK_OFF_2007_AQUA = 218,

    ID_Parts_Netlist = 403, // "Create Netlist"

    // The schematic tools. A tool's command id is the type id of the object it places
    // (ComponentTypeId, which takes these named ones from here).
    ID_Parts_First = 500,
    ID_Parts_R = 510,
    ID_Parts_VariableR = 511,
    ID_Parts_Switch = 512,
    ID_Parts_IdealDiode = 575,
    ID_Parts_OilSwitch = 604,
    ID_Parts_PlanarDiode = 605,
    ID_Parts_Last = 699,

    ID_Grid_Show = 700,
    ID_Grid_Hide = 701,
    ID_Grid_SnapOn = 702,
    ID_Grid_SnapOff = 703,

    ID_Zoom_Tool = 800, // "Zoom In/Out"
    ID_Zoom_Out = 801,
    ID_Zoom_Fit = 802,
    ID_Zoom_ActualSize = 803,

    // The "Simulate" tab.
    IDC_MatrixModeCombo = 1033,
    IDC_FilePathCombo = 1034,
    IDC_Value = 1035, // the experiment list
    IDC_OrliskRootCombo = 1036,
    IDC_OrliskShotCombo = 1037,
    IDC_SC = 1039, // "Orlisk Browse"
    ID_Transient_StartTime = 32818,
    ID_Transient_TimeStep = 32820,
    ID_Transient_TimeSpan = 32822,
    ID_Transient_OldSimulator = 32825,
    ID_Transient_Simulate = 32826,
    ID_Transient_Progress = 32828,
    ID_Transient_Abort = 32830,
    ID_PathBrowse = 32834,
    ID_PathEdit = 32835,
    ID_PlotTraces = 32837,

    // The schematic's page sizes: 11 x 8.5, 17 x 11 and 22 x 17 inches.
    ID_PageSizeA = 32838,
    ID_PageSizeB = 32839,
    ID_PageSizeC = 32840,
    ID_ButtonListComponents = 32842,
};

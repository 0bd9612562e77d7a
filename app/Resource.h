#pragma once

// Resource and command ids of the program. The numbers are the ones stored layouts, settings and
// the other windows' command maps use.
enum Resource : int {
    IDD_ABOUTBOX = 100,
    IDR_NETLIST = 101,
    IDR_PLOT = 102,
    IDR_POPUP_EDIT = 119,
    ID_STATUSBAR_PANE1 = 120,
    ID_STATUSBAR_PANE2 = 121,
    IDR_MAINFRAME = 128,
    IDR_TORVEX2TYPE = 130,
    ID_WINDOW_MANAGER = 131,
    IDR_RIBBON = 368,

    ID_VIEW_APPLOOK_WIN_2000 = 210,
    ID_VIEW_APPLOOK_OFF_XP = 211,
    ID_VIEW_APPLOOK_WIN_XP = 212,
    ID_VIEW_APPLOOK_OFF_2003 = 213,
    ID_VIEW_APPLOOK_VS_2005 = 214,
    ID_VIEW_APPLOOK_OFF_2007_BLUE = 215,
    ID_VIEW_APPLOOK_OFF_2007_BLACK = 216,
    ID_VIEW_APPLOOK_OFF_2007_SILVER = 217,
    ID_VIEW_APPLOOK_OFF_2007_AQUA = 218,
};

// Texts of the string table that the shell shows.
namespace strings {
inline constexpr const char* AppTitle = "Torvex2";        // 128
inline constexpr const char* Pane1 = "Pane 1";            // 122
inline constexpr const char* Pane2 = "Pane 2";            // 123
inline constexpr const char* WindowsMenu = "&Windows..."; // 132
inline constexpr const char* EditMenuName = "Edit";       // 306
inline constexpr const char* SchematicTemplate =
    "\nSchematic\nSchematic\nTorvex Schematic (*.cas)\n.cas\nTorvex.Document\nTorvex.Document"; // 130
inline constexpr const char* NetlistTemplate =
    "\nNetlist\nNetlist\nTorvex Netlist (*.cir)\n.cir\nTorvex.Document\nTorvex.Document"; // 101
inline constexpr const char* PlotTemplate = "Torvex Plot";                                // 102
} // namespace strings

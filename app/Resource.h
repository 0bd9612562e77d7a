#pragma once

// Resource ids of the program: windows, templates and status-bar panes (command ids are in
// CommandIds.h).
enum Resource : int {
    IDD_ABOUTBOX = 100,
    IDR_NETLIST = 101,
    IDR_PLOT = 102,
    IDR_POPUP_EDIT = 119,
    ID_STATUSBAR_PANE1 = 120,
    ID_STATUSBAR_PANE2 = 121,
    IDR_MAINFRAME = 128,
    IDR_TORVEX2TYPE = 130,
    IDR_RIBBON = 368,
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
// A plot is made by the trace-selection dialog, never by File New; its file type lets a saved plot
// open again.
inline constexpr const char* PlotTemplate = "Torvex Plot\n\n\nTorvex Plot (*.plt)\n.plt"; // 102
} // namespace strings

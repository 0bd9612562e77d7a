#include "PlotTracesDialog.h"

namespace {
PlotTracesDialog* g_dialog = nullptr;
}

PlotTracesDialog* plotTracesDialog()
{
    return g_dialog;
}

void setPlotTracesDialog(PlotTracesDialog* dialog)
{
    g_dialog = dialog;
}

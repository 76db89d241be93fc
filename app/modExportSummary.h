#pragma once
#include "runtime/ExportSummary.h"

/// Fill the summary from the finished export: files, rules, registries, selection, types.
void CollectExportSummary();

/// Show the summary: a message box with an OK button on the desktop, standard error in batch mode.
void ShowExportSummary();

#pragma once
// The options dialog as a desktop window (wxWidgets).

/// Make the options dialog show its window when the program runs interactively.
void InstallExportOptionsWindow();
/// Back to the dialog without a window.
void RemoveExportOptionsWindow();

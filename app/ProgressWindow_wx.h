#pragma once
// The progress window of long loads and exports as a desktop window (wxWidgets).

/// Show long work in a window with a Cancel button, instead of the terminal line.
void InstallProgressWindow();
/// Back to the terminal line; a window still open is closed.
void RemoveProgressWindow();

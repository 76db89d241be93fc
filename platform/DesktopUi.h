#pragma once

/// The desktop windows of the program (built only with wxWidgets).

/// Start the window toolkit (no main window) and install the desktop forms of the message
/// boxes, the save-file window and the options window. False when the toolkit cannot start
/// (no usable display); the program then stays in batch mode.
bool InstallDesktopUi(int argc, char** argv);

/// Close the help window, drop the desktop forms and end the window toolkit.
void ShutdownDesktopUi();

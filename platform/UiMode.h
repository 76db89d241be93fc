#pragma once
#include <functional>
#include <optional>
#include <string>

namespace platform {

/// True when windows are shown (a display is there and --batch was not given); false in batch mode.
bool Interactive();
void SetInteractive(bool interactive);

/// What the save-file window is asked to show.
struct SaveFileRequest {
    std::string initialDirectory;  ///< "" for the current folder
    std::string proposedName;      ///< "*.wpx" when there is no proposal
    std::string filter;            ///< "Flow Definition Files (*.wpx)|*.wpx|All Files (*.*)|*.*"
    std::string defaultExtension;  ///< "wpx"
    /// The question to ask before the chosen file is used, when using it would replace files
    /// that exist (the definition file, its log); "" when nothing would be replaced. Without
    /// it the window asks only about the chosen file itself.
    std::function<std::string(const std::string& path)> replaceQuestion;
};

/// The desktop's save-file window: the chosen path, or nothing when cancelled. Installed by the
/// desktop build at start-up; empty in a batch-only program.
using SaveFileDialogHook = std::function<std::optional<std::string>(const SaveFileRequest&)>;
void SetSaveFileDialogHook(SaveFileDialogHook hook);
const SaveFileDialogHook& SaveFileDialog();

}  // namespace platform

#include "platform/UiMode.h"

namespace platform {

namespace {
// Process-wide: whether the program runs with windows is decided once at start-up, before any
// export, and holds for the whole process.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): process-wide, as said above
bool g_interactive = false;
SaveFileDialogHook& SaveHook() {
    static SaveFileDialogHook hook;
    return hook;
}
}  // namespace

bool Interactive() { return g_interactive; }
void SetInteractive(bool interactive) { g_interactive = interactive; }

void SetSaveFileDialogHook(SaveFileDialogHook hook) { SaveHook() = std::move(hook); }
const SaveFileDialogHook& SaveFileDialog() { return SaveHook(); }

}  // namespace platform

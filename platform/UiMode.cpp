#include "platform/UiMode.h"

namespace platform {

namespace {
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

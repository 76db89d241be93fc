#include "platform/MessageBox.h"

#include <iostream>

#include "platform/CodePage.h"
#include "platform/Text.h"

namespace platform {

namespace {
std::unique_ptr<MessageBoxPresenter>& Slot() {
    static std::unique_ptr<MessageBoxPresenter> presenter = std::make_unique<BatchMessageBox>(std::cerr);
    return presenter;
}
}  // namespace

BatchMessageBox::BatchMessageBox(std::ostream& out) : out_(out) {}

int BatchMessageBox::Show(const std::string& text, int style, const std::string& /*title*/) {
    const std::string shown = ReplaceAll(ReplaceAll(text, "\r\n", "\n"), "\r", "\n");
    out_ << ForTerminal(shown) << "\n\n";
    out_.flush();
    const int buttons = MsgBoxButtons(style);
    if (buttons == kMbYesNo || buttons == 3 /* Yes, No, Cancel */) return kIdYes;
    return kIdOk;
}

MessageBoxPresenter& CurrentMessageBox() { return *Slot(); }

std::unique_ptr<MessageBoxPresenter> SetMessageBoxPresenter(std::unique_ptr<MessageBoxPresenter> presenter) {
    std::unique_ptr<MessageBoxPresenter> old = std::move(Slot());
    Slot() = std::move(presenter);
    return old;
}

}  // namespace platform

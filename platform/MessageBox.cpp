#include "platform/MessageBox.h"

#include <iostream>

#include "platform/BufferedFile.h"
#include "platform/CodePage.h"
#include "platform/Text.h"

namespace platform {

namespace {
std::unique_ptr<MessageBoxPresenter>& Slot() {
    static std::unique_ptr<MessageBoxPresenter> presenter = std::make_unique<BatchMessageBox>(std::cerr);
    return presenter;
}

// A message box waits for the user, who may look at the log meanwhile: the buffered lines of
// the files are written first. A failure is reported by the files' owner with its next write.
class WritingOutPresenter : public MessageBoxPresenter {
public:
    int Show(const std::string& text, int style, const std::string& title) override {
        BufferedFile::FlushAll();
        return Slot()->Show(text, style, title);
    }
};
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

MessageBoxPresenter& CurrentMessageBox() {
    static WritingOutPresenter presenter;
    return presenter;
}

std::unique_ptr<MessageBoxPresenter> SetMessageBoxPresenter(std::unique_ptr<MessageBoxPresenter> presenter) {
    std::unique_ptr<MessageBoxPresenter> old = std::move(Slot());
    Slot() = std::move(presenter);
    return old;
}

}  // namespace platform

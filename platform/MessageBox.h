#pragma once
#include <iosfwd>
#include <memory>
#include <string>

namespace platform {

/// Message box styles: buttons, icon and placement flags, combined by addition.
enum MsgBoxStyle : int {
    kMbOkOnly = 0,
    kMbOkCancel = 1,
    kMbYesNo = 4,
    kMbCritical = 16,
    kMbQuestion = 32,
    kMbExclamation = 48,
    kMbInformation = 64,
    kMbDefaultButton2 = 256,  ///< the second button (No, Cancel) is the default
    kMbSystemModal = 4096,
    kMbSetForeground = 0x10000,
};

/// The button a message box was closed with.
enum MsgBoxResult : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

/// Shows message boxes; batch mode and the desktop each have their own.
class MessageBoxPresenter {
public:
    virtual ~MessageBoxPresenter() = default;
    /// Show the text (lines separated by CR LF) with a style and title; return the button pressed.
    virtual int Show(const std::string& text, int style, const std::string& title) = 0;
};

/// Batch form: the text goes to a stream (standard error), its line breaks as shown and one
/// empty line after it; the answer is OK, or Yes to a Yes/No question.
class BatchMessageBox : public MessageBoxPresenter {
public:
    explicit BatchMessageBox(std::ostream& out);
    int Show(const std::string& text, int style, const std::string& title) override;

private:
    std::ostream& out_;
};

/// The presenter in use (batch form on standard error until another is set); the buffered lines
/// of the open files are written before it shows a box.
MessageBoxPresenter& CurrentMessageBox();
/// Replace the presenter in use; returns the previous one.
std::unique_ptr<MessageBoxPresenter> SetMessageBoxPresenter(std::unique_ptr<MessageBoxPresenter> presenter);

/// The button mask of a style (its lowest four bits).
inline int MsgBoxButtons(int style) { return style & 0xF; }

}  // namespace platform

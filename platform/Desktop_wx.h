#pragma once
// The desktop forms of the platform's dialogs, built with wxWidgets.
#include <functional>
#include <optional>
#include <string>

#include <wx/font.h>
#include <wx/window.h>

#include "platform/MessageBox.h"
#include "platform/UiMode.h"

namespace platform {

/// Captions of the message boxes' buttons in the program's language; "" keeps the toolkit's.
struct MessageBoxLabels {
    std::string yes, no, ok, cancel;
};

/// Message boxes as windows: title, severity icon, buttons of the style, kept above other
/// windows. The text's CR LF line breaks become the window's lines. The window is drawn by the
/// toolkit itself (not the desktop's own message window, which shows no icons), so that the
/// icon of the box's type always shows; its buttons take the captions `labels` gives when
/// the box is shown.
class WxMessageBox : public MessageBoxPresenter {
public:
    explicit WxMessageBox(std::function<MessageBoxLabels()> labels = {});
    int Show(const std::string& text, int style, const std::string& title) override;

private:
    std::function<MessageBoxLabels()> labels_;
};

/// The toolkit's style flags (buttons and icon) for a message box style.
long WxMessageBoxFlags(int style);
/// The button code for the toolkit's answer to a message box of a style; closing a Yes/No box
/// without an answer counts as No, closing an OK/Cancel box as Cancel.
int MsgBoxResultOf(int wxAnswer, int style);

/// The path with ".extension" appended when its file name has no extension.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);
/// The save-file window: the chosen path, or nothing when cancelled. A name typed without an
/// extension gets the default extension.
std::optional<std::string> ShowSaveFileWindow(const SaveFileRequest& request);

/// Font encoding of the toolkit for a character set (128, 129, 134, 136; 1 the default).
wxFontEncoding FontEncodingForCharacterSet(int characterSet);
/// Give a font the character set of the user's locale, then bold, italic, face, size,
/// strikethrough and underline of the standard font (taken once and kept for the run).
void SetProperFont(wxFont& font);
/// SetProperFont on a window's font and then on the font of each of its controls, in order;
/// a control without a font is skipped.
void Set_NLS_Font_Form(wxWindow* form);

/// The window a new dialog or message box belongs to: the last shown top-level window (an
/// open dialog), or none.
wxWindow* ActiveDialogParent();

/// Open a help book at the topic with a context id (the book's first topic when it has none);
/// the help window is modal over `parent`. False when the book cannot be read.
bool ShowHelpTopic(const std::string& bookPath, int contextId, wxWindow* parent);

/// Release what the desktop forms keep for the run (standard font); before the toolkit ends.
void ReleaseDesktopResources();

}  // namespace platform

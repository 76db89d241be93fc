#pragma once
// The desktop forms of the platform's dialogs, built with wxWidgets.
#include <optional>
#include <string>

#include <wx/font.h>
#include <wx/window.h>

#include "platform/MessageBox.h"
#include "platform/UiMode.h"

namespace platform {

/// Message boxes as windows: title, severity icon, buttons of the style, kept above other
/// windows. The text's CR LF line breaks become the window's lines.
class WxMessageBox : public MessageBoxPresenter {
public:
    int Show(const std::string& text, int style, const std::string& title) override;
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

#include <filesystem>

#include <wx/filedlg.h>
#include <wx/msgdlg.h>

#include "platform/Desktop_wx.h"

namespace platform {

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
    if (extension.empty()) return path;
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name.find('.') != std::string::npos) return path;
    return path + "." + extension;
}

namespace {

/// Whether to replace a file that exists; asked when the default extension was added after
/// the window's own overwrite question, which saw the name without it.
bool ConfirmReplace(wxWindow* parent, const std::string& path) {
    const wxString name = wxString::FromUTF8(std::filesystem::path(path).filename().string());
    wxMessageDialog ask(parent, name + " already exists.\nDo you want to replace it?", "Confirm Save As",
                        wxYES_NO | wxNO_DEFAULT | wxICON_WARNING | wxSTAY_ON_TOP);
    return ask.ShowModal() == wxID_YES;
}

}  // namespace

std::optional<std::string> ShowSaveFileWindow(const SaveFileRequest& request) {
    // "*.wpx" proposes no name: the filter already lists the definition files, and a pattern in
    // the name box would be saved as a file name.
    std::string proposed = request.proposedName;
    if (proposed.find_first_of("*?") != std::string::npos) proposed.clear();
    wxWindow* parent = ActiveDialogParent();
    // With a question of the caller's (which names the log as well) the window's own overwrite
    // question, which knows only the chosen file, is not asked.
    const long style = wxFD_SAVE | (request.replaceQuestion ? 0 : wxFD_OVERWRITE_PROMPT);
    wxFileDialog dialog(parent, "Save As", wxString::FromUTF8(request.initialDirectory), wxString::FromUTF8(proposed),
                        wxString::FromUTF8(request.filter), style, wxDefaultPosition, wxDefaultSize,
                        "frmWPXFileDialog");
    dialog.SetFilterIndex(0);
    for (;;) {
        if (dialog.ShowModal() != wxID_OK) return std::nullopt;
        const std::string chosen = dialog.GetPath().utf8_string();
        std::string path = WithDefaultExtension(chosen, request.defaultExtension);
        if (request.replaceQuestion) {
            const std::string question = request.replaceQuestion(path);
            if (!question.empty() && CurrentMessageBox().Show(question, kMbYesNo + kMbExclamation + kMbDefaultButton2,
                                                              "Lumenport") != kIdYes) {
                // Shown again where the user was, with the name still proposed.
                dialog.SetPath(wxString::FromUTF8(path));
                continue;
            }
            return path;
        }
        std::error_code ec;
        if (path != chosen && std::filesystem::exists(path, ec) && !ConfirmReplace(parent, path)) continue;
        return path;
    }
}

}  // namespace platform

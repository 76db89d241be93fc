#include <wx/filename.h>
#include <wx/filesys.h>
#include <wx/fs_arc.h>
#include <wx/html/helpctrl.h>
#include <wx/log.h>

#include "platform/Desktop_wx.h"

namespace platform {

namespace {

/// Help books are zip archives; the file system reads into them once this handler is there.
void EnsureArchiveHandler() {
    static bool added = false;
    if (added) return;
    wxFileSystem::AddHandler(new wxArchiveFSHandler);
    added = true;
}

}  // namespace

bool ShowHelpTopic(const std::string& bookPath, int contextId, wxWindow* parent) {
    if (bookPath.empty()) return false;
    EnsureArchiveHandler();
    // The help window is modal: it opens from the modal options dialog, which would otherwise
    // keep it from taking input.
    wxHtmlHelpController help(wxHF_DEFAULT_STYLE | wxHF_DIALOG | wxHF_MODAL, parent);
    help.SetShouldPreventAppExit(false);
    {
        const wxLogNull quiet;  // a broken book is reported by our caller, not by a toolkit log window
        if (!help.AddBook(wxFileName(wxString::FromUTF8(bookPath)), false)) return false;
    }
    if (help.GetHelpData()->FindPageById(contextId).empty()) return help.DisplayContents();
    return help.Display(contextId);
    return true;
}

}  // namespace platform

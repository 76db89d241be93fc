#include <wx/app.h>
#include <wx/msgdlg.h>
// After wx/msgdlg.h, which declares its base class.
#include <wx/generic/msgdlgg.h>
#include <wx/toplevel.h>

#include "platform/Desktop_wx.h"
#include "platform/Text.h"

namespace platform {

wxWindow* ActiveDialogParent() {
    for (auto it = wxTopLevelWindows.rbegin(); it != wxTopLevelWindows.rend(); ++it) {
        if ((*it)->IsShown()) return *it;
    }
    return nullptr;
}

long WxMessageBoxFlags(int style) {
    long flags = wxCENTRE | wxSTAY_ON_TOP;
    switch (MsgBoxButtons(style)) {
        case kMbOkCancel: flags |= wxOK | wxCANCEL; break;
        case 3: flags |= wxYES_NO | wxCANCEL; break;
        case kMbYesNo: flags |= wxYES_NO; break;
        default: flags |= wxOK; break;
    }
    if (style & kMbDefaultButton2) flags |= MsgBoxButtons(style) == kMbOkCancel ? wxCANCEL_DEFAULT : wxNO_DEFAULT;
    switch (style & 0x70) {
        case kMbCritical: flags |= wxICON_ERROR; break;
        case kMbQuestion: flags |= wxICON_QUESTION; break;
        case kMbExclamation: flags |= wxICON_WARNING; break;
        case kMbInformation: flags |= wxICON_INFORMATION; break;
        default: flags |= wxICON_NONE; break;
    }
    return flags;
}

int MsgBoxResultOf(int wxAnswer, int style) {
    switch (wxAnswer) {
        case wxID_OK: return kIdOk;
        case wxID_YES: return kIdYes;
        case wxID_NO: return kIdNo;
        default: break;
    }
    switch (MsgBoxButtons(style)) {
        case kMbYesNo: return kIdNo;
        case kMbOkCancel:
        case 3: return kIdCancel;
        default: return kIdOk;
    }
}

WxMessageBox::WxMessageBox(std::function<MessageBoxLabels()> labels) : labels_(std::move(labels)) {}

int WxMessageBox::Show(const std::string& text, int style, const std::string& title) {
    const std::string shown = ReplaceAll(ReplaceAll(text, "\r\n", "\n"), "\r", "\n");
    const long flags = WxMessageBoxFlags(style);
    MessageBoxLabels labels = labels_ ? labels_() : MessageBoxLabels{};
    auto label = [](const std::string& caption, wxWindowID stock) {
        return caption.empty() ? wxMessageDialogBase::ButtonLabel(stock)
                               : wxMessageDialogBase::ButtonLabel(wxString::FromUTF8(caption));
    };
    auto ask = [&](wxMessageDialogBase& box) {
        box.SetYesNoCancelLabels(label(labels.yes, wxID_YES), label(labels.no, wxID_NO),
                                 label(labels.cancel, wxID_CANCEL));
        box.SetOKCancelLabels(label(labels.ok, wxID_OK), label(labels.cancel, wxID_CANCEL));
        return MsgBoxResultOf(box.ShowModal(), style);
    };
    const wxString message = wxString::FromUTF8(shown);
    const wxString caption = wxString::FromUTF8(title);
    // A box without an icon: the desktop's own message window, which shows none.
    if (flags & wxICON_NONE) {
        wxMessageDialog box(ActiveDialogParent(), message, caption, flags);
        return ask(box);
    }
    wxGenericMessageDialog box(ActiveDialogParent(), message, caption, flags);
    return ask(box);
}

}  // namespace platform

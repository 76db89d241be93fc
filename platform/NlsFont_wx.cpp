#include <wx/settings.h>

#include "platform/Desktop_wx.h"
#include "platform/UserLocale.h"

namespace platform {

namespace {

/// The standard font the language fonts copy their look from; taken on first use.
wxFont*& ReferenceFontSlot() {
    // Process-wide: one toolkit, one reference font.
    static wxFont* font = nullptr;  // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)
    return font;
}

const wxFont& ReferenceFont() {
    wxFont*& font = ReferenceFontSlot();
    if (!font) font = new wxFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
    return *font;
}

void SetProperFontOf(wxWindow* window) {
    wxFont font = window->GetFont();
    if (!font.IsOk()) return;
    SetProperFont(font);
    window->SetFont(font);
}

void SetProperFontOfChildren(wxWindow* parent) {
    for (wxWindow* child : parent->GetChildren()) {
        if (child->IsTopLevel()) continue;
        SetProperFontOf(child);
        SetProperFontOfChildren(child);
    }
}

}  // namespace

wxFontEncoding FontEncodingForCharacterSet(int characterSet) {
    switch (characterSet) {
        case 128: return wxFONTENCODING_SHIFT_JIS;
        case 129: return wxFONTENCODING_CP949;
        case 134: return wxFONTENCODING_GB2312;
        case 136: return wxFONTENCODING_BIG5;
        default: return wxFONTENCODING_DEFAULT;
    }
}

void SetProperFont(wxFont& font) {
    font.SetEncoding(FontEncodingForCharacterSet(CharacterSetForLocale(UserDefaultLocaleId())));
    const wxFont& reference = ReferenceFont();
    font.SetWeight(reference.GetWeight());
    font.SetStyle(reference.GetStyle());
    font.SetFaceName(reference.GetFaceName());
    font.SetFractionalPointSize(reference.GetFractionalPointSize());
    font.SetStrikethrough(reference.GetStrikethrough());
    font.SetUnderlined(reference.GetUnderlined());
}

void Set_NLS_Font_Form(wxWindow* form) {
    SetProperFontOf(form);
    SetProperFontOfChildren(form);
}

void ReleaseDesktopResources() {
    delete ReferenceFontSlot();
    ReferenceFontSlot() = nullptr;
}

}  // namespace platform

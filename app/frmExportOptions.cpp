#include "app/frmExportOptions.h"

#include <iterator>
#include <variant>

#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/UiMode.h"
#include "runtime/clsExceptionHandler.h"
#include "runtime/modGlobals.h"
#include "runtime/modUtilities.h"

using platform::RegType;
using platform::RegValue;

namespace {

/// Help topic of the dialog itself; cmdHelp opens the book there.
constexpr int kDialogHelpId = 50000;

struct ControlDesign {
    Ctl id;
    const char* name;
    ControlKind kind;
    int tab;
    const char* caption;  ///< built-in English caption
    int captionId;
    int helpContextId;
    CheckState initial;
};

constexpr CheckState kOn = CheckState::Checked;
constexpr CheckState kOff = CheckState::Unchecked;

/// The dialog as designed: its parts in tab order with their built-in captions, catalog ids,
/// help topics and initial states (the defaults of the options).
const ControlDesign kDesign[] = {
    {Ctl::Form, "frmExportOptions", ControlKind::Form, -1, "Options", 50000, 50000, kOff},
    {Ctl::SSTab1, "SSTab1", ControlKind::TabControl, -1, "", 0, 50002, kOff},

    {Ctl::TabNaming, "SSTab1.Tab1", ControlKind::Tab, 0, "Naming conventions", 50001, 50002, kOff},
    {Ctl::stNumSuffix, "stNumSuffix", ControlKind::Label, 0,
     "Initial numeration suffix of generated data names (i.e.DATA_STRUCTURE_0)", 50026, 0, kOff},
    {Ctl::cbConvertARISNames, "cbConvertARISNames", ControlKind::CheckBox, 0,
     "Convert ARIS names into WPX compatible names", 50024, 50018, kOn},
    {Ctl::cbRemoveLineBreaks, "cbRemoveLineBreaks", ControlKind::CheckBox, 0, "Remove any line breaks from ARIS names",
     50023, 50017, kOn},
    {Ctl::efNumSuffix, "efNumSuffix", ControlKind::TextBox, 0, "", 0, 50011, kOff},

    {Ctl::TabLayout, "SSTab1.Tab2", ControlKind::Tab, 1, "Layout", 50002, 50002, kOff},
    {Ctl::cbDrawControlConWithBendPoints, "cbDrawControlConWithBendPoints", ControlKind::CheckBox, 1,
     "Insert bendpoints into WPX control connectors", 50022, 50016, kOn},
    {Ctl::cbDrawDataConWithBendPoints, "cbDrawDataConWithBendPoints", ControlKind::CheckBox, 1,
     "Insert bendpoints into  WPX data connectors", 50021, 50015, kOn},

    {Ctl::TabAttributes, "SSTab1.Tab3", ControlKind::Tab, 2, "Attributes", 50003, 50002, kOff},
    {Ctl::cbWriteOtherSettings, "cbWriteOtherSettings", ControlKind::CheckBox, 2, "Include other settings", 50009,
     50003, kOff},
    {Ctl::cbWriteDocumentation, "cbWriteDocumentation", ControlKind::CheckBox, 2, "Include documentation attributes",
     50019, 50013, kOn},
    {Ctl::cbWriteDescription, "cbWriteDescription", ControlKind::CheckBox, 2, "Include description attributes", 50020,
     50014, kOn},

    {Ctl::TabStaff, "SSTab1.Tab4", ControlKind::Tab, 3, "Staff assignment", 50004, 50002, kOff},
    {Ctl::cbDynamicStaffAssignment, "cbDynamicStaffAssignment", ControlKind::CheckBox, 3,
     "Prefer dynamic staff assignment", 50018, 50012, kOn},

    {Ctl::TabLoops, "SSTab1.Tab5", ControlKind::Tab, 4, "Loops", 50005, 50002, kOff},
    {Ctl::cbControlFlowLoops, "cbControlFlowLoops", ControlKind::CheckBox, 4, "Find incorrect control flow loops",
     50016, 50009, kOn},
    {Ctl::cbDataFlowLoops, "cbDataFlowLoops", ControlKind::CheckBox, 4, "Find incorrect data flow loops", 50017, 50010,
     kOn},

    {Ctl::TabControlFlow, "SSTab1.Tab6", ControlKind::Tab, 5, "Control flow", 50006, 50002, kOff},
    {Ctl::cbTransitionConditions, "cbTransitionConditions", ControlKind::CheckBox, 5, "Transition conditions", 50013,
     50006, kOff},
    {Ctl::cbExitConditions, "cbExitConditions", ControlKind::CheckBox, 5, "Exit conditions", 50014, 50007, kOff},
    {Ctl::cbStartConditions, "cbStartConditions", ControlKind::CheckBox, 5, "Start conditions", 50015, 50008, kOff},
    {Ctl::stControlFlow, "stControlFlow", ControlKind::Label, 5,
     "Prefer control flow conditions taken from ARIS user attributes", 50025, 0, kOff},

    {Ctl::TabDataTypes, "SSTab1.Tab7", ControlKind::Tab, 6, "Data types", 50007, 50002, kOff},
    {Ctl::frDataTypes, "frDataTypes", ControlKind::Frame, 6, "Prefer data types taken from", 50010, 0, kOff},
    {Ctl::rbARISDomainType, "rbARISDomainType", ControlKind::OptionButton, 6, "ARIS object 'ERM domain'", 50011, 50004,
     kOff},
    {Ctl::rbARISAttrDataType, "rbARISAttrDataType", ControlKind::OptionButton, 6, "ARIS attribute 'data type'", 50012,
     50005, kOn},

    {Ctl::cmdOK, "cmdOK", ControlKind::Button, -1, "OK", 50029, 50021, kOff},
    {Ctl::cmdCancel, "cmdCancel", ControlKind::Button, -1, "Cancel", 50028, 50020, kOff},
    {Ctl::cmdApply, "cmdApply", ControlKind::Button, -1, "Apply", 50027, 50019, kOff},
    {Ctl::cmdHelp, "cmdHelp", ControlKind::Button, -1, "&Help", 50008, 50001, kOff},
};
static_assert(std::size(kDesign) == static_cast<std::size_t>(Ctl::Count), "one design row per control");

ExportOptionsViewFactory& Factory() {
    static ExportOptionsViewFactory factory;
    return factory;
}

/// The truth of a Boolean settings value: a number (0 is false), a numeric text, or the words
/// "True"/"False". Any other text is a type mismatch naming the value.
bool BooleanOf(const RegValue& value, const char* valueName) {
    if (const auto* n = std::get_if<std::int32_t>(&value)) return *n != 0;
    const std::string& text = std::get<std::string>(value);
    if (auto number = platform::NumericValue(text)) return *number != 0.0;
    const std::string word = platform::Trim(text);
    if (platform::EqualsIgnoringCase(word, "True")) return true;
    if (platform::EqualsIgnoringCase(word, "False")) return false;
    platform::RaiseStandardError(platform::kErrTypeMismatch,
                                 "\"" + text + "\" for the settings value \"" + valueName + "\"");
}

/// The whole number of a settings value; a text that is no number is a type mismatch, one
/// outside 32 bits an overflow, both naming the value.
std::int32_t NumberOf(const RegValue& value, const char* valueName) {
    if (const auto* n = std::get_if<std::int32_t>(&value)) return *n;
    const std::string& text = std::get<std::string>(value);
    if (!platform::IsNumeric(text))
        platform::RaiseStandardError(platform::kErrTypeMismatch,
                                     "\"" + text + "\" for the settings value \"" + valueName + "\"");
    auto number = platform::ToInt32(text);
    if (!number)
        platform::RaiseStandardError(platform::kErrOverflow,
                                     "\"" + text + "\" for the settings value \"" + valueName + "\"");
    return *number;
}

bool Absent(const RegValue& value) { return std::holds_alternative<std::monostate>(value); }

/// Only the digits of a text, at most `limit` of them.
std::string DigitsOf(const std::string& text, std::size_t limit) {
    std::string digits;
    for (const char c : text) {
        if (c >= '0' && c <= '9' && digits.size() < limit) digits.push_back(c);
    }
    return digits;
}

}  // namespace

void SetExportOptionsViewFactory(ExportOptionsViewFactory factory) { Factory() = std::move(factory); }

frmExportOptions::frmExportOptions() { BuildControls(); }

frmExportOptions& ExportOptionsDialog() {
    static frmExportOptions dialog;
    return dialog;
}

void frmExportOptions::Show() {
    const ProcedureScope scope("frmExportOptions.Show");
    Form_Load();
    if (!platform::Interactive() || !Factory()) {
        // Batch mode: closed as with OK and nothing changed, so nothing is written.
        open_ = false;
        return;
    }
    std::unique_ptr<ExportOptionsView> view = Factory()(*this);
    view_ = view.get();
    struct Detach {
        frmExportOptions& form;
        ~Detach() {
            form.view_ = nullptr;
            form.open_ = false;
        }
    } const detach{*this};
    view->RunModal();
}

void frmExportOptions::Form_Load() {
    const ProcedureScope scope("frmExportOptions.Form_Load");
    // A fresh form each time it is shown: built-in captions, initial states, first tab.
    BuildControls();
    open_ = true;
    LoadOptions();
    SetSettingsChanged(false);
}

void frmExportOptions::BuildControls() {
    controls_.clear();
    for (const ControlDesign& d : kDesign) {
        DialogControl c;
        c.id = d.id;
        c.name = d.name;
        c.kind = d.kind;
        c.tab = d.tab;
        c.caption = d.caption;
        c.captionId = d.captionId;
        c.value = d.initial;
        if (d.id == Ctl::efNumSuffix) c.text = "0";
        controls_.push_back(std::move(c));
    }
    selectedTab_ = 0;
    SetSettingsChanged(false);
}

void frmExportOptions::Form_Activate() {
    const ProcedureScope scope("frmExportOptions.Form_Activate");
    if (view_) view_->SetNlsFontForm();
    SetLocalizedCaptions();
    SetHelpContextIDs();
    RefreshView();
}

void frmExportOptions::SetSettingsChanged(bool changed) {
    settingsChanged_ = changed;
    Edit(Ctl::cmdApply).enabled = changed;
}

void frmExportOptions::RefreshView() {
    if (view_) view_->ShowStates();
}

void frmExportOptions::LoadBoolean(const char* valueName, Ctl control, bool& global) {
    const RegValue value = modUtilities::GetProfileValue(modUtilities::kProgramKey, valueName);
    if (Absent(value)) {
        global = Control(control).value == CheckState::Checked;
        return;
    }
    global = BooleanOf(value, valueName);
    Edit(control).value = global ? CheckState::Checked : CheckState::Unchecked;
}

void frmExportOptions::LoadFirstSuffixNumber() {
    const RegValue value = modUtilities::GetProfileValue(modUtilities::kProgramKey, "FirstSuffixNumber");
    std::int32_t& global = CurrentExport().Options.FirstSuffixNumber;
    if (Absent(value)) {
        global = NumberOf(Control(Ctl::efNumSuffix).text, "FirstSuffixNumber");
        return;
    }
    std::int32_t number = NumberOf(value, "FirstSuffixNumber");
    if (number < 0) number = 0;
    Edit(Ctl::efNumSuffix).text = std::to_string(number);
    global = number;
}

void frmExportOptions::LoadOptions() {
    const ProcedureScope scope("frmExportOptions.LoadOptions");
    ExportOptions& o = CurrentExport().Options;
    try {
        LoadBoolean("ConvertNames", Ctl::cbConvertARISNames, o.ConvertNames);
        LoadBoolean("RemoveLineBreaks", Ctl::cbRemoveLineBreaks, o.RemoveLineBreaks);
        LoadFirstSuffixNumber();
        LoadBoolean("UseDataConBendPoints", Ctl::cbDrawDataConWithBendPoints, o.UseDataConBendPoints);
        LoadBoolean("UseCtrlConBendPoints", Ctl::cbDrawControlConWithBendPoints, o.UseCtrlConBendPoints);
        LoadBoolean("UseDescriptionAttr", Ctl::cbWriteDescription, o.UseDescriptionAttr);
        LoadBoolean("UseDocumentationAttr", Ctl::cbWriteDocumentation, o.UseDocumentationAttr);
        LoadBoolean("UseOtherSettings", Ctl::cbWriteOtherSettings, o.UseOtherSettings);
        LoadBoolean("DynamicStaffAssignment", Ctl::cbDynamicStaffAssignment, o.DynamicStaffAssignment);
        LoadBoolean("FindDataFlowLoops", Ctl::cbDataFlowLoops, o.FindDataFlowLoops);
        LoadBoolean("FindControlFlowLoops", Ctl::cbControlFlowLoops, o.FindControlFlowLoops);
        LoadBoolean("StartConditions", Ctl::cbStartConditions, o.StartConditions);
        LoadBoolean("ExitConditions", Ctl::cbExitConditions, o.ExitConditions);
        LoadBoolean("TransitionConditions", Ctl::cbTransitionConditions, o.TransitionConditions);
        LoadBoolean("DataTypeFromAttribute", Ctl::rbARISAttrDataType, o.DataTypeFromAttribute);
        Edit(Ctl::rbARISDomainType).value = o.DataTypeFromAttribute ? CheckState::Unchecked : CheckState::Checked;
    } catch (const platform::Error& e) {
        ExceptionHandler().Handle(e);
    }
}

void frmExportOptions::SaveBoolean(const char* valueName, bool checked, bool& global) {
    modUtilities::SetProfileValue(modUtilities::kProgramKey, valueName, std::int32_t{checked ? -1 : 0}, RegType::DWord);
    global = checked;
}

void frmExportOptions::SaveFirstSuffixNumber() const {
    std::string text = platform::Trim(Control(Ctl::efNumSuffix).text);
    std::int32_t number = text.empty() ? 0 : NumberOf(text, "FirstSuffixNumber");
    modUtilities::SetProfileValue(modUtilities::kProgramKey, "FirstSuffixNumber", number, RegType::DWord);
    CurrentExport().Options.FirstSuffixNumber = number;
}

void frmExportOptions::SaveOptions() {
    const ProcedureScope scope("frmExportOptions.SaveOptions");
    ExportOptions& o = CurrentExport().Options;
    // Only a checked box counts as true; a grey one does not.
    auto checked = [this](Ctl id) { return Control(id).value == CheckState::Checked; };
    try {
        SaveBoolean("ConvertNames", checked(Ctl::cbConvertARISNames), o.ConvertNames);
        SaveBoolean("RemoveLineBreaks", checked(Ctl::cbRemoveLineBreaks), o.RemoveLineBreaks);
        SaveFirstSuffixNumber();
        SaveBoolean("UseCtrlConBendPoints", checked(Ctl::cbDrawControlConWithBendPoints), o.UseCtrlConBendPoints);
        SaveBoolean("UseDataConBendPoints", checked(Ctl::cbDrawDataConWithBendPoints), o.UseDataConBendPoints);
        SaveBoolean("UseDescriptionAttr", checked(Ctl::cbWriteDescription), o.UseDescriptionAttr);
        SaveBoolean("UseDocumentationAttr", checked(Ctl::cbWriteDocumentation), o.UseDocumentationAttr);
        SaveBoolean("UseOtherSettings", checked(Ctl::cbWriteOtherSettings), o.UseOtherSettings);
        SaveBoolean("DynamicStaffAssignment", checked(Ctl::cbDynamicStaffAssignment), o.DynamicStaffAssignment);
        SaveBoolean("FindDataFlowLoops", checked(Ctl::cbDataFlowLoops), o.FindDataFlowLoops);
        SaveBoolean("FindControlFlowLoops", checked(Ctl::cbControlFlowLoops), o.FindControlFlowLoops);
        SaveBoolean("StartConditions", checked(Ctl::cbStartConditions), o.StartConditions);
        SaveBoolean("ExitConditions", checked(Ctl::cbExitConditions), o.ExitConditions);
        SaveBoolean("TransitionConditions", checked(Ctl::cbTransitionConditions), o.TransitionConditions);
        SaveBoolean("DataTypeFromAttribute", checked(Ctl::rbARISAttrDataType), o.DataTypeFromAttribute);
    } catch (const platform::Error& e) {
        ExceptionHandler().Handle(e);
    }
}

void frmExportOptions::SetLocalizedCaptions() {
    const ProcedureScope scope("frmExportOptions.SetLocalizedCaptions");
    for (DialogControl& c : controls_) {
        if (c.captionId == 0) continue;
        std::string caption = modUtilities::GetNLSString(c.captionId);
        // Without a language library the catalog gives nothing; the built-in caption stays.
        if (!caption.empty()) c.caption = std::move(caption);
    }
}

void frmExportOptions::SetHelpContextIDs() {
    const ProcedureScope scope("frmExportOptions.SetHelpContextIDs");
    for (std::size_t i = 0; i < controls_.size(); ++i) controls_[i].helpContextId = kDesign[i].helpContextId;
}

void frmExportOptions::Control_Click(Ctl control, CheckState newState) {
    DialogControl& c = Edit(control);
    if (c.kind != ControlKind::CheckBox && c.kind != ControlKind::OptionButton) return;
    c.value = newState;
    if (c.kind == ControlKind::OptionButton && newState == CheckState::Checked) {
        // The two option buttons of the data-type frame exclude each other.
        const Ctl other = control == Ctl::rbARISDomainType ? Ctl::rbARISAttrDataType : Ctl::rbARISDomainType;
        Edit(other).value = CheckState::Unchecked;
    }
    SetSettingsChanged(true);
    RefreshView();
}

bool frmExportOptions::efNumSuffix_KeyPress(char32_t key) {
    const bool accepted = (key >= U'0' && key <= U'9') || key == U'\b';
    if (!accepted && view_) view_->Beep();
    return accepted;
}

void frmExportOptions::efNumSuffix_Change(const std::string& text) {
    // Typed keys are filtered by efNumSuffix_KeyPress; pasted text is cut to its digits here,
    // and to nine of them, so that the number always fits its 32-bit value.
    const std::string digits = DigitsOf(text, kMaxSuffixDigits);
    const bool differs = digits != Control(Ctl::efNumSuffix).text;
    Edit(Ctl::efNumSuffix).text = digits;
    if (differs) SetSettingsChanged(true);
    if (differs || digits != text) RefreshView();
}

void frmExportOptions::cmdOK_Click() {
    const ProcedureScope scope("frmExportOptions.cmdOK_Click");
    if (settingsChanged_) SaveOptions();
    open_ = false;
    if (view_) view_->Dismiss();
}

void frmExportOptions::cmdApply_Click() {
    const ProcedureScope scope("frmExportOptions.cmdApply_Click");
    SaveOptions();
    SetSettingsChanged(false);
    RefreshView();
}

void frmExportOptions::cmdCancel_Click() {
    const ProcedureScope scope("frmExportOptions.cmdCancel_Click");
    // Yes to the question ends the program (ProgramEnd); No leaves the dialog open.
    ExceptionHandler().Handle(platform::Error(kErrOptionsCancelled, "The options dialog was cancelled"));
}

void frmExportOptions::cmdHelp_Click() {
    const ProcedureScope scope("frmExportOptions.cmdHelp_Click");
    if (view_) view_->OpenHelp(kDialogHelpId);
}

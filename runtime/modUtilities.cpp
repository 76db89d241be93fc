#include "runtime/modUtilities.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/ProgramPath.h"
#include "platform/Text.h"
#include "platform/UserLocale.h"
#include "runtime/clsExceptionHandler.h"
#include "runtime/modGlobals.h"

using namespace platform;

namespace modUtilities {

std::string LanguageLibraryFileName(const std::string& code) { return "kvbr" + FoldAsciiCase(code) + ".so"; }

namespace {

/// Load the language library of a code from where the program's modules lie (beside it, or
/// installed), then by file name through the program's RUNPATH. Explicit paths first, because
/// a dlopen seen through an interposed runtime (sanitizers) would not search the RUNPATH.
bool LoadLanguageLibrary(const std::string& code) {
    // A language code is letters and digits; anything else (a path) never names a library.
    if (code.empty() ||
        code.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789") != std::string::npos)
        return false;
    const std::string file = LanguageLibraryFileName(code);
    std::vector<std::string> paths = ProgramModulePaths(file);
    paths.push_back(file);
    return std::any_of(paths.begin(), paths.end(),
                       [](const std::string& path) { return CurrentExport().LanguageLibrary.Load(path); });
}

}  // namespace

bool LoadLocalizedResources(bool quiet) {
    const ProcedureScope scope("modUtilities.LoadLocalizedResources");
    std::string code;
    RegValue v = GetProfileValue(kProgramKey, "Language");
    if (const auto* s = std::get_if<std::string>(&v)) code = Trim(*s);
    bool loaded = false;
    if (code.empty()) {
        // No value in either hive: the language of the user's locale when a library exists for
        // it, else English.
        const std::string fromLocale = LanguageCodeOfLocale(MessagesLocaleName());
        if (!fromLocale.empty() && fromLocale != "ENU" && LoadLanguageLibrary(fromLocale)) {
            code = fromLocale;
            loaded = true;
        } else {
            code = "ENU";
        }
    }
    CurrentExport().LanguageCode = code;
    CurrentExport().HelpFile = "kvbr" + FoldAsciiCase(code) + ".htb";
    if (!loaded) loaded = LoadLanguageLibrary(code);
    if (!loaded && !quiet) {
        CurrentMessageBox().Show(
            "The Language Resource file '" + LanguageLibraryFileName(code) + "' could not be found.",
            kMbOkOnly + kMbCritical + kMbSetForeground, "Lumenport");
    }
    return loaded;
}

std::string GetStringFromResourceFile(int id) {
    if (!CurrentExport().LanguageLibrary.Loaded()) return "";
    std::optional<std::string> text = CurrentExport().LanguageLibrary.Text(id);
    if (!text) return "Error :\r\nThe Resource ID '" + std::to_string(id) + "' was not found";
    // A text of at most 4095 bytes has at most 4095 characters.
    if (text->size() > 4095 && CharCount(*text) > 4095) return LeftChars(*text, 4095);
    return std::move(*text);
}

std::string GetNLSString(int id, const std::string& p1, const std::string& p2, const std::string& p3,
                         const std::string& p4) {
    std::string text = GetStringFromResourceFile(id);
    const std::string* params[] = {&p1, &p2, &p3, &p4};
    const char* holders[] = {"%1$s", "%2$s", "%3$s", "%4$s"};
    for (int i = 0; i < 4; ++i) {
        if (params[i]->empty()) break;
        if (text.find(holders[i]) != std::string::npos) text = ReplaceAll(text, holders[i], *params[i]);
    }
    return text;
}

std::string Get_NLS_String_Message(int id) { return GetNLSString(id); }

std::string GetNLSMessage(int severity, int id, const std::string& p1, const std::string& p2, const std::string& p3,
                          const std::string& p4) {
    std::string message = clsExceptionHandler::FormatMessageID(severity, id);
    message += GetNLSString(id, p1, p2, p3, p4);
    return message;
}

RegistryHive UserHive() { return RegistryHive(UserHivePath(), "HKEY_CURRENT_USER"); }
RegistryHive MachineHive() { return RegistryHive(MachineHivePath(), "HKEY_LOCAL_MACHINE"); }

RegValue QueryValueEx(const RegistryHive& hive, const std::string& key, const std::string& name) {
    return hive.Read(key, name);
}

RegValue GetProfileValue(const std::string& key, const std::string& name) {
    RegValue v = QueryValueEx(UserHive(), key, name);
    if (!std::holds_alternative<std::monostate>(v)) return v;
    return QueryValueEx(MachineHive(), key, name);
}

void SetValueEx(const RegistryHive& hive, const std::string& key, const std::string& name, const RegValue& value,
                RegType type) {
    if (type == RegType::String) {
        if (const auto* s = std::get_if<std::string>(&value)) return hive.Write(key, name, *s);
        if (const auto* n = std::get_if<std::int32_t>(&value)) return hive.Write(key, name, std::to_string(*n));
        return hive.Write(key, name, std::string());
    }
    if (const auto* n = std::get_if<std::int32_t>(&value)) return hive.Write(key, name, *n);
    if (const auto* s = std::get_if<std::string>(&value)) {
        auto num = ToInt32(*s);
        if (!num) RaiseStandardError(kErrTypeMismatch, "\"" + *s + "\" for the number value \"" + name + "\"");
        return hive.Write(key, name, *num);
    }
    hive.Write(key, name, std::int32_t{0});
}

void SetProfileValue(const std::string& key, const std::string& name, const RegValue& value, RegType type) {
    const ProcedureScope scope("modUtilities.SetProfileValue");
    SetValueEx(UserHive(), key, name, value, type);
}

OrderedCollection<std::string> ConvertStringListToCollection(const std::string& text, char separator) {
    OrderedCollection<std::string> out;
    if (text.empty()) return out;
    for (std::string& piece : SplitKeepEmpty(text, separator)) out.Add(std::move(piece));
    return out;
}

std::string GetStringListItem(const std::string& text, char separator, int index) {
    if (text.empty()) return "";
    std::vector<std::string> pieces = SplitKeepEmpty(text, separator);
    if (index < 0) index = 0;
    if (static_cast<std::size_t>(index) >= pieces.size()) return pieces.back();
    return pieces[static_cast<std::size_t>(index)];
}

}  // namespace modUtilities

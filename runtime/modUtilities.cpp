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

// The placeholders "%1$s" to "%4$s" of a library text, and the longest text it gives.
constexpr int kPlaceholders = 4;
constexpr std::size_t kLongestText = 4095;

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
    if (text->size() > kLongestText && CharCount(*text) > kLongestText) return LeftChars(*text, kLongestText);
    return std::move(*text);
}

namespace {

// The parameters in use: those before the first empty one.
int ParametersInUse(const std::string* const (&params)[kPlaceholders]) {
    int used = 0;
    while (used < kPlaceholders && !params[used]->empty()) ++used;
    return used;
}

// The first "%" or "$" from pos on, or npos: one pass over the characters (a search for either
// of two characters through find_first_of would search the pair once per character).
std::size_t PlaceholderSignAt(std::string_view text, std::size_t pos) {
    for (; pos < text.size(); ++pos)
        if (text[pos] == '%' || text[pos] == '$') return pos;
    return std::string_view::npos;
}

// The placeholder "%n$s" (n from 1 to 4) at pos, or 0.
int PlaceholderAt(std::string_view text, std::size_t pos) {
    if (text.size() - pos < 4 || text[pos] != '%' || text[pos + 2] != '$' || text[pos + 3] != 's') return 0;
    const char digit = text[pos + 1];
    return digit >= '1' && digit <= '0' + kPlaceholders ? digit - '0' : 0;
}

// The placeholders filled one after the other, each in the text the one before left: a
// parameter holding a placeholder's signs is filled in turn.
std::string FillInTurn(std::string text, const std::string* const (&params)[kPlaceholders], int used) {
    static const char* const holders[kPlaceholders] = {"%1$s", "%2$s", "%3$s", "%4$s"};
    for (int i = 0; i < used; ++i)
        if (text.find(holders[i]) != std::string::npos) text = ReplaceAll(text, holders[i], *params[i]);
    return text;
}

// The same result in one pass over the text, when no placeholder can arise from a filled
// parameter: no "%" or "$" in the parameters, and none in the text outside its placeholders.
// The filled text is appended to `out`. Returns false (and leaves out alone) when the one pass
// cannot be taken.
bool FillInOnePass(std::string_view text, const std::string* const (&params)[kPlaceholders], int used,
                   std::string& out) {
    for (int i = 0; i < used; ++i)
        if (PlaceholderSignAt(*params[i], 0) != std::string_view::npos) return false;
    std::size_t size = text.size();
    for (std::size_t pos = PlaceholderSignAt(text, 0); pos != std::string_view::npos;
         pos = PlaceholderSignAt(text, pos)) {
        const int n = PlaceholderAt(text, pos);
        if (n == 0) return false;
        if (n <= used) size += params[n - 1]->size();
        pos += 4;
    }
    out.reserve(out.size() + size);
    std::size_t from = 0;
    for (std::size_t pos = text.find('%'); pos != std::string_view::npos; pos = text.find('%', pos)) {
        const int n = PlaceholderAt(text, pos);
        pos += 4;
        if (n > used) continue;  // an unfilled placeholder stays as written
        out.append(text.substr(from, pos - 4 - from));
        out.append(*params[n - 1]);
        from = pos;
    }
    out.append(text.substr(from));
    return true;
}

// Append the library's text of the id with its placeholders filled. Most log lines come
// through here: the text is filled without copying it first whenever that is possible.
void AppendNLSString(std::string& out, int id, const std::string* const (&params)[kPlaceholders]) {
    const int used = ParametersInUse(params);
    const platform::LanguageLibrary& library = CurrentExport().LanguageLibrary;
    if (library.Loaded()) {
        const std::string_view text = library.TextView(id);
        if (!text.empty() && text.size() <= kLongestText && FillInOnePass(text, params, used, out)) return;
    }
    out += FillInTurn(GetStringFromResourceFile(id), params, used);
}

}  // namespace

std::string GetNLSString(int id, const std::string& p1, const std::string& p2, const std::string& p3,
                         const std::string& p4) {
    const std::string* const params[kPlaceholders] = {&p1, &p2, &p3, &p4};
    std::string text;
    AppendNLSString(text, id, params);
    return text;
}

std::string Get_NLS_String_Message(int id) { return GetNLSString(id); }

std::string GetNLSMessage(int severity, int id, const std::string& p1, const std::string& p2, const std::string& p3,
                          const std::string& p4) {
    const std::string* const params[kPlaceholders] = {&p1, &p2, &p3, &p4};
    std::string message = clsExceptionHandler::FormatMessageID(severity, id);
    AppendNLSString(message, id, params);
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

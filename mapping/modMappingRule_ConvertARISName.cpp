// Name conversion: ARIS texts turned into the form a WPX property accepts.
#include <array>
#include <string>
#include <string_view>
#include <unordered_map>

#include "mapping/modMappingRule.h"
#include "platform/Text.h"
#include "runtime/ExportFiles.h"
#include "runtime/clsExceptionHandler.h"
#include "runtime/modGlobals.h"
#include "runtime/modUtilities.h"

using platform::ReplaceAll;

namespace modMappingRule {

namespace {

// The attribute type of a person's user id: text after its last "@" is a domain.
constexpr std::int32_t kUserIdAttribute = 509;

// Each text of `from` in turn replaced by `to`; a text not present costs no copy.
std::string ReplaceEach(std::string text, std::initializer_list<std::string_view> from, std::string_view to) {
    for (const std::string_view f : from)
        if (text.find(f) != std::string::npos) text = ReplaceAll(text, f, to);
    return text;
}

// The same for single characters, looked for all at once first: most names hold none of them.
std::string ReplaceEachCharacter(std::string text, std::string_view characters, std::string_view to) {
    if (text.find_first_of(characters) == std::string::npos) return text;
    for (const char c : characters) {
        const std::string_view f(&c, 1);
        if (text.find(c) != std::string::npos) text = ReplaceAll(text, f, to);
    }
    return text;
}

std::string CutTo(const std::string& text, std::size_t characters) { return platform::LeftChars(text, characters); }

// Each pair of blanks becomes one blank, as long as the text gets shorter.
std::string CollapseBlanks(std::string text) {
    if (text.find("  ") == std::string::npos) return text;
    for (;;) {
        std::string shorter = ReplaceAll(text, "  ", " ");
        if (shorter.size() == text.size()) return text;
        text = std::move(shorter);
    }
}

bool StartsWithDigit(const std::string& text) { return !text.empty() && text[0] >= '0' && text[0] <= '9'; }

// Convention "7": a person's name.
std::string PersonNameConvention(std::string s, std::int32_t attributeType) {
    if (attributeType == kUserIdAttribute) {
        const std::size_t at = s.rfind('@');
        if (at != std::string::npos && at > 0) s.erase(at);
    }
    s = ReplaceEach(std::move(s), {"@", "<", ">", "[", "]", "\\", "\"", ";", "\r", "\n", "\t"}, "_");
    s = platform::UpperUtf8(s);
    s = ReplaceAll(s, " ", "_");
    return CutTo(s, 32);
}

// Convention "9": an identifier of the definition language.
std::string IdentifierConvention(std::string s) {
    s = ReplaceEachCharacter(std::move(s), "!'[]*+,-.;/:<=>()\\^\"", "_");
    s = ReplaceEach(std::move(s),
                    {"AND", "IS", "LOWER", "MOD", "NOT", "NULL", "OR", "SUBSTR", "UPPER", "VALUE", "_BLOCK", "_STRUCT"},
                    "_");
    if (StartsWithDigit(s)) s[0] = '_';
    s = ReplaceEachCharacter(std::move(s), "\r\n\t", "_");
    return CutTo(CollapseBlanks(std::move(s)), 32);
}

// Convention "11": an ARIS data type name as a WPX type keyword.
std::string DataTypeConvention(const std::string& s) {
    const std::string type = platform::Trim(s);
    if (type == "Boolean") return "STRING";
    for (const char* name : {"Hex", "Integer", "Number (n)", "Okt", "Smallint"})
        if (type == name) return "LONG";
    for (const char* name : {"Decimal (n,m)", "Float", "Real", "Number (n,m)"})
        if (type == name) return "FLOAT";
    const std::array<std::pair<int, const char*>, 3> localized = {{{4000, "FLOAT"}, {4010, "LONG"}, {4020, "STRING"}}};
    for (const auto& [id, keyword] : localized) {
        const std::string text = modUtilities::GetNLSString(id);
        if (!text.empty() && type == text) return keyword;
    }
    return "STRING";
}

// The conventions whose result depends on nothing but the text: a large export converts the
// same names again and again (each connector the names of its two functions), so their results
// are kept for the export. Only the conversion is kept: a change is still logged each time.
// Each convention keeps at most kKeptTexts texts and starts afresh when it holds that many.
struct ConvertedTexts {
    static constexpr std::size_t kKeptTexts = 4096;
    enum Slot { kOneLine, kWithoutDots, kProcess, kIdentifierSlot, kSlots };
    std::unordered_map<std::string, std::string> bySlot[kSlots];
};

template <class Convert>
std::string Kept(ConvertedTexts::Slot slot, const std::string& text, Convert convert) {
    std::unordered_map<std::string, std::string>& kept = CurrentExport().Part<ConvertedTexts>().bySlot[slot];
    if (auto found = kept.find(text); found != kept.end()) return found->second;
    std::string converted = convert(std::string(text));
    if (kept.size() >= ConvertedTexts::kKeptTexts) kept.clear();
    kept.emplace(text, converted);
    return converted;
}

std::string OneLineConvention(std::string s) { return CutTo(ReplaceEach(std::move(s), {"\r", "\n", "\t"}, " "), 32); }

std::string WithoutDotsConvention(std::string s) {
    s = ReplaceEach(std::move(s), {"\r", "\n", "\t"}, " ");
    s = ReplaceAll(s, ".", "_");
    return CutTo(CollapseBlanks(std::move(s)), 32);
}

std::string ProcessNameConvention(std::string s) {
    s = ReplaceEach(std::move(s), {"*", "?", "\"", ";", ":", ".", "$"}, "_");
    // A process name stands on one line of the definition file.
    s = ReplaceEach(std::move(s), {"\r", "\n", "\t"}, " ");
    return CutTo(CollapseBlanks(std::move(s)), 32);
}

// Common ending of every convention: quotes doubled, blanks trimmed, a change logged.
std::string FinishConversion(const std::string& given, std::string s) {
    if (s.find('\'') != std::string::npos) s = ReplaceAll(s, "'", "''");
    s = platform::Trim(s);
    if (s != given && CurrentExport().Files)
        CurrentExport().Files->WriteLog(modUtilities::GetNLSMessage(kSeverityInfo, 3100, given, s));
    return s;
}

}  // namespace

std::string ConvertARISName(const std::string& text, const std::string& convention, const std::string& ruleName) {
    const ProcedureScope scope("modMappingRule.ConvertARISName");
    std::int32_t attributeType = 0;
    if (!ruleName.empty()) attributeType = RetrieveMappingRule(ruleName).AttributeMappingNumber();
    if (!CurrentExport().Options.ConvertNames) return text;

    std::string s = text;
    if (convention == NameConvention::kIdentifierName) {
        s = ConvertARISName(s, NameConvention::kIdentifier);
    } else if (convention == NameConvention::kText254) {
        s = CutTo(ReplaceAll(s, "\t", " "), 254);
    } else if (convention == NameConvention::kText4096) {
        s = CutTo(ReplaceAll(s, "\t", " "), 4096);
    } else if (convention == NameConvention::kIdentifierNoUnderscore) {
        if (!s.empty() && s[0] == '_') s.erase(0, 1);
        s = ConvertARISName(s, NameConvention::kIdentifier);
    } else if (convention == NameConvention::kOneLineName) {
        s = Kept(ConvertedTexts::kOneLine, text, OneLineConvention);
    } else if (convention == NameConvention::kNameWithoutDots) {
        if (s.empty()) RaiseError(2050);
        s = Kept(ConvertedTexts::kWithoutDots, text, WithoutDotsConvention);
    } else if (convention == NameConvention::kPersonName) {
        s = PersonNameConvention(std::move(s), attributeType);
    } else if (convention == NameConvention::kProcessName) {
        s = Kept(ConvertedTexts::kProcess, text, ProcessNameConvention);
    } else if (convention == NameConvention::kIdentifier) {
        s = Kept(ConvertedTexts::kIdentifierSlot, text, IdentifierConvention);
    } else if (convention == NameConvention::kCondition) {
        s = ReplaceAll(s, "!=", "<>");
    } else if (convention == NameConvention::kDataType) {
        s = DataTypeConvention(s);
    } else {
        RaiseError(2040, convention, text);
    }
    return FinishConversion(text, std::move(s));
}

std::optional<std::string> ConvertARISNameOrWarn(const std::string& text, const std::string& convention,
                                                 const std::string& ruleName) {
    const std::string caller = CurrentExport().CurrentProcedure;
    try {
        return ConvertARISName(text, convention, ruleName);
    } catch (const platform::Error& e) {
        if (e.Number() != 2040 && e.Number() != 2050) throw;
        ExceptionHandler().Handle(e);
        CurrentExport().CurrentProcedure = caller;
        return std::nullopt;
    }
}

}  // namespace modMappingRule

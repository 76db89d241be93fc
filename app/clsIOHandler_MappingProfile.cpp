// The mapping profile members of clsIOHandler: reading, tokenizing and parsing the profile.
#include <array>
#include <string>
#include <string_view>

#include "app/clsIOHandler.h"
#include "mapping/MappingProfileParser.h"
#include "mapping/clsMappingRuleToken.h"
#include "mapping/modMappingRule.h"
#include "platform/Text.h"
#include "runtime/clsExceptionHandler.h"
#include "runtime/modGlobals.h"

namespace {

// Keywords in the order the tokenizer tries them.
constexpr std::array<std::string_view, 11> kKeywords = {
    "OBJECT_MAPPING",
    "ATTRIBUTE_MAPPING",
    "CONNECTION_MAPPING",
    "OBJECT_TYPE",
    "ATTRIBUTE_TYPE",
    "SOURCE_OBJECT_TYPE",
    "TARGET_OBJECT_TYPE",
    "CONNECTION_KIND",
    "CONNECTION_TYPE",
    "TARGET_OBJECT_RULE",
    "END",
};

bool IsSeparator(char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }

// The keyword the text begins with at `pos` (ignoring case), or "".
std::string_view KeywordAt(std::string_view text, std::size_t pos) {
    for (const std::string_view keyword : kKeywords) {
        if (text.size() - pos >= keyword.size() &&
            platform::EqualsIgnoringCase(text.substr(pos, keyword.size()), keyword))
            return keyword;
    }
    return {};
}

std::size_t SkipBlanks(std::string_view text, std::size_t pos) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    return pos;
}

}  // namespace

std::string clsIOHandler::ReadMappingProfile() {
    const ProcedureScope scope("clsIOHandler.ReadMappingProfile");
    const std::string path = MappingProfilePath();
    MappingProfileFound = FileExists(path);
    if (!MappingProfileFound) {
        // A missing profile is the ordinary case: nothing failed that anyone has to see.
        if (CurrentExport().CurrentStep == "failed") CurrentExport().CurrentStep.clear();
        return "";
    }
    return ReadFile(path);
}

platform::OrderedCollection<clsMappingRuleToken> clsIOHandler::TokenizeMappingProfile(const std::string& profileText) {
    const ProcedureScope scope("clsIOHandler.TokenizeMappingProfile");
    platform::OrderedCollection<clsMappingRuleToken> tokens;
    const std::string text = platform::Trim(profileText);
    const std::string_view view(text);
    // Lines are counted for messages; the blanks trimmed off the front hold no line break.
    int line = 1;
    auto add = [&](std::string value, std::int32_t type) {
        clsMappingRuleToken token(std::move(value), type);
        token.Line = line;
        tokens.Add(std::move(token));
    };
    std::size_t pos = 0;
    while (pos < view.size()) {
        // A keyword is taken with no look at what follows it: "ENDX" gives END and a word X.
        if (const std::string_view keyword = KeywordAt(view, pos); !keyword.empty()) {
            add(std::string(keyword), kTokenKeyword);
            pos += keyword.size();
        } else if (view[pos] == '=') {
            add("=", kTokenAssignment);
            ++pos;
        } else if (IsSeparator(view[pos])) {
            if (view[pos] == '\n') ++line;
            ++pos;
        } else {
            std::size_t end = pos;
            while (end < view.size() && !IsSeparator(view[end]) && view[end] != '=') ++end;
            // A word with nothing after it that ends it is dropped, as is the rest of the text.
            if (end == view.size()) break;
            std::string word(view.substr(pos, end - pos));
            const std::int32_t type = platform::IsNumeric(word) ? kTokenNumber : kTokenName;
            add(std::move(word), type);
            pos = end;
        }
        pos = SkipBlanks(view, pos);
    }
    return tokens;
}

void clsIOHandler::ParseMappingFile() {
    const ProcedureScope scope("clsIOHandler.ParseMappingFile");
    const std::string profile = ReadMappingProfile();
    if (profile.empty()) {
        if (MappingProfileFound) RaiseWarning(2210);
        modMappingRule::CreateDefaultMappingRules();
        DefaultMappingRulesUsed = true;
        return;
    }
    const platform::OrderedCollection<clsMappingRuleToken> tokens = TokenizeMappingProfile(profile);
    MappingProfileParser parser;
    ProfileErrorLine = 0;
    for (const clsMappingRuleToken& token : tokens) {
        try {
            parser.Feed(token);
        } catch (const platform::Error&) {
            // Whatever stopped the parser, the place is kept for the line after its message.
            ProfileErrorLine = token.Line;
            throw;
        }
    }
}

#include "mapping/MappingProfileParser.h"
#include "MappingTestSupport.h"
#include "mapping/clsMappingRuleToken.h"
#include "runtime/modUtilities.h"

using namespace modMappingRule;
using mappingtest::CatchError;

namespace {

class MappingProfile : public mappingtest::MappingTest {
protected:
    /// Parse a profile holding these bytes.
    void ParseProfile(const std::string& bytes) {
        WriteProfile(bytes);
        io.ParseMappingFile();
    }
    void WriteProfile(const std::string& bytes) {
        io.MappingProfileOverride = box.dir.File("kvbrars.prf");
        testenv::WriteFile(io.MappingProfileOverride, bytes);
    }

    /// Tokens as "type:value" texts.
    std::vector<std::string> Tokens(const std::string& text) {
        std::vector<std::string> out;
        for (const clsMappingRuleToken& t : io.TokenizeMappingProfile(text))
            out.push_back(std::to_string(t.TokenType) + ":" + t.TokenValue);
        return out;
    }
};

const char* kFullProfile =
    "OBJECT_MAPPING ACTIVITY\r\n"
    "  OBJECT_TYPE = 22 OBJECT_TYPE=6\r\n"
    "END\r\n"
    "attribute_mapping PERSON_LAST_NAME attribute_type = -1 end\n"
    "CONNECTION_MAPPING FUNCTION_SENDS_CONTROL_TO_FUNCTION\n"
    "\tSOURCE_OBJECT_TYPE = 22 TARGET_OBJECT_TYPE = 18 CONNECTION_KIND = 4 CONNECTION_TYPE = 44\n"
    "\tTARGET_OBJECT_RULE = EVENT_SENDS_CONTROL_TO_FUNCTION\n"
    "\tSOURCE_OBJECT_TYPE = 22 TARGET_OBJECT_TYPE = 22 CONNECTION_KIND = 4.4 CONNECTION_TYPE = 118\n"
    "END\n"
    "OBJECT_MAPPING Activity OBJECT_TYPE = 1 END\n"
    "OBJECT_MAPPING PERSON OBJECT_TYPE = 46\n";  // no END: dropped

}  // namespace

TEST_F(MappingProfile, TokenizerKeywordsWordsNumbersAndTheDroppedLastWord) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"object_mapping", {"1:OBJECT_MAPPING"}},
        {"OBJECT_TYPE=22\r\n", {"1:OBJECT_TYPE", "6:=", "3:22"}},
        {"  ATTRIBUTE_TYPE = -1 \r\n", {"1:ATTRIBUTE_TYPE", "6:=", "3:-1"}},
        // A keyword is taken where a word begins with it.
        {"ENDING\r\n", {"1:END", "2:ING"}},
        {"Target_Object_RuleX\n", {"1:TARGET_OBJECT_RULE", "2:X"}},
        {"MY_END\n", {"2:MY_END"}},
        {"\tName\t", {"2:Name"}},
        {"1e3 &H10 12abc -\r\n", {"3:1e3", "3:&H10", "2:12abc", "2:-"}},
        {"Müller\r\n", {"2:Müller"}},
        // A word with no separator after it is dropped.
        {"FOO", {}},
        {"a=b", {"2:a", "6:="}},
        {"A B", {"2:A"}},
        {"A B   ", {"2:A"}},
        {"  \r\n \t ", {}},
        {"", {}},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(Tokens(text), expected) << text;
}

TEST_F(MappingProfile, NoProfileGivesTheBuiltInRulesWithoutAMessage) {
    io.MappingProfileOverride = box.dir.File("missing.prf");
    io.ParseMappingFile();
    EXPECT_FALSE(io.MappingProfileFound);
    EXPECT_EQ(ColMappingRules().Count(), 85u);
    EXPECT_TRUE(box.boxes->texts.empty());
    EXPECT_EQ(CurrentExport().CurrentStep, "");
}

TEST_F(MappingProfile, AnEmptyProfileGivesWarning2210ThenTheBuiltInRules) {
    ParseProfile("");
    EXPECT_TRUE(io.MappingProfileFound);
    EXPECT_EQ(ColMappingRules().Count(), 85u);
    ASSERT_EQ(box.boxes->texts.size(), 1u);
    EXPECT_EQ(box.boxes->texts[0],
              "Warnung KVB02210E  gemeldet von 'clsIOHandler.ParseMappingFile'\r\nErklärung:\r\n"
              "Es wurden keine Abbildungsregeln gefunden (Es werden die Standard-Abbildungsregeln benutzt).");
}

TEST_F(MappingProfile, BlanksAndLineBreaksDefineNoRulesAndBringNoBuiltInOnes) {
    ParseProfile("   \r\n\r\n\t \n");
    EXPECT_EQ(ColMappingRules().Count(), 0u);
    EXPECT_TRUE(box.boxes->texts.empty());
    EXPECT_EQ(CatchError([] { RetrieveMappingRule("ACTIVITY"); }).Number(), 2100);
}

TEST_F(MappingProfile, AProfileReplacesTheBuiltInSet) {
    ParseProfile(kFullProfile);
    ASSERT_EQ(ColMappingRules().Count(), 3u);

    const clsMappingRule& activity = RetrieveMappingRule("ACTIVITY");
    ASSERT_EQ(activity.ColObjectMapping.Count(), 2u);
    EXPECT_EQ(activity.ColObjectMapping.Item(1).ObjTypeNum, 22);
    EXPECT_EQ(activity.ColObjectMapping.Item(2).ObjTypeNum, 6);

    EXPECT_EQ(RetrieveMappingRule("person_last_name").AttributeMapping(), "-1");

    const clsMappingRule& control = RetrieveMappingRule("FUNCTION_SENDS_CONTROL_TO_FUNCTION");
    ASSERT_EQ(control.ColConnectionMapping.Count(), 2u);
    const clsConnectionMapping& first = control.ColConnectionMapping.Item(1);
    EXPECT_EQ(first.SourceObjTypeNum, 22);
    EXPECT_EQ(first.TargetObjTypeNum, 18);
    EXPECT_EQ(first.CnxKind, 4);
    EXPECT_EQ(first.CnxTypeNum, 44);
    EXPECT_EQ(first.TargetObjRule, "EVENT_SENDS_CONTROL_TO_FUNCTION");
    const clsConnectionMapping& second = control.ColConnectionMapping.Item(2);
    EXPECT_FALSE(second.IsChainedConnection());
    EXPECT_EQ(second.CnxKind, 4);  // 4.4 stored as a whole number
    EXPECT_EQ(second.CnxTypeNum, 118);

    // "Activity" again: warning 2110, the first definition stays. "PERSON" lacks END.
    ASSERT_EQ(box.boxes->texts.size(), 1u);
    EXPECT_EQ(box.boxes->texts[0],
              "Warnung KVB02110E  gemeldet von 'clsIOHandler.ParseMappingFile'\r\nErklärung:\r\n"
              "Diese Abbildungsregel wurde bereits definiert: Activity");
    EXPECT_FALSE(ColMappingRules().Contains("PERSON"));
    EXPECT_EQ(CatchError([] { RetrieveMappingRule("PERSON"); }).Number(), 2100);
}

TEST_F(MappingProfile, ASavedProfileWithoutAFinalLineBreakKeepsItsLastRule) {
    // Reading the file ends every line with CR LF, so the last "END" is not dropped.
    ParseProfile("ATTRIBUTE_MAPPING PERSON_PHONE ATTRIBUTE_TYPE = 245 END");
    EXPECT_EQ(RetrieveMappingRule("PERSON_PHONE").AttributeMapping(), "245");
}

TEST_F(MappingProfile, SyntaxErrorsNameTheOffendingTokenAndWhatWasExpected) {
    const std::string step = "CONNECTION_MAPPING R SOURCE_OBJECT_TYPE = 22 ";
    const std::string full = step + "TARGET_OBJECT_TYPE = 46 CONNECTION_KIND = 2 CONNECTION_TYPE = 65 ";
    struct Case {
        std::string profile;
        int number;
        std::string p1, p2;
    };
    const std::vector<Case> cases = {
        {"FOO", 2130, "FOO", "\"OBJECT_MAPPING\", \"ATTRIBUTE_MAPPING\", \"CONNECTION_MAPPING\""},
        {"OBJECT_MAPPING 12 OBJECT_TYPE = 22 END", 2140, "12", ""},
        {"OBJECT_MAPPING END", 2140, "END", ""},
        {"OBJECT_MAPPING A END", 2130, "END", "\"OBJECT_TYPE\""},
        {"OBJECT_MAPPING A OBJECT_TYPE 22", 2150, "22", ""},
        {"OBJECT_MAPPING A OBJECT_TYPE = X", 2160, "X", ""},
        {"OBJECT_MAPPING A OBJECT_TYPE = 22 X", 2130, "X", "\"END\", \"OBJECT_TYPE\""},
        {"ATTRIBUTE_MAPPING A OBJECT_TYPE", 2130, "OBJECT_TYPE", "\"ATTRIBUTE_TYPE\""},
        {"ATTRIBUTE_MAPPING A ATTRIBUTE_TYPE END", 2150, "END", ""},
        {"ATTRIBUTE_MAPPING A ATTRIBUTE_TYPE = B", 2170, "B", ""},
        {"ATTRIBUTE_MAPPING A ATTRIBUTE_TYPE = 9 OBJECT_TYPE", 2130, "OBJECT_TYPE", "\"END\""},
        {"CONNECTION_MAPPING R TARGET_OBJECT_TYPE", 2130, "TARGET_OBJECT_TYPE", "\"SOURCE_OBJECT_TYPE\""},
        {"CONNECTION_MAPPING R SOURCE_OBJECT_TYPE 22", 2150, "22", ""},
        {"CONNECTION_MAPPING R SOURCE_OBJECT_TYPE = S", 2160, "S", ""},
        {step + "CONNECTION_KIND", 2130, "CONNECTION_KIND", "\"TARGET_OBJECT_TYPE\""},
        {step + "TARGET_OBJECT_TYPE = T", 2160, "T", ""},
        {step + "TARGET_OBJECT_TYPE = 46 END", 2130, "END", "\"CONNECTION_KIND\""},
        {step + "TARGET_OBJECT_TYPE = 46 CONNECTION_KIND = in", 2180, "in", ""},
        {step + "TARGET_OBJECT_TYPE = 46 CONNECTION_KIND = 2 TARGET_OBJECT_RULE", 2130, "TARGET_OBJECT_RULE",
         "\"CONNECTION_TYPE\""},
        {step + "TARGET_OBJECT_TYPE = 46 CONNECTION_KIND = 2 CONNECTION_TYPE = x", 2190, "x", ""},
        {full + "OBJECT_TYPE", 2130, "OBJECT_TYPE", "\"SOURCE_OBJECT_TYPE\", \"TARGET_OBJECT_RULE\""},
        {full + "TARGET_OBJECT_RULE 5", 2150, "5", ""},
        {full + "TARGET_OBJECT_RULE = 5", 2140, "5", ""},
        {full + "TARGET_OBJECT_RULE = X TARGET_OBJECT_TYPE", 2130, "TARGET_OBJECT_TYPE",
         "\"SOURCE_OBJECT_TYPE\", \"END\""},
        // A number beyond 32 bits is no usable type number.
        {step + "TARGET_OBJECT_TYPE = 99999999999", 2160, "99999999999", ""},
        {step + "TARGET_OBJECT_TYPE = 46 CONNECTION_KIND = 1e12", 2180, "1e12", ""},
    };
    for (const Case& c : cases) {
        modMappingRule::ResetMappingRules();
        platform::Error e =
            CatchError([&] { ParseProfile("ATTRIBUTE_MAPPING OK ATTRIBUTE_TYPE = 9 END\n" + c.profile + "\n"); });
        EXPECT_EQ(e.Number(), c.number) << c.profile;
        EXPECT_EQ(e.Description(), modUtilities::GetNLSString(c.number, c.p1, c.p2)) << c.profile;
        // Rules before the error were registered.
        EXPECT_TRUE(ColMappingRules().Contains("OK")) << c.profile;
    }
    EXPECT_TRUE(box.boxes->texts.empty());
}

TEST_F(MappingProfile, TheGermanTextsOfTheSyntaxErrors) {
    platform::Error e = CatchError([&] { ParseProfile("OBJECT_MAPPING A OBJECT_TYPE = 22 X\n"); });
    EXPECT_EQ(e.Description(),
              "Syntaxfehler in Abbildungregel an der Stelle 'X' (Erwartete Schlüsselwörter: \"END\", \"OBJECT_TYPE\")");

    // The parser is never outside its states on its own; put there, it reports the state.
    MappingProfileParser parser;
    parser.SetState(28);
    e = CatchError([&] { parser.Feed(clsMappingRuleToken("X", kTokenName)); });
    EXPECT_EQ(e.Number(), 2200);
    EXPECT_EQ(e.Description(),
              "Syntaxfehler in Abbildungregel an der Stelle 'X' (Der Übersetzer der Abbildungsregeln befindet sich in "
              "einem undefinierten Zustand: '28')");
}

TEST_F(MappingProfile, TheBuiltInRulesWrittenAsAProfileReadBackTheSame) {
    // Each rule as one comparable text: kind of content, numbers and chained rules in order.
    auto describe = [] {
        std::vector<std::string> rules;
        for (const std::unique_ptr<clsMappingRule>& rule : ColMappingRules()) {
            std::string text = rule->Name + " attribute=" + rule->AttributeMapping() + " objects=";
            for (const clsObjectMapping& m : rule->ColObjectMapping) text += std::to_string(m.ObjTypeNum) + ",";
            text += " steps=";
            for (const clsConnectionMapping& s : rule->ColConnectionMapping)
                text += std::to_string(s.SourceObjTypeNum) + "/" + std::to_string(s.CnxKind) + "/" +
                        std::to_string(s.CnxTypeNum) + "/" + std::to_string(s.TargetObjTypeNum) + "/" +
                        s.TargetObjRule + ";";
            rules.push_back(text);
        }
        return rules;
    };
    CreateDefaultMappingRules();
    const std::vector<std::string> builtIn = describe();
    const std::string profile = MappingRulesAsProfile(ColMappingRules());
    ResetMappingRules();
    ParseProfile(profile);
    EXPECT_EQ(describe(), builtIn);
    EXPECT_EQ(builtIn.size(), 85u);
    EXPECT_TRUE(box.boxes->texts.empty());
}

TEST_F(MappingProfile, TokensKnowTheirLineForTheErrorPlace) {
    const std::string text = "OBJECT_MAPPING A\r\n\r\n  OBJECT_TYPE =\r\n 22\r\nEND\r\n";
    std::vector<int> lines;
    for (const clsMappingRuleToken& t : io.TokenizeMappingProfile(text)) lines.push_back(t.Line);
    EXPECT_EQ(lines, (std::vector<int>{1, 1, 3, 3, 4, 5}));

    modMappingRule::ResetMappingRules();
    CatchError([&] { ParseProfile("OBJECT_MAPPING A OBJECT_TYPE = 22 END\n\nOBJECT_MAPPING B\nOBJECT_TYPE 7 END\n"); });
    EXPECT_EQ(io.ProfileErrorLine, 4);
}

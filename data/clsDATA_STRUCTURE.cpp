#include "data/clsDATA_STRUCTURE.h"

#include "constructs/ConstructText.h"
#include "data/DataStructureIndex.h"
#include "data/clsDATA_MEMBER.h"
#include "data/modDATA_MEMBER.h"
#include "data/modDATA_STRUCTURE.h"

namespace {

constexpr const char* kGeneratedWithoutMembersName = "Default Data Structure";
// How deeply the member declarations of nested structures may call each other: far beyond any
// real model, far below what the stack of the program holds.
constexpr int kNestingLimit = 1000;
constexpr int kErrOutOfStackSpace = 28;
int memberDeclarationDepth = 0;

// Counts one level of nested member declarations for as long as it lives.
class NestingLevel {
public:
    explicit NestingLevel(const std::string& structureName) {
        if (memberDeclarationDepth >= kNestingLimit)
            throw platform::Error(kErrOutOfStackSpace, "Out of stack space: more than " + std::to_string(kNestingLimit) +
                                                           " structures nested in each other, the innermost " +
                                                           structureName);
        ++memberDeclarationDepth;
    }
    ~NestingLevel() { --memberDeclarationDepth; }
    NestingLevel(const NestingLevel&) = delete;
    NestingLevel& operator=(const NestingLevel&) = delete;
};

}  // namespace

std::uint64_t MemberSignature::KeyHash(const std::string& key) {
    // splitmix64 finaliser over the standard hash, so that sums of few keys spread well.
    std::uint64_t z = static_cast<std::uint64_t>(std::hash<std::string>()(key)) + 0x9e3779b97f4a7c15ULL;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

clsDATA_STRUCTURE::~clsDATA_STRUCTURE() {
    if (indexPosition != 0) DataStructureIndex::Instance().Forget(*this);
}

const clsDATA_STRUCTURE& clsDATA_STRUCTURE::DefaultStructure() {
    static const clsDATA_STRUCTURE defaultStructure;
    return defaultStructure;
}

void clsDATA_STRUCTURE::AddMember(clsDATA_MEMBER& member) {
    std::string key = member.ARISObjectDefinition ? member.ARISObjectDefinition->Guid() : std::string();
    if (key.empty() || members_.Contains(key)) return;
    members_.Add(&member, key);
    std::optional<std::string> matchKey = member.MatchKey();
    ++signature_.count;
    if (matchKey)
        signature_.keyHashSum += MemberSignature::KeyHash(*matchKey);
    else
        signature_.unmatchable = true;
    DataStructureIndex::Instance().MembersChanged(*this);
}

void clsDATA_STRUCTURE::SetupPropertiesInOrder() {
    SetupProperty_ObjectName();
    SetupProperty_StructureSetting();
    SetupProperty_MemberDeclarations();
}

void clsDATA_STRUCTURE::SetupProperty_ObjectName() {
    ProcedureScope scope("clsDATA_STRUCTURE.SetupProperty_ObjectName");
    if (!IsGenerated) {
        SetQuotedConvertedAttribute(ObjectName, ARISObjectDefinition, "DATA_STRUCTURE_ObjectName", "4");
    } else if (!ColARISDataMemberObjectDefinition.Empty()) {
        SetQuotedConvertedProperty(ObjectName, DATA_STRUCTURE_GenerateName(), "6");
    } else {
        SetQuotedConvertedProperty(ObjectName, kGeneratedWithoutMembersName, "6");
    }
}

void clsDATA_STRUCTURE::SetupProperty_StructureSetting() {
    ProcedureScope scope("clsDATA_STRUCTURE.SetupProperty_StructureSetting");
    SetupProperty_DESCRIPTION();
    SetupProperty_DOCUMENTATION();
}

void clsDATA_STRUCTURE::SetupProperty_DESCRIPTION() {
    ProcedureScope scope("clsDATA_STRUCTURE.SetupProperty_DESCRIPTION");
    if (IsGenerated || !modGlobals::Options.UseDescriptionAttr) return;
    SetQuotedConvertedAttribute(DESCRIPTION, ARISObjectDefinition, "DATA_STRUCTURE_DESCRIPTION", "2");
}

void clsDATA_STRUCTURE::SetupProperty_DOCUMENTATION() {
    ProcedureScope scope("clsDATA_STRUCTURE.SetupProperty_DOCUMENTATION");
    if (IsGenerated || !modGlobals::Options.UseDocumentationAttr) return;
    SetQuotedConvertedAttribute(DOCUMENTATION, ARISObjectDefinition, "DATA_STRUCTURE_DOCUMENTATION", "3");
}

void clsDATA_STRUCTURE::SetupProperty_MemberDeclarations() {
    ProcedureScope scope("clsDATA_STRUCTURE.SetupProperty_MemberDeclarations");
    NestingLevel level(ObjectName);
    ARISObjDefCollection related;
    const ARISObjDefCollection* memberObjects = &ColARISDataMemberObjectDefinition;
    if (!IsGenerated) {
        modMappingRule::Find_Related_ARIS_ObjDef_Using_Mapping_Rule(related, ARISObjectDefinition,
                                                                    "DATA_STRUCTURE_MEMBER");
        memberObjects = &related;
    }
    for (const aris::ObjDef* memberObject : *memberObjects) AddMember(DATA_MEMBER_Add_ARIS_Mapping(memberObject));
}

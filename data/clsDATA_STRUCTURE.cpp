#include "data/clsDATA_STRUCTURE.h"

#include "constructs/ConstructText.h"
#include "data/DataStructureIndex.h"
#include "data/clsDATA_MEMBER.h"
#include "data/modDATA_MEMBER.h"
#include "data/modDATA_STRUCTURE.h"

namespace {

constexpr const char* kGeneratedWithoutMembersName = "Default Data Structure";

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
    const std::string key = member.ARISObjectDefinition ? member.ARISObjectDefinition->Guid() : std::string();
    if (key.empty() || members_.Contains(key)) return;
    members_.Add(&member, key);
    std::optional<std::string> matchKey = member.MatchKey();
    ++signature_.count;
    if (matchKey) signature_.keyHashSum += MemberSignature::KeyHash(*matchKey);
    else signature_.unmatchable = true;
    DataStructureIndex::Instance().MembersChanged(*this);
}

// One structure whose member declarations are under way in SetupProperties.
struct clsDATA_STRUCTURE::SetupFrame {
    clsDATA_STRUCTURE* structure = nullptr;
    ARISObjDefCollection related;  // the member objects of a structure that is not generated
    std::size_t next = 1;          // position of the next member object
    PendingDATA_MEMBER waiting;    // a member waiting for the set-up of its new structure

    const ARISObjDefCollection& MemberObjects() const {
        return structure->IsGenerated ? structure->ColARISDataMemberObjectDefinition : related;
    }
};

void clsDATA_STRUCTURE::SetupProperties() {
    const ProcedureScope scope(kSetupProcedure);
    if (SetupFinished) return;
    // Structures may be nested in each other to any depth: a new nested structure is set up
    // before the member that stands for it, by a frame on this stack instead of a nested call.
    // Each frame goes through name, texts, members, message 3090 in turn, as a structure does.
    std::deque<SetupFrame> stack;
    BeginSetup(stack);
    while (!stack.empty()) {
        SetupFrame& top = stack.back();
        if (top.waiting.member) {
            top.structure->AddMember(DATA_MEMBER_Finish_ARIS_Mapping(std::move(top.waiting)));
            top.waiting = PendingDATA_MEMBER();
            continue;
        }
        if (top.next > top.MemberObjects().Count()) {
            clsDATA_STRUCTURE& done = *top.structure;
            stack.pop_back();
            LogSetupComplete(kKindName, done.ObjectName);
            done.SetupFinished = true;
            continue;
        }
        const aris::ObjDef* memberObject = top.MemberObjects().Item(top.next++);
        PendingDATA_MEMBER pending = DATA_MEMBER_Begin_ARIS_Mapping(memberObject);
        if (pending.registered) {
            top.structure->AddMember(*pending.registered);
        } else if (pending.structureToSetUp) {
            clsDATA_STRUCTURE& nested = *pending.structureToSetUp;
            top.waiting = std::move(pending);
            nested.BeginSetup(stack);  // `top` stays valid: a deque keeps its elements in place
        } else {
            top.structure->AddMember(DATA_MEMBER_Finish_ARIS_Mapping(std::move(pending)));
        }
    }
}

void clsDATA_STRUCTURE::BeginSetup(std::deque<SetupFrame>& stack) {
    SetupProperty_ObjectName();
    SetupProperty_StructureSetting();
    const ProcedureScope scope("clsDATA_STRUCTURE.SetupProperty_MemberDeclarations");
    SetupFrame& frame = stack.emplace_back();
    frame.structure = this;
    if (!IsGenerated)
        modMappingRule::Find_Related_ARIS_ObjDef_Using_Mapping_Rule(frame.related, ARISObjectDefinition,
                                                                    "DATA_STRUCTURE_MEMBER");
}

void clsDATA_STRUCTURE::SetupProperty_ObjectName() {
    const ProcedureScope scope("clsDATA_STRUCTURE.SetupProperty_ObjectName");
    if (!IsGenerated) {
        SetQuotedConvertedAttribute(ObjectName, ARISObjectDefinition, "DATA_STRUCTURE_ObjectName", "4");
    } else if (!ColARISDataMemberObjectDefinition.Empty()) {
        SetQuotedConvertedProperty(ObjectName, DATA_STRUCTURE_GenerateName(), "6");
    } else {
        SetQuotedConvertedProperty(ObjectName, kGeneratedWithoutMembersName, "6");
    }
}

void clsDATA_STRUCTURE::SetupProperty_StructureSetting() {
    const ProcedureScope scope("clsDATA_STRUCTURE.SetupProperty_StructureSetting");
    SetupProperty_DESCRIPTION();
    SetupProperty_DOCUMENTATION();
}

void clsDATA_STRUCTURE::SetupProperty_DESCRIPTION() {
    const ProcedureScope scope("clsDATA_STRUCTURE.SetupProperty_DESCRIPTION");
    if (IsGenerated || !CurrentExport().Options.UseDescriptionAttr) return;
    SetQuotedConvertedAttribute(DESCRIPTION, ARISObjectDefinition, "DATA_STRUCTURE_DESCRIPTION", "2");
}

void clsDATA_STRUCTURE::SetupProperty_DOCUMENTATION() {
    const ProcedureScope scope("clsDATA_STRUCTURE.SetupProperty_DOCUMENTATION");
    if (IsGenerated || !CurrentExport().Options.UseDocumentationAttr) return;
    SetQuotedConvertedAttribute(DOCUMENTATION, ARISObjectDefinition, "DATA_STRUCTURE_DOCUMENTATION", "3");
}

#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

#include "constructs/ConstructLifecycle.h"

class clsDATA_MEMBER;

/// What the equivalence search knows of a structure's member list without walking it: the
/// number of members and an order-free sum of the hashes of their match keys (the Item.Guid of
/// the data object a member stands for). A member that can match no data object makes the
/// structure unmatchable.
struct MemberSignature {
    std::size_t count = 0;
    std::uint64_t keyHashSum = 0;
    bool unmatchable = false;

    /// The hash a match key adds to the sum.
    static std::uint64_t KeyHash(const std::string& key);
    bool operator==(const MemberSignature&) const = default;
};

/// A STRUCTURE: the record type of one ARIS data object that has members, or a generated one
/// for loose data objects that a process, an activity or a program exchanges. Processes,
/// activities and programs name one structure as input and one as output container; a member
/// may itself be a structure.
///
/// A structure that is never registered nor set up keeps the name 'Default Data Structure': it
/// is the default container (DefaultStructure).
class clsDATA_STRUCTURE : public GuardedSetup<clsDATA_STRUCTURE> {
public:
    static constexpr const char* kKindName = "DATA_STRUCTURE";
    static constexpr const char* kRuleName = "DATA_OBJECT";
    static constexpr const char* kModuleName = "modDATA_STRUCTURE";
    static constexpr const char* kSetupProcedure = "clsDATA_STRUCTURE.SetupProperties";
    static constexpr const char* kDefaultName = "'Default Data Structure'";
    static ConstructRegistry<clsDATA_STRUCTURE>& Registry() { return RegistryOf(CurrentExport().Col_DATA_STRUCTURE); }

    clsDATA_STRUCTURE() = default;
    ~clsDATA_STRUCTURE();
    clsDATA_STRUCTURE(const clsDATA_STRUCTURE&) = delete;
    clsDATA_STRUCTURE& operator=(const clsDATA_STRUCTURE&) = delete;

    /// The default container: a structure with its construction defaults, never registered nor
    /// set up. One object stands for the default container of every process, activity and
    /// program, although each container has a default of its own: two containers are the same
    /// structure only when they are the same object and that object is not the default.
    static const clsDATA_STRUCTURE& DefaultStructure();

    /// The data object; nullptr for a generated structure.
    const aris::ObjDef* ARISObjectDefinition = nullptr;
    /// The quoted WPX name.
    std::string ObjectName = kDefaultName;
    /// Quoted description and documentation (structures that are not generated).
    std::string DESCRIPTION;
    std::string DOCUMENTATION;
    /// The member objects of a generated structure, in the order given.
    platform::OrderedCollection<const aris::ObjDef*> ColARISDataMemberObjectDefinition;
    /// True for a generated structure.
    bool IsGenerated = false;

    /// The members, keyed by the Item.Guid of their data object (owned by Col_DATA_MEMBER).
    const platform::OrderedCollection<clsDATA_MEMBER*>& ColDATA_MEMBER() const { return members_; }
    /// Add a member under its data object's Item.Guid; a member already present stays once.
    void AddMember(clsDATA_MEMBER& member);
    /// The member list as the equivalence search sees it.
    const MemberSignature& Signature() const { return signature_; }

    /// The name property printed by the writer and named in message 3090.
    const std::string& NameProperty() const { return ObjectName; }
    /// Name, description and documentation, member declarations (one member per member object,
    /// in order; a nested structure met on the way is registered and set up before its member),
    /// then message 3090; once. Nested structures are set up to any depth without nested calls.
    void SetupProperties();

    void SetupProperty_ObjectName();
    /// Description, then documentation.
    void SetupProperty_StructureSetting();
    void SetupProperty_DESCRIPTION();
    void SetupProperty_DOCUMENTATION();

    /// Position of the structure in the equivalence index (0: not indexed), kept by the index.
    std::size_t indexPosition = 0;

private:
    struct SetupFrame;
    /// Name and texts, then a frame on the stack for the member declarations.
    void BeginSetup(std::deque<SetupFrame>& stack);

    platform::OrderedCollection<clsDATA_MEMBER*> members_;
    MemberSignature signature_;
};

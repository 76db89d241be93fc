#pragma once
#include <optional>
#include <string>

#include "constructs/ConstructLifecycle.h"

class clsDATA_STRUCTURE;

/// A member of a STRUCTURE: one ARIS data object related to the structure's data object (or
/// given to a generated structure). One member stands for one data object and is shared by
/// every structure that has that object as member. Its type comes from its type attribute or
/// its domain type, or, when the member is a structure itself, names that structure.
///
/// Set up once, without message 3090.
class clsDATA_MEMBER {
public:
    static constexpr const char* kKindName = "DATA_MEMBER";
    static constexpr const char* kDefaultDataType = "STRING";
    static ConstructRegistry<clsDATA_MEMBER>& Registry() { return RegistryOf(CurrentExport().Col_DATA_MEMBER); }

    /// The member's data object.
    const aris::ObjDef* ARISObjectDefinition = nullptr;
    /// Quoted member name.
    std::string MemberName;
    /// Quoted description and documentation.
    std::string DESCRIPTION;
    std::string DOCUMENTATION;
    /// A type keyword, or the quoted name of the structure the member stands for.
    std::string DataType = kDefaultDataType;
    /// Empty, or "(" + number + ")".
    std::string SizeOfArray;
    /// The structure this member stands for, when it is one (owned by Col_DATA_STRUCTURE).
    clsDATA_STRUCTURE* DATA_STRUCTURE = nullptr;
    /// True when the member is itself a structure.
    bool IsDataStructure = false;
    bool SetupFinished = false;

    /// Name, data type, array size, description and documentation, once.
    void SetupProperties();
    void SetupProperty_MemberName();
    void SetupProperty_DataType();
    void SetupProperty_SizeOfArray();
    /// Description, then documentation.
    void SetupProperty_MemberSetting();
    void SetupProperty_DESCRIPTION();
    void SetupProperty_DOCUMENTATION();

    /// The Item.Guid of the data object this member matches when structures are compared: its
    /// own data object, or, for a member that is a structure, the data object of that (not
    /// generated) structure. Nothing when it can match no data object.
    std::optional<std::string> MatchKey() const;

private:
    /// The type text found by the rule "DATA_MEMBER_TYPE" (the type attribute) or
    /// "DOMAINTYPE_DOM_TYPE" (the first related domain type; warning 3000 and message 3030
    /// for each further one); "" for any other rule name.
    std::string GetProperty_DataType(const std::string& ruleName) const;
};

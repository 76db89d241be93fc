#pragma once
#include <string>

#include "constructs/ConstructLifecycle.h"
#include "mapping/clsPath.h"

class clsPROCESS;

/// A CONTROL connector: one activity of a process may start after another. It stands for every
/// way the rule "FUNCTION_SENDS_CONTROL_TO_FUNCTION" leads from one function of the process
/// model to another, directly or through events and rules. Owned by the process's
/// Col_CONTROL_CONNECTOR, keyed there and in the activities' IN/OUT collections by Key().
class clsCONTROL_CONNECTOR : public GuardedSetup<clsCONTROL_CONNECTOR> {
public:
    static constexpr const char* kKindName = "CONTROL CONNECTOR";
    static constexpr const char* kSetupProcedure = "clsCONTROL_CONNECTOR.SetupProperties";
    static constexpr const char* kPathRule = "FUNCTION_SENDS_CONTROL_TO_FUNCTION";

    /// The source function (the earlier activity) and the target function (the later one).
    const aris::ObjDef* FROM_ARISObjectDefinition = nullptr;
    const aris::ObjDef* TO_ARISObjectDefinition = nullptr;
    /// The process the connector belongs to.
    clsPROCESS* PROCESS = nullptr;
    /// Every way from FROM to TO under the path rule, once found.
    PathCollection ColPath;
    /// The transition condition, without the enclosing quotes.
    std::string Condition;
    /// "FROM 'source' TO 'target'"; empty for a loop connector.
    std::string Linking;
    /// Quoted description.
    std::string DESCRIPTION;
    /// The bend point "XPOS x YPOS y".
    std::string LAYOUT;
    /// True once ColPath has been computed.
    bool ConnectorPathsAvailable = false;

    /// The identity of a connector in every collection that holds it: FROM's Item.Guid, "/",
    /// TO's Item.Guid.
    static std::string ConnectorKey(const aris::ObjDef* from, const aris::ObjDef* to);
    std::string Key() const { return ConnectorKey(FROM_ARISObjectDefinition, TO_ARISObjectDefinition); }

    /// ColPath from FROM to TO under the path rule; sets ConnectorPathsAvailable.
    void FindARISObjectDefinitionsOnConnectorPaths();
    /// Description, linking, condition, bend point, in this order (the set-up guard runs it once
    /// and logs message 3090 with Linking).
    void SetupPropertiesInOrder();
    /// Conditions met along one path joined by " AND ", the paths joined by " OR ".
    void SetupProperty_Condition();
    /// The CONTROL_CONNECTOR_DESCRIPTION attributes of the objects on the paths, quoted; only
    /// with the option UseDescriptionAttr.
    void SetupProperty_DESCRIPTION();
    /// "FROM '...' TO '...'" with the converted function names; nothing for a loop connector.
    void SetupProperty_Linking();
    /// The graphical centre of FROM, the objects of the first path that has any, and TO; only
    /// with the option UseCtrlConBendPoints.
    void SetupProperty_LAYOUT();
    /// True when FROM and TO are the same ARIS item.
    bool IsLoopConnector() const;
    /// True when this connector closes a cycle over the connectors the process already holds:
    /// its FROM is reached from its TO. Always false for a loop connector.
    bool IsMemberOfInvalidControlFlowLoop(clsPROCESS& process) const;

    /// The name for message 3090.
    const std::string& NameProperty() const { return Linking; }

private:
    /// The condition that one ARIS object on a path contributes under a rule:
    /// "CONTROL_CONNECTOR_CONDITION" or "EVENT_IS_COMPARED_WITH_DATA"; "" for any other rule.
    std::string GetProperty_Condition(const std::string& ruleName, const aris::ObjDef* objDef) const;
    /// The condition of one object under the option TransitionConditions.
    std::string ObjectCondition(const aris::ObjDef* objDef) const;
    /// The conditions of the objects of one path joined by " AND " ("" when none).
    std::string PathCondition(const clsPath& path) const;
    /// "name operator value" of an event compared with a data object, "" when incomplete.
    std::string EventComparedWithData(const aris::ObjDef* event) const;
    /// Warning 2080 when the paths have not been found yet.
    bool PathsAvailableOrWarn() const;
};

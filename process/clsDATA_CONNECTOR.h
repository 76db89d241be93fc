#pragma once
#include <cstdint>
#include <string>

#include "constructs/ConstructLifecycle.h"
#include "mapping/clsPath.h"
#include "mapping/modMappingRule.h"

class clsPROCESS;
class clsDATA_STRUCTURE;

/// A DATA connector: which container flows from one activity to another (kind 1), from the
/// process's source to an activity (kind 2) or from an activity to the process's sink (kind 3),
/// and how the fields of the two containers map. Owned by the process's Col_DATA_CONNECTOR,
/// keyed there and in the activities' IN/OUT collections by Key().
///
/// A connector of kind 1 is set up by SetupProperties; one of kind 2 or 3 gets its generated
/// source or sink name and the process's container later, from the process set-up.
class clsDATA_CONNECTOR {
public:
    static constexpr const char* kKindName = "DATA CONNECTOR";
    static constexpr const char* kPathRule = "FUNCTION_SENDS_DATA_TO_FUNCTION";
    /// The three kinds of ConnectorKind.
    static constexpr std::int16_t kActivityToActivity = 1;
    static constexpr std::int16_t kSourceToActivity = 2;
    static constexpr std::int16_t kActivityToSink = 3;

    /// 1 activity to activity, 2 process source to activity, 3 activity to process sink.
    std::int16_t ConnectorKind = kActivityToActivity;
    /// The source function (kinds 1 and 3) and the target function (kinds 1 and 2).
    const aris::ObjDef* FROM_ARISObjectDefinition = nullptr;
    const aris::ObjDef* TO_ARISObjectDefinition = nullptr;
    /// The process the connector belongs to.
    clsPROCESS* PROCESS = nullptr;
    /// Every way from FROM to TO under the path rule (kind 1), once found.
    PathCollection ColPath;
    /// The process inputs a kind 2 connector carries, the outputs a kind 3 connector carries.
    ARISObjDefCollection ColInputDataObjects;
    ARISObjDefCollection ColOutputDataObjects;
    /// "FROM 'a' TO 'b'", "LOOP 'a'", "FROM SOURCE n TO 'a'" or "FROM 'a' TO SINK n".
    std::string Linking;
    /// One "MAP ... TO ..." line per mapped field.
    platform::OrderedCollection<std::string> ColMapping;
    /// Quoted description (kind 1).
    std::string DESCRIPTION;
    /// The bend point "XPOS x YPOS y" (kind 1).
    std::string LAYOUT;
    /// "SOURCE n XPOS x YPOS y" (kind 2) and "SINK n XPOS x YPOS y" (kind 3).
    std::string SOURCE_LAYOUT;
    std::string SINK_LAYOUT;
    /// True once ColPath has been computed.
    bool ConnectorPathsAvailable = false;
    bool SetupFinished = false;

    /// The identity of a connector: FROM's Item.Guid + "/" + TO's (kind 1), "SOURCE/" + TO's
    /// (kind 2), FROM's + "/SINK" (kind 3).
    static std::string ConnectorKey(std::int16_t kind, const aris::ObjDef* from, const aris::ObjDef* to);
    std::string Key() const { return ConnectorKey(ConnectorKind, FROM_ARISObjectDefinition, TO_ARISObjectDefinition); }

    /// ColPath from FROM to TO under the path rule (kind 1 only); sets ConnectorPathsAvailable.
    void FindARISObjectDefinitionsOnConnectorPaths();
    /// Description, linking, mapping and layout without a name or a container, once; message
    /// 3090 with Linking for kind 1.
    void SetupProperties();
    /// The linking of the kind; `name` is the generated source or sink name (kinds 2 and 3).
    void SetupProperty_Linking(const std::string& name = "");
    /// The MAP lines between the source and target containers; `container` is the process's
    /// input (kind 2) or output (kind 3) container.
    void SetupProperty_Mapping(const clsDATA_STRUCTURE* container = nullptr);
    /// LAYOUT (kind 1), SOURCE_LAYOUT (kind 2) or SINK_LAYOUT (kind 3) with the name; only with
    /// the option UseDataConBendPoints.
    void SetupProperty_LAYOUT(const std::string& name = "");
    /// The DATA_CONNECTOR_DESCRIPTION attributes of the objects on the paths, quoted (kind 1,
    /// option UseDescriptionAttr).
    void SetupProperty_DESCRIPTION();
    /// True when FROM and TO are the same ARIS item.
    bool IsLoopConnector() const;
    /// True when this connector of kind 1 closes a cycle over the kind 1 connectors the process
    /// already holds. Always false for a loop connector and for kinds 2 and 3.
    bool IsMemberOfInvalidDataFlowLoop(clsPROCESS& process) const;

private:
    /// Warning 2090 when the paths have not been found yet.
    bool PathsAvailableOrWarn() const;
    /// Warning 2060 with the model's name when the process's layout is not converted yet.
    bool LayoutConvertedOrWarn() const;
    /// The MAP lines from container S to container T by the four mapping rules.
    void AddMappings(const clsDATA_STRUCTURE& source, const clsDATA_STRUCTURE& target);
};

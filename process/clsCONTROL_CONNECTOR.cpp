#include "process/clsCONTROL_CONNECTOR.h"

#include "constructs/ConstructText.h"
#include "constructs/modWPXWriter.h"
#include "platform/Text.h"
#include "process/clsPROCESS.h"
#include "process/modConnector.h"
#include "process/modFlowLoops.h"

namespace {

constexpr const char* kConditionRule = "CONTROL_CONNECTOR_CONDITION";
constexpr const char* kComparedWithDataRule = "EVENT_IS_COMPARED_WITH_DATA";

std::string NameOf(const aris::ObjDef* objDef) { return objDef ? objDef->Name(CurrentExport().LocaleId) : ""; }

}  // namespace

std::string clsCONTROL_CONNECTOR::ConnectorKey(const aris::ObjDef* from, const aris::ObjDef* to) {
    return (from ? from->Guid() : "") + "/" + (to ? to->Guid() : "");
}

void clsCONTROL_CONNECTOR::FindARISObjectDefinitionsOnConnectorPaths() {
    const ProcedureScope scope("clsCONTROL_CONNECTOR.FindARISObjectDefinitionsOnConnectorPaths");
    ColPath = modConnector::PathsBetween(FROM_ARISObjectDefinition, TO_ARISObjectDefinition, kPathRule);
    ConnectorPathsAvailable = true;
}

void clsCONTROL_CONNECTOR::SetupPropertiesInOrder() {
    SetupProperty_DESCRIPTION();
    SetupProperty_Linking();
    SetupProperty_Condition();
    SetupProperty_LAYOUT();
}

bool clsCONTROL_CONNECTOR::PathsAvailableOrWarn() const {
    if (ConnectorPathsAvailable) return true;
    RaiseWarning(2080);
    return false;
}

void clsCONTROL_CONNECTOR::SetupProperty_Condition() {
    const ProcedureScope scope("clsCONTROL_CONNECTOR.SetupProperty_Condition");
    if (!PathsAvailableOrWarn()) return;
    std::string overall;
    for (const std::shared_ptr<clsPath>& path : ColPath) {
        if (!path) continue;
        const std::string pathCondition = PathCondition(*path);
        if (pathCondition.empty()) continue;
        overall = overall.empty() ? pathCondition : overall + " OR " + pathCondition;
    }
    if (!overall.empty()) Condition = overall;
}

std::string clsCONTROL_CONNECTOR::PathCondition(const clsPath& path) const {
    std::string condition;
    for (const aris::ObjDef* objDef : path.ColARISObjectDefinitionsOnPath) {
        const std::string objectCondition = ObjectCondition(objDef);
        if (objectCondition.empty()) continue;
        condition = condition.empty() ? objectCondition : condition + " AND " + objectCondition;
    }
    return condition;
}

std::string clsCONTROL_CONNECTOR::ObjectCondition(const aris::ObjDef* objDef) const {
    if (!CurrentExport().Options.TransitionConditions) return GetProperty_Condition(kComparedWithDataRule, objDef);
    const std::string condition = GetProperty_Condition(kConditionRule, objDef);
    return condition.empty() ? GetProperty_Condition(kComparedWithDataRule, objDef) : condition;
}

std::string clsCONTROL_CONNECTOR::GetProperty_Condition(const std::string& ruleName, const aris::ObjDef* objDef) const {
    const ProcedureScope scope("clsCONTROL_CONNECTOR.GetProperty_Condition");
    if (!objDef) return "";
    if (ruleName == kConditionRule) {
        if (!modMappingRule::ARIS_ObjDef_Conforms_To_Mapping_Rule(objDef, "CONTROL_OBJECT")) return "";
        return modMappingRule::Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(objDef, kConditionRule);
    }
    if (ruleName == kComparedWithDataRule) return EventComparedWithData(objDef);
    return "";
}

std::string clsCONTROL_CONNECTOR::EventComparedWithData(const aris::ObjDef* event) const {
    ARISObjDefCollection dataObjects;
    modMappingRule::Find_Related_ARIS_ObjDef_Using_Mapping_Rule(dataObjects, event, kComparedWithDataRule);
    if (dataObjects.Empty()) return "";
    const std::string comparison = modConnector::Converted(
        modMappingRule::Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(event, "EVENT_COMPARE_OPERATOR"), "10");
    if (comparison.empty()) return "";
    std::string value = modMappingRule::Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(event, "EVENT_COMPARE_VALUE");
    if (value.empty()) return "";
    if (!platform::IsNumeric(value)) value = "\"" + value + "\"";
    std::string variable = modConnector::Converted(NameOf(dataObjects.Item(1)), "4");
    if (variable.find(' ') != std::string::npos) variable = "''" + variable + "''";
    // An event is derived from one data object; the first one related is used.
    if (dataObjects.Count() > 1) LogMessage(kSeverityWarning, 3120, NameOf(event));
    return variable + " " + comparison + " " + value;
}

void clsCONTROL_CONNECTOR::SetupProperty_DESCRIPTION() {
    const ProcedureScope scope("clsCONTROL_CONNECTOR.SetupProperty_DESCRIPTION");
    if (!CurrentExport().Options.UseDescriptionAttr) return;
    if (!PathsAvailableOrWarn()) return;
    SetQuotedProperty(DESCRIPTION,
                      modWPXWriter::SetupPrintingOfConnectorAttribute(ColPath, "CONTROL_CONNECTOR_DESCRIPTION"), "2");
}

void clsCONTROL_CONNECTOR::SetupProperty_Linking() {
    const ProcedureScope scope("clsCONTROL_CONNECTOR.SetupProperty_Linking");
    if (IsLoopConnector()) return;
    // FROM is converted before TO: each conversion may log, and the log keeps that order.
    const std::string from = modConnector::ConvertedFunctionName(FROM_ARISObjectDefinition, "1");
    const std::string to = modConnector::ConvertedFunctionName(TO_ARISObjectDefinition, "1");
    Linking = "FROM '" + from + "' TO '" + to + "'";
}

void clsCONTROL_CONNECTOR::SetupProperty_LAYOUT() {
    const ProcedureScope scope("clsCONTROL_CONNECTOR.SetupProperty_LAYOUT");
    if (!CurrentExport().Options.UseCtrlConBendPoints) return;
    if (!PathsAvailableOrWarn()) return;
    if (!PROCESS) throw platform::Error(91, "Object variable not set: the control connector has no process");
    if (!modConnector::LayoutConvertedOrWarn(*PROCESS)) return;
    std::optional<clsPoint> bend =
        modConnector::BendPointOfPaths(FROM_ARISObjectDefinition, ColPath, TO_ARISObjectDefinition, *PROCESS);
    if (bend) LAYOUT = modConnector::PositionText(*bend);
}

bool clsCONTROL_CONNECTOR::IsLoopConnector() const {
    return modMappingRule::SameARISItem(FROM_ARISObjectDefinition, TO_ARISObjectDefinition);
}

bool clsCONTROL_CONNECTOR::IsMemberOfInvalidControlFlowLoop(clsPROCESS& process) const {
    const ProcedureScope scope("clsCONTROL_CONNECTOR.IsMemberOfInvalidControlFlowLoop");
    if (IsLoopConnector()) return false;
    return modFlowLoops::IsMemberOfInvalidFlowLoop(
        process.ControlFlowLoopIndex, process.Col_CONTROL_CONNECTOR, FROM_ARISObjectDefinition, TO_ARISObjectDefinition,
        [](const Owned<clsCONTROL_CONNECTOR>& connector) {
            return modFlowLoops::ConnectorEnds{connector->FROM_ARISObjectDefinition,
                                               connector->TO_ARISObjectDefinition};
        });
}

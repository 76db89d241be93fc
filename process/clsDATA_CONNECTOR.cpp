#include "process/clsDATA_CONNECTOR.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "constructs/ConstructText.h"
#include "constructs/modWPXWriter.h"
#include "data/clsDATA_MEMBER.h"
#include "data/clsDATA_STRUCTURE.h"
#include "process/clsACTIVITY.h"
#include "process/clsPROCESS.h"
#include "process/modConnector.h"
#include "process/modFlowLoops.h"
#include "process/modPoint.h"

namespace {

constexpr const char* kWholeContainer = "'_STRUCT'";

// The function's name as the linking writes it.
std::string LinkName(const aris::ObjDef* function) { return modConnector::ConvertedFunctionName(function, "1"); }

// The member of a structure that stands for the data object; nullptr when there is none (the
// lookup is tolerant: a missing key is no error).
const clsDATA_MEMBER* MemberFor(const clsDATA_STRUCTURE& structure, const aris::ObjDef* dataObject) {
    if (!dataObject) return nullptr;
    clsDATA_MEMBER* const* member = structure.ColDATA_MEMBER().Find(dataObject->Guid());
    return member ? *member : nullptr;
}

using MemberPair = std::pair<const clsDATA_MEMBER*, const clsDATA_MEMBER*>;

// The members of the source whose data object the target has a member for, each paired with
// that member, in the source's order. Keys are unique on both sides, so walking the smaller side
// finds the same pairs: a process container of many sources maps to each reader in time
// proportional to the reader's container.
std::vector<MemberPair> CommonMembersInSourceOrder(const clsDATA_STRUCTURE& source, const clsDATA_STRUCTURE& target) {
    const platform::OrderedCollection<clsDATA_MEMBER*>& sourceMembers = source.ColDATA_MEMBER();
    std::vector<MemberPair> common;
    if (sourceMembers.Count() <= target.ColDATA_MEMBER().Count()) {
        for (const clsDATA_MEMBER* member : sourceMembers) {
            if (const clsDATA_MEMBER* counterpart = MemberFor(target, member->ARISObjectDefinition))
                common.emplace_back(member, counterpart);
        }
        return common;
    }
    std::vector<std::pair<std::ptrdiff_t, MemberPair>> found;  // source position, pair
    for (const clsDATA_MEMBER* counterpart : target.ColDATA_MEMBER()) {
        if (!counterpart->ARISObjectDefinition) continue;
        clsDATA_MEMBER* const* member = sourceMembers.Find(counterpart->ARISObjectDefinition->Guid());
        if (member) found.emplace_back(member - &*sourceMembers.begin(), MemberPair{*member, counterpart});
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& entry : found) common.push_back(entry.second);
    return common;
}

}  // namespace

std::string clsDATA_CONNECTOR::ConnectorKey(std::int16_t kind, const aris::ObjDef* from, const aris::ObjDef* to) {
    const std::string fromGuid = from ? from->Guid() : "";
    const std::string toGuid = to ? to->Guid() : "";
    if (kind == kSourceToActivity) return "SOURCE/" + toGuid;
    if (kind == kActivityToSink) return fromGuid + "/SINK";
    return fromGuid + "/" + toGuid;
}

void clsDATA_CONNECTOR::FindARISObjectDefinitionsOnConnectorPaths() {
    const ProcedureScope scope("clsDATA_CONNECTOR.FindARISObjectDefinitionsOnConnectorPaths");
    if (ConnectorKind != kActivityToActivity) return;
    ColPath = modConnector::PathsBetween(FROM_ARISObjectDefinition, TO_ARISObjectDefinition, kPathRule);
    ConnectorPathsAvailable = true;
}

void clsDATA_CONNECTOR::SetupProperties() {
    const ProcedureScope scope("clsDATA_CONNECTOR.SetupProperties");
    if (SetupFinished) return;
    SetupProperty_DESCRIPTION();
    SetupProperty_Linking();
    SetupProperty_Mapping();
    SetupProperty_LAYOUT();
    // Sources and sinks are complete only once the process has named them.
    if (ConnectorKind == kActivityToActivity) LogSetupComplete(kKindName, Linking);
    SetupFinished = true;
}

void clsDATA_CONNECTOR::SetupProperty_Linking(const std::string& name) {
    const ProcedureScope scope("clsDATA_CONNECTOR.SetupProperty_Linking");
    std::string linking;
    switch (ConnectorKind) {
        case kActivityToActivity:
            if (IsLoopConnector()) {
                linking = "LOOP '" + LinkName(TO_ARISObjectDefinition) + "'";
            } else {
                // FROM is converted before TO: each conversion may log, and the log keeps that order.
                const std::string from = LinkName(FROM_ARISObjectDefinition);
                const std::string to = LinkName(TO_ARISObjectDefinition);
                linking = "FROM '" + from + "' TO '" + to + "'";
            }
            break;
        case kSourceToActivity:
            if (!name.empty()) linking = "FROM " + name + " TO '" + LinkName(TO_ARISObjectDefinition) + "'";
            break;
        case kActivityToSink:
            if (!name.empty()) linking = "FROM '" + LinkName(FROM_ARISObjectDefinition) + "' TO " + name;
            break;
        default: break;
    }
    if (!linking.empty()) Linking = linking;
}

void clsDATA_CONNECTOR::SetupProperty_Mapping(const clsDATA_STRUCTURE* container) {
    const ProcedureScope scope("clsDATA_CONNECTOR.SetupProperty_Mapping");
    if (!PROCESS) throw platform::Error(91, "Object variable not set: the data connector has no process");
    const clsDATA_STRUCTURE* source = nullptr;
    const clsDATA_STRUCTURE* target = nullptr;
    // Activities are looked up tolerantly: a function without an activity maps nothing.
    const clsACTIVITY* fromActivity = modConnector::ActivityOfFunction(*PROCESS, FROM_ARISObjectDefinition);
    const clsACTIVITY* toActivity = modConnector::ActivityOfFunction(*PROCESS, TO_ARISObjectDefinition);
    switch (ConnectorKind) {
        case kActivityToActivity:
            if (fromActivity) source = &fromActivity->Containers.OutputContainer();
            if (toActivity) target = &toActivity->Containers.InputContainer();
            break;
        case kSourceToActivity:
            if (!container) return;
            source = container;
            if (toActivity) target = &toActivity->Containers.InputContainer();
            break;
        case kActivityToSink:
            if (!container) return;
            if (fromActivity) source = &fromActivity->Containers.OutputContainer();
            target = container;
            break;
        default: break;
    }
    if (!source || !target) return;
    AddMappings(*source, *target);
}

void clsDATA_CONNECTOR::AddMappings(const clsDATA_STRUCTURE& source, const clsDATA_STRUCTURE& target) {
    // The default structure stands for a separate empty container of each owner: two owners
    // keeping their defaults share nothing.
    if (&source == &target && &source != &clsDATA_STRUCTURE::DefaultStructure()) {
        ColMapping.Add(std::string("MAP ") + kWholeContainer + " TO " + kWholeContainer);
        return;
    }
    if (source.ARISObjectDefinition) {
        if (const clsDATA_MEMBER* member = MemberFor(target, source.ARISObjectDefinition))
            ColMapping.Add(std::string("MAP ") + kWholeContainer + " TO " + member->MemberName);
        return;
    }
    if (target.ARISObjectDefinition) {
        if (const clsDATA_MEMBER* member = MemberFor(source, target.ARISObjectDefinition))
            ColMapping.Add("MAP " + member->MemberName + " TO " + kWholeContainer);
        return;
    }
    for (const auto& [member, counterpart] : CommonMembersInSourceOrder(source, target))
        ColMapping.Add("MAP " + member->MemberName + " TO " + counterpart->MemberName);
}

bool clsDATA_CONNECTOR::PathsAvailableOrWarn() const {
    if (ConnectorPathsAvailable) return true;
    RaiseWarning(2090);
    return false;
}

bool clsDATA_CONNECTOR::LayoutConvertedOrWarn() const {
    if (!PROCESS) throw platform::Error(91, "Object variable not set: the data connector has no process");
    return modConnector::LayoutConvertedOrWarn(*PROCESS);
}

void clsDATA_CONNECTOR::SetupProperty_LAYOUT(const std::string& name) {
    const ProcedureScope scope("clsDATA_CONNECTOR.SetupProperty_LAYOUT");
    if (!CurrentExport().Options.UseDataConBendPoints) return;
    if (ConnectorKind == kActivityToActivity) {
        if (!PathsAvailableOrWarn() || !LayoutConvertedOrWarn()) return;
        std::optional<clsPoint> bend =
            modConnector::BendPointOfPaths(FROM_ARISObjectDefinition, ColPath, TO_ARISObjectDefinition, *PROCESS);
        if (bend) LAYOUT = modConnector::PositionText(*bend);
        return;
    }
    if (name.empty() || !LayoutConvertedOrWarn()) return;
    const bool source = ConnectorKind == kSourceToActivity;
    const clsPoint centre =
        modPoint::CalculateGraphicalCenterOfARISObjects(source ? ColInputDataObjects : ColOutputDataObjects, *PROCESS);
    (source ? SOURCE_LAYOUT : SINK_LAYOUT) = name + " " + modConnector::PositionText(centre);
}

void clsDATA_CONNECTOR::SetupProperty_DESCRIPTION() {
    const ProcedureScope scope("clsDATA_CONNECTOR.SetupProperty_DESCRIPTION");
    if (ConnectorKind != kActivityToActivity || !CurrentExport().Options.UseDescriptionAttr) return;
    if (!PathsAvailableOrWarn()) return;
    SetQuotedProperty(DESCRIPTION,
                      modWPXWriter::SetupPrintingOfConnectorAttribute(ColPath, "DATA_CONNECTOR_DESCRIPTION"), "2");
}

bool clsDATA_CONNECTOR::IsLoopConnector() const {
    return modMappingRule::SameARISItem(FROM_ARISObjectDefinition, TO_ARISObjectDefinition);
}

bool clsDATA_CONNECTOR::IsMemberOfInvalidDataFlowLoop(clsPROCESS& process) const {
    const ProcedureScope scope("clsDATA_CONNECTOR.IsMemberOfInvalidDataFlowLoop");
    if (ConnectorKind != kActivityToActivity || IsLoopConnector()) return false;
    // Sources and sinks have one end only: they take no part in the walk.
    return modFlowLoops::IsMemberOfInvalidFlowLoop(
        process.DataFlowLoopIndex, process.Col_DATA_CONNECTOR, FROM_ARISObjectDefinition, TO_ARISObjectDefinition,
        [](const Owned<clsDATA_CONNECTOR>& connector) {
            if (connector->ConnectorKind != kActivityToActivity) return modFlowLoops::ConnectorEnds{};
            return modFlowLoops::ConnectorEnds{connector->FROM_ARISObjectDefinition,
                                               connector->TO_ARISObjectDefinition};
        });
}

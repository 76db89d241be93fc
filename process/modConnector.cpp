#include "process/modConnector.h"

#include "mapping/modMappingRule.h"
#include "mapping/modPath.h"
#include "process/clsPROCESS.h"
#include "process/modPoint.h"
#include "runtime/clsExceptionHandler.h"
#include "runtime/modGlobals.h"

namespace modConnector {

std::string Converted(const std::string& text, const char* convention) {
    // No scope of its own: a refused conversion is reported for the connector's procedure.
    return modMappingRule::ConvertARISNameOrWarn(text, convention).value_or("");
}

std::string ConvertedFunctionName(const aris::ObjDef* function, const char* convention) {
    return Converted(function ? function->Name(CurrentExport().LocaleId) : "", convention);
}

ARISObjDefCollection FunctionsOfProcessModel(const clsPROCESS& process) {
    if (!process.ARIS_Model) throw platform::Error(91, "Object variable not set: the process has no ARIS model");
    ARISModelCollection models;
    models.Add(process.ARIS_Model, process.ARIS_Model->Guid());
    ARISObjDefCollection functions;
    modMappingRule::Find_ARIS_ObjDef_Using_Mapping_Rule(models, functions, "ACTIVITY");
    return functions;
}

clsACTIVITY* ActivityOfFunction(const clsPROCESS& process, const aris::ObjDef* function) {
    if (!function) return nullptr;
    const Owned<clsACTIVITY>* activity = process.Col_ACTIVITY.Find(function->Guid());
    if (!activity || !modMappingRule::SameARISItem((*activity)->ARISObjectDefinition, function)) return nullptr;
    return activity->get();
}

namespace {

// An object as the message about too many paths names it: its name, or its identity when it
// has no name.
std::string NamedInMessage(const aris::ObjDef* objDef) {
    if (!objDef) return "?";
    const std::string name = objDef->Name(CurrentExport().LocaleId);
    return name.empty() ? objDef->Guid() : name;
}

}  // namespace

PathCollection PathsBetween(const aris::ObjDef* from, const aris::ObjDef* to, const char* pathRule) {
    // The paths are counted first: their number can grow exponentially with the branches
    // between the two objects, and building them would exhaust time and memory long before.
    std::optional<std::uint64_t> count = modPath::CountRelatingPaths(from, to, pathRule, kPathLimit + 1);
    if (count && *count > kPathLimit)
        RaiseError(kErrTooManyPaths, NamedInMessage(from), NamedInMessage(to), std::to_string(kPathLimit), pathRule);
    auto paths = modPath::Find_Relating_Paths_Using_Mapping_Rule(PathCollection(), from, to, pathRule);
    return paths ? std::move(*paths) : PathCollection();
}

bool LayoutConvertedOrWarn(const clsPROCESS& process) {
    if (process.LayoutConversionFinished) return true;
    RaiseWarning(2060, process.ARIS_Model ? process.ARIS_Model->Name(CurrentExport().LocaleId) : "");
    return false;
}

std::optional<clsPoint> BendPointOfPaths(const aris::ObjDef* from, const PathCollection& paths, const aris::ObjDef* to,
                                         const clsPROCESS& process) {
    const ProcedureScope scope("modConnector.BendPointOfPaths");
    const clsPath* bendPath = nullptr;
    for (const std::shared_ptr<clsPath>& path : paths) {
        if (path && !path->ColARISObjectDefinitionsOnPath.Empty()) {
            bendPath = path.get();
            break;
        }
    }
    if (!bendPath) return std::nullopt;
    ARISObjDefCollection objects;
    objects.Add(from);
    for (const aris::ObjDef* objDef : bendPath->ColARISObjectDefinitionsOnPath) objects.Add(objDef);
    objects.Add(to);
    return modPoint::CalculateGraphicalCenterOfARISObjects(objects, process);
}

std::string PositionText(const clsPoint& point) {
    return "XPOS " + std::to_string(modPoint::CheckedInt16(point.XPos)) + " YPOS " +
           std::to_string(modPoint::CheckedInt16(point.YPos));
}

}  // namespace modConnector

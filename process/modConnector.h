#pragma once
// What control and data connectors compute alike: the functions of the process model, the
// activities the connectors are attached to, the messages naming the flow, the converted names
// of the functions they join, and the bend point at the graphical centre of a way between two
// functions.
#include <cstdint>
#include <optional>
#include <string>

#include "mapping/clsPath.h"
#include "process/clsACTIVITY.h"
#include "process/clsPoint.h"

class clsPROCESS;

namespace modConnector {

/// The text converted under the convention; "" when the conversion was refused with warning
/// 2040 or 2050 (reported for the caller).
std::string Converted(const std::string& text, const char* convention);

/// The function's Item.Name in the ARIS language converted under the convention; "" when the
/// conversion was refused with warning 2040 or 2050.
std::string ConvertedFunctionName(const aris::ObjDef* function, const char* convention);

/// The functions of the process model that the rule "ACTIVITY" selects, in model order; error 91
/// when the process has no model.
ARISObjDefCollection FunctionsOfProcessModel(const clsPROCESS& process);

/// The activity of the process that stands for the function; nullptr when there is none.
clsACTIVITY* ActivityOfFunction(const clsPROCESS& process, const aris::ObjDef* function);

/// Add the connector under its key unless the collection holds that key already.
template <class Connector>
void AddOnce(platform::OrderedCollection<Connector*>& connectors, Connector& connector) {
    const std::string key = connector.Key();
    if (!connectors.Contains(key)) connectors.Add(&connector, key);
}

/// The connector joins the `out` collection of FROM's activity and the `in` collection of TO's,
/// once each; a function without an activity adds nothing.
template <class Connector>
void AttachToActivities(const clsPROCESS& process, Connector& connector,
                        platform::OrderedCollection<Connector*> clsACTIVITY::*in,
                        platform::OrderedCollection<Connector*> clsACTIVITY::*out) {
    if (clsACTIVITY* target = ActivityOfFunction(process, connector.TO_ARISObjectDefinition))
        AddOnce(target->*in, connector);
    if (clsACTIVITY* source = ActivityOfFunction(process, connector.FROM_ARISObjectDefinition))
        AddOnce(source->*out, connector);
}

/// A message about the flow a connector stands for (3070, 3080, 3130, 3140): both functions
/// named with their type names.
template <class Connector>
void LogFlow(int severity, int id, const Connector& connector) {
    const aris::ObjDef& from = *connector.FROM_ARISObjectDefinition;
    const aris::ObjDef& to = *connector.TO_ARISObjectDefinition;
    const aris::LocaleId locale = CurrentExport().LocaleId;
    LogMessage(severity, id, from.TypeName(locale), from.Name(locale), to.TypeName(locale), to.Name(locale));
}

/// The most ways between two functions that a connector follows.
inline constexpr std::uint64_t kPathLimit = 10000;

/// Every way from FROM to TO under the path rule; none when either end does not occur. More
/// than kPathLimit ways end the export with fatal error 60100 naming both functions, found
/// before any way is built.
PathCollection PathsBetween(const aris::ObjDef* from, const aris::ObjDef* to, const char* pathRule);

/// True when the process's layout is converted; otherwise warning 2060 with the model's name
/// (reported for the caller).
bool LayoutConvertedOrWarn(const clsPROCESS& process);

/// The graphical centre in the process of FROM, the objects of the first path that has any,
/// and TO (without keys: the function of a loop connector counts twice); nothing when no path
/// has an object.
std::optional<clsPoint> BendPointOfPaths(const aris::ObjDef* from, const PathCollection& paths, const aris::ObjDef* to,
                                         const clsPROCESS& process);

/// "XPOS x YPOS y" with the point's coordinates as 16-bit integers (error 6 outside).
std::string PositionText(const clsPoint& point);

}  // namespace modConnector

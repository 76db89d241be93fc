#pragma once
// What control and data connectors compute alike: the converted names of the functions they
// join, and the bend point at the graphical centre of a way between two functions.
#include <optional>
#include <string>

#include "constructs/clsPoint.h"
#include "mapping/clsPath.h"

class clsACTIVITY;
class clsPROCESS;

namespace modConnector {

/// The function's Item.Name in the ARIS language converted under the convention; "" when the
/// conversion was refused with warning 2040 or 2050.
std::string ConvertedFunctionName(const aris::ObjDef* function, const char* convention);

/// The activity of the process that stands for the function; nullptr when there is none.
clsACTIVITY* ActivityOfFunction(const clsPROCESS& process, const aris::ObjDef* function);

/// The graphical centre in the process of FROM, the objects of the first path that has any,
/// and TO (without keys: the function of a loop connector counts twice); nothing when no path
/// has an object.
std::optional<clsPoint> BendPointOfPaths(const aris::ObjDef* from, const PathCollection& paths,
                                         const aris::ObjDef* to, const clsPROCESS& process);

/// "XPOS x YPOS y" with the point's coordinates as 16-bit integers (error 6 outside).
std::string PositionText(const clsPoint& point);

}  // namespace modConnector

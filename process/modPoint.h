#pragma once
#include <cstdint>

#include "mapping/modMappingRule.h"
#include "process/clsPoint.h"

class clsPROCESS;

/// Positions in the WPX drawing area of a process whose layout is converted.
namespace modPoint {

/// Largest distance of a centre point from the middle of the drawing area: 21000 / 2 - 50.
inline constexpr std::int32_t kCenterClamp = 10450;

/// The WPX x of an ARIS x: floor((x - (MaxXPos + MinXPos) / 2) * ShrinkFactor). The bound sum
/// is a 32-bit sum (error 6 on overflow); the halving is exact.
double WPX_XCoordinate(const clsPROCESS& process, std::int32_t arisX);
/// The WPX y of an ARIS y, with the y axis turned upwards:
/// floor(((MaxYPos + MinYPos) / 2 - y) * ShrinkFactor).
double WPX_YCoordinate(const clsPROCESS& process, std::int32_t arisY);

/// A whole value as a 32-bit integer; outside the range: error 6 (overflow).
std::int32_t CheckedInt32(double value);
/// A whole value as a 16-bit integer; outside the range: error 6 (overflow).
std::int16_t CheckedInt16(double value);

/// The graphical centre of the objects that occur in the process's model (first occurrence
/// each), every coordinate clamped to +-10450 (however far it lies) and averaged with whole
/// numbers at every step; (0, 0) when none occurs.
clsPoint CalculateGraphicalCenterOfARISObjects(const ARISObjDefCollection& objects, const clsPROCESS& process);

}  // namespace modPoint

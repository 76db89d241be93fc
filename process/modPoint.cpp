#include "process/modPoint.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/Error.h"
#include "process/clsPROCESS.h"
#include "runtime/modGlobals.h"

namespace modPoint {

namespace {

template <class Int>
Int CheckedWhole(double value) {
    if (!(value >= std::numeric_limits<Int>::min() && value <= std::numeric_limits<Int>::max()))
        platform::RaiseStandardError(platform::kErrOverflow);
    return static_cast<Int>(value);
}

// The middle of two bounds: their 32-bit sum halved exactly.
double Middle(std::int32_t low, std::int32_t high) {
    return static_cast<double>(CheckedInt32(static_cast<double>(low) + static_cast<double>(high))) / 2.0;
}

// A centre coordinate clamped to the drawing area. The clamp comes first: an object far from
// the activities, however far, lands on the edge instead of ending the export.
std::int16_t Clamped(double value) {
    if (std::abs(value) <= kCenterClamp) return static_cast<std::int16_t>(value);
    return static_cast<std::int16_t>(value >= 0 ? kCenterClamp : -kCenterClamp);
}

// One step of the running average over n values: floor(v / n) + floor(((n - 1) / n) * average).
std::int16_t RunningAverage(std::int16_t average, std::int16_t value, int n) {
    const double next = std::floor(static_cast<double>(value) / n) +
                        std::floor((static_cast<double>(n - 1) / n) * static_cast<double>(average));
    return CheckedInt16(next);
}

}  // namespace

std::int32_t CheckedInt32(double value) { return CheckedWhole<std::int32_t>(value); }
std::int16_t CheckedInt16(double value) { return CheckedWhole<std::int16_t>(value); }

double WPX_XCoordinate(const clsPROCESS& process, std::int32_t arisX) {
    return std::floor((arisX - Middle(process.MinXPos, process.MaxXPos)) * process.ShrinkFactor);
}

double WPX_YCoordinate(const clsPROCESS& process, std::int32_t arisY) {
    return std::floor((Middle(process.MinYPos, process.MaxYPos) - arisY) * process.ShrinkFactor);
}

clsPoint CalculateGraphicalCenterOfARISObjects(const ARISObjDefCollection& objects, const clsPROCESS& process) {
    const ProcedureScope scope("modPoint.CalculateGraphicalCenterOfARISObjects");
    int n = 1;
    std::int16_t ax = 0;
    std::int16_t ay = 0;
    for (const aris::ObjDef* objDef : objects) {
        if (!objDef) continue;
        auto occurrences = objDef->OccListInModel(process.ARIS_Model);
        if (occurrences.empty()) continue;
        const aris::Occurrence* first = occurrences.front();
        const std::int16_t x = Clamped(WPX_XCoordinate(process, first->X()));
        const std::int16_t y = Clamped(WPX_YCoordinate(process, first->Y()));
        ax = RunningAverage(ax, x, n);
        ay = RunningAverage(ay, y, n);
        ++n;
    }
    return clsPoint{ax, ay};
}

}  // namespace modPoint

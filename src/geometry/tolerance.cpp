// Tolerant comparisons in the project unit.
#include "geometry/tolerance.h"

#include "base/units.h"

namespace korvel {

int intol(double a, double b, double tol_mm) {
    double tol = UserUnit() == kUnitInch ? tol_mm / kMMPerInch : tol_mm;
    double d = a - b;
    return d * d <= tol * tol ? 1 : 0; // false for NaN
}

int equal(double a, double b) { return intol(a, b, kEqualTol); }
int approx_equal(double a, double b) { return intol(a, b, kApproxEqualTol); }
int r_equal(double a, double b) { return intol(a, b, kRadiusEqualTol); }

} // namespace korvel

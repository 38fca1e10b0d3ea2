// Tolerant comparisons. Tolerances are given in millimetres and divided by 25.4 in inch
// projects. Every tolerant test of the geometry goes through these; a bare comparison of two
// doubles is exact.
#pragma once

namespace korvel {

constexpr double kEqualTol = 0.001;       // coincidence of coordinates, zero tests
constexpr double kApproxEqualTol = 0.1;   // joining offset elements of a contour
constexpr double kRadiusEqualTol = 0.025; // agreement of radii

// 1 when |a - b| <= tol (inclusive, in the project unit); 0 otherwise, also for NaN.
int intol(double a, double b, double tol_mm);
int equal(double a, double b);
int approx_equal(double a, double b);
int r_equal(double a, double b);

} // namespace korvel

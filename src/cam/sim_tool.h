// The shape of a cutting tool as the stock simulation sees it. A tool is a solid of revolution
// about its axis, open upwards (shank and holder are taken as no wider than the cutter): at a
// distance d from the axis, up to its cutting radius, its lower surface stands Lift(d) above the
// tip. Flat end mills, slot drills and face mills are cylinders; drills end in a 118 degree
// point; centre drills and countersinks are 90 degree cones, a countersink's with a flat tip of
// its minimum diameter; taps and thread mills are their core cylinder, the part that must pass
// through the pre-drilled hole, since the simulation does not model thread flanks. Lengths are
// in the user unit.
#pragma once

#include <string>

namespace korvel {

struct SimTool {
    int place = 0;         // magazine place (the T number); 0 for no tool
    int type = 0;          // tool type code (tooldb/database.h); 0 when unknown
    double radius = 0;     // the widest radius that cuts
    double tip_radius = 0; // the lower surface is flat out to here
    double slope = 0;      // then rises by this much per unit of radius (0: flat throughout)
    double length = 0;     // usable length, from the database
    // The side of the tool cuts walls: end mills, face mills and special tools. Only these
    // decide how close to an inside corner a milled feature can be finished.
    bool mills = false;

    double Lift(double d) const { return d <= tip_radius ? 0 : (d - tip_radius) * slope; }
    bool Flat() const { return slope == 0 || tip_radius >= radius; }
};

// The simulated shape of a tool from its database data: type, diameter, second diameter
// (a countersink's minimum diameter), length and pitch. A tap's core is the tap-drill
// diameter of its thread type when the thread-type table has one, else the diameter less the
// pitch; a thread mill's core is its diameter less its pitch.
SimTool MakeSimTool(int type, double dia, double dia2, double length, double pitch);

// The tool in a magazine place; false (tool untouched) when the place is empty, above the
// tool holder's slots or names a tool the database lacks.
bool SimToolOfPlace(int place, SimTool& tool, std::string* name = nullptr);

} // namespace korvel

// G-code for circular holes: centre-drilling of spots, drilling cycles, and chamfering of hole
// edges with a 90-degree countersink. Each visits its holes in a travelling order that keeps
// rapid moves short, writes into the tool's code buffer and adds each hole's time to the
// tool's milling time. Each returns 1, or 0 after a message, which ends the run.
#pragma once

#include <vector>

namespace korvel {

// Centre-drills the spots of one parent (only with CENTERDRILLING on).
int GSpot(int pid);
// Drills the drilling-active drills of one parent, smallest diameter first.
int GDrill(int pid);
// Chamfers every chamfer-active drill of the project that has a chamfer.
int GChamferAllDrills();
// Chamfers one drill (1 at once when it has no chamfer).
int GChamferThisDrill(int index);

// The travelling order: from (x, y), repeatedly the nearest remaining point; at equal distance
// a later point replaces an earlier one only when its X offset is larger than its Y offset.
// With a key, the smallest key among the remaining points is taken first, the nearest among
// equal keys. Returns the positions in `points`.
struct TravelPoint {
    double x = 0, y = 0;
    double key = 0;
};
std::vector<int> TravellingOrder(const std::vector<TravelPoint>& points, double x, double y,
                                 bool by_key);

} // namespace korvel

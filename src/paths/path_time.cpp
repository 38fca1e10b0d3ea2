// Path length and machining time.
#include "paths/path_time.h"

#include "geometry/primitives.h"
#include "geometry/tolerance.h"
#include "model/block.h"
#include "model/machine.h"
#include "paths/path_table.h"

namespace korvel {

double PathTime(const PathPoint* points, int count, double z, double feedXY, double feedZ) {
    // No feed, no estimate: the generators refuse such cutting data before they get here.
    if (count < 2 || !(feedXY > 0))
        return 0;
    BlockRecord block = GetBlock();
    double safe = block.z + block.height + GetMachine().corridor;
    double last_z = safe, total = 0;
    bool tool_up = true;
    for (int i = 1; i < count; ++i) {
        const PathPoint& from = points[i - 1];
        const PathPoint& to = points[i];
        if (equal(to.x, from.x) && equal(to.y, from.y))
            continue;
        if (to.kind == kRapid) {
            if (!tool_up) {
                last_z = safe;
                tool_up = true;
            }
            continue;
        }
        // A cutting height above the last height is no descent: it takes no plunge time.
        if (tool_up && feedZ > 0 && last_z > z)
            total += (last_z - z) / feedZ;
        last_z = z;
        tool_up = false;
        total += dist(from.x, from.y, to.x, to.y, to.radius, to.kind) / feedXY;
    }
    return total;
}

double CalcPathTime(int path, double z, double feedXY, double feedZ) {
    if (path < 1 || path >= kPathCount)
        return 0;
    PathRef p = GetPath(path);
    return PathTime(p.points, p.size(), z, feedXY, feedZ);
}

double CalcXLPathTime(double z, double feedXY, double feedZ) {
    PathRef p = GetXLPath();
    return PathTime(p.points, p.size(), z, feedXY, feedZ);
}

} // namespace korvel

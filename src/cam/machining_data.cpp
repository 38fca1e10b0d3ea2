// Heights, comment switches and cutting data as the generators read them.
#include "cam/machining_data.h"

#include "model/atttool.h"
#include "model/block.h"
#include "model/machine.h"
#include "model/settings.h"
#include "tooldb/database.h"

namespace korvel {

double BlockTop() {
    BlockRecord b = GetBlock();
    return b.z + b.height;
}

double SafeHeight() { return BlockTop() + GetMachine().corridor; }

bool CommentsOn() { return GetSettings().comments == 1 || GetSettings().comments == 2; }
bool DebugComments() { return GetSettings().comments == 2; }

std::string PlaceToolName(int place) { return GetAttachedTool(place).name; }

std::string BlockMaterial() { return GetBlock().material; }

int PlaceCuttingData(int place, CuttingData& data) {
    std::string name = PlaceToolName(place);
    if (name.empty())
        return 0;
    return GetToolMatData(name, BlockMaterial(), data.speed, data.fxy, data.cutxy, data.fz,
                          data.cutz, data.spare) >= 0
               ? 1
               : 0;
}

} // namespace korvel

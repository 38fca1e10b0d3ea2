// Cutting data of milling operations, with the user's own parameters first.
#include "cam/milling_data.h"

#include "model/mparam.h"

namespace korvel {

int MillingData(int place, int owner, int kind, CuttingData& data) {
    int speed = 0;
    double v[4] = {0, 0, 0, 0};
    if (RetrieveMParam(owner, kind, speed, v)) {
        data = CuttingData{};
        data.speed = speed;
        data.fxy = v[0];
        data.cutxy = v[1];
        if (kind == kRoughMilling) {
            data.fz = v[2];
            data.cutz = v[3];
        }
        return 1;
    }
    return PlaceCuttingData(place, data);
}

} // namespace korvel

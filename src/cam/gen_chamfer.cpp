// Chamfers of bulge and pocket top edges.
//
// A countersink of diameter D whose cone is L high (a 90-degree cone from the tip diameter
// D - 2L up to D) cuts a chamfer c wide into an edge H above the floor when its axis runs
// (D - L) / 2 from the edge's wall with its tip c + L / 2 below the edge: the cone then meets
// the wall c below the edge. On a low wall (H - c at most L / 2) the tip stays 0.01 above the
// floor instead and the axis comes closer to the wall by what the tip lacks in height.
#include "cam/gen_chamfer.h"

#include <string>

#include "base/errors.h"
#include "base/text.h"
#include "cam/code_buffer.h"
#include "cam/machining_data.h"
#include "cam/path_emit.h"
#include "cam/program_frame.h"
#include "cam/tool_select.h"
#include "model/atttool.h"
#include "model/bulge.h"
#include "model/pocket.h"
#include "model/registry.h"
#include "model/settings.h"
#include "paths/contour_path.h"
#include "paths/path_table.h"
#include "paths/path_time.h"
#include "paths/pocket_path.h"
#include "platform/platform.h"

namespace korvel {

namespace {

constexpr const char* kCannotChamfer = "Cannot make chamfer";
constexpr double kTipClearance = 0.01; // above the floor, on a low wall

int Refuse(const std::string& text, const std::string& caption) {
    ShowMessage(text, caption, kMbOk | kMbIconExclamation);
    return 0;
}

struct ChamferTool {
    int place = -1;
    std::string name;
    double dia = 0, length = 0;
    CuttingData cut;
};

// The countersink with its cutting data. 0 after a message.
int FindChamferTool(ChamferTool& tool) {
    tool.place = GetChamferingTool();
    int type = 0;
    if (tool.place < 1 || GetAttToolData(tool.place, type, tool.dia, tool.length) < 0)
        return Refuse("No chamfering tool present", "Tool missing");
    tool.name = PlaceToolName(tool.place);
    PlaceCuttingData(tool.place, tool.cut);
    return 1;
}

// Where the countersink runs for a chamfer c on a wall H high above `floor`: the offset of its
// axis from the outline, and the height of its tip.
void ChamferPlace(const ChamferTool& tool, double floor, double h_wall, double c, double& offset,
                  double& z) {
    offset = ChamferAxisOffset(tool.dia, tool.length, h_wall, c);
    double h = h_wall - c;
    z = h <= tool.length / 2 ? floor + kTipClearance : floor + h_wall - tool.length / 2 - c;
}

// The height above the cutting height from which the plunge runs at feed: none while the fast
// approach (RPLANE) ends above the edge, else the chamfer's width, so that the rapid descent
// never reaches the edge.
double ChamferApproach(double c) { return GetSettings().rplane > c ? 0 : c; }

// Emits path 1 at z and adds its time to the tool. 0 after a message.
int EmitChamfer(const ChamferTool& tool, int buffer, double z, double plunge, double approach) {
    AddMillTime(tool.place, CalcPathTime(1, z, tool.cut.fxy, plunge));
    if (!GPath(1, buffer, z, tool.cut.fxy, plunge, approach))
        return Refuse("Cannot follow specified path", "Path error");
    return 1;
}

} // namespace

double ChamferAxisOffset(double dia, double length, double h_wall, double c) {
    double h = h_wall - c;
    if (h <= length / 2)
        return dia / 2 + (h - kTipClearance) - length;
    return (dia - length) / 2;
}

int GChamferThisBulge(int b) {
    Bulge bulge;
    if (b < 0 || b >= kMaxBulges || !GetBulge(b, bulge))
        return ErrCode(kErrChamferBulge);
    double c = bulge.chamfer;
    if (c == 0)
        return 1;
    if (c > bulge.wz)
        return Refuse(Sprintf("Bulge (id %d) height is less than chamfering depth", bulge.id),
                      kCannotChamfer);
    ChamferTool tool;
    if (!FindChamferTool(tool))
        return 0;
    if (!(tool.cut.fxy > 0))
        return Refuse("Feed rate out of range", tool.name);
    if (!(tool.cut.fz > 0))
        return Refuse("Plunging feed rate out of range", tool.name);
    // Beyond half its cone's height the countersink's body, above the cone, would cut the edge.
    if (c > tool.length / 2)
        return Refuse(Sprintf("Bulge (id %d) chamfer is too wide for tool T%d [%s]", bulge.id,
                              tool.place, tool.name.c_str()),
                      kCannotChamfer);
    int buffer = OpenToolCodeBuffer(tool.place);
    if (buffer < 0)
        return 0;
    if (CommentsOn())
        AppendCode(buffer, Sprintf("(CHAMFER BULGE ID %d)", bulge.id));
    ClearPaths();
    double offset = 0, z = 0;
    ChamferPlace(tool, bulge.z, bulge.wz, c, offset, z);
    if (!(offset > 0) || !MakeBulgePath(1, b, offset))
        return Refuse("Cannot make specified path", "Path error");
    return EmitChamfer(tool, buffer, z, tool.cut.fz, ChamferApproach(c));
}

int GChamferThisPocket(int p) {
    Pocket pocket;
    if (p < 0 || p >= kMaxPockets || !GetPocket(p, pocket))
        return ErrCode(kErrChamferPocket);
    double c = pocket.chamfer;
    if (c == 0)
        return 1;
    ChamferTool tool;
    if (!FindChamferTool(tool))
        return 0;
    if (!(tool.cut.fxy > 0))
        return Refuse("Feed rate Fxy out of range", tool.name);
    if (c > tool.length / 2)
        return Refuse(Sprintf("Pocket (id %d) chamfer is too wide for tool T%d [%s]", pocket.id,
                              tool.place, tool.name.c_str()),
                      kCannotChamfer);
    int buffer = OpenToolCodeBuffer(tool.place);
    if (buffer < 0)
        return 0;
    if (CommentsOn())
        AppendCode(buffer, Sprintf("(CHAMFER POCKET ID %d)", pocket.id));
    ClearPaths();
    double offset = 0, z = 0;
    ChamferPlace(tool, pocket.z - pocket.wz, pocket.wz, c, offset, z);
    if (!(offset > 0) || !MakePocketPath(1, p, offset))
        return Refuse("Cannot make specified path", "Path error");
    // The countersink goes down beside the edge it chamfers: at the plunge feed, not at rapid,
    // since its cone reaches the edge before the cutting height.
    double plunge = tool.cut.fz > 0 ? tool.cut.fz : tool.cut.fxy;
    return EmitChamfer(tool, buffer, z, plunge, ChamferApproach(c));
}

int GChamferAllPockets() {
    for (int id : RegisteredObjects()) {
        int type = -1, index = -1;
        if (FindID(id, type, index) && type == kTypePocket && !GChamferThisPocket(index))
            return 0;
    }
    return 1;
}

} // namespace korvel

// Fuzzes the program simulation with arbitrary text: every line is read as a control reads it
// and run on a small stock, with tools of every shape, fixtures and a working space. Nothing
// may crash or hang; the program, the grid and the number of moves are capped so that memory
// and time stay bounded. The findings must be consistent.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "cam/gcode_block.h"
#include "cam/sim_program.h"
#include "tooldb/database.h"

using namespace korvel;

namespace {

constexpr std::size_t kMaxProgram = 1 << 16;

void Check(bool ok) {
    if (!ok)
        std::abort();
}

const SimSetup& Setup() {
    static const SimSetup setup = [] {
        SimSetup s;
        s.home_z = 50;
        const int types[] = {kCenterDrill,   kDrillTool,   kTap,           kThreadMill,
                             kEndMillRough,  kEndMillFine, kFaceMillRough, kCountersink,
                             kEngravingTool, kSpecialTool};
        for (int p = 1; p <= 10; ++p) {
            s.tools[static_cast<std::size_t>(p)] =
                MakeSimTool(types[p - 1], 2.0 * p, 1, 30, p % 3 ? 1.5 : 0);
            s.tools[static_cast<std::size_t>(p)].place = p;
            s.attached[static_cast<std::size_t>(p)] = true;
        }
        s.check_workspace = true;
        s.zero_x = -400;
        s.zero_y = -200;
        s.zero_z = -300;
        s.travel_x = s.travel_y = -450;
        s.travel_z = -500;
        s.fixtures.push_back(SimFixture{7, -30, 0, 20, 40, 10});
        s.fixtures.push_back(SimFixture{8, 45, 10, 10, 10, -5});
        s.arc_error = 0.125;
        s.max_moves = 5000;
        return s;
    }();
    return setup;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > kMaxProgram)
        return 0;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    // Every line alone: the reader either reads it or says why not.
    std::string_view rest = text;
    while (!rest.empty()) {
        std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        GcodeBlock block;
        std::string error;
        bool read = ReadGcodeBlock(line, block, error);
        Check(read == error.empty());
        for (int k = 0; read && k < 26; ++k)
            Check(std::isfinite(block.value[k]) && std::fabs(block.value[k]) <= kLargestGcodeValue);
    }
    GridFrame frame{0, 0, 0.5, 80, 80};
    SimStock stock;
    stock.Init(frame, 0, -20);
    SimRun run;
    SimulateProgram(text, Setup(), stock, run);
    Check(run.moves <= Setup().max_moves);
    int kept = 0;
    for (int c : run.counts)
        kept += c < SimRun::kKeptPerKind ? c : SimRun::kKeptPerKind;
    Check(static_cast<int>(run.events.size()) == kept);
    for (float h : stock.Heights())
        Check(!std::isnan(h) && h <= 0);
    return 0;
}

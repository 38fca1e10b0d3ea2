// A generated drawing of 100,000 entities (lines, arcs and circles on a few layers, about 10 MB
// of R12 DXF): read from memory, and imported into a project.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "cad/dxf_import.h"
#include "cad/dxf_reader.h"
#include "model/cla.h"
#include "platform/platform.h"
#include "ui/startup.h"

namespace {

std::string BigDrawing() {
    std::string s = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n0\nENDSEC\n"
                    "0\nSECTION\n2\nENTITIES\n";
    char buf[512];
    for (int i = 0; i < 100000; ++i) {
        double x = (i % 1000) * 1.25, y = (i / 1000) * 2.5;
        const char* layer = i % 3 == 0 ? "OUTLINE" : i % 3 == 1 ? "HOLES" : "CONSTRUCTION";
        if (i % 3 == 0)
            std::snprintf(buf, sizeof buf,
                          "  0\nLINE\n  8\n%s\n 10\n%.6f\n 20\n%.6f\n 30\n0.0\n 11\n%.6f\n 21\n"
                          "%.6f\n 31\n0.0\n",
                          layer, x, y, x + 1.0, y + 0.5);
        else if (i % 3 == 1)
            std::snprintf(buf, sizeof buf,
                          "  0\nCIRCLE\n  8\n%s\n 10\n%.6f\n 20\n%.6f\n 30\n0.0\n 40\n%.6f\n",
                          layer, x, y, 0.25 + (i % 7) * 0.01);
        else
            std::snprintf(buf, sizeof buf,
                          "  0\nARC\n  8\n%s\n 10\n%.6f\n 20\n%.6f\n 30\n0.0\n 40\n%.6f\n 50\n"
                          "%.6f\n 51\n%.6f\n",
                          layer, x, y, 0.6, (i % 360) * 1.0, (i % 360) * 1.0 + 75.0);
        s += buf;
    }
    s += "  0\nENDSEC\n  0\nEOF\n";
    return s;
}

void BM_ReadDXF100k(benchmark::State& state) {
    static const std::string drawing = BigDrawing();
    korvel::DXFDrawing d;
    std::string error;
    int line = 0;
    for (auto _ : state) {
        if (!korvel::ReadDXF(drawing, d, error, line))
            state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(d.items.data());
    }
    state.counters["bytes"] = static_cast<double>(drawing.size());
    state.counters["items"] = static_cast<double>(d.items.size());
}
BENCHMARK(BM_ReadDXF100k)->Unit(benchmark::kMillisecond);

// The whole import into an empty project: the file read, then its elements registered (each
// checked against those of its layer) until the element table is full, where the import stops
// with the table-full message as it does in the program.
void BM_ImportDXF100k(benchmark::State& state) {
    static const std::string drawing = BigDrawing();
    korvel::RecordMessages(true);
    int elements = 0;
    for (auto _ : state) {
        state.PauseTiming();
        korvel::InitAllTables();
        state.ResumeTiming();
        korvel::ImportDXFData(drawing, "big.dxf");
        state.PauseTiming();
        elements = 0;
        for (int i = 0; i < korvel::kMaxCLA; ++i)
            elements += korvel::CLA_valid(i) ? 1 : 0;
        korvel::TakeRecordedMessages();
        state.ResumeTiming();
    }
    state.counters["elements"] = elements;
}
BENCHMARK(BM_ImportDXF100k)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

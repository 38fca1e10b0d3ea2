// DXF import: the file is read whole (dxf_reader), and only when it was read to its end are its
// items registered, in the order of the file, as drawing elements and drawing texts.
#include "cad/dxf_import.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <unordered_map>
#include <vector>

#include "base/text.h"
#include "cad/dxf_reader.h"
#include "geometry/types.h"
#include "model/cla.h"
#include "model/cla_group.h"
#include "model/object_edit.h"
#include "model/project_state.h"
#include "model/registry.h"
#include "model/texts.h"
#include "platform/platform.h"

namespace korvel {

namespace {

constexpr double kSame = 0.001; // elements this close are the same
constexpr double kCell = 0.01;  // cell of the duplicate index, larger than 2 * kSame
constexpr int kResetImport = 999;

DXFImportSettings g_settings;
bool g_ref_set = false;
double g_ref_x = 0, g_ref_y = 0;
int g_count = 0;

bool Near(double a, double b) { return std::fabs(a - b) <= kSame; }

struct Known {
    double x1, y1, x2, y2, r;
    int kind, group;
};

bool SameElement(const Known& e, double x1, double y1, double x2, double y2, double r, int kind,
                 int group) {
    if (e.group != group || !Near(e.r, std::fabs(r)))
        return false;
    int reversed = kind == kCwArc ? kCcwArc : kind == kCcwArc ? kCwArc : kind;
    if (e.kind == kind && Near(e.x1, x1) && Near(e.y1, y1) &&
        (kind == kCircle || (Near(e.x2, x2) && Near(e.y2, y2))))
        return true;
    return kind != kCircle && e.kind == reversed && Near(e.x1, x2) && Near(e.y1, y2) &&
           Near(e.x2, x1) && Near(e.y2, y1);
}

// The drawing elements of the table and those added by this import, found by the cell of
// their start point, so that a file of thousands of elements is checked quickly.
class KnownElements {
public:
    void Load() {
        known_.clear();
        cells_.clear();
        CLA e;
        for (int i = 0; i < kMaxCLA; ++i)
            if (GetCLA(e, i) && e.drawing)
                Add({e.x1, e.y1, e.x2, e.y2, e.radius, e.kind, e.group});
    }
    void Add(const Known& e) {
        known_.push_back(e);
        cells_[Key(Cell(e.x1), Cell(e.y1))].push_back(static_cast<int>(known_.size()) - 1);
    }
    bool Find(double x1, double y1, double x2, double y2, double r, int kind, int group) const {
        // Same direction: the start is near a start; the other way: the end is.
        return Near(x1, y1,
                    [&](const Known& e) {
                        return SameElement(e, x1, y1, x2, y2, r, kind, group);
                    }) ||
               (kind != kCircle && Near(x2, y2, [&](const Known& e) {
                    return SameElement(e, x1, y1, x2, y2, r, kind, group);
                }));
    }

private:
    static std::int64_t Cell(double v) { return static_cast<std::int64_t>(std::floor(v / kCell)); }
    static std::uint64_t Key(std::int64_t cx, std::int64_t cy) {
        return static_cast<std::uint64_t>(cx) * 0x9E3779B97F4A7C15ull ^
               static_cast<std::uint64_t>(cy);
    }
    template <class Test> bool Near(double x, double y, Test test) const {
        if (!(std::fabs(x) < 1e12 && std::fabs(y) < 1e12))
            return false; // no cell; such elements are never equal to anything found here
        std::int64_t cx = Cell(x), cy = Cell(y);
        for (std::int64_t i = cx - 1; i <= cx + 1; ++i)
            for (std::int64_t j = cy - 1; j <= cy + 1; ++j) {
                auto it = cells_.find(Key(i, j));
                if (it == cells_.end())
                    continue;
                for (int k : it->second)
                    if (test(known_[static_cast<std::size_t>(k)]))
                        return true;
            }
        return false;
    }
    std::vector<Known> known_;
    std::unordered_map<std::uint64_t, std::vector<int>> cells_;
};

KnownElements g_known;

void MarkReference(double x, double y) {
    if (g_ref_set)
        return;
    g_ref_set = true;
    g_ref_x = x;
    g_ref_y = y;
}

double MoveX(double x) { return (x - g_ref_x) * g_settings.scale + g_settings.entry_x; }
double MoveY(double y) { return (y - g_ref_y) * g_settings.scale + g_settings.entry_y; }

// Registers the items read, each layer's group created on its first item and each polyline's
// new group likewise. 0 at the first item that could not be registered.
int RegisterItems(const DXFDrawing& d) {
    std::vector<int> layer_groups(d.layers.size(), -2);
    std::vector<int> polyline_groups(static_cast<std::size_t>(d.polylines), -2);
    for (const DXFItem& item : d.items) {
        int group = -1;
        if (item.polyline >= 0) {
            int& g = polyline_groups[static_cast<std::size_t>(item.polyline)];
            if (g == -2)
                g = NewGroup();
            group = g;
        } else if (item.layer >= 0) {
            int& g = layer_groups[static_cast<std::size_t>(item.layer)];
            if (g == -2)
                g = AcadLayerGroup(d.layers[static_cast<std::size_t>(item.layer)]);
            group = g;
        }
        int ok = item.is_text
                     ? RegisterText(item.x1, item.y1, item.height, item.angle, item.align,
                                    item.width, item.text)
                     : RegisterCLA(item.x1, item.y1, item.x2, item.y2, item.r, item.kind, group);
        if (!ok)
            return 0;
    }
    return 1;
}

bool ReadWholeFile(const std::string& path, std::string& data) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

DXFImportSettings& DXFImportOptions() { return g_settings; }

int DXFRegisteredCount() { return g_count; }

void ResetDXFOffset() {
    g_ref_set = false;
    g_ref_x = g_ref_y = 0;
}

bool CLAexistsInGroup(double x1, double y1, double x2, double y2, double r, int kind, int group) {
    CLA e;
    for (int i = 0; i < kMaxCLA; ++i)
        if (GetCLA(e, i) && e.drawing &&
            SameElement({e.x1, e.y1, e.x2, e.y2, e.radius, e.kind, e.group}, x1, y1, x2, y2, r,
                        kind, group))
            return true;
    return false;
}

int RegisterCLA(double x1, double y1, double x2, double y2, double r, int kind, int group) {
    if (kind == kResetImport) {
        ResetDXFOffset();
        g_count = 0;
        return 1;
    }
    MarkReference(x1, y1);
    x1 = MoveX(x1), y1 = MoveY(y1);
    if (kind == kCircle)
        x2 = y2 = 0;
    else
        x2 = MoveX(x2), y2 = MoveY(y2);
    r = std::fabs(r * g_settings.scale);
    if (g_known.Find(x1, y1, x2, y2, r, kind, group))
        return 1;
    int slot = NextCLA();
    int id = slot < 0 ? -1 : NewID(kTypeInfoElement, slot);
    if (id < 0) {
        ShowMessage("Too many drawing elements", "Out of drawing memory",
                    kMbOk | kMbIconExclamation);
        return 0;
    }
    CLA e;
    e.id = id;
    e.pid = -1;
    e.x1 = x1, e.y1 = y1, e.x2 = x2, e.y2 = y2, e.radius = r;
    e.kind = kind;
    e.drawing = 1;
    e.group = group;
    e.valid = 1;
    PutCLA(e, slot);
    PushDeleteUndo(id);
    g_known.Add({x1, y1, x2, y2, r, kind, group});
    MarkProjectEdited();
    ++g_count;
    return 1;
}

int RegisterText(double x, double y, double height, double angle, int alignment,
                 double width_factor, const std::string& text) {
    MarkReference(x, y);
    if (!(height > 0)) {
        ShowMessage("Zero or Negative Text Height", "DXF Error", kMbOk | kMbIconExclamation);
        return 0;
    }
    int slot = NextText();
    int id = slot < 0 ? -1 : NewID(kTypeInfoText, slot);
    if (id < 0) {
        ShowMessage("Too many texts", "Out of text memory", kMbOk | kMbIconExclamation);
        return 0;
    }
    Text t;
    t.id = id;
    t.pid = -1;
    t.text = text.substr(0, kMaxTextLength);
    t.x = MoveX(x);
    t.y = MoveY(y);
    t.height = height * g_settings.scale;
    t.angle = angle;
    t.spacing = 1;
    t.scale = width_factor;
    t.align = alignment;
    t.note = 1;
    t.valid = 1;
    PutText(t, slot);
    PushDeleteUndo(id);
    MarkProjectEdited();
    ++g_count;
    return 1;
}

int ImportDXFData(std::string_view data, const std::string& name) {
    RegisterCLA(0, 0, 0, 0, 0, kResetImport, -1);
    if (!g_settings.first_point)
        MarkReference(0, 0);
    DXFDrawing drawing;
    std::string error;
    int line = 0;
    if (!ReadDXF(data, drawing, error, line)) {
        ShowMessage(
            Sprintf("%s, line %d: %s; nothing was imported", name.c_str(), line, error.c_str()),
            "Import DXF failed", kMbOk | kMbIconExclamation);
        return 0;
    }
    g_known.Load();
    int ok = RegisterItems(drawing);
    ShowMessage(Sprintf("%d DXF entities found", g_count), "Import DXF completed", kMbOk);
    return ok;
}

int ImportDXF(const std::string& path) {
    std::string data;
    if (!ReadWholeFile(path, data)) {
        ShowMessage("Can't open file for reading", path, kMbOk | kMbIconExclamation);
        return 0;
    }
    return ImportDXFData(data, path);
}

} // namespace korvel

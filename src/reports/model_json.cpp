// Writing the model as JSON.
#include "reports/model_json.h"

#include <nlohmann/json.hpp>

#include "base/units.h"
#include "model/atttool.h"
#include "model/block.h"
#include "model/bore.h"
#include "model/bulge.h"
#include "model/drill.h"
#include "model/fixture.h"
#include "model/longhole.h"
#include "model/machine.h"
#include "model/mparam.h"
#include "model/pocket.h"
#include "model/registry.h"
#include "model/settings.h"
#include "model/texts.h"
#include "model/thread.h"
#include "model/thread_type.h"
#include "script/config.h"
#include "tooldb/database.h"
#include "tooldb/library.h"

namespace korvel {

namespace {

using nlohmann::ordered_json;

ordered_json OnOff(int flag) { return flag ? "ON" : "OFF"; }

ordered_json SettingsJson() {
    const Settings& s = GetSettings();
    ordered_json j;
    j["USERUNIT"] = UserUnit() == kUnitInch ? "INCH" : "MM";
    j["RPLANE"] = s.rplane;
    j["QPLANE"] = s.qplane;
    j["OVERLAP"] = {{"step_over", s.overlap}};
    j["RFOVERLAP"] = {{"step_over", s.rf_overlap}};
    j["FFOVERLAP"] = {{"step_over", s.ff_overlap}};
    j["RFDZ"] = s.rfdz;
    j["FFDZ"] = s.ffdz;
    j["FFDXY"] = s.ffdxy;
    j["RFSOR"] = s.rfsor;
    j["RFFOR"] = s.rffor;
    j["QUALITY"] = s.quality;
    j["MINBTXD"] = s.minbtxd;
    j["DFTLEX"] = s.dftlex;
    j["TMEFF"] = s.tmeff;
    j["CENTERDRILLING"] = {{"on", OnOff(s.center_drilling)}, {"depth", s.cd_depth}};
    j["PECKDRILL"] = {{"on", OnOff(s.peck_drill)}, {"peck", s.peck}};
    j["CLEANDRILLS"] = {{"on", OnOff(s.clean_drills)},
                        {"speed", s.clean_speed},
                        {"duration", s.clean_duration},
                        {"repeat", s.clean_repeat},
                        {"distance", s.clean_distance}};
    j["THREADING"] = s.threading;
    j["BORING"] = s.boring;
    j["CONTURING"] = s.conturing;
    j["USE"] = {{"G81", OnOff(s.use_g81)},
                {"G44", OnOff(s.use_g44)},
                {"G00_BEFORE_TOOL_COMP", OnOff(s.use_g00_before_tool_comp)},
                {"R_IN_G02_G03", OnOff(s.use_r_in_g02_g03)},
                {"NEWFILTER", OnOff(s.use_newfilter)}};
    j["OPTIMISE"] = OnOff(s.optimise);
    j["EXCESSMR"] = OnOff(s.excessmr);
    j["FOPI"] = OnOff(s.alt_path_filter);
    j["MULTI_G_LINES"] = OnOff(s.multi_g_lines);
    j["NUM_C_LINES"] = OnOff(s.num_c_lines);
    j["COMMENTS"] = s.comments;
    j["LABELING"] = s.labeling;
    j["TOOLHOLDER"] = s.toolholder;
    j["DELAY"] = s.delay;
    j["CON_TOLERANCE"] = s.con_tolerance;
    j["NCHRARCSEG"] = s.nchrarcseg;
    j["CHRARCSEGCOR"] = OnOff(s.chrarcsegcor);
    j["TEXTSIZE"] = s.textsize;
    j["SNAPSETTINGS"] = s.snapsettings;
    j["BACKGROUND"] = s.background_white ? "WHITE" : "BLACK";
    j["VIEW"] = {{"mode", s.view_mode}, {"scale", s.view_scale}, {"x", s.view_x},
                 {"y", s.view_y},       {"bits", s.view_bits},   {"given", s.view_given}};
    j["PROGRAM"] = s.program;
    j["GCFILE"] = s.gcfile;
    j["DWGFILE"] = s.dwgfile;
    j["NOOFPARTS"] = s.noofparts;
    j["PART"] = s.part;
    j["PROJECT"] = s.project;
    j["DESCRIPTION"] = s.description;
    j["CLIENT"] = s.client;
    j["USER"] = s.user;
    j["COMPANY"] = s.company;
    j["COMPANY_LOGO"] = s.company_logo;
    j["OPERATOR"] = s.operator_name;
    j["COMPANY_IMG"] = s.company_img;
    j["PROGSTART"] = s.progstart;
    j["PROGEND"] = s.progend;
    j["EDIT"] = s.edit;
    j["HTMLVIEW"] = s.htmlview;
    j["HELP"] = {{"program", s.help_program}, {"document", s.help_document}};
    j["DWGEDITOR"] = s.dwgeditor;
    j["POSTPROC"] = s.postproc;
    j["TRANSFER"] = s.transfer;
    j["CNC"] = s.machine_name;
    j["CORRIDOR"] = GetMachine().corridor;
    return j;
}

ordered_json MachineJson() {
    MachineSetup m = GetMachine();
    ordered_json j;
    j["table"] = {
        {"length", m.table_length}, {"width", m.table_width}, {"x", m.table_x}, {"y", m.table_y}};
    j["vtslots"] = {{"count", m.vslots}, {"pitch", m.vslot_pitch}, {"width", m.vslot_width}};
    j["htslots"] = {{"count", m.hslots}, {"pitch", m.hslot_pitch}, {"width", m.hslot_width}};
    j["workspace"] = {{"x", m.ws_x}, {"y", m.ws_y}, {"z", m.ws_z}};
    j["toolchange"] = {
        {"manual", m.tc_manual}, {"position", m.tc_position}, {"x", m.tc_x}, {"y", m.tc_y}};
    j["corridor"] = m.corridor;
    j["definitions"] = ordered_json::array();
    for (int i = 0; i < MachineCount(); ++i) {
        MachineDefinition d = GetMachineDefinition(i);
        j["definitions"].push_back({{"name", d.name}, {"file", d.file}});
    }
    j["definition_mode"] = DefinitionMode();
    j["output_file"] = GetSettings().output_file;
    return j;
}

ordered_json BlockJson() {
    BlockRecord b = GetBlock();
    if (!b.valid)
        return nullptr;
    return {{"id", b.id},
            {"length", b.length},
            {"width", b.width},
            {"height", b.height},
            {"x", b.x},
            {"y", b.y},
            {"z", b.z},
            {"top", b.z + b.height},
            {"rough_tool", b.rough_tool},
            {"fine_tool", b.fine_tool},
            {"quality", b.quality},
            {"mill_down", b.mill_down},
            {"mill_down_flags", b.mill_down_flags},
            {"material", b.material},
            {"selected", b.selected}};
}

ordered_json CoordinatesJson() {
    Coordinates c = GetCoordinates();
    return {{"work_offset", c.work_offset},
            {"work_offset_name", WorkOffsetName(c.work_offset)},
            {"work_zero", {{"x", c.wz_x}, {"y", c.wz_y}, {"z", c.wz_z}}},
            {"user_origin", {{"x", c.user_x}, {"y", c.user_y}, {"z", c.user_z}}}};
}

ordered_json ShapeJson(const Shape& shape) {
    ordered_json list = ordered_json::array();
    for (int i = 0; i < shape.n && i < kMaxShapeVertices; ++i) {
        const ShapeVertex& v = shape.v[i];
        list.push_back({{"x", v.x}, {"y", v.y}, {"radius", v.radius}, {"kind", v.kind}});
    }
    return list;
}

ordered_json BulgesJson() {
    ordered_json list = ordered_json::array();
    for (int i = 0; i < kMaxBulges; ++i) {
        Bulge b;
        if (!GetBulge(i, b))
            continue;
        list.push_back({{"index", i},
                        {"id", b.id},
                        {"pid", b.pid},
                        {"kind", b.kind},
                        {"dim1", b.dim1},
                        {"dim2", b.dim2},
                        {"wz", b.wz},
                        {"z", b.z},
                        {"top", b.z + b.wz},
                        {"level", BulgeLevel(i)},
                        {"island", Bulge_is_island(i)},
                        {"chamfer", b.chamfer},
                        {"tol_offset", b.tol_offset},
                        {"rough_tool", b.rough_tool},
                        {"fine_tool", b.fine_tool},
                        {"quality", b.quality},
                        {"scan", b.scan},
                        {"selected", b.selected},
                        {"count", b.shape.n},
                        {"vertices", ShapeJson(b.shape)}});
    }
    return list;
}

ordered_json PocketsJson() {
    ordered_json list = ordered_json::array();
    for (int i = 0; i < kMaxPockets; ++i) {
        Pocket p;
        if (!GetPocket(i, p))
            continue;
        list.push_back({{"index", i},
                        {"id", p.id},
                        {"pid", p.pid},
                        {"kind", p.kind},
                        {"dim1", p.dim1},
                        {"dim2", p.dim2},
                        {"wz", p.wz},
                        {"z", p.z},
                        {"bottom", p.z - p.wz},
                        {"chamfer", p.chamfer},
                        {"tol_offset", p.tol_offset},
                        {"rough_tool", p.rough_tool},
                        {"fine_tool", p.fine_tool},
                        {"quality", p.quality},
                        {"scan", p.scan},
                        {"selected", p.selected},
                        {"count", p.shape.n},
                        {"vertices", ShapeJson(p.shape)}});
    }
    return list;
}

ordered_json TextsJson() {
    ordered_json list = ordered_json::array();
    for (int i = 0; i < kMaxTexts; ++i) {
        Text t;
        if (!GetText(t, i))
            continue;
        list.push_back({{"index", i},
                        {"id", t.id},
                        {"pid", t.pid},
                        {"note", t.note},
                        {"text", t.text},
                        {"x", t.x},
                        {"y", t.y},
                        {"z", t.z},
                        {"angle", t.angle},
                        {"height", t.height},
                        {"eng_width", t.eng_width},
                        {"eng_depth", t.eng_depth},
                        {"scale", t.scale},
                        {"spacing", t.spacing},
                        {"align", t.align},
                        {"wx", TextWx(i)},
                        {"selected", t.selected}});
    }
    return list;
}

ordered_json FixturesJson() {
    ordered_json list = ordered_json::array();
    for (int i = 0; i < kMaxFixtures; ++i) {
        Fixture f;
        if (!GetFixture(f, i))
            continue;
        list.push_back({{"index", i},
                        {"id", f.id},
                        {"x", f.x},
                        {"y", f.y},
                        {"lx", f.lx},
                        {"ly", f.ly},
                        {"top", f.wz},
                        {"selected", f.selected}});
    }
    return list;
}

ordered_json DrillsJson() {
    ordered_json list = ordered_json::array();
    for (int i = 0; i < kMaxDrills; ++i) {
        Drill d;
        if (!GetDrill(d, i))
            continue;
        list.push_back({{"index", i},
                        {"id", d.id},
                        {"pid", d.pid},
                        {"dia", d.dia},
                        {"wz", d.wz},
                        {"x", d.x},
                        {"y", d.y},
                        {"z", d.z},
                        {"tool", d.tool},
                        {"chamfer", d.chamfer},
                        {"reserved", DrillReservedInLineOrder(d)},
                        {"selected", d.selected},
                        {"system", d.system}});
    }
    return list;
}

ordered_json ThreadsJson() {
    ordered_json list = ordered_json::array();
    for (int i = 0; i < kMaxThreads; ++i) {
        Thread t;
        if (!GetThread(t, i))
            continue;
        list.push_back({{"index", i},
                        {"id", t.id},
                        {"pid", t.pid},
                        {"dia", t.dia},
                        {"pitch", t.pitch},
                        {"name", ThreadStr(t.dia, t.pitch)},
                        {"wz", t.wz},
                        {"x", t.x},
                        {"y", t.y},
                        {"z", t.z},
                        {"chamfer", t.chamfer},
                        {"tool", t.tool},
                        {"predrill_tool", t.predrill_tool},
                        {"selected", t.selected}});
    }
    return list;
}

ordered_json BoresJson() {
    ordered_json list = ordered_json::array();
    for (int i = 0; i < kMaxBores; ++i) {
        Bore b;
        if (!GetBore(b, i))
            continue;
        list.push_back({{"index", i},
                        {"id", b.id},
                        {"pid", b.pid},
                        {"dia", b.dia},
                        {"wz", b.wz},
                        {"x", b.x},
                        {"y", b.y},
                        {"z", b.z},
                        {"chamfer", b.chamfer},
                        {"rough_tool", b.rough_tool},
                        {"fine_tool", b.fine_tool},
                        {"quality", b.quality},
                        {"tol_offset", b.tol_offset},
                        {"selected", b.selected},
                        {"system", b.system}});
    }
    return list;
}

ordered_json LongHolesJson() {
    ordered_json list = ordered_json::array();
    for (int i = 0; i < kMaxLongHoles; ++i) {
        LongHole h;
        if (!GetLongHole(h, i))
            continue;
        list.push_back({{"index", i},
                        {"id", h.id},
                        {"pid", h.pid},
                        {"dia", h.dia},
                        {"wz", h.wz},
                        {"x", h.x},
                        {"y", h.y},
                        {"lx", h.lx},
                        {"ly", h.ly},
                        {"z", h.z},
                        {"selected", h.selected}});
    }
    return list;
}

ordered_json AttachedToolsJson() {
    ordered_json list = ordered_json::array();
    for (int place = 1; place <= kMaxPlaces; ++place) {
        AttachedTool a = GetAttachedTool(place);
        if (!a.name.empty())
            list.push_back({{"place", place},
                            {"name", a.name},
                            {"extra_code", a.extra_code},
                            {"wear", a.wear},
                            {"second", a.second}});
    }
    return list;
}

ordered_json MParamsJson() {
    ordered_json list = ordered_json::array();
    MParam p;
    for (int ok = GetFirstMParam(p); ok; ok = GetNextMParam(p))
        list.push_back({{"owner", p.owner},
                        {"kind", p.kind},
                        {"speed", p.speed},
                        {"values", {p.v[0], p.v[1], p.v[2], p.v[3]}}});
    return list;
}

ordered_json ThreadTypesJson() {
    ordered_json list = ordered_json::array();
    for (int row = 0; !ThreadTypeStr(row, false).empty(); ++row)
        list.push_back({{"name", ThreadTypeStr(row, false)},
                        {"dia", ThreadDiameter(row)},
                        {"pitch", ThreadPitch(row)},
                        {"drill", ThreadDrill(row)},
                        {"mill_dia", ThreadMillDia(row)}});
    return list;
}

ordered_json ObjectsJson() {
    ordered_json list = ordered_json::array();
    int id;
    for (int ok = GetFirstRegisteredObject(id); ok; ok = GetNextRegisteredObject(id)) {
        int type = -1, index = -1;
        FindID(id, type, index);
        list.push_back({{"id", id}, {"type", type}, {"index", index}});
    }
    return list;
}

ordered_json DatabaseJson(bool records) {
    ordered_json j;
    j["save_mode"] = SaveMode();
    j["library"] = LibraryDirectory();
    j["counts"] = {{"materials", MaterialCount()},
                   {"material_groups", MaterialGroupCount()},
                   {"tools", ToolCount()},
                   {"cutting_data", ToolMatCount()}};
    if (!records)
        return j;
    j["material_groups"] = ordered_json::array();
    for (int slot = 0; slot < kMaxMaterialGroups; ++slot) {
        MaterialGroupRecord g;
        if (GetMaterialGroupRecord(slot, g))
            j["material_groups"].push_back(
                {{"code", g.code}, {"name", g.name}, {"sub_name", g.sub_name}});
    }
    j["materials"] = ordered_json::array();
    for (int slot = 0; slot < kMaxMaterials; ++slot) {
        MaterialRecord m;
        if (GetMaterial(slot, m))
            j["materials"].push_back({{"name", m.name}, {"group", m.group}});
    }
    j["tools"] = ordered_json::array();
    for (int slot = 0; slot < kMaxTools; ++slot) {
        ToolRecord t;
        if (GetToolRecord(slot, t))
            j["tools"].push_back({{"name", t.name},
                                  {"type", t.type},
                                  {"type_name", tooltype(t.type)},
                                  {"dia", t.dia},
                                  {"dia2", t.dia2},
                                  {"length", t.length},
                                  {"flutes", t.flutes},
                                  {"pitch", t.pitch},
                                  {"description", t.description}});
    }
    j["cutting_data"] = ordered_json::array();
    for (int slot = 0; slot < kMaxToolMats; ++slot) {
        ToolMatRecord r;
        if (GetToolMatRecord(slot, r))
            j["cutting_data"].push_back({{"tool", r.tool},
                                         {"group", r.group},
                                         {"speed", r.speed},
                                         {"fxy", r.fxy},
                                         {"cutxy", r.cutxy},
                                         {"fz", r.fz},
                                         {"cutz", r.cutz}});
    }
    return j;
}

} // namespace

std::string ModelJson(bool with_database) {
    ordered_json j;
    j["settings"] = SettingsJson();
    j["block"] = BlockJson();
    j["coordinates"] = CoordinatesJson();
    j["machine"] = MachineJson();
    j["objects"] = ObjectsJson();
    j["top_level"] = TopLevel();
    j["bulges"] = BulgesJson();
    j["pockets"] = PocketsJson();
    j["drills"] = DrillsJson();
    j["threads"] = ThreadsJson();
    j["bores"] = BoresJson();
    j["longholes"] = LongHolesJson();
    j["texts"] = TextsJson();
    j["fixtures"] = FixturesJson();
    j["attached_tools"] = AttachedToolsJson();
    j["milling_parameters"] = MParamsJson();
    j["thread_types"] = ThreadTypesJson();
    j["database"] = DatabaseJson(with_database);
    // Text that is not valid UTF-8 (old files use a DOS code page) is replaced, not refused.
    return j.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

} // namespace korvel

// Drawing and engraving elements: lines, arcs and circles of the drawing layer. A drawing
// element belongs to the drawing only (drawn, grouped, exported, composed into features); an
// engraving element is cut into its parent object with an engraving width and depth. Both
// share one record and one table of 8192 slots whose records are allocated when a slot is
// first taken.
//
// An element runs from (x1, y1) to (x2, y2); an arc's radius is stored positive and its kind
// gives the direction (2 counter-clockwise, 4 clockwise), so an arc never sweeps more than half
// a circle. A circle (kind 8) keeps its centre in (x1, y1).
#pragma once

#include <string>

#include "geometry/types.h"

namespace korvel {

constexpr int kMaxCLA = 8192;

struct CLA {
    int id = 0;   // type 59 engraving element, 60 drawing element
    int pid = -1; // parent of an engraving element; -1 for a drawing element
    double x1 = 0, x2 = 0;
    double y1 = 0, y2 = 0;
    double z1 = 0, z2 = 0; // surface of the parent at both ends (computed); 0 for drawing
    double radius = 0;
    double eng_width = 0; // 0 for a drawing element
    double eng_depth = 0;
    int kind = kLine;
    int drawing = 0; // 1 drawing element, 0 engraving element
    int selected = 0;
    int sel_number = 0; // order of selection in a chain (chain selection)
    int group = -1;     // drawing group, -1 for none
    int valid = 0;
};

// The element's geometry as a plain element (a circle: centre in the start point).
Element CLAElement(const CLA& e);

// Forgets every slot.
void InitCLA();
// The first slot whose record exists but is not in use, else the first slot without a record,
// which gets a new record; -1 when all 8192 are taken.
int NextCLA();
int GetCLA(CLA& element, int index);        // copies the record out; returns valid
void PutCLA(const CLA& element, int index); // the slot must hold a record
// Frees one record, or every record (kAllSlots).
void RemoveCLA(int index);
int GetCLAId(int index); // -1 for a slot not in use
int CLA_id(int index);
int GetCLAPid(int index); // -1 for a slot not in use and for drawing elements
int CLA_pid(int index);
int CLA_valid(int index);
int CLA_selected(int index);
int CLA_group(int index); // -1 for a slot not in use
void SetCLA_z(int index, double z);
// Selection marks (1 selected); SelectCLA adds them when none is set yet, UnSelectCLA removes
// them (and the chain's selection number). 1 when the marks changed.
int SelectCLA(int index, int marks);
int UnSelectCLA(int index, int marks);
// The next selected drawing element from `start` on; -1 when none.
int SelectedInfoCLA(int start);

// Swaps start and end; a clockwise arc becomes counter-clockwise and back; a circle stays.
// 1 for an element in use.
int ReverseCLA(int index);

// How two elements touch, each "at" meaning both coordinates within tol: -1 when either is not
// in use, 0 when either is a circle, else the sum of 1 (start a at start b), 2 (end a at end
// b), 4 (start a at end b) and 8 (end a at start b).
int InContact(int a, int b, double tol);
// Whether an identical element exists: same ends, radius, kind and drawing flag; a line also
// with its ends swapped, an arc also with swapped ends and the other direction.
bool CLAexists(double x1, double y1, double x2, double y2, double r, int kind, int drawing);
// Adds an element read from a drawing file under a new ID of its type, unless an identical
// one exists (0). A full table shows "Too many drawing elements" / "Out of drawing memory"
// (-1). Else the new ID; "DELETE id" is pushed.
int RegisterCLA(const CLA& element);

// The element nearest to (px, py) within `pick` (project units), the lowest slot among equals;
// -1 when none. Drawing elements count only while the drawing is shown and their group is
// visible.
int ClickCLA(double px, double py, double pick);
// Distance from a point to the element's line, arc or circle.
double DistanceToCLA(const CLA& e, double px, double py);

// The element's line: engraving elements with five decimals, drawing elements with six and
// their group's name ("-1" for none). 0 (line empty) for a free slot or, for the first two, an
// element of the other kind.
int StrEngCLAData(std::string& line, int index);
int StrInfoCLAData(std::string& line, int index);
int StrCLAData(std::string& line, int index);

// ENG_CLA id pid cx cy r width depth (circle), id pid x1 y1 x2 y2 width depth (line),
// id pid x1 y1 x2 y2 r width depth (arc, r > 0 counter-clockwise, r < 0 clockwise).
int EngCLACom(const char* file, int line);
// INFO_CLA id pid cx cy r group, id pid x1 y1 x2 y2 group, id pid x1 y1 x2 y2 r group.
int InfoCLACom(const char* file, int line);

} // namespace korvel

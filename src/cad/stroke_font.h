// Glyphs of the stroke font made into polylines, and texts laid out in it: what engraving cuts
// and what the view draws. A polyline point carries a pen flag, 0 pen up (move to it) and 1 pen
// down (draw to it).
#pragma once

#include <vector>

namespace korvel {

constexpr int kMaxCharPoints = 1024; // points of one character's polyline
constexpr double kScreenSegmentAngle = 6.0;

struct StrokePoint {
    double x = 0, y = 0;
    int pen = 0;
};

// The glyph of `code` as a polyline scaled by sx in X and sy in Y (project units per font
// unit), arcs cut into chords of at most `segment_angle` degrees. An undefined glyph is
// replaced by glyph 0. Returns the number of points (the vector holds them); 0 for a code
// outside 32..255, a segment angle not above 0, or a glyph (after the fallback) that is
// undefined or has no points. Every glyph converts whole: where its arcs at that angle would
// need more than 1024 points, they share the 1024 points by their sweeps. Each arc ends on its
// stored end point. An arc without a centre shows "ARC FAILED ..." / "Character definition
// error" and ends the conversion there.
int convert_char(int code, double sx, double sy, double segment_angle,
                 std::vector<StrokePoint>& points);

// Where the strokes of a character go: pen up to a point, pen down to a point (project units).
class StrokeSink {
public:
    virtual ~StrokeSink() = default;
    virtual void MoveTo(double x, double y, double z) = 0;
    virtual void LineTo(double x, double y, double z) = 0;
};

// Draws a character with its origin at (x, y) on the level z, scaled by sx and sy and rotated
// by `angle_deg` about its origin, arcs in chords of 6 degrees. Starts with the pen at the
// origin. Returns the number of polyline points.
int draw_char(StrokeSink& sink, int code, double x, double y, double z, double sx, double sy,
              double angle_deg);

// One character of a text where engraving and the view put it.
struct CharPlacement {
    int code = 0;
    double x = 0, y = 0; // the character's origin
    double sx = 0, sy = 0;
};

// The characters of a text (engraving text or drawing note) in order. The font unit is
// (height - engraving width) / 12; the first origin is the reference point, moved back along
// the base line by the text's length (right alignment) or half of it (centred), then by a
// quarter of the engraving width along the base line (backwards for a scale not above 0) and
// half of it to the left of the base line, so that the stroke stays within the height. Each
// next origin lies (advance * unit + width) * spacing * scale further along the base line.
// Empty for a slot not in use.
std::vector<CharPlacement> LayOutText(int text_index);
// Draws every character of a text; the number of points drawn.
int DrawTextStrokes(StrokeSink& sink, int text_index);

} // namespace korvel

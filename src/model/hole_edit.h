// Geometric edits of holes given by a centre (drills, threads, bores): each changes the record
// and pushes the command that reverses it. R needs id, x and y.
#pragma once

#include "geometry/primitives.h"
#include "model/object_edit.h"

namespace korvel {

template <class R> void MoveCentre(R& r, double dx, double dy) {
    r.x += dx;
    r.y += dy;
    PushMoveUndo(r.id, dx, dy);
}

template <class R> void MirrorCentreX(R& r, double a) {
    r.x = 2 * a - r.x;
    PushMirrorXUndo(r.id, a);
}

template <class R> void MirrorCentreY(R& r, double b) {
    r.y = 2 * b - r.y;
    PushMirrorYUndo(r.id, b);
}

template <class R> void TurnCentre(R& r, double cx, double cy, double angle_deg) {
    if (angle_deg == 0)
        return;
    TurnPoint(cx, cy, angle_deg, r.x, r.y);
    PushTurnUndo(r.id, cx, cy, angle_deg);
}

// Whether (px, py) lies within half the diameter of the centre.
template <class R> bool CentreClicked(const R& r, double px, double py) {
    return distance(r.x, r.y, px, py) <= r.dia / 2;
}

} // namespace korvel

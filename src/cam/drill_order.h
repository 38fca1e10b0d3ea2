// Preparing one parent's drilling: which of coincident drills is drilled and which chamfered,
// the centre-drilling spots, and the order of the drilling tools. Also the clean-up of what a
// run adds to the project.
#pragma once

namespace korvel {

// Among drills of one parent with the same diameter and centre, exactly one, the deepest, is
// drilled, and of those with a chamfer exactly one, the largest, is chamfered (among equals the
// one in the highest slot).
void ActivateDrills(int pid);
// The next drill after slot i with the same parent, diameter and centre; -1 when none.
int NextSimilarDrill(int index);

// A spot for every drill of the parent unless one is at its centre already. 1, or 0 after a
// message.
int SpotsForDrilling(int pid);

// Whether a drill of the parent that is drilled has the place as its tool.
bool DrillNeeded(int place, int pid);
// Opens the buffers of the parent's drilling tools in ascending diameter, so that pre-drills and
// small drills come before larger ones. 1, or 0 when a buffer could not be opened.
int PreOpenDrillToolBuffers(int pid);

// Every tool field the compiler fills is set to -1, and the drills' drilling and chamfer flags
// to 0.
void DeleteSelectedTools();
// Unregisters and removes system drills, system bores and every spot.
void DeleteSystemElements();

// With COMMENTS DEBUG: the drill table in pages of ten slots, each page in a Yes/No box titled
// "DebugDrillsList(stage)"; No ends the listing.
void DebugDrillsList(int stage);

} // namespace korvel

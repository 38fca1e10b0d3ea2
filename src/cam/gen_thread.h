// Threads: the choice of a tap or a thread mill for every thread, the tapping cycles (G84, and
// G74 for left-hand threads) and helical thread milling. The core holes and their chamfers are
// drilled and cut before, with the other holes (pre-drills for threads). Every function returns
// 1, or 0 after a message, which ends the run; lengths in the user unit.
#pragma once

namespace korvel {

// Chooses a tool for every thread, then cuts them grouped by tool in ascending magazine place,
// each group in travelling order from the block's base corner.
int GAllThreads();
// Chooses the tap or thread mill of one thread (a thread slot) and stores it as the thread's
// assigned tool: the preselected tool when it suits, else by THREADING a tap or a thread mill
// first. Needs the thread's pre-drill diameter (set by the pre-drills for threads).
int AssignToolToThread(int index);
// Cuts one thread with its assigned tool: a tap is tapped, a thread mill mills.
int GThisThread(int index);
// Taps one thread: G84 for a right-hand tap, G74 for a left-hand one, fed at the spindle speed
// times the tap's pitch so that the feed keeps step with the spindle.
int GTapThisThread(int index);
// Mills one thread in helical orbits, one per radial pass, the last at the full thread depth;
// G02 for right-hand threads, G03 for left-hand ones, each orbit entered and left by
// half-circles.
int GMillThisThread(int index);

} // namespace korvel

// The compiler's automatic drills: the pre-drills that threads, large drills, bores, long holes
// and pockets need before their own tool can enter the material. Each maker handles the
// features of one parent, adds system drills (never saved, removed after the run) and returns
// 1, or 0 after a message, which ends the run.
#pragma once

namespace korvel {

// A system drill at a centre, on behalf of the feature `cid`; its slot, or -1 when the drill
// table or the registry is full (the caller reports it).
int AppendSystemDrill(int pid, int cid, double x, double y, double dia, double depth,
                      int assigned_tool, int tool, double chamfer);

int DrillsForThreading(int pid);
int DrillsForLargeDrilling(int pid);
int DrillsForBores(int pid);
int SelectToolsAndPredrillThisBore(int bore_index);
int DrillsForLongHoles(int pid);
// Chooses the tools of pocket `pocket_index` (SelectPocketTools) and, when its rough mill needs
// a pre-drill, adds a system drill of the chosen drill's diameter and the pocket's depth at the
// first point of its roughing path (the wall contour, half the mill's diameter plus the fine
// allowance inside the wall), where pocket milling plunges. The drill stands on the pocket's
// parent, so it is drilled with the parent's holes, before the pocket is milled. 1, or 0 after
// a message naming the pocket.
int DrillForThisPocket(int pocket_index);
// DrillForThisPocket for every valid pocket standing on `pid`.
int DrillsForPockets(int pid);

// A compile reverses long holes whose end lies outside the block, so that the cutter enters
// from outside; this puts them back as the project has them. Called after every run.
void RestoreReversedLongHoles();
// Forgets the reversals without touching the long holes (the project was cleared).
void ForgetReversedLongHoles();

} // namespace korvel

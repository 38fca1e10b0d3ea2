// Automatic tool selection: every choice is a scan over the machine's magazine (places 1..99),
// considering only the places whose tool has cutting data for the block's material. Each
// function returns a magazine place, or -1 when no tool qualifies. Diameters and pitches called
// equal are compared within the approximate tolerance (0.1 mm) unless said otherwise; lengths
// in the user unit.
#pragma once

namespace korvel {

// A place whose tool exists and suits the block's material.
bool CandidatePlace(int place);

// The first centre drill.
int GetFirstSpotTool();
// The first drill of diameter d (approximately) at least `depth` long.
int GetFirstExactDrillTool(double d, double depth);
// The drill of the smallest diameter >= d that is at least `depth` long; among equal diameters
// the lowest place.
int GetClosestDrillTool(double d, double depth);
// The first drill with dmin <= diameter <= dmax, at least `depth` long, within the tool
// holder's places.
int GetSuitableDrillTool(double dmax, double dmin, double depth);
// Taps of nominal diameter d and the signed pitch (a left-hand tap for a left-hand thread).
// "Next" continues after the place the last call returned.
int GetFirstTapperTool(double d, double pitch, double depth);
int GetNextTapperTool();
// Thread mills for a hole of diameter d: tool pitch |pitch| (within the coincidence tolerance
// of 0.001 mm; a negative tool pitch never fits), tool diameter below d, minimum drill
// diameter (second diameter) at most d.
int GetFirstThreadMill(double d, double pitch, double depth);
int GetNextThreadMill();
// Mills of one type with diameter <= dmax (dmax <= 0 means 1000).
int GetFirstSuitableMill(int type, double dmax, double depth);
int GetNextSuitableMill();
int GetMillingTool(int type, double dmax, double depth); // the same as GetFirstSuitableMill
// As GetFirstSuitableMill, choosing the largest diameter; among equals the lowest place.
int GetBestMill(int type, double dmax, double depth);
// A rough face mill for a bore of diameter D: D >= diameter x MINBTXD. The first that needs no
// pre-drill (D >= diameter + dead-zone diameter) at once, else the one with the smallest
// diameter + dead-zone diameter.
int GetBestBoringFaceMill(double D, double depth);
// An engraving tool of diameter d, else a rough end mill of diameter d without a minimum drill
// diameter.
int GetEngravingTool(double d, double depth);
// The first countersink.
int GetChamferingTool();

// Chooses a pocket's rough end mill, optional fine end mill and optional pre-drill and stores
// them in the pocket (chosen rough, fine, pre-drill; -1 for none). With a fine mill the walls
// keep an allowance a for it. The rough mill is one whose roughing path (half its diameter
// plus a inside the wall) still rounds the tightest inside arc: a diameter of at most twice
// that arc's radius less 2 a. Its pre-drill is drilled on that path, so it is no wider than
// the mill plus 2 a. 1, or 0 after a message naming the pocket.
int SelectPocketTools(int pocket_index);
// The wall allowance left for a pocket's fine mill at a magazine place: FFDXY, but no more
// than the mill's cutting width in the block's material; 0 without a fine mill (-1).
double PocketFinishAllowance(int fine_place);

} // namespace korvel

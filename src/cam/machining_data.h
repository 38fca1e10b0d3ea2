// What every G-code generator reads besides its own feature: the heights of the block, the
// comment switches, and a magazine place's tool with its cutting data for the block's material.
#pragma once

#include <string>

namespace korvel {

// The top face of the block (block Z + height) and the safe height above it (+ CORRIDOR).
double BlockTop();
double SafeHeight();

// COMMENTS ON or DEBUG, and DEBUG alone.
bool CommentsOn();
bool DebugComments();

// Cutting data of one tool for one material group (lengths and feeds in the user unit).
struct CuttingData {
    int speed = 0;
    double fxy = 0;
    double cutxy = 0;
    double fz = 0;
    double cutz = 0;
    double spare = 0;
};

// The name of the tool in a magazine place; empty for an empty place or one outside 1..99.
std::string PlaceToolName(int place);
// The cutting data of the tool in a place for the block's material: 1, or 0 when the place
// holds no tool or the database has no data for it and that material.
int PlaceCuttingData(int place, CuttingData& data);
// The material the block is made of.
std::string BlockMaterial();

} // namespace korvel

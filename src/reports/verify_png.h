// The picture of a verification: the stock seen from the top, coloured by how far each cell
// lies from what the model asks. Within the tolerance the part shows in greys by its simulated
// height (lighter is higher); cells cut too deep (gouges) show in reds and cells left too high
// (left stock) in blues, deeper colours for larger deviations; the area outside the block is
// dark. A legend under the picture gives the colour scale in the user unit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cam/verify.h"

namespace korvel {

// An RGB picture, 3 bytes a pixel, row by row from the top.
struct VerifyPicture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    double scale = 0; // the deviation the legend's ends stand for
};

// Draws the picture of a verification (at most about 1200 x 900 pixels for the stock; large
// grids are reduced so that every gouge and every bit of left stock still shows).
VerifyPicture DrawVerifyPicture(const VerifyResult& result);

// Writes the picture as a PNG file; 0 after a message when the file cannot be written.
int WriteVerifyPng(const VerifyResult& result, const std::string& path);

// Writes any RGB picture as a PNG file (libpng); false when it cannot.
bool WritePng(const std::string& path, const VerifyPicture& picture);

} // namespace korvel

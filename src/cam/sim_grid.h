// The grid of square cells that the stock simulation and the verification share, and the few
// whole-grid operations they need: distance transforms and disk-shaped minimum and maximum
// filters. A cell stands for its centre: cell (i, j) has its centre at
// (x0 + (i + 0.5) res, y0 + (j + 0.5) res); cells are stored row by row, j * nx + i.
#pragma once

#include <cstddef>
#include <vector>

namespace korvel {

struct GridFrame {
    double x0 = 0, y0 = 0; // lower-left corner of cell (0, 0)
    double res = 1;        // cell size, user unit
    int nx = 0, ny = 0;

    double X(int i) const { return x0 + (i + 0.5) * res; }
    double Y(int j) const { return y0 + (j + 0.5) * res; }
    std::size_t Cells() const {
        return static_cast<std::size_t>(nx) * static_cast<std::size_t>(ny);
    }
    std::size_t Index(int i, int j) const {
        return static_cast<std::size_t>(j) * static_cast<std::size_t>(nx) +
               static_cast<std::size_t>(i);
    }
    // The columns (rows) whose centres lie in [lo, hi], clipped to the grid; false when none
    // does. Safe for infinite or NaN bounds.
    bool Columns(double lo, double hi, int& i0, int& i1) const;
    bool Rows(double lo, double hi, int& j0, int& j1) const;
};

// Squared distances, in cells, from every cell of a w x h window to the nearest cell marked in
// `mask` (row by row, w * h entries); cells marked get 0, and with no cell marked every
// entry is a huge value. Exact Euclidean distances between cell centres (the lower envelope
// of parabolas, row pass then column pass).
std::vector<float> SquaredDistanceToMarked(const std::vector<unsigned char>& mask, int w, int h);

// The smallest (largest) value within a disk of `radius` cells around every cell, the cell
// itself included, over a frame's grid; values outside the grid take no part.
void MinOverDisk(const GridFrame& frame, std::vector<float>& values, int radius);
void MaxOverDisk(const GridFrame& frame, std::vector<float>& values, int radius);

} // namespace korvel

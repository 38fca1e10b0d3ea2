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
    bool Columns(double lo, double hi, int& i0, int& i1) const {
        return CentresIn(x0, nx, lo, hi, i0, i1);
    }
    bool Rows(double lo, double hi, int& j0, int& j1) const {
        return CentresIn(y0, ny, lo, hi, j0, j1);
    }

private:
    // The index range [k0, k1] of the centres origin + (k + 0.5) res within [lo, hi], clipped
    // to 0..n-1. Called for every row a tool passes over: no library rounding calls.
    bool CentresIn(double origin, int n, double lo, double hi, int& k0, int& k1) const {
        if (n <= 0 || !(lo <= hi))
            return false;
        const double inv = 1 / res; // hoisted out of the callers' loops
        double a = (lo - origin) * inv - 0.5, b = (hi - origin) * inv - 0.5;
        if (!(b >= 0) || !(a <= n - 1))
            return false;
        if (a <= 0) {
            k0 = 0;
        } else {
            k0 = static_cast<int>(a); // a lies in (0, n - 1]: the cast truncates, i.e. floors
            k0 += k0 < a;
        }
        k1 = b >= n - 1 ? n - 1 : static_cast<int>(b);
        return k0 <= k1;
    }
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

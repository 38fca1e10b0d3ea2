// Grid frames, distance transforms and disk filters.
#include "cam/sim_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvel {

namespace {

constexpr float kFar = 1e30f;

// One-dimensional squared distance transform of f (n samples, kFar for none) into d, after
// Felzenszwalb and Huttenlocher: the lower envelope of the parabolas (q - p)^2 + f(p). Worked in
// doubles, since the squares of long rows outrun a float's precision.
void Transform1D(const float* f, int n, float* d, int* v, double* z) {
    int k = -1;
    for (int q = 0; q < n; ++q) {
        if (f[q] >= kFar)
            continue;
        double fq = double(f[q]) + double(q) * q;
        double s = 0;
        while (k >= 0) {
            int p = v[k];
            s = (fq - (double(f[p]) + double(p) * p)) / (2.0 * (q - p));
            if (s > z[k])
                break;
            --k;
        }
        if (k < 0) {
            k = 0;
            v[0] = q;
            z[0] = -1e300;
        } else {
            ++k;
            v[k] = q;
            z[k] = s;
        }
        z[k + 1] = 1e300;
    }
    if (k < 0) {
        std::fill(d, d + n, kFar);
        return;
    }
    k = 0;
    for (int q = 0; q < n; ++q) {
        while (z[k + 1] < q)
            ++k;
        double dq = q - v[k];
        double value = dq * dq + f[v[k]];
        d[q] = value < kFar ? static_cast<float>(value) : kFar;
    }
}

// The extreme (the smallest, or with kMax the largest) over a disk of `radius` cells: each
// row is first reduced over the half-widths the disk has, then the rows are combined.
template <bool kMax>
void DiskFilter(const GridFrame& frame, std::vector<float>& values, int radius) {
    const int nx = frame.nx, ny = frame.ny;
    if (radius <= 0 || nx <= 0 || ny <= 0)
        return;
    auto pick = [](float a, float b) { return kMax ? (a > b ? a : b) : (a < b ? a : b); };
    // half[dj]: how far the disk reaches along the row dj rows away.
    std::vector<int> half(static_cast<std::size_t>(radius) + 1);
    for (int dj = 0; dj <= radius; ++dj)
        half[static_cast<std::size_t>(dj)] =
            static_cast<int>(std::floor(std::sqrt(double(radius) * radius - double(dj) * dj)));
    // reduced[w]: every row reduced over [i - w, i + w], for each half-width the disk has.
    std::vector<std::vector<float>> reduced(static_cast<std::size_t>(radius) + 1);
    for (int dj = 0; dj <= radius; ++dj) {
        auto w = static_cast<std::size_t>(half[static_cast<std::size_t>(dj)]);
        std::vector<float>& out = reduced[w];
        if (!out.empty())
            continue;
        out = values;
        for (std::size_t step = 1; step <= w; ++step) // widen by one cell each side at a time
            for (int j = 0; j < ny; ++j) {
                const float* src = values.data() + frame.Index(0, j);
                float* dst = out.data() + frame.Index(0, j);
                for (int i = 0; i < nx; ++i) {
                    float m = dst[i];
                    if (i >= static_cast<int>(step))
                        m = pick(m, src[i - static_cast<int>(step)]);
                    if (i + static_cast<int>(step) < nx)
                        m = pick(m, src[i + static_cast<int>(step)]);
                    dst[i] = m;
                }
            }
    }
    for (int j = 0; j < ny; ++j) {
        float* dst = values.data() + frame.Index(0, j);
        const float* own = reduced[static_cast<std::size_t>(half[0])].data() + frame.Index(0, j);
        for (int i = 0; i < nx; ++i)
            dst[i] = own[i];
        for (int dj = 1; dj <= radius; ++dj) {
            const float* row =
                reduced[static_cast<std::size_t>(half[static_cast<std::size_t>(dj)])].data();
            for (int jj : {j - dj, j + dj}) {
                if (jj < 0 || jj >= ny)
                    continue;
                const float* src = row + frame.Index(0, jj);
                for (int i = 0; i < nx; ++i)
                    dst[i] = pick(dst[i], src[i]);
            }
        }
    }
}

} // namespace

std::vector<float> SquaredDistanceToMarked(const std::vector<unsigned char>& mask, int w, int h) {
    std::size_t cells = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    std::vector<float> d(cells, kFar);
    if (w <= 0 || h <= 0 || mask.size() < cells)
        return d;
    int n = std::max(w, h);
    std::vector<float> f(static_cast<std::size_t>(n)), out(static_cast<std::size_t>(n));
    std::vector<int> v(static_cast<std::size_t>(n));
    std::vector<double> z(static_cast<std::size_t>(n) + 1);
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i)
            f[static_cast<std::size_t>(i)] =
                mask[static_cast<std::size_t>(j) * w + i] ? 0.0f : kFar;
        Transform1D(f.data(), w, out.data(), v.data(), z.data());
        std::copy(out.begin(), out.begin() + w, d.begin() + static_cast<long>(j) * w);
    }
    for (int i = 0; i < w; ++i) {
        for (int j = 0; j < h; ++j)
            f[static_cast<std::size_t>(j)] = d[static_cast<std::size_t>(j) * w + i];
        Transform1D(f.data(), h, out.data(), v.data(), z.data());
        for (int j = 0; j < h; ++j)
            d[static_cast<std::size_t>(j) * w + i] = out[static_cast<std::size_t>(j)];
    }
    return d;
}

void MinOverDisk(const GridFrame& frame, std::vector<float>& values, int radius) {
    DiskFilter<false>(frame, values, radius);
}

void MaxOverDisk(const GridFrame& frame, std::vector<float>& values, int radius) {
    DiskFilter<true>(frame, values, radius);
}

} // namespace korvel

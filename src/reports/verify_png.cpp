// Drawing the verification picture and writing it with libpng.
#include "reports/verify_png.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>

#include "base/text.h"
#include "base/units.h"
#include "platform/platform.h"
#include "reports/pixel_font.h"

namespace korvel {

namespace {

constexpr int kMaxMapWidth = 1200, kMaxMapHeight = 900;
constexpr int kMargin = 16;
constexpr int kLegendHeight = 86;
constexpr int kBarWidth = 480, kBarHeight = 18;
constexpr int kTextSize = 2;
constexpr int kMarker = 9; // radius of the ring around a problem, in pixels

struct Rgb {
    std::uint8_t r, g, b;
};

constexpr Rgb kBackground{40, 40, 44};
constexpr Rgb kText{235, 235, 235};

Rgb Mix(Rgb a, Rgb b, double t) {
    auto m = [t](int x, int y) { return static_cast<std::uint8_t>(std::lround(x + (y - x) * t)); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

// A round number at least x: 1, 2 or 5 times a power of ten.
double NiceAbove(double x) {
    double p = std::pow(10.0, std::floor(std::log10(x)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * p >= x * (1 - 1e-9))
            return m * p;
    return 10 * p;
}

// The colour of a deviation d: grey by the height within the tolerance, reds for cuts too
// deep, blues for material left, deeper with the size of the deviation up to the scale.
class Palette {
public:
    Palette(double tol, double scale, double hmin, double hmax)
        : tol_(tol), scale_(scale), hmin_(hmin), hmax_(hmax) {}

    Rgb Of(double d, double h) const {
        if (std::isnan(d))
            return kBackground;
        if (std::fabs(d) <= tol_) {
            double t = hmax_ > hmin_ ? (h - hmin_) / (hmax_ - hmin_) : 1;
            auto v = static_cast<std::uint8_t>(150 + std::lround(100 * std::clamp(t, 0.0, 1.0)));
            return {v, v, v};
        }
        double t = std::clamp((std::fabs(d) - tol_) / std::max(scale_ - tol_, 1e-12), 0.0, 1.0);
        return d < 0 ? Mix({255, 170, 160}, {160, 0, 0}, t) : Mix({165, 185, 255}, {0, 20, 170}, t);
    }

private:
    double tol_, scale_, hmin_, hmax_;
};

class Canvas {
public:
    Canvas(int w, int h) : w_(w), h_(h), rgb_(static_cast<std::size_t>(w) * h * 3) {
        Fill(0, 0, w, h, kBackground);
    }
    void Put(int x, int y, Rgb c) {
        if (x < 0 || y < 0 || x >= w_ || y >= h_)
            return;
        std::size_t k = (static_cast<std::size_t>(y) * w_ + x) * 3;
        rgb_[k] = c.r;
        rgb_[k + 1] = c.g;
        rgb_[k + 2] = c.b;
    }
    void Fill(int x, int y, int w, int h, Rgb c) {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                Put(i, j, c);
    }
    void Text(int x, int y, const std::string& s) {
        DrawPixelText(rgb_, w_, h_, x, y, s, kTextSize, kText.r, kText.g, kText.b);
    }
    VerifyPicture Take(double scale) { return VerifyPicture{w_, h_, std::move(rgb_), scale}; }

private:
    int w_, h_;
    std::vector<std::uint8_t> rgb_;
};

// The map: every pixel shows the cell of its block of cells that deviates most.
void DrawMap(Canvas& canvas, const VerifyResult& r, const Palette& palette, int up, int down,
             int mw, int mh) {
    const GridFrame& f = r.frame;
    for (int py = 0; py < mh; ++py)
        for (int px = 0; px < mw; ++px) {
            int i0 = px * down / up, j1 = f.ny - 1 - py * down / up;
            double d = std::nan(""), h = 0;
            for (int j = j1; j > j1 - down && j >= 0; --j)
                for (int i = i0; i < i0 + down && i < f.nx; ++i) {
                    std::size_t k = f.Index(i, j);
                    double dk = r.diff[k];
                    if (std::isnan(dk))
                        continue;
                    if (std::isnan(d) || std::fabs(dk) > std::fabs(d)) {
                        d = dk;
                        h = r.height[k];
                    }
                }
            canvas.Put(kMargin + px, kMargin + py, palette.Of(d, h));
        }
}

// A ring around the worst cell of each object that deviates beyond the tolerance, so that a
// gouge of a single cell is still seen.
void DrawMarkers(Canvas& canvas, const VerifyResult& r, int up, int down, int mh) {
    const GridFrame& f = r.frame;
    auto ring = [&](double x, double y, Rgb c) {
        double cx = kMargin + ((x - f.x0) / f.res) * up / down;
        double cy = kMargin + mh - ((y - f.y0) / f.res) * up / down;
        for (int dy = -kMarker - 2; dy <= kMarker + 2; ++dy)
            for (int dx = -kMarker - 2; dx <= kMarker + 2; ++dx) {
                double d = std::hypot(dx, dy);
                if (d >= kMarker && d <= kMarker + 2)
                    canvas.Put(static_cast<int>(cx) + dx, static_cast<int>(cy) + dy, c);
            }
    };
    for (const VerifyFeature& v : r.features) {
        if (v.gouge > r.tolerance)
            ring(v.gouge_x, v.gouge_y, {200, 0, 0});
        if (v.left > r.tolerance)
            ring(v.left_x, v.left_y, {0, 40, 220});
    }
}

void DrawLegend(Canvas& canvas, const Palette& palette, double tol, double scale, int top) {
    const char* unit = UserUnit() == kUnitInch ? "in" : "mm";
    int x0 = kMargin, y0 = top + 24;
    for (int i = 0; i < kBarWidth; ++i) {
        double d = -scale + 2 * scale * (i + 0.5) / kBarWidth;
        canvas.Fill(x0 + i, y0, 1, kBarHeight, palette.Of(d, 1e300));
    }
    std::string lo = Sprintf("-%g %s", scale, unit), hi = Sprintf("+%g %s", scale, unit);
    int ty = y0 + kBarHeight + 6;
    canvas.Text(x0, ty, lo);
    canvas.Text(x0 + kBarWidth / 2 - PixelTextWidth("0", kTextSize) / 2, ty, "0");
    canvas.Text(x0 + kBarWidth - PixelTextWidth(hi, kTextSize), ty, hi);
    canvas.Text(x0, top + 4, "gouge");
    canvas.Text(x0 + kBarWidth - PixelTextWidth("left stock", kTextSize), top + 4, "left stock");
    std::string within = Sprintf("tolerance %g %s", tol, unit);
    canvas.Text(x0 + kBarWidth / 2 - PixelTextWidth(within, kTextSize) / 2, top + 4, within);
}

} // namespace

VerifyPicture DrawVerifyPicture(const VerifyResult& r) {
    const GridFrame& f = r.frame;
    int nx = std::max(f.nx, 1), ny = std::max(f.ny, 1);
    int up = std::clamp(std::min(kMaxMapWidth / nx, kMaxMapHeight / ny), 1, 8);
    int down = std::max(
        {1, (nx + kMaxMapWidth - 1) / kMaxMapWidth, (ny + kMaxMapHeight - 1) / kMaxMapHeight});
    if (down > 1)
        up = 1;
    int mw = (nx * up + down - 1) / down, mh = (ny * up + down - 1) / down;
    double hmin = HUGE_VAL, hmax = -HUGE_VAL, worst = 0;
    for (std::size_t k = 0; k < r.diff.size() && k < r.height.size(); ++k) {
        if (std::isnan(r.diff[k]))
            continue;
        hmin = std::min(hmin, static_cast<double>(r.height[k]));
        hmax = std::max(hmax, static_cast<double>(r.height[k]));
        worst = std::max(worst, std::fabs(static_cast<double>(r.diff[k])));
    }
    double tol = r.tolerance > 0 ? r.tolerance : 0.05;
    double scale = NiceAbove(std::max(4 * tol, worst));
    Palette palette(tol, scale, hmin, hmax);
    int width = std::max(mw, kBarWidth) + 2 * kMargin;
    int height = mh + 2 * kMargin + kLegendHeight;
    Canvas canvas(width, height);
    DrawMap(canvas, r, palette, up, down, mw, mh);
    DrawMarkers(canvas, r, up, down, mh);
    DrawLegend(canvas, palette, tol, scale, kMargin + mh + 8);
    return canvas.Take(scale);
}

namespace {

// libpng's output into a string.
void AppendToString(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), length);
}
void FlushNothing(png_structp) {}

// libpng reports a failure by a jump back to the setjmp; nothing local changes between the two.
bool EncodeRows(png_structp png, png_infop info, const VerifyPicture& picture, png_bytep* rows,
                std::string& out) {
    if (setjmp(png_jmpbuf(png)) != 0)
        return false;
    png_set_write_fn(png, &out, AppendToString, FlushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
                 static_cast<png_uint_32>(picture.height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

} // namespace

// The picture is encoded in memory and then saved as every file of the program is: replacing
// the old file only once the new one is complete.
bool WritePng(const std::string& path, const VerifyPicture& picture) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.rgb.size() != static_cast<std::size_t>(picture.width) * picture.height * 3)
        return false;
    std::string encoded;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<png_bytep> rows(static_cast<std::size_t>(picture.height));
    for (int y = 0; y < picture.height; ++y)
        rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(
            picture.rgb.data() + static_cast<std::size_t>(y) * picture.width * 3);
    bool ok = png && info && EncodeRows(png, info, picture, rows.data(), encoded);
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    return ok && WriteFileAtomically(path, encoded);
}

int WriteVerifyPng(const VerifyResult& result, const std::string& path) {
    if (WritePng(path, DrawVerifyPicture(result)))
        return 1;
    ShowMessage(Sprintf("Can't write the picture [%s]", path.c_str()), "File error",
                kMbOk | kMbIconError);
    return 0;
}

} // namespace korvel

// The dot list: the user's two marked points and the points the program pushes.
#include "cad/dots.h"

#include <array>

#include "geometry/tolerance.h"
#include "model/block.h"

namespace korvel {

namespace {

constexpr int kSetStartClass = 257;
constexpr int kSetEndClass = 1;

std::array<Dot, kMaxDots> g_dots{};
int g_count = 2;

} // namespace

int SetDot(int i, double x, double y) {
    if (i < 0 || i >= g_count)
        return 0;
    g_dots[i] = Dot{x, y, i == 0 ? kSetStartClass : kSetEndClass};
    return 1;
}

int GetDot(int i, double& x, double& y) {
    if (i >= 0 && i < g_count && g_dots[i].cls != 0) {
        x = g_dots[i].x;
        y = g_dots[i].y;
        return 1;
    }
    Coordinates c = GetCoordinates();
    x = c.user_x;
    y = c.user_y;
    return 0;
}

int FindDot(double x, double y) {
    for (int i = 2; i < g_count; ++i)
        if (equal(g_dots[i].x, x) && equal(g_dots[i].y, y))
            return i;
    return -1;
}

int PushPoint(double x, double y, int cls) {
    int i = FindDot(x, y);
    if (i >= 0) {
        g_dots[i].cls = cls;
        return 1;
    }
    if (g_count >= kMaxDots)
        return 0;
    g_dots[g_count++] = Dot{x, y, cls};
    return 1;
}

void RemoveDots() {
    g_dots.fill(Dot{});
    g_count = 2;
}

int DotCount() { return g_count; }

Dot DotAt(int i) { return i >= 0 && i < g_count ? g_dots[i] : Dot{}; }

} // namespace korvel

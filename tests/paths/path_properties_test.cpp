// Properties of contour and pocket paths over random outlines with fixed seeds: rectangles,
// regular polygons, star-shaped polygons and free contours with arcs bulging out and in.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/tolerance.h"
#include "model/bulge.h"
#include "model/pocket.h"
#include "path_checks.h"
#include "paths/contour_path.h"
#include "paths/path_intersections.h"
#include "paths/path_table.h"
#include "paths/pocket_path.h"
#include "support.h"

namespace korvel {
namespace {

using test::Rng;
using test::Vertex;

constexpr int kCases = 200;

class PathProperties : public test::KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        ASSERT_EQ(Type("BLOCK 1 400 300 40 0 0 -40 0 0 -1"), 1);
    }

    // Replaces object 2 by a random outline of one of four families (as a bulge or a pocket);
    // false when the random outline crosses itself and is no outline at all.
    bool RandomOutline(Rng& rng, bool pocket, int family) {
        if (IndexOf(2) >= 0)
            Type("DELETE 2");
        const std::string kw = pocket ? "POCKET" : "BULGE";
        double cx = rng.Uniform(150, 250), cy = rng.Uniform(120, 180);
        switch (family) {
        case 0: {
            double l = rng.Uniform(10, 120), w = rng.Uniform(10, 120);
            double r = rng.Uniform(pocket ? 0.5 : 0, std::fmin(l, w) / 2);
            TypeAll({Sprintf("%s 2 1 %g %g 5 %g %g %g 0 0 0 -1 0 0", pocket ? "RPOCKET" : "RBULGE",
                             l, w, cx - l / 2, cy - w / 2, r)});
            return true;
        }
        case 1:
            if (!pocket) {
                TypeAll({Sprintf("POLYGON 2 1 %d %g 5 %g %g 0 0 0 -1 0 0", rng.Int(3, 12),
                                 rng.Uniform(10, 80), cx, cy)});
                return true;
            }
            [[fallthrough]];
        default: {
            Vertex closing;
            auto v = test::RandomStar(rng, cx, cy, rng.Uniform(30, 90), rng.Int(3, 14), family == 3,
                                      closing);
            TypeAll(test::FreeContour(kw, 2, 1, v, closing));
            return !OutlineCrossesItself();
        }
        }
    }

    Shape Outline() const {
        if (Bulge_valid(IndexOf(2))) {
            Bulge b;
            GetBulge(IndexOf(2), b);
            return b.shape;
        }
        Pocket p;
        GetPocket(IndexOf(2), p);
        return p.shape;
    }

    // The radius of the largest circle inside the outline, on a fine grid.
    double LargestInscribedRadius() const {
        auto e = test::ShapeOutline(Outline());
        double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
        for (const Point& p : test::PointsAlong(e, 1)) {
            x0 = std::fmin(x0, p.x);
            y0 = std::fmin(y0, p.y);
            x1 = std::fmax(x1, p.x);
            y1 = std::fmax(y1, p.y);
        }
        double best = 0;
        for (double x = x0; x <= x1; x += 0.05)
            for (double y = y0; y <= y1; y += 0.05)
                if (test::Inside(e, x, y))
                    best = std::fmax(best, test::DistanceToAll(e, x, y));
        return best;
    }

    bool OutlineCrossesItself() const {
        auto e = test::ShapeOutline(Outline());
        int n = static_cast<int>(e.size());
        for (int i = 0; i < n; ++i)
            for (int j = i + 1; j < n; ++j) {
                double x[2], y[2];
                int found = Intersect(e[i], e[j], x[0], y[0], x[1], y[1]);
                for (int k = 0; k < found; ++k) {
                    bool shared =
                        (j == i + 1 && equal(x[k], e[i].x2) && equal(y[k], e[i].y2)) ||
                        (i == 0 && j == n - 1 && equal(x[k], e[0].x1) && equal(y[k], e[0].y1));
                    if (!shared)
                        return true;
                }
            }
        return false;
    }
};

// Closed, counter-clockwise, free of crossings, and every point at distance d from the outline
// (on its outside for a bulge, inside for a pocket). Returns the largest distance error.
double CheckOffsetPath(const PathRef& p, const Shape& outline_shape, double d, bool inside,
                       const std::string& what) {
    auto outline = test::ShapeOutline(outline_shape);
    EXPECT_GE(p.size(), 3) << what;
    EXPECT_TRUE(equal(p[0].x, p[p.size() - 1].x) && equal(p[0].y, p[p.size() - 1].y)) << what;
    EXPECT_GT(PathArea(p.points, p.size()), 0) << what;
    int count = p.size();
    EXPECT_EQ(CheckForInternalPathIntersections(p.points, count), 0) << what;
    double worst = 0;
    int reported = 0;
    for (const Point& q : test::PointsAlong(test::PathElements(p), 0.5)) {
        double error = std::fabs(test::DistanceToAll(outline, q.x, q.y) - d);
        worst = std::fmax(worst, error);
        bool ok = approx_equal(error, 0) && test::Inside(outline, q.x, q.y) == inside;
        if (!ok && reported++ < 3)
            ADD_FAILURE() << what << ": point (" << q.x << ", " << q.y << ") lies "
                          << test::DistanceToAll(outline, q.x, q.y) << " from the outline";
    }
    return worst;
}

TEST_F(PathProperties, BulgeContourLiesAtTheOffsetDistance) {
    Rng rng(20260517);
    double worst = 0;
    int checked = 0;
    for (int c = 0; c < kCases; ++c) {
        int family = c % 4;
        if (!RandomOutline(rng, false, family))
            continue;
        double d = rng.Uniform(0.5, 12);
        ASSERT_EQ(MakeBulgePath(0, IndexOf(2), d), 1) << "case " << c;
        worst = std::fmax(worst, CheckOffsetPath(GetPath(0), Outline(), d, false,
                                                 Sprintf("case %d family %d d %g", c, family, d)));
        ++checked;
    }
    EXPECT_GT(checked, kCases * 3 / 4);
    RecordProperty("worst_error", Sprintf("%g", worst));
    EXPECT_LT(worst, 1e-5);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(PathProperties, PocketWallLiesInsideAtTheToolRadius) {
    Rng rng(715);
    double worst = 0;
    int checked = 0, refused = 0;
    for (int c = 0; c < kCases; ++c) {
        int family = c % 4;
        if (!RandomOutline(rng, true, family))
            continue;
        double r = rng.Uniform(0.5, 8);
        if (!MakePocketPath(1, IndexOf(2), r)) {
            // Refused only when the tool fits nowhere inside.
            EXPECT_EQ(Messages(),
                      std::vector<std::string>{"[Tool selection error] Tool diameter too big"});
            EXPECT_LT(LargestInscribedRadius(), r + 0.01) << "case " << c;
            ++refused;
            continue;
        }
        worst = std::fmax(worst, CheckOffsetPath(GetPath(1), Outline(), r, true,
                                                 Sprintf("case %d family %d r %g", c, family, r)));
        ++checked;
    }
    EXPECT_GT(checked, kCases * 3 / 4);
    RecordProperty("refused", refused);
    RecordProperty("worst_error", Sprintf("%g", worst));
    EXPECT_LT(worst, 1e-5);
    EXPECT_TRUE(Messages().empty());
}

} // namespace
} // namespace korvel

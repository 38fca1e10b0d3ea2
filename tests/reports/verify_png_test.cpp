// The verification picture: colours where the part is right, gouged or left, a legend, and a
// PNG file that reads back as the same picture.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <png.h>

#include <cmath>
#include <limits>

#include "reports/pixel_font.h"
#include "reports/verify_png.h"
#include "support.h"

namespace korvel::test {
namespace {

// A made-up result: 100 x 50 cells, a gouge in the left half, left stock in the right half,
// the last row outside the block.
VerifyResult MadeUp() {
    VerifyResult r;
    r.frame = GridFrame{0, 0, 0.1, 100, 50};
    r.tolerance = 0.05;
    r.diff.assign(r.frame.Cells(), 0);
    r.height.assign(r.frame.Cells(), 0);
    r.diff[r.frame.Index(20, 25)] = -0.3f;
    r.diff[r.frame.Index(70, 25)] = 0.3f;
    r.diff[r.frame.Index(40, 10)] = 0.03f; // within the tolerance
    for (int i = 0; i < 100; ++i)
        r.diff[r.frame.Index(i, 49)] = std::numeric_limits<float>::quiet_NaN();
    r.features.push_back(VerifyFeature{2, 22, 0.3, 2.05, 2.55, 7, 0, 0, 0});
    return r;
}

struct Px {
    int r, g, b;
};

Px At(const VerifyPicture& p, int x, int y) {
    std::size_t k = (static_cast<std::size_t>(y) * p.width + x) * 3;
    return {p.rgb[k], p.rgb[k + 1], p.rgb[k + 2]};
}

TEST(VerifyPngTest, GougesAreRedLeftStockBlueTheRestGrey) {
    VerifyResult r = MadeUp();
    VerifyPicture p = DrawVerifyPicture(r);
    // 100 x 50 cells are drawn 8 pixels a cell (no more), after a margin of 16.
    auto cell = [&](int i, int j) { return At(p, 16 + i * 8 + 4, 16 + (49 - j) * 8 + 4); };
    Px gouge = cell(20, 25), left = cell(70, 25), within = cell(40, 10), outside = cell(5, 49);
    EXPECT_GT(gouge.r, gouge.b + 100);
    EXPECT_GT(left.b, left.r + 100);
    EXPECT_EQ(within.r, within.g);
    EXPECT_EQ(within.g, within.b);
    EXPECT_GT(within.r, 140);
    EXPECT_LT(outside.r, 60);
    // The scale is the next round number above the worst deviation and four tolerances.
    EXPECT_DOUBLE_EQ(p.scale, 0.5);
    // The legend under the map: the bar from red to blue.
    int bar_y = 16 + 50 * 8 + 8 + 24 + 5;
    EXPECT_GT(At(p, 17, bar_y).r, At(p, 17, bar_y).b + 100);
    EXPECT_GT(At(p, 16 + 478, bar_y).b, At(p, 16 + 478, bar_y).r + 100);
    EXPECT_EQ(p.width, 100 * 8 + 32);
    EXPECT_EQ(p.height, 50 * 8 + 32 + 86);
}

TEST(VerifyPngTest, LargeGridsAreReducedWithoutLosingASingleCellDefect) {
    VerifyResult r;
    r.frame = GridFrame{0, 0, 0.1, 2600, 1300};
    r.tolerance = 0.05;
    r.diff.assign(r.frame.Cells(), 0);
    r.height.assign(r.frame.Cells(), 0);
    r.diff[r.frame.Index(2321, 1234)] = -1;
    VerifyPicture p = DrawVerifyPicture(r);
    EXPECT_LE(p.width, 1200 + 32);
    int down = 3; // 2600 / 1200 rounded up
    Px px = At(p, 16 + 2321 / down, 16 + (1300 - 1 - 1234) / down);
    EXPECT_GT(px.r, px.b + 100);
}

class VerifyPngFileTest : public KorvelTest {};

TEST_F(VerifyPngFileTest, ThePngReadsBackAsThePicture) {
    VerifyResult r = MadeUp();
    std::string path = ScratchDir() + "/verify.png";
    ASSERT_EQ(WriteVerifyPng(r, path), 1);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    VerifyPicture p = DrawVerifyPicture(r);
    EXPECT_EQ(static_cast<int>(image.width), p.width);
    EXPECT_EQ(static_cast<int>(image.height), p.height);
    EXPECT_EQ(pixels, p.rgb);
}

TEST_F(VerifyPngFileTest, AFileThatCannotBeWrittenIsReported) {
    VerifyResult r = MadeUp();
    EXPECT_EQ(WriteVerifyPng(r, ScratchDir() + "/no/such/folder/verify.png"), 0);
    ASSERT_EQ(Messages().size(), 1u);
}

TEST_F(VerifyPngFileTest, SavingKeepsLinksModesAndWhatIsNotAFile) {
    VerifyResult r = MadeUp();
    // Through a symbolic link: the file it names gets the picture, the link stays a link.
    std::string target = WriteFile("target.png", "old");
    std::string link = ScratchDir() + "/link.png";
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    ASSERT_EQ(chmod(target.c_str(), 0600), 0);
    ASSERT_EQ(WriteVerifyPng(r, link), 1);
    struct stat st {};
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(Slurp(target).substr(1, 3), "PNG");
    // A folder in the way is refused and left alone.
    std::string folder = ScratchDir() + "/folder.png";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    EXPECT_EQ(WriteVerifyPng(r, folder), 0);
    ASSERT_EQ(stat(folder.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST(PixelFontTest, TextTakesSixPixelsACharacterLessOneAndClipsAtTheEdge) {
    EXPECT_EQ(PixelTextWidth("0.05 mm", 2), (7 * 6 - 1) * 2);
    std::vector<std::uint8_t> rgb(10 * 10 * 3, 0);
    DrawPixelText(rgb, 10, 10, 7, -3, "1", 1, 255, 255, 255); // half outside: no fault
    int lit = 0;
    for (std::uint8_t v : rgb)
        lit += v == 255;
    EXPECT_GT(lit, 0);
}

} // namespace
} // namespace korvel::test

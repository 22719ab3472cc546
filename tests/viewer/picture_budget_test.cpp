#include <gtest/gtest.h>

#include "viewer/picture_budget.h"

namespace tarvelin {
namespace {

constexpr uint64_t MiB = uint64_t{1} << 20;

TEST(PictureBudget, ChoosesTheLargestScaleWhoseDecodeFits) {
    const std::vector<JpegLayout::Sampling> yuv420{{2, 2}, {1, 1}, {1, 1}}, yuv444(3);
    const JpegLayout baseline{{17320, 17320}, yuv420, false, false};
    const JpegLayout progressive{{6000, 4000}, yuv444, true, false};
    const struct {
        const char* what;
        JpegLayout layout;
        int wanted;
        uint64_t budget;
        int eighths;
    } cases[] = {
        {"baseline 300 Mpx at full size", baseline, 8, 256 * MiB, 3},
        {"baseline 300 Mpx for a fit view", baseline, 1, 256 * MiB, 1},
        {"progressive 4:4:4, 24 Mpx", progressive, 8, 256 * MiB, 8},
        {"coefficients kept at every scale", progressive, 8, 200 * MiB, 6},
        {"coefficients past the budget", progressive, 1, 128 * MiB, 0},
        {"300 Mpx progressive 4:4:4", {{17320, 17320}, yuv444, true, false}, 1, 256 * MiB, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(jpegScaleWithin(c.layout, c.wanted, c.budget), c.eighths) << c.what;
}

}  // namespace
}  // namespace tarvelin

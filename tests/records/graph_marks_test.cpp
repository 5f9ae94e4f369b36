// Thinning of the value marks: none is left out while marks do not crowd, and the ones drawn
// never overlap each other nor hide another point.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "records/graph_series.h"

namespace keyrook {
namespace {

MarkBox mark(double x, double y, double width = 30) { return {x, y - 18, width, 13, x, y}; }

bool overlap(const MarkBox& a, const MarkBox& b) {
    return a.x - a.width / 2 < b.x + b.width / 2 && b.x - b.width / 2 < a.x + a.width / 2 &&
           a.top < b.top + b.height && b.top < a.top + a.height;
}

TEST(GraphMarks, ThinnedOnlyWhereTheyWouldOverlap) {
    struct Case {
        std::vector<MarkBox> boxes;
        std::vector<bool> kept;
    } cases[] = {
        {{mark(10, 100), mark(60, 100), mark(110, 100)}, {true, true, true}},
        // The second sits on the first; the third is clear of the first.
        {{mark(10, 100), mark(25, 100), mark(45, 100)}, {true, false, true}},
        // Close neighbours at different heights are both readable.
        {{mark(10, 100), mark(20, 60)}, {true, true}},
        // A mark that would hide the next point is left out.
        {{mark(10, 100), mark(30, 150), mark(20, 88)}, {false, true, true}},
        {{}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(thinMarks(c.boxes, 2, 3), c.kept);
}

TEST(GraphMarks, CrowdedMarksNeverOverlap) {
    std::mt19937 rng(4);
    std::vector<MarkBox> boxes;
    for (int i = 0; i < 20000; ++i) boxes.push_back(mark(i * 0.03, 30 + rng() % 300, 20 + rng() % 30));
    const std::vector<bool> kept = thinMarks(boxes, 2, 3);
    std::vector<MarkBox> shown;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        if (kept[i]) shown.push_back(boxes[i]);
    EXPECT_GT(shown.size(), 0u);
    EXPECT_LT(shown.size(), 200u);
    for (std::size_t a = 0; a < shown.size(); ++a)
        for (std::size_t b = a + 1; b < shown.size(); ++b) ASSERT_FALSE(overlap(shown[a], shown[b]));
    for (const MarkBox& s : shown)
        for (const MarkBox& p : boxes) {
            if (p.pointX == s.pointX && p.pointY == s.pointY) continue;
            ASSERT_FALSE(p.pointX > s.x - s.width / 2 - 3 && p.pointX < s.x + s.width / 2 + 3 &&
                         p.pointY > s.top - 3 && p.pointY < s.top + s.height + 3);
        }
}

}  // namespace
}  // namespace keyrook

#include "host/model/spatial_index.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

namespace kavrel::host {
namespace {

std::vector<std::size_t> BruteForce(const std::vector<std::optional<Rect>>& boxes,
                                    const Rect& query) {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (boxes[i] && boxes[i]->Overlaps(query)) {
            out.push_back(i);
        }
    }
    return out;
}

TEST(SpatialIndexTest, AgreesWithBruteForceThroughUpdatesAndRemovals) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coord(-1000, 1000);
    std::uniform_real_distribution<double> size(0, 30);
    SpatialIndex index;
    std::vector<std::optional<Rect>> boxes(3000);
    auto random_box = [&] {
        const double x = coord(random), y = coord(random);
        return Rect{x, y, x + size(random), y + size(random)};
    };
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        boxes[i] = random_box();
        index.Update(i, boxes[i]);
    }
    // One huge item that covers everything, then moves and deletions after the grid exists.
    boxes.push_back(Rect{-5000, -5000, 5000, 5000});
    index.Update(boxes.size() - 1, boxes.back());
    for (int round = 0; round < 3; ++round) {
        for (int q = 0; q < 50; ++q) {
            const Rect query = random_box();
            ASSERT_EQ(index.Candidates(query), BruteForce(boxes, query)) << "round " << round;
        }
        for (std::size_t i = round; i < boxes.size(); i += 7) {
            boxes[i] = (i % 2) ? std::optional<Rect>() : std::optional<Rect>(random_box());
            index.Update(i, boxes[i]);
        }
    }
    const Rect everything{-1e300, -1e300, 1e300, 1e300};
    EXPECT_EQ(index.Candidates(everything), BruteForce(boxes, everything)) << "unbounded query";
}

TEST(SpatialIndexTest, QueryOverManyItemsLooksAtFewCells) {
    SpatialIndex index;
    for (std::size_t i = 0; i < 100000; ++i) {
        const double x = static_cast<double>(i % 400) * 10;
        const double y = static_cast<double>(i / 400) * 10;
        index.Update(i, Rect{x, y, x + 1, y + 1});
    }
    index.Candidates(Rect{0, 0, 1, 1});  // builds the grid
    const auto start = std::chrono::steady_clock::now();
    std::size_t found = 0;
    for (int q = 0; q < 1000; ++q) {
        found += index.Candidates(Rect{505, 505, 525, 525}).size();
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(found, 1000u * 4u);  // items at 510 and 520 on both axes
    // A linear scan of 100,000 boxes a thousand times takes far longer than this.
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 500);
}

}  // namespace
}  // namespace kavrel::host

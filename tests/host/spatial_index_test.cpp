#include "host/model/spatial_index.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(SpatialIndexTest, SmallMovesWithinAndAcrossCellsAgreeWithBruteForce) {
    // Edited vertices move boxes a little: mostly within their cells, now and
    // then across a cell boundary. Queries must follow either way.
    std::mt19937 random(11);
    std::uniform_real_distribution<double> step(-0.6, 0.6);
    SpatialIndex index;
    std::vector<std::optional<Rect>> boxes(2500);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const double x = static_cast<double>(i % 50) * 4;
        const double y = static_cast<double>(i / 50) * 4;
        boxes[i] = Rect{x, y, x + 0.5, y + 0.5};
        index.Update(i, boxes[i]);
    }
    index.Candidates(Rect{0, 0, 1, 1});  // builds the grid
    for (int round = 0; round < 20; ++round) {
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const double dx = step(random), dy = step(random);
            boxes[i] = Rect{boxes[i]->xmin + dx, boxes[i]->ymin + dy, boxes[i]->xmax + dx,
                            boxes[i]->ymax + dy};
            index.Update(i, boxes[i]);
        }
        for (double q = 0; q < 200; q += 13.7) {
            const Rect query{q, q / 2, q + 3, q / 2 + 3};
            ASSERT_EQ(index.Candidates(query), BruteForce(boxes, query)) << "round " << round;
        }
    }
}

TEST(SpatialIndexTest, ManyLargeItemsRemovedAndMovedInAnyOrder) {
    // Items too large for the cells are kept aside; removing or shrinking
    // them in any order must leave exactly the others aside.
    std::mt19937 random(5);
    SpatialIndex index;
    std::vector<std::optional<Rect>> boxes(400);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const double x = static_cast<double>(i % 20) * 5;
        const double y = static_cast<double>(i / 20) * 5;
        boxes[i] =
            (i % 3 == 0) ? Rect{x - 500, y - 500, x + 500, y + 500} : Rect{x, y, x + 1, y + 1};
        index.Update(i, boxes[i]);
    }
    index.Candidates(Rect{0, 0, 1, 1});  // builds the grid
    std::vector<std::size_t> order(boxes.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::shuffle(order.begin(), order.end(), random);
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::size_t i = order[k];
        if (k % 2) {
            boxes[i].reset();
        } else {
            boxes[i] = Rect{boxes[i]->xmin, boxes[i]->ymin, boxes[i]->xmin + 1, boxes[i]->ymin + 1};
        }
        index.Update(i, boxes[i]);
        if (k % 25 == 0) {
            const Rect query{20, 20, 40, 40};
            ASSERT_EQ(index.Candidates(query), BruteForce(boxes, query)) << "after " << k;
        }
    }
    const Rect everything{-1e300, -1e300, 1e300, 1e300};
    EXPECT_EQ(index.Candidates(everything), BruteForce(boxes, everything));
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

#include "editor/label_placement.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

#include "editor/placement_grid.h"

namespace kavrel {
namespace {

// In label heights: the gap between a point and a label placed around it, the
// distance beyond which a label reads as another mark's, the size of the
// grid's cells.
constexpr double kGap = 0.5;
constexpr double kFarthest = 2.0;
constexpr double kCell = 4.0;
// A baseline of no length is given this one when its label is placed.
constexpr double kBaselineLength = 0.5;
// Covering a label or a point, or standing far from its point, hides
// something; a line through the text only makes it harder to read.
constexpr int kHiding = 4;
constexpr int kCrossing = 1;
// A segment longer than this many cells is kept whole instead of in pieces.
constexpr double kMostPieces = 1024;

// Items of the obstacle grid: a kind in the top bits, an index below.
enum Kind : std::uint32_t { kLabel = 0, kPoint = 1, kPiece = 2 };
constexpr std::uint32_t kKindShift = 30;
constexpr std::uint32_t kIndexMask = (1u << kKindShift) - 1;

std::uint32_t Item(Kind kind, std::size_t index) {
    return (static_cast<std::uint32_t>(kind) << kKindShift) | static_cast<std::uint32_t>(index);
}

Bounds SpanOf(MapPoint a, MapPoint b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

struct Conflicts {
    int labels = 0;
    int points = 0;
    int lines = 0;
    bool far = false;

    int Count() const { return labels + points + lines + (far ? 1 : 0); }
    int Cost() const { return kHiding * (labels + points + (far ? 1 : 0)) + kCrossing * lines; }
};

// A piece of a line's segment, no longer than a cell.
struct Piece {
    MapPoint a;
    MapPoint b;
    std::uint32_t line;
};

// Items found in several cells are counted once: each search has a stamp, and
// an item seen in it carries that stamp.
class Seen {
  public:
    explicit Seen(std::size_t size) : stamps_(size, 0) {}
    void Next() { ++stamp_; }
    bool First(std::size_t item) {
        if (stamps_[item] == stamp_) {
            return false;
        }
        stamps_[item] = stamp_;
        return true;
    }

  private:
    std::vector<std::uint32_t> stamps_;
    std::uint32_t stamp_ = 0;
};

// Where the labels can be: each mark's eight places and the box its label
// stands in. The grids cover this much of the map and no more.
Bounds RegionOf(const std::vector<MarkLabel>& marks, double gap) {
    Bounds region{INFINITY, INFINITY, -INFINITY, -INFINITY};
    auto extend = [&](const Bounds& b) {
        region.xmin = std::min(region.xmin, b.xmin);
        region.ymin = std::min(region.ymin, b.ymin);
        region.xmax = std::max(region.xmax, b.xmax);
        region.ymax = std::max(region.ymax, b.ymax);
    };
    for (const MarkLabel& mark : marks) {
        const double reach = mark.size.width + mark.size.Height() + gap;
        extend({mark.anchor.x - reach, mark.anchor.y - reach, mark.anchor.x + reach,
                mark.anchor.y + reach});
        extend(LabelBox::OnBaseline(mark.start, mark.end, mark.size).Extent());
    }
    return region;
}

// Cells for a grid over the region: a few per mark, and never many more.
std::size_t MostCells(const std::vector<MarkLabel>& marks) {
    return std::max<std::size_t>(1 << 16, 16 * marks.size());
}

class Placer {
  public:
    Placer(const std::vector<MarkLabel>& marks, const LabelObstacles& obstacles, double height)
        : marks_(marks),
          obstacles_(obstacles),
          height_(height),
          region_(RegionOf(marks, kGap * height)),
          grid_(region_, kCell * height, MostCells(marks)),
          placed_(region_, kCell * height, MostCells(marks)),
          labels_seen_(obstacles.labels.size()),
          lines_seen_(obstacles.lines.size()),
          marks_seen_(marks.size()) {
        for (std::size_t i = 0; i < obstacles.labels.size(); ++i) {
            grid_.Insert(Item(kLabel, i), obstacles.labels[i].Extent());
        }
        // The points of the marks being placed are obstacles as well, each
        // for its own label too.
        points_ = obstacles.points;
        for (const MarkLabel& mark : marks) {
            points_.push_back(mark.anchor);
        }
        for (std::size_t i = 0; i < points_.size(); ++i) {
            const MapPoint p = points_[i];
            grid_.Insert(Item(kPoint, i), {p.x, p.y, p.x, p.y});
        }
        for (std::size_t line = 0; line < obstacles.lines.size(); ++line) {
            const std::vector<MapPoint>& chain = obstacles.lines[line];
            for (std::size_t k = 1; k < chain.size(); ++k) {
                AddSegment(chain[k - 1], chain[k], static_cast<std::uint32_t>(line));
            }
        }
    }

    std::vector<LabelPlace> Run() {
        std::vector<LabelPlace> places(marks_.size());
        for (std::size_t m : Order()) {
            places[m] = Place(m);
            placed_.Insert(static_cast<std::uint32_t>(m), boxes_[m].Extent());
        }
        return places;
    }

  private:
    // The part of a segment inside the region, in pieces of about a cell, so
    // that a long line is met only where it runs; a very long one whole.
    void AddSegment(MapPoint a, MapPoint b, std::uint32_t line) {
        if (!ClipToRegion(a, b)) {
            return;
        }
        const double cells = PointDistance(a, b) / (kCell * height_);
        if (!(cells <= kMostPieces)) {
            pieces_.push_back({a, b, line});
            grid_.Insert(Item(kPiece, pieces_.size() - 1), SpanOf(a, b));
            return;
        }
        const int count = std::max(1, static_cast<int>(std::ceil(cells)));
        MapPoint from = a;
        for (int k = 1; k <= count; ++k) {
            const double t = static_cast<double>(k) / count;
            const MapPoint to =
                k == count ? b : MapPoint{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
            pieces_.push_back({from, to, line});
            grid_.Insert(Item(kPiece, pieces_.size() - 1), SpanOf(from, to));
            from = to;
        }
    }

    // Liang-Barsky: shortens the segment to the region; false when it misses it.
    bool ClipToRegion(MapPoint& a, MapPoint& b) const {
        const double dx = b.x - a.x;
        const double dy = b.y - a.y;
        const double p[4] = {-dx, dx, -dy, dy};
        const double q[4] = {a.x - region_.xmin, region_.xmax - a.x, a.y - region_.ymin,
                             region_.ymax - a.y};
        double t0 = 0.0;
        double t1 = 1.0;
        for (int i = 0; i < 4; ++i) {
            if (p[i] == 0.0) {
                if (q[i] < 0.0) {
                    return false;
                }
                continue;
            }
            const double t = q[i] / p[i];
            if (p[i] < 0.0) {
                t0 = std::max(t0, t);
            } else {
                t1 = std::min(t1, t);
            }
        }
        if (!(t0 <= t1)) {
            return false;
        }
        const MapPoint from{a.x + dx * t0, a.y + dy * t0};
        b = {a.x + dx * t1, a.y + dy * t1};
        a = from;
        return true;
    }

    // What a box covers among the obstacles, and among the labels placed so
    // far when with_placed.
    Conflicts Check(const LabelBox& box, bool with_placed) {
        Conflicts found;
        const Bounds extent = box.Extent();
        labels_seen_.Next();
        lines_seen_.Next();
        grid_.Near(extent, [&](std::uint32_t item) {
            const std::uint32_t index = item & kIndexMask;
            switch (item >> kKindShift) {
                case kLabel:
                    if (labels_seen_.First(index) && box.Overlaps(obstacles_.labels[index])) {
                        ++found.labels;
                    }
                    break;
                case kPoint:
                    if (box.Holds(points_[index])) {
                        ++found.points;
                    }
                    break;
                default: {
                    const Piece& piece = pieces_[index];
                    if (box.MetBy(piece.a, piece.b) && lines_seen_.First(piece.line)) {
                        ++found.lines;
                    }
                }
            }
        });
        if (with_placed) {
            marks_seen_.Next();
            placed_.Near(extent, [&](std::uint32_t m) {
                if (marks_seen_.First(m) && box.Overlaps(boxes_[m])) {
                    ++found.labels;
                }
            });
        }
        return found;
    }

    LabelBox Standing(std::size_t m) const {
        return LabelBox::OnBaseline(marks_[m].start, marks_[m].end, marks_[m].size);
    }

    bool Far(std::size_t m, const LabelBox& box) const {
        return box.DistanceTo(marks_[m].anchor) > kFarthest * height_;
    }

    // Most conflicts as everything stands first, the selection's order among equals.
    std::vector<std::size_t> Order() {
        PlacementGrid standing(region_, kCell * height_, MostCells(marks_));
        for (std::size_t m = 0; m < marks_.size(); ++m) {
            standing.Insert(static_cast<std::uint32_t>(m), Standing(m).Extent());
        }
        std::vector<int> conflicts(marks_.size());
        for (std::size_t m = 0; m < marks_.size(); ++m) {
            const LabelBox box = Standing(m);
            Conflicts found = Check(box, false);
            found.far = Far(m, box);
            marks_seen_.Next();
            standing.Near(box.Extent(), [&](std::uint32_t other) {
                if (other != m && marks_seen_.First(other) && box.Overlaps(Standing(other))) {
                    ++found.labels;
                }
            });
            conflicts[m] = found.Count();
        }
        std::vector<std::size_t> order(marks_.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return conflicts[a] > conflicts[b]; });
        boxes_.resize(marks_.size());
        return order;
    }

    LabelPlace Place(std::size_t m) {
        const MarkLabel& mark = marks_[m];
        const LabelBox standing = Standing(m);
        Conflicts best = Check(standing, true);
        best.far = Far(m, standing);
        LabelBox chosen = standing;
        if (best.Count() > 0) {
            for (const LabelBox& place : PlacesAround(mark.anchor, mark.size, kGap * height_)) {
                const Conflicts found = Check(place, true);
                if (found.Cost() < best.Cost()) {
                    best = found;
                    chosen = place;
                    if (best.Count() == 0) {
                        break;
                    }
                }
            }
        }
        boxes_[m] = chosen;

        LabelPlace result;
        result.free = best.Count() == 0;
        result.start = chosen.origin;
        const double length = PointDistance(mark.start, mark.end);
        const double along = length > 0.0 && std::isfinite(length) ? length : kBaselineLength;
        result.end = {chosen.origin.x + chosen.direction.x * along,
                      chosen.origin.y + chosen.direction.y * along};
        if (chosen.origin.x == standing.origin.x && chosen.origin.y == standing.origin.y &&
            chosen.direction.x == standing.direction.x &&
            chosen.direction.y == standing.direction.y) {
            result.start = mark.start;
            result.end = mark.end;
        }
        result.moved = result.start.x != mark.start.x || result.start.y != mark.start.y ||
                       result.end.x != mark.end.x || result.end.y != mark.end.y;
        return result;
    }

    const std::vector<MarkLabel>& marks_;
    const LabelObstacles& obstacles_;
    double height_;
    Bounds region_;
    PlacementGrid grid_;    // obstacles
    PlacementGrid placed_;  // labels placed so far, by mark
    std::vector<MapPoint> points_;
    std::vector<Piece> pieces_;
    std::vector<LabelBox> boxes_;  // each mark's label where it was placed
    Seen labels_seen_;
    Seen lines_seen_;
    Seen marks_seen_;
};

}  // namespace

std::array<LabelBox, 8> PlacesAround(MapPoint anchor, const LabelSize& size, double gap) {
    const double w = size.width;
    const double h = size.Height();
    // Each place by its box's south edge (x) and west edge (y).
    const double above = anchor.x + gap;
    const double level = anchor.x - h / 2;
    const double below = anchor.x - gap - h;
    const double right = anchor.y + gap;
    const double centre = anchor.y - w / 2;
    const double left = anchor.y - gap - w;
    const double edges[8][2] = {{above, right}, {level, right}, {below, right}, {below, centre},
                                {below, left},  {level, left},  {above, left},  {above, centre}};
    std::array<LabelBox, 8> places;
    for (std::size_t k = 0; k < places.size(); ++k) {
        places[k].origin = {edges[k][0] + size.descent, edges[k][1]};
        places[k].direction = {0.0, 1.0};
        places[k].size = size;
    }
    return places;
}

std::vector<LabelPlace> PlaceLabels(const std::vector<MarkLabel>& marks,
                                    const LabelObstacles& obstacles, double label_height) {
    return Placer(marks, obstacles, label_height).Run();
}

}  // namespace kavrel

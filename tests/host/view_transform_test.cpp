// The map view's transform and the splitting of command menu paths.
#include "host/window/view_transform.h"

#include <gtest/gtest.h>

#include <cmath>

#include "host/window/menu_path.h"

namespace kavrel::host {
namespace {

TEST(ViewTransform, FitPlacesTheExtentCentredWithinTheMargin) {
    struct Row {
        const char* label;
        Rect extent;
        int width, height;
        // Expected pixels of the south-west and north-east corners.
        double sw_col, sw_row, ne_col, ne_row;
    };
    const Row rows[] = {
        // 100 x 100 in 400 x 400 with margin 20: 3.6 pixels per unit.
        {"square", Rect{0, 0, 100, 100}, 400, 400, 20, 380, 380, 20},
        // Wider window: the height limits; centred left to right.
        {"wide window", Rect{0, 0, 100, 100}, 600, 400, 120, 380, 480, 20},
        // Taller extent (north 200, east 100) in a square window.
        {"tall extent", Rect{1000, 500, 1200, 600}, 400, 400, 110, 380, 290, 20},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        const ViewTransform view = ViewTransform::Fit(row.extent, row.width, row.height, 20);
        const ScreenPoint sw = view.ToScreen(row.extent.xmin, row.extent.ymin);
        const ScreenPoint ne = view.ToScreen(row.extent.xmax, row.extent.ymax);
        EXPECT_NEAR(sw.x, row.sw_col, 1e-9);
        EXPECT_NEAR(sw.y, row.sw_row, 1e-9);
        EXPECT_NEAR(ne.x, row.ne_col, 1e-9);
        EXPECT_NEAR(ne.y, row.ne_row, 1e-9);
    }
}

TEST(ViewTransform, ZoomKeepsThePointUnderThePixelAndPanFollowsTheMouse) {
    struct Row {
        const char* label;
        double column, row, factor, expected_scale;
    };
    const Row rows[] = {
        {"in at a corner", 0, 0, 2, 4},
        {"out in the middle", 150, 75, 0.5, 1},
        {"no factor changes nothing", 10, 10, 0, 2},
        {"a negative factor changes nothing", 10, 10, -3, 2},
        {"clamped at the largest scale", 5, 5, 1e12, ViewTransform::kMaxScale},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ViewTransform view(2, 100, 500);
        const MapPoint before = view.ToMap(r.column, r.row);
        view.ZoomAbout(r.column, r.row, r.factor);
        const MapPoint after = view.ToMap(r.column, r.row);
        EXPECT_DOUBLE_EQ(view.scale(), r.expected_scale);
        EXPECT_NEAR(after.x, before.x, 1e-9);
        EXPECT_NEAR(after.y, before.y, 1e-9);
    }
    ViewTransform view(4, 0, 100);
    const MapPoint grabbed = view.ToMap(40, 60);
    view.Pan(12, -8);
    const MapPoint under = view.ToMap(52, 52);
    EXPECT_NEAR(under.x, grabbed.x, 1e-12);
    EXPECT_NEAR(under.y, grabbed.y, 1e-12);
}

TEST(ViewTransform, MapRectOrdersItsCorners) {
    const ViewTransform view(2, 10, 50);
    const Rect r = view.MapRect(ScreenPoint{20, 40}, ScreenPoint{4, 8});
    EXPECT_DOUBLE_EQ(r.xmin, 30);  // row 40 -> north 50 - 20
    EXPECT_DOUBLE_EQ(r.xmax, 46);  // row 8 -> 50 - 4
    EXPECT_DOUBLE_EQ(r.ymin, 12);  // column 4 -> 10 + 2
    EXPECT_DOUBLE_EQ(r.ymax, 20);
}

TEST(MenuPath, SplitsAtBackslashesLeavingOutEmptyLevels) {
    struct Row {
        const char* label;
        std::u16string path;
        std::vector<std::u16string> levels;
    };
    const Row rows[] = {
        {"three levels",
         u"Сервис\\Отметки\\Импорт отметок из текста",
         {u"Сервис", u"Отметки", u"Импорт отметок из текста"}},
        {"one level", u"Коррекция", {u"Коррекция"}},
        {"empty", u"", {}},
        {"leading, doubled and trailing", u"\\Сервис\\\\Отметки\\", {u"Сервис", u"Отметки"}},
        {"only backslashes", u"\\\\", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(SplitMenuPath(row.path), row.levels);
    }
}

}  // namespace
}  // namespace kavrel::host

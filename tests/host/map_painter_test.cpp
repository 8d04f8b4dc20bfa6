// The map as the host paints it: a label's text starts at its baseline's first
// vertex and runs along the baseline, whatever the angle.
#include "host/com/map_painter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "host/model/project_file.h"
#include "host/session/map_picture.h"

namespace kavrel::host {
namespace {

// Corner points fix the extent at 0..100 both ways; in a 400 x 400 picture
// with the painter's 20-pixel margin one map unit is 3.6 pixels and the map
// point (x north, y east) = (50, 50) lands on pixel (200, 200).
std::string LabelProject(double angle_degrees) {
    const double a = angle_degrees * 3.14159265358979323846 / 180;
    const double x1 = 50 + 10 * std::sin(a);
    const double y1 = 50 + 10 * std::cos(a);
    return R"({"layers":[{"id":"L1","tables":[{"name":"A","fields":["H"]}],
        "styles":[{"id":"SP","kind":"point"},{"id":"ST","kind":"text","text":"{A.H}"}]}],
      "objects":[{"id":"C","layer":"L1","shapes":[{"style":"SP","parts":[[[0,0]],[[100,100]]]}]},
                 {"id":"O","layer":"L1","values":{"A.H":"8888888888"},
                  "shapes":[{"style":"ST","parts":[[[50,50],[)" +
           std::to_string(x1) + "," + std::to_string(y1) + "]]]}]}]}";
}

struct Ink {
    double mean_x = 0;  // centroid relative to the label's start pixel
    double mean_y = 0;
    int count = 0;
    double nearest = 1e9;  // distance of the nearest inked pixel from the start
};

// Dark pixels away from the corner points.
Ink InkAround(const DibCanvas& canvas, int start_x, int start_y) {
    Ink ink;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if ((x < 40 && y > canvas.height() - 40) || (x > canvas.width() - 40 && y < 40)) {
                continue;
            }
            const std::uint8_t* p = canvas.bits() + 4 * (y * canvas.width() + x);
            if (p[0] + p[1] + p[2] > 3 * 128) {
                continue;
            }
            ink.mean_x += x - start_x;
            ink.mean_y += y - start_y;
            ++ink.count;
            ink.nearest = std::min(ink.nearest, std::hypot(x - start_x, y - start_y));
        }
    }
    if (ink.count > 0) {
        ink.mean_x /= ink.count;
        ink.mean_y /= ink.count;
    }
    return ink;
}

TEST(MapPainterTest, LabelTextRunsAlongItsBaselineFromItsStart) {
    const struct {
        const char* label;
        double angle;  // degrees from east towards north
    } cases[] = {
        {"east", 0}, {"north", 90}, {"south", -90}, {"north-east", 45}, {"south-west", -135},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        MapModel model = LoadProject(LabelProject(c.angle));
        DibCanvas canvas(400, 400);
        ASSERT_TRUE(canvas.valid());
        PaintMap(model, u',', canvas.dc(), 400, 400);
        GdiFlush();
        const Ink ink = InkAround(canvas, 200, 200);
        ASSERT_GT(ink.count, 40) << "the text was drawn";
        // Screen y grows downward: the text's direction is (cos a, -sin a).
        const double direction = std::atan2(-ink.mean_y, ink.mean_x) * 180 / 3.14159265358979323846;
        const double off = std::remainder(direction - c.angle, 360.0);
        // The centroid lies a little to the left of the baseline (glyphs stand
        // on it), so allow some degrees around the baseline's own direction.
        EXPECT_LT(std::fabs(off), 20.0) << "ink direction " << direction;
        EXPECT_GT(std::hypot(ink.mean_x, ink.mean_y), 25.0) << "ten digits run away from the start";
        EXPECT_LT(ink.nearest, 6.0) << "the text starts at the baseline's first vertex";
    }
}

// The host measures a label as it paints it: at a scale of 20 pixels per map
// unit the painter draws labels 12 pixels (0.6 map units) high, and every
// inked pixel of the text lies in the box the measure gives, which the text
// fills along its baseline.
TEST(MapPainterTest, TheMeasureOfALabelIsTheBoxThePainterInks) {
    const char* project = R"({"layers":[{"id":"L1","tables":[{"name":"A","fields":["H"]}],
        "styles":[{"id":"SP","kind":"point"},{"id":"ST","kind":"text","text":"{A.H}"}]}],
      "objects":[{"id":"C","layer":"L1","shapes":[{"style":"SP","parts":[[[0,0]],[[18,18]]]}]},
                 {"id":"O","layer":"L1","values":{"A.H":150.26},
                  "shapes":[{"style":"ST","parts":[[[9,9],[9,10]]]}]}]})";
    MapModel model = LoadProject(project);
    DibCanvas canvas(400, 400);
    ASSERT_TRUE(canvas.valid());
    PaintMap(model, u',', canvas.dc(), 400, 400);
    GdiFlush();
    const ViewTransform view = ViewTransform::Fit({0, 0, 18, 18}, 400, 400, kFitMargin);
    ASSERT_DOUBLE_EQ(view.scale(), 20.0);
    const ScreenPoint start = view.ToScreen(9, 9);

    int left = 400, right = -1, top = 400, bottom = -1;
    for (int y = 40; y < 360; ++y) {
        for (int x = 40; x < 360; ++x) {
            const std::uint8_t* p = canvas.bits() + 4 * (y * canvas.width() + x);
            if (p[0] + p[1] + p[2] < 3 * 160) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    ASSERT_GE(right, left) << "the label was drawn";
    const TextExtent box = MeasureLabelText(u"150,26");
    const double scale = view.scale();
    // A pixel of slack for antialiasing at the box's edges.
    EXPECT_GE(left, start.x - 1);
    EXPECT_LE(right, start.x + box.width * scale + 1);
    EXPECT_GT(right, start.x + 0.8 * box.width * scale) << "the text fills its box";
    EXPECT_GE(top, start.y - box.ascent * scale - 1);
    EXPECT_LE(bottom, start.y + box.descent * scale + 1);
    EXPECT_DOUBLE_EQ(MeasureLabelText(u"88888888").width, 2 * MeasureLabelText(u"8888").width);
}

TEST(MapPainterTest, SelectedObjectsAreRedOthersNot) {
    for (const bool selected : {false, true}) {
        SCOPED_TRACE(selected ? "selected" : "not selected");
        MapModel model = LoadProject(LabelProject(0));
        if (selected) {
            model.selection = {u"O"};
        }
        DibCanvas canvas(400, 400);
        PaintMap(model, u',', canvas.dc(), 400, 400);
        GdiFlush();
        int red = 0;
        for (int i = 0; i < 400 * 400; ++i) {
            const std::uint8_t* p = canvas.bits() + 4 * i;
            red += p[2] > 180 && p[1] < 80 && p[0] < 80;
        }
        if (selected) {
            EXPECT_GT(red, 50);
        } else {
            EXPECT_EQ(red, 0);
        }
    }
}

}  // namespace
}  // namespace kavrel::host

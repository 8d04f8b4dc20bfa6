// The panel's controls where its table of buttons puts them, at the screen's
// resolution (CTest runs this at 96 and at 144 pixels per inch): every button
// at its designed place scaled, every control inside the panel, none over
// another, so that each caption and picture shows whole.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/gdi.h"
#include "editor/panel_buttons.h"
#include "tests/editor/editor_fixture.h"
#include "tests/support/window_finder.h"

namespace kavrel::test {
namespace {

struct Placed {
    std::string name;
    RECT rect;
};

std::string RectText(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

TEST_F(EditorTest, EveryButtonHasItsPlaceInsideThePanelOverNoOtherControl) {
    OpenPanelOn(MarkProject("[]", kMarkPreferences));
    WindowDC screen(nullptr);
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    RECT client{};
    GetClientRect(Panel(), &client);
    const ui::Size designed = ui::ScaleToDpi(ui::Size{224, 492}, dpi);
    const ui::Size actual{client.right, client.bottom};

    for (const PanelButton& b : PanelButtons()) {
        SCOPED_TRACE(b.name);
        const RECT r = testing::RectInParent(Control(b.name));
        const ui::Rect want =
            ui::AnchoredRect(ui::ScaleToDpi(b.place, dpi), b.anchors, designed, actual);
        EXPECT_EQ(RectText(r), RectText({want.left, want.top, want.right(), want.bottom()}))
            << "at " << dpi << " dpi";
    }

    std::vector<Placed> controls;
    for (HWND child = GetWindow(Panel(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) {
            const std::wstring what =
                testing::ClassNameOf(child) + L" \"" + testing::TextOf(child) + L"\"";
            controls.push_back(
                {std::string(what.begin(), what.end()), testing::RectInParent(child)});
        }
    }
    ASSERT_GT(controls.size(), PanelButtons().size());
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const RECT& a = controls[i].rect;
        EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= client.right &&
                    a.bottom <= client.bottom)
            << "control " << controls[i].name << " at " << RectText(a) << " leaves the panel "
            << RectText(client) << " at " << dpi << " dpi";
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            RECT both{};
            EXPECT_FALSE(IntersectRect(&both, &a, &controls[j].rect))
                << controls[i].name << " " << RectText(a) << " over " << controls[j].name << " "
                << RectText(controls[j].rect) << " at " << dpi << " dpi";
        }
    }
}

}  // namespace
}  // namespace kavrel::test

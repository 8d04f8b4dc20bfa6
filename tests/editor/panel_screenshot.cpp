// Not a test: opens the editor panel in the stand-in host as command 2 does and
// writes what the screen shows of it as a PNG (the path is the first
// argument), for comparing the panel with its designed layout.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <vector>

#include "addon/gdi.h"
#include "host/model/png_writer.h"
#include "tests/editor/editor_fixture.h"

namespace kavrel::test {
namespace {

std::string g_output;

class PanelScreenshot : public EditorTest {};

TEST_F(PanelScreenshot, WritesTheOpenPanel) {
    ASSERT_FALSE(g_output.empty()) << "usage: editor_panel_screenshot <file.png>";
    OpenPanelOn(MarkProject("[]", kMarkPreferences));
    const HWND dock = GetParent(Panel());
    ShowWindow(dock, SW_SHOW);
    ShowWindow(GetAncestor(dock, GA_ROOT), SW_SHOW);
    for (int i = 0; i < 10; ++i) {
        Pump();
        Sleep(30);
    }
    RedrawWindow(Panel(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);

    RECT area{};
    GetClientRect(Panel(), &area);
    MapWindowPoints(Panel(), nullptr, reinterpret_cast<POINT*>(&area), 2);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    WindowDC screen(nullptr);
    MemoryDC memory(screen.get());
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    BitmapHandle picture(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(picture);
    {
        SelectedObject selected(memory.get(), picture.get());
        ASSERT_TRUE(
            BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY));
    }
    GdiFlush();
    const int stride = (width * 3 + 3) & ~3;
    std::vector<std::uint8_t> rgb;
    rgb.reserve(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(bits) + y * stride;
        for (int x = 0; x < width; ++x) {
            rgb.push_back(row[x * 3 + 2]);
            rgb.push_back(row[x * 3 + 1]);
            rgb.push_back(row[x * 3]);
        }
    }
    std::ofstream out(g_output, std::ios::binary);
    out << host::EncodePng(width, height, rgb);
    ASSERT_TRUE(out.good());
}

}  // namespace
}  // namespace kavrel::test

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) {
        kavrel::test::g_output = argv[1];
    }
    return RUN_ALL_TESTS();
}

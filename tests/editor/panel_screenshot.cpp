// Not a test: opens the editor panel in the stand-in host as command 2 does,
// then the settings dialog and the style picker from it, and writes what the
// screen shows of each as a PNG into the folder given as the first argument
// (editor-panel.png, settings-dialog.png, style-picker.png), for comparing
// the windows with their designed layouts.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <vector>

#include "base/gdi.h"
#include "host/model/png_writer.h"
#include "tests/editor/editor_fixture.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/window_finder.h"

namespace kavrel::test {
namespace {

std::string g_output;

class PanelScreenshot : public EditorTest {};

// Writes the client area of the window as the screen shows it.
void CaptureClient(HWND window, const std::string& path) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT area{};
    GetClientRect(window, &area);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
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
    std::ofstream out(path, std::ios::binary);
    out << host::EncodePng(width, height, rgb);
    ASSERT_TRUE(out.good());
}

void Settle() {
    MSG msg;
    for (int i = 0; i < 10; ++i) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(30);
    }
}

TEST_F(PanelScreenshot, WritesThePanelAndItsDialogs) {
    ASSERT_FALSE(g_output.empty()) << "usage: editor_panel_screenshot <folder>";
    OpenPanelOn(MarkProject("[]", kMarkPreferences));
    const HWND dock = GetParent(Panel());
    ShowWindow(dock, SW_SHOW);
    ShowWindow(GetAncestor(dock, GA_ROOT), SW_SHOW);
    Settle();
    CaptureClient(Panel(), g_output + "/editor-panel.png");

    // The settings dialog, and the picker from its first "Выбрать...".
    testing::DialogWatcher watcher;
    bool setup_seen = false;
    bool picker_seen = false;
    watcher.OnWindow(L"TfSelectStyle", [&](HWND picker) {
        picker_seen = true;
        Settle();
        CaptureClient(picker, g_output + "/style-picker.png");
        PostMessageW(picker, WM_CLOSE, 0, 0);
    });
    watcher.OnWindow(L"TfKavrelSetup", [&](HWND setup) {
        setup_seen = true;
        Settle();
        CaptureClient(setup, g_output + "/settings-dialog.png");
        SendMessageW(testing::FindControl(setup, "Button3"), BM_CLICK, 0, 0);
        PostMessageW(setup, WM_CLOSE, 0, 0);
    });
    SendMessageW(Control("Button2"), BM_CLICK, 0, 0);
    Pump();
    EXPECT_TRUE(setup_seen);
    EXPECT_TRUE(picker_seen);
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

// Not a test: opens the editor panel in the stand-in host as command 2 does,
// then the settings dialog and the style picker from it, and writes what the
// screen shows of each as a PNG into the folder given as the first argument
// (editor-panel.png, settings-dialog.png, style-picker.png), for comparing
// the windows with their designed layouts. The project is the sample sheet
// given as the second argument. The panel is shown after a click, with the
// tooltip of its undo button.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <vector>

#include <nlohmann/json.hpp>

#include "base/file_bytes.h"
#include "base/gdi.h"
#include "base/wide.h"
#include "host/model/png_writer.h"
#include "tests/editor/editor_fixture.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/window_finder.h"

namespace kavrel::test {
namespace {

std::string g_output;
std::string g_sheet;

class PanelScreenshot : public EditorTest {};

// Writes a rectangle of the screen as it shows it; where `shown` is given,
// only those windows' rectangles, the rest white (not the bare screen behind).
void CaptureScreen(const RECT& area, const std::string& path, const std::vector<RECT>& shown = {}) {
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
        if (!shown.empty()) {
            RegionHandle outside(CreateRectRgn(0, 0, width, height));
            for (const RECT& window : shown) {
                RegionHandle inside(CreateRectRgn(window.left - area.left, window.top - area.top,
                                                  window.right - area.left,
                                                  window.bottom - area.top));
                CombineRgn(outside.get(), outside.get(), inside.get(), RGN_DIFF);
            }
            FillRgn(memory.get(), outside.get(), static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        }
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

// Writes the client area of the window as the screen shows it.
void CaptureClient(HWND window, const std::string& path) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT area{};
    GetClientRect(window, &area);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    CaptureScreen(area, path);
}

// The tooltip window of this thread that is showing, or null.
HWND ShownTooltip() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM out) -> BOOL {
            if (IsWindowVisible(window) &&
                testing::ClassNameOf(window) == std::wstring(TOOLTIPS_CLASSW)) {
                *reinterpret_cast<HWND*>(out) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
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

// The sample sheet as the user guide's worked example has it after its first
// step: the mark styles and the height field chosen, a few marks selected.
std::string SampleSheetSetUp() {
    nlohmann::json sheet = nlohmann::json::parse(ReadFileBytes(Utf8ToWindows(g_sheet)).value());
    sheet["preferences"] = {{"kavreleditor_pstyle", "SP"},  {"kavreleditor_tstyle", "ST"},
                            {"kavreleditor_rstyle", "SR"},  {"kavreleditor_rtstyle", "STR"},
                            {"kavreleditor_tfield", "A.H"}, {"kavreleditor_rlstyle", "SRL"}};
    sheet["selection"] = {"H001", "H002", "H003"};
    return sheet.dump();
}

TEST_F(PanelScreenshot, WritesThePanelAndItsDialogs) {
    ASSERT_FALSE(g_output.empty() || g_sheet.empty())
        << "usage: editor_panel_screenshot <folder> <sample_sheet.json>";
    OpenPanelOn(SampleSheetSetUp());
    const HWND dock = GetParent(Panel());
    ShowWindow(dock, SW_SHOW);
    ShowWindow(GetAncestor(dock, GA_ROOT), SW_SHOW);
    // After a click, with the pointer resting on "Отменить": the button
    // enabled and its tooltip, Ctrl+Z included, shown.
    SendMessageW(Control("sb0"), BM_CLICK, 0, 0);
    RECT button{};
    GetWindowRect(Control("btnUndo"), &button);
    SetCursorPos((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    for (int i = 0; i < 10 && !ShownTooltip(); ++i) {
        Settle();
    }
    RECT area{};
    GetClientRect(Panel(), &area);
    MapWindowPoints(Panel(), nullptr, reinterpret_cast<POINT*>(&area), 2);
    RedrawWindow(Panel(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::vector<RECT> shown = {area};
    if (const HWND tip = ShownTooltip()) {
        RECT tip_area{};
        GetWindowRect(tip, &tip_area);
        UnionRect(&area, &area, &tip_area);
        shown.push_back(tip_area);
    } else {
        ADD_FAILURE() << "the tooltip of \"Отменить\" did not show";
    }
    // The tooltip is wider than the panel: beside the panel lies no window.
    CaptureScreen(area, g_output + "/editor-panel.png", shown);
    SetCursorPos(0, 0);

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
    if (argc > 2) {
        kavrel::test::g_output = argv[1];
        kavrel::test::g_sheet = argv[2];
    }
    return RUN_ALL_TESTS();
}

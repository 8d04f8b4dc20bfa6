// Not a test: opens the import dialog in the stand-in host, as command 1 does,
// and writes what the screen shows of its client area as a 24-bit BMP file (the path is
// the first argument), for comparing the window with its designed layout.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/gdi.h"
#include "tests/import/dialog_probe.h"
#include "tests/import/host_session.h"

namespace kavrel::test {
namespace {

std::string g_output;

bool WriteBmp(const std::string& path, int width, int height, const std::vector<BYTE>& rows) {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + rows.size());
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        return false;
    }
    const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                         std::fwrite(&info, sizeof info, 1, out) == 1 &&
                         std::fwrite(rows.data(), rows.size(), 1, out) == 1;
    return std::fclose(out) == 0 && written;
}

TEST(DialogScreenshot, WritesTheOpenDialog) {
    ASSERT_FALSE(g_output.empty()) << "usage: import_dialog_screenshot <file.bmp>";
    HostSession session;
    ASSERT_EQ(session.Connect(), S_OK);
    ASSERT_EQ(session.Command(kImportCommand), S_OK);
    ASSERT_EQ(ImportDialogs().size(), 1u);
    HWND dialog = ImportDialogs().front();
    SetForegroundWindow(dialog);
    for (int i = 0; i < 20; ++i) {
        PumpMessages();
        Sleep(50);
    }
    UpdateWindow(dialog);

    // The client area: without a window manager the frame is not drawn.
    RECT area{};
    GetClientRect(dialog, &area);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&area), 2);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    WindowDC screen(nullptr);
    MemoryDC memory(screen.get());
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
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
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    const auto* first = static_cast<const BYTE*>(bits);
    const std::vector<BYTE> rows(first, first + stride * height);
    ASSERT_TRUE(WriteBmp(g_output, width, height, rows));
    session.Disconnect();
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

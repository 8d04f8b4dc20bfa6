// Handles through the 32-bit fields of the host's interfaces: a real window
// through the LONG of IHostTaskPanel.GetWindowHandle and a real bitmap through
// MacroAttrs.Bitmap come back as the same, usable handle, in the 32-bit and in
// the 64-bit build; values with bit 31 set come back sign-extended, as Windows
// gives 64-bit processes their 32-bit significant handles.
#include <gtest/gtest.h>

#include <windows.h>

#include <climits>

#include "base/gdi.h"
#include "base/handle_casts.h"
#include "base/window.h"
#include "gis/records.h"

namespace kavrel {
namespace {

TEST(HandleCasts, RealWindowAndBitmapSurviveTheirThirtyTwoBitFields) {
    RecordProperty("pointer_bits", static_cast<int>(sizeof(void*) * CHAR_BIT));
    const WindowHandle window(CreateWindowExW(0, L"STATIC", L"Отметки", WS_OVERLAPPED, 0, 0, 50, 20,
                                              nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(window.get());
    const LONG carried = WindowToLong(window.get());
    const HWND back = WindowFromLong(carried);
    EXPECT_EQ(back, window.get());
    wchar_t text[16] = {};
    EXPECT_EQ(GetWindowTextW(back, text, 16), 7);
    EXPECT_STREQ(text, L"Отметки");

    const WindowDC screen(nullptr);
    const BitmapHandle bitmap(CreateCompatibleBitmap(screen.get(), 16, 16));
    ASSERT_TRUE(bitmap);
    MacroAttrs row{};
    row.Bitmap = BitmapToRecord(bitmap.get());
    const HBITMAP read = BitmapFromRecord(row.Bitmap);
    EXPECT_EQ(read, bitmap.get());
    BITMAP info{};
    ASSERT_EQ(GetObjectW(read, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 16);
    EXPECT_EQ(info.bmHeight, 16);
}

TEST(HandleCasts, ValuesWithTheTopBitSetAreSignExtended) {
    const LONG_PTR cases[] = {0, 0x10020, 0x7FFFFFFF, -1,
                              static_cast<LONG_PTR>(INT32_MIN) + 0x1234};
    for (const LONG_PTR value : cases) {
        const HWND window = reinterpret_cast<HWND>(value);
        EXPECT_EQ(WindowFromLong(WindowToLong(window)), window) << value;
        const HBITMAP bitmap = reinterpret_cast<HBITMAP>(value);
        EXPECT_EQ(BitmapFromRecord(BitmapToRecord(bitmap)), bitmap) << value;
    }
}

}  // namespace
}  // namespace kavrel

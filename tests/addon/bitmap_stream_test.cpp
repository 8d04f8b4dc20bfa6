// The command bitmaps: the resources in the library, and a bitmap written into
// a host stream as its length and a BMP file image.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "base/com_ptr.h"
#include "base/gdi.h"
#include "base/handle_casts.h"
#include "gis/host_api.h"
#include "host/com/host_context.h"
#include "tests/addon/addon_env.h"
#include "tests/addon/test_host.h"

namespace kavrel::test {
namespace {

std::vector<BYTE> ReadSourceFile(const char* name) {
    std::ifstream in(std::string(KAVREL_SOURCE_DIR) + "/resources/" + name, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Colour of pixel (x, y), y from the top, of a BMP file image with 8, 24 or 32
// bits per pixel and no compression.
COLORREF PixelOf(const std::vector<BYTE>& file, int x, int y) {
    BITMAPFILEHEADER header;
    BITMAPINFOHEADER info;
    std::memcpy(&header, file.data(), sizeof header);
    std::memcpy(&info, file.data() + sizeof header, sizeof info);
    const int bits = info.biBitCount;
    const int stride = ((info.biWidth * bits + 31) / 32) * 4;
    const int row = info.biHeight > 0 ? info.biHeight - 1 - y : y;
    const BYTE* p = file.data() + header.bfOffBits + row * stride + x * bits / 8;
    if (bits == 8) {
        const BYTE* palette = file.data() + sizeof header + info.biSize;
        const BYTE* entry = palette + *p * 4;
        return RGB(entry[2], entry[1], entry[0]);
    }
    return RGB(p[2], p[1], p[0]);
}

// The command rows' bitmap handles, from the add-on's own command list.
std::vector<HBITMAP> CommandBitmaps(IHostAddOn* addon) {
    ComPtr<IM2MacroAttrsList> list;
    EXPECT_EQ(addon->GetMacroAttrs(list.put()), S_OK);
    std::vector<HBITMAP> handles;
    for (LONG i = 0; i < 2; ++i) {
        MacroAttrs row;
        EXPECT_EQ(list->GetItem(i, &row), S_OK);
        handles.push_back(BitmapFromRecord(row.Bitmap));
    }
    return handles;
}

TEST(BitmapResources, SixteenBySixteenEightBitPalettisedUncompressed) {
    for (const wchar_t* name : {L"KAVRELIMPORT", L"KAVRELSETUP"}) {
        HRSRC resource = FindResourceW(AddonModule(), name, MAKEINTRESOURCEW(2));  // RT_BITMAP
        ASSERT_NE(resource, nullptr) << name;
        const auto* info = static_cast<const BITMAPINFOHEADER*>(
            LockResource(LoadResource(AddonModule(), resource)));
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->biWidth, 16);
        EXPECT_EQ(info->biHeight, 16);
        EXPECT_EQ(info->biBitCount, 8);
        EXPECT_EQ(info->biCompression, static_cast<DWORD>(BI_RGB));
    }
}

class SaveBitmap : public testing::Test {
  protected:
    void SetUp() override {
        addon = CreateAddon();
        ASSERT_EQ(addon->Connect(host.HostObject()), S_OK);
        bitmaps = CommandBitmaps(addon.get());
        ASSERT_EQ(bitmaps.size(), 2u);
    }
    void TearDown() override {
        EXPECT_EQ(addon->Disconnect(), S_OK);
        addon.reset();
    }
    host::HostContext& host = NewStandInHost();
    ComPtr<IHostAddOn> addon;
    std::vector<HBITMAP> bitmaps;
    RecordingStream stream;
};

TEST_F(SaveBitmap, NoHandleWritesNothing) {
    EXPECT_EQ(addon->SaveBitmap(&stream, nullptr), S_FALSE);
    EXPECT_TRUE(stream.writes.empty());
    EXPECT_TRUE(host.reported_errors().empty());
}

TEST_F(SaveBitmap, LengthThenTheBmpImageOfTheCommandPicture) {
    struct Case {
        const char* label;
        std::size_t row;
        const char* source;
    };
    for (const Case& c :
         {Case{"import", 0, "kavrel_import.bmp"}, Case{"editor", 1, "kavrel_setup.bmp"}}) {
        RecordingStream out;
        ASSERT_EQ(addon->SaveBitmap(&out, bitmaps[c.row]), S_OK) << c.label;
        ASSERT_EQ(out.writes.size(), 2u) << "one write for the length, one for the image";
        ASSERT_EQ(out.writes[0].size(), 4u);
        std::uint32_t length;
        std::memcpy(&length, out.writes[0].data(), 4);
        const std::vector<BYTE>& image = out.writes[1];
        ASSERT_EQ(image.size(), length) << c.label;

        BITMAPFILEHEADER header;
        BITMAPINFOHEADER info;
        ASSERT_GE(image.size(), sizeof header + sizeof info);
        std::memcpy(&header, image.data(), sizeof header);
        std::memcpy(&info, image.data() + sizeof header, sizeof info);
        EXPECT_EQ(header.bfType, 0x4D42);
        EXPECT_EQ(header.bfSize, length);
        EXPECT_EQ(info.biSize, sizeof info);
        EXPECT_EQ(info.biWidth, 16);
        EXPECT_EQ(info.biHeight, 16);
        EXPECT_EQ(info.biCompression, static_cast<DWORD>(BI_RGB));
        // The handle's own pixel format (a loaded bitmap has the display's).
        BITMAP bitmap{};
        ASSERT_NE(GetObjectW(bitmaps[c.row], sizeof bitmap, &bitmap), 0);
        EXPECT_EQ(info.biBitCount, bitmap.bmBitsPixel);
        const DWORD colours = info.biBitCount <= 8 ? (1u << info.biBitCount) : 0;
        const DWORD stride = ((16u * info.biBitCount + 31) / 32) * 4;
        EXPECT_EQ(header.bfOffBits, sizeof header + sizeof info + colours * 4);
        EXPECT_EQ(length, header.bfOffBits + stride * 16);

        // The picture is the one drawn for the command.
        ASSERT_TRUE(info.biBitCount == 8 || info.biBitCount == 24 || info.biBitCount == 32)
            << "display depth " << info.biBitCount << " not compared";
        const std::vector<BYTE> source = ReadSourceFile(c.source);
        ASSERT_GT(source.size(), 54u);
        int differing = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                differing += PixelOf(image, x, y) != PixelOf(source, x, y);
            }
        }
        EXPECT_EQ(differing, 0) << c.label;
    }
    EXPECT_TRUE(host.reported_errors().empty());
}

TEST_F(SaveBitmap, FailingOrShortWritesAreReported) {
    struct Case {
        const char* label;
        int fail_write;
        int short_write;
        std::size_t writes;
    };
    const Case cases[] = {
        {"length write fails", 0, -1, 1},
        {"image write fails", 1, -1, 2},
        {"image write is short", -1, 1, 2},
    };
    for (const Case& c : cases) {
        RecordingStream out;
        out.fail_write = c.fail_write;
        out.short_write = c.short_write;
        host.reported_errors().clear();
        EXPECT_EQ(addon->SaveBitmap(&out, bitmaps[0]), E_FAIL) << c.label;
        EXPECT_EQ(out.writes.size(), c.writes) << c.label;
        EXPECT_EQ(
            ReportedErrors(host),
            (std::vector<Report>{{std::u16string(kCaption), u"Ошибка при записи в OLE-поток"}}))
            << c.label;
    }
}

TEST_F(SaveBitmap, AHandleThatIsNoBitmapIsRefusedBeforeWriting) {
    // A brush is a live GDI object but no bitmap.
    const BrushHandle brush(CreateSolidBrush(RGB(1, 2, 3)));
    ASSERT_TRUE(brush);
    EXPECT_EQ(addon->SaveBitmap(&stream, reinterpret_cast<HBITMAP>(brush.get())), E_FAIL);
    EXPECT_TRUE(stream.writes.empty());
    EXPECT_EQ(host.reported_errors().size(), 1u);
}

}  // namespace
}  // namespace kavrel::test

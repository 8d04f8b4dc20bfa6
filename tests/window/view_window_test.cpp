// maphost's main window with kavrel.dll connected, driven as a user drives it:
// menu commands, mouse messages on the map, the wheel; what the window shows
// is read back from its menu, toolbar, status bar and pixels.
#include "host/window/view_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/gdi.h"
#include "base/handle_casts.h"
#include "base/short_string.h"
#include "host/com/host_context.h"
#include "host/model/project_file.h"
#include "host/session/addon_loader.h"
#include "host/window/bitmap_stream.h"
#include "tests/support/child_process.h"
#include "tests/support/window_finder.h"

namespace kavrel::host {
namespace {

// Four marks (point + label) on a 0..100 square and a corner object fixing
// the extent; layer L1 is relief, L2 a rail line.
const char kProject[] = R"({
  "maps":[{"id":"M1","name":"План","layers":["L1","L2"]}],
  "layers":[{"id":"L1","name":"Рельеф","tables":[{"name":"A","fields":["H"]}],
             "styles":[{"id":"SP","kind":"point"},{"id":"ST","kind":"text","text":"{A.H}"}]},
            {"id":"L2","name":"Ж/д","styles":[{"id":"RL","kind":"line"}]}],
  "objects":[
    {"id":"C0","layer":"L2","shapes":[{"style":"RL","parts":[[[0,0],[0,2]]]}]},
    {"id":"C1","layer":"L2","shapes":[{"style":"RL","parts":[[[100,98],[100,100]]]}]},
    {"id":"P1","layer":"L1","values":{"A.H":"12.5"},
     "shapes":[{"style":"SP","parts":[[[20,20]]]},{"style":"ST","parts":[[[21,21],[21,27]]]}]},
    {"id":"P2","layer":"L1","values":{"A.H":"13.1"},
     "shapes":[{"style":"SP","parts":[[[30,30]]]},{"style":"ST","parts":[[[31,31],[31,37]]]}]},
    {"id":"P3","layer":"L1","values":{"A.H":"14.0"},
     "shapes":[{"style":"SP","parts":[[[70,70]]]},{"style":"ST","parts":[[[71,71],[71,77]]]}]},
    {"id":"P4","layer":"L1","values":{"A.H":"15.2"},
     "shapes":[{"style":"SP","parts":[[[50,80]]]},{"style":"ST","parts":[[[51,81],[51,87]]]}]}],
  "selection":[]
})";

std::u16string MenuText(HMENU menu, int position) {
    wchar_t text[256] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
    return std::u16string(reinterpret_cast<const char16_t*>(text));
}

HMENU SubMenuNamed(HMENU menu, const std::u16string& text) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (MenuText(menu, i) == text) {
            return GetSubMenu(menu, i);
        }
    }
    return nullptr;
}

std::wstring StatusText(HWND status, int part) {
    wchar_t text[256] = {};
    SendMessageW(status, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
    return text;
}

// The two numbers of "X: 50,00   Y: 20,00".
std::optional<std::pair<double, double>> ParseCoordinates(std::wstring text) {
    for (wchar_t& c : text) {
        if (c == L',') {
            c = L'.';
        }
    }
    double x = 0;
    double y = 0;
    if (swscanf(text.c_str(), L"X: %lf Y: %lf", &x, &y) != 2) {
        return std::nullopt;
    }
    return std::make_pair(x, y);
}

// The pixels of a bitmap as 32-bit rows.
std::vector<std::uint32_t> Pixels(HBITMAP bitmap, int& width, int& height) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    width = info.bmWidth;
    height = info.bmHeight;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    WindowDC screen(nullptr);
    GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &format,
              DIB_RGB_COLORS);
    for (auto& p : pixels) {
        p &= 0xFFFFFF;
    }
    return pixels;
}

class ViewWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        host_ = std::make_unique<HostContext>(LoadProject(kProject), u',');
        loader_ = std::make_unique<AddonLoader>(*host_, std::wstring(KAVREL_DLL_PATH_W));
        loader_->Connect();
        ASSERT_EQ(loader_->connect_status(), S_OK);
        ASSERT_EQ(loader_->macro_attrs_status(), S_OK);
        view_ = std::make_unique<ViewWindow>(
            *host_, ViewCommandsOf(loader_->commands()),
            [this](LONG id) { return loader_->Execute(id); }, L"plan.json");
        SetWindowPos(view_->main(), nullptr, 0, 0, 1000, 700, SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(view_->main(), SW_SHOWNOACTIVATE);
        Pump();
    }

    void TearDown() override {
        // The editor panel closes itself with its own button, as a user closes it.
        if (HWND dock = host_ ? host_->TaskPanelWindow(u"KAVREL") : nullptr) {
            if (HWND editor = kavrel::testing::FindChildByClass(dock, L"TfKavrelEditor")) {
                SendMessageW(kavrel::testing::FindControl(editor, "Button1"), BM_CLICK, 0, 0);
                Pump();
            }
        }
        view_.reset();
        if (loader_ && loader_->created()) {
            loader_->Disconnect();
            loader_->Unload();
        }
        loader_.reset();
        host_.reset();
        OleUninitialize();
    }

    void Pump() {
        MSG message;
        for (int round = 0; round < 2; ++round) {
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            Sleep(10);
        }
        UpdateWindow(view_->main());
        UpdateWindow(host_->map_window());
    }

    HWND Map() const { return host_->map_window(); }
    // The pixel where the view shows the map point.
    POINT PixelOf(double x, double y) const {
        const ScreenPoint p = view_->map_view().transform().ToScreen(x, y);
        return POINT{static_cast<LONG>(std::lround(p.x)), static_cast<LONG>(std::lround(p.y))};
    }
    void Mouse(UINT message, POINT at, WPARAM keys = 0) {
        SendMessageW(Map(), message, keys, MAKELPARAM(at.x, at.y));
    }
    void Click(POINT at, WPARAM keys = 0) {
        Mouse(WM_LBUTTONDOWN, at, MK_LBUTTON | keys);
        Mouse(WM_LBUTTONUP, at, keys);
    }
    void Drag(UINT down, UINT up, WPARAM button, POINT from, POINT to, WPARAM keys = 0) {
        Mouse(down, from, button | keys);
        Mouse(WM_MOUSEMOVE, POINT{(from.x + to.x) / 2, (from.y + to.y) / 2}, button | keys);
        Mouse(WM_MOUSEMOVE, to, button | keys);
        Mouse(up, to, keys);
    }
    std::vector<std::u16string> Selection() const { return host_->model().selection; }

    std::unique_ptr<HostContext> host_;
    std::unique_ptr<AddonLoader> loader_;
    std::unique_ptr<ViewWindow> view_;
};

TEST_F(ViewWindowTest, MenuHasTheHostsMenusAndEachCommandAtItsPathLevels) {
    HMENU bar = GetMenu(view_->main());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_EQ(MenuText(bar, 0), u"&Файл");
    EXPECT_EQ(MenuText(bar, 1), u"&Вид");
    EXPECT_EQ(MenuText(bar, 2), u"Сервис");
    struct Row {
        const char* label;
        std::size_t position;
        LONG id;
        std::u16string item;
    };
    const Row rows[] = {
        {"import, command 1", 0, 1, u"Импорт отметок из текста"},
        {"editor, command 2", 1, 2, u"Коррекция отметок"},
    };
    HMENU marks = SubMenuNamed(SubMenuNamed(bar, u"Сервис"), u"Отметки");
    ASSERT_NE(marks, nullptr);
    ASSERT_EQ(GetMenuItemCount(marks), 2);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(view_->commands()[row.position].id, row.id);
        EXPECT_EQ(MenuText(marks, static_cast<int>(row.position)), row.item);
        EXPECT_EQ(GetMenuItemID(marks, static_cast<int>(row.position)),
                  kFirstCommandItem + row.position);
    }
    HMENU file = SubMenuNamed(bar, u"&Файл");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(GetMenuItemID(file, 0), kOpenProjectItem);
    EXPECT_EQ(GetMenuItemID(file, 1), kSaveProjectItem);
    EXPECT_EQ(GetMenuItemID(file, 2), kSaveProjectAsItem);
    EXPECT_EQ(GetMenuItemID(file, 4), kExitItem);
}

TEST_F(ViewWindowTest, ToolbarShowsTheCommandBitmapsUnderTheirToolbarWithCaptionsAsTips) {
    HWND toolbar = view_->toolbar();
    // Open, save, a separator, then the add-on's one toolbar group.
    ASSERT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 5);
    const auto groups = ToolbarGroupsOf(view_->commands());
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].name, u"Утилиты Dravell (отметки)");
    TBBUTTON separator{};
    SendMessageW(toolbar, TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&separator));
    EXPECT_TRUE(separator.fsStyle & BTNS_SEP);
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
    ASSERT_NE(images, nullptr);
    struct Row {
        const char* label;
        int button;
        std::size_t position;
        std::u16string caption;
    };
    const Row rows[] = {
        {"import", 3, 0, u"Импорт высотных отметок из текста"},
        {"editor", 4, 1, u"Коррекция высотных отметок"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        TBBUTTON button{};
        ASSERT_TRUE(
            SendMessageW(toolbar, TB_GETBUTTON, row.button, reinterpret_cast<LPARAM>(&button)));
        EXPECT_EQ(button.idCommand, static_cast<int>(kFirstCommandItem + row.position));
        wchar_t text[128] = {};
        SendMessageW(toolbar, TB_GETBUTTONTEXTW, button.idCommand, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text)), row.caption);
        // The bitmap decoded from the stream has the pixels of the add-on's own bitmap.
        const ViewCommand& command = view_->commands()[row.position];
        ASSERT_TRUE(command.bitmap);
        const HBITMAP original = BitmapFromRecord(loader_->commands()[row.position].attrs.Bitmap);
        int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
        const auto decoded = Pixels(command.bitmap.get(), w1, h1);
        const auto expected = Pixels(original, w2, h2);
        EXPECT_EQ(w1, 16);
        EXPECT_EQ(h1, 16);
        EXPECT_EQ(decoded, expected);
        // And the toolbar holds that image for the button.
        IMAGEINFO info{};
        ASSERT_TRUE(ImageList_GetImageInfo(images, button.iBitmap, &info));
        EXPECT_EQ(info.rcImage.right - info.rcImage.left, 16);
    }
}

TEST(BitmapStream, RefusesStreamsThatAreNotAWholeBmpImage) {
    // A valid 2 x 2 24-bit image: 14 + 40 header bytes, rows of 8 bytes.
    std::vector<std::uint8_t> good(4 + 54 + 16, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(good.data() + at, &v, 4); };
    auto put16 = [&](std::size_t at, std::uint16_t v) { std::memcpy(good.data() + at, &v, 2); };
    put32(0, 54 + 16);
    good[4] = 'B';
    good[5] = 'M';
    put32(6, 54 + 16);
    put32(14, 54);
    put32(18, 40);
    put32(22, 2);
    put32(26, 2);
    put16(30, 1);
    put16(32, 24);
    struct Row {
        const char* label;
        void (*spoil)(std::vector<std::uint8_t>&);
        bool decodes;
    };
    const Row rows[] = {
        {"whole image", [](std::vector<std::uint8_t>&) {}, true},
        {"cut short", [](std::vector<std::uint8_t>& b) { b.resize(b.size() - 3); }, false},
        {"no signature", [](std::vector<std::uint8_t>& b) { b[4] = 'X'; }, false},
        {"empty", [](std::vector<std::uint8_t>& b) { b.clear(); }, false},
        {"pixels beyond the end",
         [](std::vector<std::uint8_t>& b) {
             const std::uint32_t height = 40;
             std::memcpy(b.data() + 26, &height, 4);
         },
         false},
        {"compressed", [](std::vector<std::uint8_t>& b) { b[34] = 1; }, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        std::vector<std::uint8_t> bytes = good;
        row.spoil(bytes);
        EXPECT_EQ(static_cast<bool>(DecodeBitmapStream(bytes)), row.decodes);
    }
}

TEST_F(ViewWindowTest, ChoosingTheEditorsMenuItemDocksItsPanelRightOfTheMap) {
    EXPECT_EQ(host_->TaskPanelWindow(u"KAVREL"), nullptr);
    SendMessageW(view_->main(), WM_COMMAND, MAKEWPARAM(kFirstCommandItem + 1, 0), 0);
    Pump();
    HWND panel = host_->TaskPanelWindow(u"KAVREL");
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(IsWindowVisible(panel));
    wchar_t caption[64] = {};
    GetWindowTextW(panel, caption, 64);
    EXPECT_STREQ(caption, L"Отметки");
    RECT client, panel_rect, map_rect;
    GetClientRect(view_->main(), &client);
    GetWindowRect(panel, &panel_rect);
    GetWindowRect(Map(), &map_rect);
    POINT corner{client.right, 0};
    ClientToScreen(view_->main(), &corner);
    EXPECT_EQ(panel_rect.right, corner.x);
    EXPECT_LE(map_rect.right, panel_rect.left);
    EXPECT_GT(map_rect.right - map_rect.left, 300);
    // The editor panel's own window lives in the docked pane.
    EXPECT_NE(GetWindow(panel, GW_CHILD), nullptr);
    EXPECT_EQ(loader_->Execute(2), S_OK);  // a second choice only shows the panel
}

TEST_F(ViewWindowTest, StatusBarFollowsTheCursorAndClickSelection) {
    HWND status = view_->status_bar();
    EXPECT_EQ(StatusText(status, 0), L"Выделено: 0");
    EXPECT_EQ(StatusText(status, 2), L"plan.json");
    const double tolerance = 1 / view_->map_view().transform().scale();
    struct Move {
        const char* label;
        double x, y;
    };
    const Move moves[] = {{"lower left", 20, 20}, {"middle", 50, 50}, {"right", 50, 80}};
    for (const Move& move : moves) {
        SCOPED_TRACE(move.label);
        Mouse(WM_MOUSEMOVE, PixelOf(move.x, move.y));
        const std::wstring text = StatusText(status, 1);
        EXPECT_NE(text.find(L','), std::wstring::npos) << "regional decimal comma";
        const auto at = ParseCoordinates(text);
        ASSERT_TRUE(at) << std::string(text.begin(), text.end());
        EXPECT_NEAR(at->first, move.x, tolerance);
        EXPECT_NEAR(at->second, move.y, tolerance);
    }
    struct Step {
        const char* label;
        double x, y;
        WPARAM keys;
        std::vector<std::u16string> selection;
    };
    const Step steps[] = {
        {"click on a point", 30, 30, 0, {u"P2"}},
        {"click on another label replaces", 21, 24, 0, {u"P1"}},
        {"ctrl-click adds", 70, 70, MK_CONTROL, {u"P1", u"P3"}},
        {"ctrl-click again removes", 70, 70, MK_CONTROL, {u"P1"}},
        {"click on nothing clears", 60, 20, 0, {}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.label);
        Click(PixelOf(step.x, step.y), step.keys);
        EXPECT_EQ(Selection(), step.selection);
        EXPECT_EQ(StatusText(status, 0), L"Выделено: " + std::to_wstring(step.selection.size()));
    }
}

TEST_F(ViewWindowTest, SelectedObjectsArePaintedInRed) {
    Click(PixelOf(50, 80));
    ASSERT_EQ(Selection(), std::vector<std::u16string>{u"P4"});
    Pump();
    WindowDC dc(Map());
    const POINT selected = PixelOf(50, 80);
    const POINT other = PixelOf(70, 70);
    EXPECT_EQ(GetPixel(dc.get(), selected.x, selected.y), RGB(220, 0, 0));
    EXPECT_EQ(GetPixel(dc.get(), other.x, other.y), RGB(0, 0, 0));
}

TEST_F(ViewWindowTest, RubberBandSelectsTheObjectsInside) {
    struct Row {
        const char* label;
        UINT down, up;
        WPARAM button, keys;
        double x1, y1, x2, y2;
        std::vector<std::u16string> selection;
    };
    const Row rows[] = {
        {"shift and left button",
         WM_LBUTTONDOWN,
         WM_LBUTTONUP,
         MK_LBUTTON,
         MK_SHIFT,
         15,
         15,
         45,
         45,
         {u"P1", u"P2"}},
        {"right button, drawn backwards",
         WM_RBUTTONDOWN,
         WM_RBUTTONUP,
         MK_RBUTTON,
         0,
         90,
         95,
         40,
         60,
         {u"P3", u"P4"}},
        {"a mark half inside stays out",
         WM_RBUTTONDOWN,
         WM_RBUTTONUP,
         MK_RBUTTON,
         0,
         15,
         15,
         35,
         33,
         {u"P1"}},
        {"empty band clears", WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, 0, 5, 50, 15, 60, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Drag(row.down, row.up, row.button, PixelOf(row.x1, row.y1), PixelOf(row.x2, row.y2),
             row.keys);
        EXPECT_EQ(Selection(), row.selection);
        EXPECT_EQ(StatusText(view_->status_bar(), 0),
                  L"Выделено: " + std::to_wstring(row.selection.size()));
    }
}

TEST_F(ViewWindowTest, WheelZoomKeepsThePointUnderTheCursorAndDragPans) {
    struct Row {
        const char* label;
        double x, y;
        short delta;
        double factor;
    };
    const Row rows[] = {
        {"one notch in at a mark", 30, 30, 120, 1.25},
        {"two notches out elsewhere", 70, 70, -240, 1 / 1.5625},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        const POINT at = PixelOf(row.x, row.y);
        const MapPoint before = view_->map_view().transform().ToMap(at.x, at.y);
        const double scale = view_->map_view().transform().scale();
        POINT screen = at;
        ClientToScreen(Map(), &screen);
        SendMessageW(Map(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(row.delta)),
                     MAKELPARAM(screen.x, screen.y));
        const MapPoint after = view_->map_view().transform().ToMap(at.x, at.y);
        EXPECT_NEAR(view_->map_view().transform().scale(), scale * row.factor, 1e-9 * scale);
        EXPECT_NEAR(after.x, before.x, 1e-9);
        EXPECT_NEAR(after.y, before.y, 1e-9);
    }
    // A left drag moves the map with the mouse and selects nothing.
    host_->model().selection = {u"P1"};
    const POINT from = PixelOf(50, 50);
    const POINT to{from.x + 40, from.y - 25};
    const MapPoint grabbed = view_->map_view().transform().ToMap(from.x, from.y);
    Drag(WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, from, to);
    const MapPoint under = view_->map_view().transform().ToMap(to.x, to.y);
    EXPECT_NEAR(under.x, grabbed.x, 1e-6);
    EXPECT_NEAR(under.y, grabbed.y, 1e-6);
    EXPECT_EQ(Selection(), std::vector<std::u16string>{u"P1"});
}

TEST_F(ViewWindowTest, SavedProjectOpensAgainWithItsCommittedState) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"kavrel_view_roundtrip.json";
    MapModel& model = host_->model();
    // A committed move of P1's point and a pending one of P2's.
    model.Edit(*model.FindObject(u"P1")).shapes[0].parts[0].vertices[0] = Vertex{22, 23, 0};
    model.CommitAll();
    model.Edit(*model.FindObject(u"P2")).shapes[0].parts[0].vertices[0] = Vertex{99, 99, 0};
    model.selection = {u"P3", u"P1"};
    ASSERT_EQ(view_->SaveProjectAs(path), std::nullopt);
    EXPECT_EQ(view_->project_path(), path);

    // Another project in between, then the saved one again.
    const std::wstring other = std::wstring(folder) + L"kavrel_view_other.json";
    {
        std::FILE* file = _wfopen(other.c_str(), L"wb");
        ASSERT_NE(file, nullptr);
        const std::string text = R"({"layers":[{"id":"L9","styles":[{"id":"S9","kind":"point"}]}],
            "objects":[{"id":"Q","layer":"L9","shapes":[{"style":"S9","parts":[[[1,1]]]}]}]})";
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
    ASSERT_EQ(view_->OpenProject(other), std::nullopt);
    EXPECT_EQ(host_->model().objects().size(), 1u);
    EXPECT_EQ(StatusText(view_->status_bar(), 2), L"kavrel_view_other.json");

    ASSERT_EQ(view_->OpenProject(path), std::nullopt);
    const MapModel& reopened = host_->model();
    ASSERT_EQ(reopened.objects().size(), 6u);
    EXPECT_EQ(reopened.FindObject(u"P1")->current.shapes[0].parts[0].vertices[0],
              (Vertex{22, 23, 0}));
    EXPECT_EQ(reopened.FindObject(u"P2")->current.shapes[0].parts[0].vertices[0],
              (Vertex{30, 30, 0}));
    EXPECT_EQ(reopened.selection, (std::vector<std::u16string>{u"P3", u"P1"}));
    EXPECT_EQ(StatusText(view_->status_bar(), 0), L"Выделено: 2");

    // A file that is not a project leaves the open one as it is.
    const auto error = view_->OpenProject(std::wstring(folder) + L"kavrel_view_missing.json");
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->rfind(L"Не удаётся прочитать файл ", 0), 0u);
    EXPECT_EQ(host_->model().objects().size(), 6u);
    EXPECT_EQ(view_->project_path(), path);
    DeleteFileW(path.c_str());
    DeleteFileW(other.c_str());
}

// The verb itself, as its own process: maphost view on the sample sheet with
// the add-on, the editor chosen at start, a picture of the window, then out.
kavrel::testing::ChildEnd RunMaphost(const std::wstring& arguments) {
    return kavrel::testing::RunToEnd(L"\"" MAPHOST_EXE_W L"\" " + arguments, 30000);
}

TEST(MaphostView, SnapshotOfTheWindowOnTheSampleSheet) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring picture = std::wstring(folder) + L"kavrel_view_snapshot.png";
    struct Row {
        const char* label;
        std::wstring arguments;
        DWORD status;
        bool picture;
    };
    const std::wstring common =
        L"view --project \"" DEMO_SHEET_W L"\" --addon \"" KAVREL_DLL_PATH_W L"\" --size 900x640 ";
    const Row rows[] = {
        {"editor docked, marks selected",
         common + L"--select H041 --select H042 --execute 2 --snapshot \"" + picture + L"\"", 0,
         true},
        {"an unknown object to select", common + L"--select NOPE --snapshot \"" + picture + L"\"",
         2, false},
        {"a project that cannot be read",
         L"view --project \"" + std::wstring(folder) + L"kavrel_no_such.json\" --snapshot \"" +
             picture + L"\"",
         2, false},
        {"no project", L"view --snapshot \"" + picture + L"\"", 2, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        DeleteFileW(picture.c_str());
        const kavrel::testing::ChildEnd result = RunMaphost(row.arguments);
        ASSERT_TRUE(result.started) << kavrel::testing::StartFailure(row.arguments, result);
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(result.status, row.status);
        std::FILE* file = _wfopen(picture.c_str(), L"rb");
        EXPECT_EQ(file != nullptr, row.picture);
        if (file) {
            unsigned char header[24] = {};
            ASSERT_EQ(std::fread(header, 1, 24, file), 24u);
            std::fclose(file);
            EXPECT_EQ(std::memcmp(header, "\x89PNG\r\n\x1a\n", 8), 0);
            // IHDR: the window's size, frame included.
            const unsigned width =
                header[16] << 24 | header[17] << 16 | header[18] << 8 | header[19];
            const unsigned height =
                header[20] << 24 | header[21] << 16 | header[22] << 8 | header[23];
            EXPECT_EQ(width, 900u);
            EXPECT_EQ(height, 640u);
        }
    }
    DeleteFileW(picture.c_str());
}

}  // namespace
}  // namespace kavrel::host

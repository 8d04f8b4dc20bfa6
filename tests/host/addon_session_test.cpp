// The real add-on inside the stand-in host, driven as the host drives it.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <stdexcept>

#include "tests/host/sample_project.h"
#include "tests/host/session_harness.h"

namespace kavrel::host {
namespace {

using nlohmann::json;

std::wstring AddonDll() {
    return Utf8ToWindows(KAVREL_DLL);
}

bool HasForm(const json& r, const std::string& type, const std::string& parent) {
    for (const json& form : r["session"]["forms"]) {
        if (form["type"] == type && form["parent"] == parent) {
            return true;
        }
    }
    return false;
}

struct AddonCase {
    const char* label;
    json steps;
    std::function<void(const json& r)> check;
    std::string project = kSampleProject;
};

// Each case in its own session; every step must be carried out.
template <std::size_t N>
void RunCases(const AddonCase (&cases)[N]) {
    for (const AddonCase& c : cases) {
        SCOPED_TRACE(c.label);
        [&] {
            const SessionRun run =
                RunMaphost(c.project, {{"decimal", ","}, {"steps", c.steps}}, AddonDll());
            EXPECT_EQ(run.exit_code, 0u) << run.errors;
            ASSERT_TRUE(run.has_result) << run.errors;
            EXPECT_EQ(run.result["session"]["failed_step"], nullptr);
            c.check(run.result);
        }();
    }
}

// The sample project with the editor's mark styles and height field chosen.
std::string ProjectWithMarkSettings() {
    json project = json::parse(kSampleProject);
    project["preferences"]["kavreleditor_tstyle"] = "ST";
    project["preferences"]["kavreleditor_tfield"] = "A.H";
    return project.dump();
}

TEST(AddonSessionTest, FrameRunsInsideTheHost) {
    const json connect = {{"do", "connect"}};
    const AddonCase cases[] = {
        {"registration with and without an applied name",
         {{{"do", "register"}, {"applied", nullptr}, {"active", 1}},
          {{"do", "register"}, {"applied", "Proj"}, {"active", 0}}},
         [](const json& r) {
             EXPECT_EQ(r["session"]["statuses"][0]["status"], "0x00000000");
             EXPECT_EQ(r["session"]["statuses"][1]["status"], "0x00000000");
         }},
        {"identity and command list with bitmaps",
         {connect},
         [](const json& r) {
             const json& addon = r["session"]["addon"];
             EXPECT_EQ(addon["info"]["name"], "KAVREL");
             EXPECT_EQ(addon["info"]["caption"], "Работа с высотными отметками");
             EXPECT_EQ(addon["info"]["class_id"], "{9EA2AFB5-68F6-4A9D-B4AB-6105CAB43761}");
             EXPECT_EQ(addon["info"]["sdk_version"], 260);
             ASSERT_EQ(addon["commands"].size(), 2u);
             const char* names[] = {"KAVRELIMPORT", "KAVRELSETUP"};
             for (int i = 0; i < 2; ++i) {
                 const json& command = addon["commands"][i];
                 EXPECT_EQ(command["id"], i + 1);
                 EXPECT_EQ(command["bitmap_name"], names[i]);
                 EXPECT_EQ(command["category"], "Утилиты Dravell (отметки)");
                 ASSERT_EQ(command["has_bitmap"], true) << names[i];
                 const json& bitmap = command["save_bitmap"];
                 EXPECT_EQ(bitmap["status"], "0x00000000");
                 EXPECT_EQ(bitmap["valid"], true) << bitmap["problem"];
                 EXPECT_EQ(bitmap["width"], 16);
                 EXPECT_EQ(bitmap["height"], 16);
                 EXPECT_EQ(bitmap["stream_calls"], json::array({"Write", "Write"}));
             }
             EXPECT_EQ(r["session"]["statuses"][1]["status"], "0x00000000") << "Connect";
         }},
        {"command 2 asks for the task panel and docks the editor in it",
         {connect, {{"do", "command"}, {"id", 2}}},
         [](const json& r) {
             const json& s = r["session"];
             EXPECT_EQ(s["statuses"].back()["status"], "0x00000000");
             EXPECT_EQ(
                 s["task_panels"],
                 json::array({{{"key", "KAVREL"}, {"caption", "Отметки"}, {"shown", false}}}));
             EXPECT_EQ(s["calls"]["IHostMainWindow.GetTaskPanel"], 1);
             EXPECT_EQ(s["calls"]["IHostTaskPanel.GetWindowHandle"], 1);
             EXPECT_TRUE(HasForm(r, "TfKavrelEditor", "KavrelMapHostTaskPanel"))
                 << s["forms"].dump();
             EXPECT_EQ(s["outstanding_refs"]["IHostTaskPanel"], 1) << "the panel keeps it";
         }},
        {"command 2 again only shows the task panel",
         {connect, {{"do", "command"}, {"id", 2}}, {{"do", "command"}, {"id", 2}}},
         [](const json& r) {
             const json& s = r["session"];
             EXPECT_EQ(s["calls"]["IHostMainWindow.GetTaskPanel"], 1);
             EXPECT_EQ(s["task_panel_shows"], 1);
             EXPECT_EQ(s["task_panels"][0]["shown"], true);
         }},
        {"a typed step reaches the editor and is saved when the add-on is unloaded",
         {connect,
          {{"do", "command"}, {"id", 2}},
          {{"do", "set_text"},
           {"form", "TfKavrelEditor"},
           {"control", "eMoveValue"},
           {"text", "0,5"}},
          {{"do", "unload"}}},
         [](const json& r) {
             EXPECT_EQ(r["preferences"]["kavreleditor_emoveval"], "0,5");
             EXPECT_EQ(r["session"]["addon"]["unloaded"], true);
             EXPECT_EQ(r["session"]["outstanding_refs"], json::object());
         }},
        {"a failing host call during command 2 is reported to the host",
         {connect,
          {{"do", "fail"},
           {"call", "IHostMainWindow.GetTaskPanel"},
           {"nth", 1},
           {"description", "Панель недоступна"}},
          {{"do", "command"}, {"id", 2}}},
         [](const json& r) {
             const json& s = r["session"];
             EXPECT_EQ(s["statuses"].back()["status"], "0x80004005");
             ASSERT_EQ(s["host_errors"].size(), 1u);
             EXPECT_EQ(s["host_errors"][0]["source"], "Работа с высотными отметками");
             EXPECT_EQ(s["host_errors"][0]["message"], "Панель недоступна");
             EXPECT_FALSE(HasForm(r, "TfKavrelEditor", "KavrelMapHostTaskPanel"));
         }},
        {"a bad typed distance is refused in a message box",
         {connect,
          {{"do", "command"}, {"id", 2}},
          {{"do", "set_text"},
           {"form", "TfKavrelEditor"},
           {"control", "eMoveValue"},
           {"text", "abc"}},
          {{"do", "click"}, {"form", "TfKavrelEditor"}, {"control", "sbMoveUL"}}},
         [](const json& r) {
             EXPECT_EQ(r["session"]["messages"], json::array({"Неверный ввод числа abc"}));
             EXPECT_EQ(r["session"]["calls"].contains("IHostMapObjects.CommitChanges"), false);
         }},
        {"the 45 degree preset turns the selected label and commits it",
         {connect,
          {{"do", "select"}, {"ids", {"O1"}}},
          {{"do", "command"}, {"id", 2}},
          {{"do", "click"}, {"form", "TfKavrelEditor"}, {"control", "sb45"}}},
         [](const json& r) {
             EXPECT_EQ(r["session"]["messages"], json::array());
             EXPECT_EQ(r["session"]["uncommitted"], json::array());
             EXPECT_GE(r["session"]["calls"]["IHostMapObjects.CommitChanges"], 1);
             const json& label = r["objects"][0]["shapes"][1]["parts"][0];
             const double dx = label[1][0].get<double>() - label[0][0].get<double>();
             const double dy = label[1][1].get<double>() - label[0][1].get<double>();
             EXPECT_GT(dx, 0.0);
             EXPECT_NEAR(dx, dy, 1e-9) << "direction (sin 45, cos 45)";
         },
         ProjectWithMarkSettings()},
        // O4's label lies across O1's: the host's own measure, in R.json, sees
        // the pair before the session and none after it.
        {"label placement, judged by the host's measure before and after the session",
         {connect,
          {{"do", "select"}, {"ids", {"O1", "O4"}}},
          {{"do", "command"}, {"id", 2}},
          {{"do", "click"}, {"form", "TfKavrelEditor"}, {"control", "btnPlaceLabels"}}},
         [](const json& r) {
             const json& legibility = r["session"]["legibility"];
             EXPECT_EQ(r["session"]["messages"], json::array());
             EXPECT_EQ(legibility["before"]["labels"], 2);
             EXPECT_EQ(legibility["before"]["overlapping_pairs"], 1);
             EXPECT_EQ(legibility["after"], json({{"labels", 2},
                                                  {"overlapping_pairs", 0},
                                                  {"covering_points", 0},
                                                  {"crossed_by_lines", 0},
                                                  {"far_from_point", 0}}));
             EXPECT_EQ(r["session"]["redraws"], 1);
         },
         [] {
             json project = json::parse(ProjectWithMarkSettings());
             project["objects"].push_back(json::parse(R"({"id": "O4", "layer": "L1",
                 "shapes": [ {"style": "SP", "flag": true, "parts": [[[100, 201, 0]]]},
                             {"style": "ST", "parts": [[[100.3, 200.9, 0], [100.3, 201.4, 0]]]} ],
                 "values": {"A.H": 99.85}})"));
             project["preferences"]["kavreleditor_pstyle"] = "SP";
             return project.dump();
         }()},
    };
    RunCases(cases);
}

// The sample project with a rail mark R1 (stroke SL pointing north, label ST)
// selected, and the panel's rail styles and rails mode stored as given.
std::string ProjectWithRailMark(const char* rails_mode) {
    json project = json::parse(kSampleProject);
    project["objects"].push_back(json::parse(R"({"id": "R1", "layer": "L1",
        "shapes": [ {"style": "SL", "flag": true, "parts": [[[10, 20, 0], [10.2, 20, 0]]]},
                    {"style": "ST", "parts": [[[10.2, 20.2, 0], [10.2, 20.7, 0]]]} ],
        "values": {"A.H": 12}})"));
    project["selection"] = {"R1"};
    project["preferences"] = {{"kavreleditor_pstyle", "SP"},  {"kavreleditor_tstyle", "ST"},
                              {"kavreleditor_rstyle", "SL"},  {"kavreleditor_rtstyle", "ST"},
                              {"kavreleditor_tfield", "A.H"}, {"kavreleditor_relsy", rails_mode}};
    return project.dump();
}

const json& ObjectNamed(const json& r, const std::string& id) {
    for (const json& object : r["objects"]) {
        if (object["id"] == id) {
            return object;
        }
    }
    throw std::runtime_error("no object " + id);
}

// Degrees the rail stroke of R1 points at, from north towards east.
double StrokeDegrees(const json& r) {
    const json& stroke = ObjectNamed(r, "R1")["shapes"][0]["parts"][0];
    const double dx = stroke[1][0].get<double>() - stroke[0][0].get<double>();
    const double dy = stroke[1][1].get<double>() - stroke[0][1].get<double>();
    return std::atan2(dy, dx) * 180.0 / 3.14159265358979323846;
}

int EditorPanels(const json& r) {
    int panels = 0;
    for (const json& form : r["session"]["forms"]) {
        panels += form["type"] == "TfKavrelEditor" ? 1 : 0;
    }
    return panels;
}

// Work the add-on leaves to the message loop (the panel freed after its
// close, WM_RELEASEPANEL, the preferences it then writes) is done between two
// steps, as a desktop host's loop does it between two clicks.
TEST(AddonSessionTest, DeferredWorkRunsBetweenSteps) {
    const json open_panel = {{"do", "command"}, {"id", 2}};
    const json close = {{"do", "click"}, {"form", "TfKavrelEditor"}, {"control", "Button1"}};
    const json rail_turn = {{"do", "click"}, {"form", "TfKavrelEditor"}, {"control", "sbRRotUp"}};
    const AddonCase cases[] = {
        {"closed and opened again: a new panel, its rail step back at 5 degrees",
         {{{"do", "connect"}},
          open_panel,
          {{"do", "set_text"},
           {"form", "TfKavrelEditor"},
           {"control", "eRRotAngle"},
           {"text", "30"}},
          close,
          open_panel,
          rail_turn},
         [](const json& r) {
             const json& s = r["session"];
             EXPECT_EQ(s["messages"], json::array());
             EXPECT_EQ(s["calls"]["IHostMainWindow.GetTaskPanel"], 2) << "a second panel";
             EXPECT_EQ(s["task_panel_shows"], 0) << "no panel left to show again";
             EXPECT_EQ(s["calls"]["IHostPreferences.ReadString"], 24) << "twelve keys each";
             EXPECT_EQ(EditorPanels(r), 1);
             EXPECT_NEAR(std::fabs(StrokeDegrees(r)), 5.0, 1e-9);
             EXPECT_EQ(s["outstanding_refs"]["IHostTaskPanel"], 1) << "the first one released";
         },
         ProjectWithRailMark("-1")},
        {"a close whose preference write fails: shown once, the next panel loads what was stored",
         {{{"do", "connect"}},
          open_panel,
          {{"do", "check"}, {"form", "TfKavrelEditor"}, {"control", "cbRelsy"}, {"checked", true}},
          {{"do", "set_text"},
           {"form", "TfKavrelEditor"},
           {"control", "eMoveValue"},
           {"text", "0,7"}},
          {{"do", "fail"},
           {"call", "IHostPreferences.WriteString"},
           {"nth", 1},
           {"description", "Хранилище настроек недоступно"}},
          close,
          open_panel,
          {{"do", "click"}, {"form", "TfKavrelEditor"}, {"control", "sbMoveU"}}},
         [](const json& r) {
             const json& s = r["session"];
             EXPECT_EQ(s["messages"], json::array({"Хранилище настроек недоступно"}));
             EXPECT_EQ(s["calls"]["IHostMainWindow.GetTaskPanel"], 2);
             EXPECT_EQ(r["preferences"]["kavreleditor_relsy"], "-1");
             EXPECT_EQ(r["preferences"]["kavreleditor_emoveval"], "0,7");
             // Rails mode and the step came from the store: the rail label moved 0,7 north.
             const json& label = ObjectNamed(r, "R1")["shapes"][1]["parts"][0];
             EXPECT_NEAR(label[0][0].get<double>(), 10.9, 1e-9);
             EXPECT_NEAR(label[0][1].get<double>(), 20.2, 1e-9);
             EXPECT_EQ(EditorPanels(r), 1);
         },
         ProjectWithRailMark("0")},
    };
    RunCases(cases);
}

TEST(AddonSessionTest, LoadedByClassIdAfterRegsvr32) {
    const std::wstring dll = AddonDll();
    ASSERT_EQ(RunProgram(L"regsvr32.exe /s \"" + dll + L"\""), 0u);
    const SessionRun run = RunMaphost(
        kSampleProject,
        {{"decimal", ","},
         {"steps", {{{"do", "connect"}}, {{"do", "command"}, {"id", 2}}, {{"do", "unload"}}}}},
        L"");
    RunProgram(L"regsvr32.exe /s /u \"" + dll + L"\"");
    EXPECT_EQ(run.exit_code, 0u) << run.errors;
    ASSERT_TRUE(run.has_result) << run.errors;
    EXPECT_EQ(run.result["session"]["addon"]["info"]["name"], "KAVREL");
    EXPECT_EQ(run.result["session"]["calls"]["IHostMainWindow.GetTaskPanel"], 1);
    EXPECT_EQ(run.result["session"]["addon"]["unloaded"], true);
}

}  // namespace
}  // namespace kavrel::host

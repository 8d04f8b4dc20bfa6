// The real add-on inside the stand-in host, driven as the host drives it.
#include <gtest/gtest.h>

#include <functional>

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
    };
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

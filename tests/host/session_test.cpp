#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>

#include "base/file_bytes.h"
#include "base/wide.h"
#include "tests/host/sample_project.h"
#include "tests/host/session_harness.h"

namespace kavrel::host {
namespace {

using nlohmann::json;

const json kConnect = json::array({{{"do", "connect"}}});

json Steps(json first, std::initializer_list<json> more) {
    json steps = first;
    for (const json& step : more) {
        steps.push_back(step);
    }
    return steps;
}

struct SessionCase {
    const char* label;
    json steps;
    DWORD exit_code;
    std::function<void(const json& r)> check;
    const char* decimal = ",";
};

std::wstring ProbeDll() {
    return Utf8ToWindows(PROBE_DLL);
}

void RunCases(const std::vector<SessionCase>& cases, const std::wstring& addon) {
    for (const SessionCase& c : cases) {
        SCOPED_TRACE(c.label);
        // One case's fatal failure must not skip the cases after it.
        [&] {
            const SessionRun run =
                RunMaphost(kSampleProject, {{"decimal", c.decimal}, {"steps", c.steps}}, addon);
            EXPECT_EQ(run.exit_code, c.exit_code) << run.errors;
            ASSERT_TRUE(run.has_result) << run.errors;
            c.check(run.result);
        }();
    }
}

TEST(SessionTest, ProbeAddonDrivenThroughSessions) {
    const json open_form = Steps(kConnect, {{{"do", "command"}, {"id", 3}}});
    const std::vector<SessionCase> cases = {
        {"connection, identity, commands and bitmaps",
         Steps(json::array({{{"do", "register"}, {"applied", nullptr}, {"active", 1}}}),
               {{{"do", "connect"}}}),
         0,
         [](const json& r) {
             const json& s = r["session"];
             EXPECT_EQ(s["statuses"][0]["status"], "0x00000000") << "null applied, active 1";
             EXPECT_EQ(s["addon"]["info"]["name"], "PROBE");
             EXPECT_EQ(s["addon"]["info"]["class_id"], "{9EA2AFB5-68F6-4A9D-B4AB-6105CAB43761}");
             ASSERT_EQ(s["addon"]["commands"].size(), 5u);
             const json& bitmap = s["addon"]["commands"][0]["save_bitmap"];
             EXPECT_EQ(bitmap["valid"], true) << bitmap["problem"];
             EXPECT_EQ(bitmap["width"], 16);
             EXPECT_EQ(bitmap["stream_calls"], json::array({"Write", "Write"}));
             EXPECT_EQ(s["addon"]["commands"][1].contains("save_bitmap"), false);
             // The probe keeps the error channel, the seven SDK interfaces and the application.
             EXPECT_EQ(s["outstanding_refs"], json({{"IHostApplication", 1},
                                                    {"IHostErrorInfo", 1},
                                                    {"IM2AddOnManager", 1},
                                                    {"IM2GISDatabase", 1},
                                                    {"IM2GeometryLib", 1},
                                                    {"IM2MapObjects", 1},
                                                    {"IM2MapProject", 1},
                                                    {"IM2MapView", 1},
                                                    {"IM2Preferences", 1}}));
             EXPECT_EQ(s["calls"]["IM2AddOnManager.GetMainWindowHandle"], 1);
         }},
        {"registration arguments reach the add-on",
         json::array({{{"do", "register"}, {"applied", "Proj"}, {"active", 1}},
                      {{"do", "register"}, {"applied", nullptr}, {"active", 0}}}),
         0,
         [](const json& r) {
             EXPECT_EQ(r["session"]["statuses"][0]["status"], "0x00000001");
             EXPECT_EQ(r["session"]["statuses"][1]["status"], "0x00000001");
         }},
        {"message box answered with OK by default",
         Steps(kConnect, {{{"do", "command"}, {"id", 1}}}), 0,
         [](const json& r) {
             EXPECT_EQ(r["session"]["messages"], json::array({"Команда 1"}));
             EXPECT_EQ(r["preferences"]["probe_answer"], "1");
         }},
        {"form steps reach the form's handlers",
         Steps(open_form,
               {{{"do", "set_text"}, {"form", "TfProbe"}, {"control", "eText"}, {"text", "12,5"}},
                {{"do", "check"}, {"form", "TfProbe"}, {"control", "cbFlag"}, {"checked", true}},
                {{"do", "set_text"}, {"form", "TfProbe"}, {"control", "cbTyped"}, {"text", "A.H"}},
                {{"do", "choose"}, {"form", "TfProbe"}, {"control", "cbList"}, {"index", 1}},
                {{"do", "select_node"},
                 {"form", "TfProbe"},
                 {"control", "trv1"},
                 {"path", {"Карта", "Рельеф", "Подпись"}}},
                {{"do", "double_click"}, {"form", "TfProbe"}, {"control", "trv1"}},
                {{"do", "click"},
                 {"form", "TfProbe"},
                 {"control", "bMessage"},
                 {"then", {{{"do", "answer"}, {"button", "yes"}}}}},
                {{"do", "click"},
                 {"form", "TfProbe"},
                 {"control", "bModal"},
                 {"then",
                  {{{"do", "set_text"},
                    {"form", "TfProbeModal"},
                    {"control", "eValue"},
                    {"text", "7"}},
                   {{"do", "click"}, {"form", "TfProbeModal"}, {"control", "bOk"}}}}},
                {{"do", "close"}, {"form", "TfProbe"}}}),
         0,
         [](const json& r) {
             const json& p = r["preferences"];
             EXPECT_EQ(p["probe_text"], "12,5");
             EXPECT_EQ(p["probe_flag"], "1");
             EXPECT_EQ(p["probe_typed"], "A.H");
             EXPECT_EQ(p["probe_choice"], "1");
             EXPECT_EQ(p["probe_node"], "Подпись");
             EXPECT_EQ(p["probe_double_click"], "Подпись");
             EXPECT_EQ(p["probe_answer"], "6") << "IDYES";
             EXPECT_EQ(p["probe_modal_value"], "7");
             EXPECT_EQ(p["probe_modal_result"], "ok");
             EXPECT_EQ(p["probe_closed"], "1");
             EXPECT_EQ(r["session"]["messages"], json::array({"Текст: 12,5"}));
         }},
        {"a modal form left open is closed",
         Steps(open_form, {{{"do", "click"}, {"form", "TfProbe"}, {"control", "bModal"}}}), 0,
         [](const json& r) { EXPECT_EQ(r["preferences"]["probe_modal_result"], "closed"); }},
        {"edits through the add-on are committed and redrawn",
         Steps(kConnect, {{{"do", "command"}, {"id", 4}}}), 0,
         [](const json& r) {
             EXPECT_EQ(r["objects"][0]["shapes"][1]["parts"][0][1],
                       json::array({100.7, 200.2, 0.0}));
             EXPECT_EQ(r["objects"][0]["values"]["A.H"], 101.5);
             EXPECT_EQ(r["session"]["uncommitted"], json::array());
             EXPECT_EQ(r["session"]["redraws"], 1);
             EXPECT_EQ(r["session"]["calls"]["IHostContourPart.SetVertex"], 1);
         }},
        {"an armed commit fault leaves the edits pending",
         Steps(json::array({{{"do", "fail"},
                             {"call", "IHostMapObjects.CommitChanges"},
                             {"nth", 1},
                             {"description", "Нет доступа к базе"}}}),
               {{{"do", "connect"}}, {{"do", "command"}, {"id", 4}}}),
         0,
         [](const json& r) {
             EXPECT_EQ(r["preferences"]["probe_error"], "Нет доступа к базе");
             EXPECT_EQ(r["session"]["statuses"].back()["status"], "0x80040202");
             EXPECT_EQ(r["session"]["uncommitted"], json::array({"O1"}));
             EXPECT_EQ(r["objects"][0]["shapes"][1]["parts"][0][1],
                       json::array({100.2, 200.7, 0.0}))
                 << "the saved project holds committed state only";
             EXPECT_EQ(r["session"]["redraws"], 0);
         }},
        {"a reference the add-on keeps is reported",
         Steps(kConnect, {{{"do", "command"}, {"id", 5}}}), 0,
         [](const json& r) { EXPECT_EQ(r["session"]["outstanding_refs"]["IHostSelection"], 1); }},
        {"disconnect and unload leave nothing behind",
         Steps(kConnect,
               {{{"do", "command"}, {"id", 5}}, {{"do", "disconnect"}}, {{"do", "unload"}}}),
         0,
         [](const json& r) {
             EXPECT_EQ(r["session"]["outstanding_refs"], json::object());
             EXPECT_EQ(r["session"]["addon"]["can_unload_now"], "0x00000000");
             EXPECT_EQ(r["session"]["addon"]["unloaded"], true);
         }},
        {"the add-on's error report is recorded", Steps(kConnect, {{{"do", "command"}, {"id", 6}}}),
         0,
         [](const json& r) {
             EXPECT_EQ(r["session"]["host_errors"],
                       json::array({{{"source", "Проба"}, {"message", "Команда 6 не выполнена"}}}));
             EXPECT_EQ(r["session"]["statuses"].back()["status"], "0x80004005");
         }},
        {"an unknown control ends the session",
         Steps(open_form, {{{"do", "click"}, {"form", "TfProbe"}, {"control", "nope"}},
                           {{"do", "command"}, {"id", 4}}}),
         1,
         [](const json& r) {
             EXPECT_EQ(r["session"]["failed_step"]["index"], 2);
             EXPECT_EQ(r["session"]["failed_step"]["reason"],
                       "2 (click): form TfProbe has no control nope");
             EXPECT_EQ(r["session"]["calls"].contains("IHostContourPart.SetVertex"), false)
                 << "no step runs after the failing one";
         }},
        {"an unknown form ends the session",
         Steps(kConnect, {{{"do", "close"}, {"form", "TfMissing"}}}), 1,
         [](const json& r) {
             EXPECT_EQ(r["session"]["failed_step"]["reason"], "1 (close): no form TfMissing");
         }},
        {"\"then\" without a modal window fails",
         Steps(open_form, {{{"do", "check"},
                            {"form", "TfProbe"},
                            {"control", "cbFlag"},
                            {"then", json::array()}}}),
         1,
         [](const json& r) {
             EXPECT_EQ(r["session"]["failed_step"]["reason"],
                       "2: the step opened no modal window for its \"then\" steps");
         }},
        {"a failing step inside a modal form ends the session after closing it",
         Steps(open_form,
               {{{"do", "click"},
                 {"form", "TfProbe"},
                 {"control", "bModal"},
                 {"then", {{{"do", "click"}, {"form", "TfProbeModal"}, {"control", "x"}}}}}}),
         1,
         [](const json& r) {
             EXPECT_EQ(r["session"]["failed_step"]["reason"],
                       "2.then[0] (click): form TfProbeModal has no control x");
             EXPECT_EQ(r["preferences"]["probe_modal_result"], "closed");
         }},
        {"selection of an unknown object fails",
         json::array({{{"do", "select"}, {"ids", {"O1", "O8"}}}}), 1,
         [](const json& r) {
             EXPECT_EQ(r["session"]["failed_step"]["reason"], "0 (select): no object O8");
             EXPECT_EQ(r["selection"], json::array({"O1"}));
         }},
        {"selection set by a step", json::array({{{"do", "select"}, {"ids", {"O2", "O1"}}}}), 0,
         [](const json& r) {
             EXPECT_EQ(r["selection"], json::array({"O2", "O1"}));
         }},
        {"decimal point session", json::array(), 0,
         [](const json& r) {
             EXPECT_EQ(r["session"]["decimal"]["requested"], ".");
             EXPECT_EQ(r["session"]["decimal"]["system"], ".") << "Wine honours SetLocaleInfoW";
         },
         "."},
        {"decimal comma session", json::array(), 0,
         [](const json& r) { EXPECT_EQ(r["session"]["decimal"]["system"], ","); }},
    };
    RunCases(cases, ProbeDll());
}

TEST(SessionTest, CallLogKeepsTheOrderOfHostCalls) {
    const SessionRun run = RunMaphost(
        kSampleProject,
        {{"log", true}, {"steps", {{{"do", "connect"}}, {{"do", "command"}, {"id", 4}}}}},
        ProbeDll());
    ASSERT_TRUE(run.has_result) << run.errors;
    const json& log = run.result["session"]["call_log"];
    ASSERT_TRUE(log.is_array());
    std::vector<std::string> calls = log.get<std::vector<std::string>>();
    auto position = [&](const std::string& call) {
        return std::find(calls.begin(), calls.end(), call) - calls.begin();
    };
    EXPECT_EQ(calls.front(), "IM2AddOnManager.GetMainWindowHandle");
    EXPECT_LT(position("IHostContourPart.SetVertex"), position("IHostSemantics.SetValue"));
    EXPECT_LT(position("IHostSemantics.SetValue"), position("IHostMapObjects.CommitChanges"));
    EXPECT_LT(position("IHostMapObjects.CommitChanges"), position("IHostMapWindow.Redraw"));
    EXPECT_EQ(calls.back(), "IHostMapWindow.Redraw");
    EXPECT_FALSE(RunMaphost(kSampleProject, {{"steps", json::array()}}, ProbeDll())
                     .result["session"]
                     .contains("call_log"))
        << "no log unless asked for";
}

TEST(SessionTest, BadProjectIsRefusedAndNothingWritten) {
    const SessionRun run = RunMaphost(
        R"({"layers":[{"id":"L1","tables":[{"name":"A","fields":["H"]}]}],"objects":[{"id":"O1","layer":"L1","values":{"A.Q":1}}]})",
        {{"steps", json::array()}}, ProbeDll());
    EXPECT_EQ(run.exit_code, 2u);
    EXPECT_FALSE(run.has_result);
    EXPECT_NE(
        run.errors.find(
            "Проект не загружен: объект «O1», поле «A.Q»: нет такого поля в таблицах слоя «L1»"),
        std::string::npos)
        << run.errors;
}

TEST(SessionTest, BadScriptIsRefused) {
    const SessionRun run =
        RunMaphost(kSampleProject, {{"decimal", ";"}, {"steps", json::array()}}, ProbeDll());
    EXPECT_EQ(run.exit_code, 2u);
    EXPECT_FALSE(run.has_result);
}

TEST(SessionTest, PictureIsAPng) {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    const std::wstring picture = std::wstring(base) + L"maphost_picture.png";
    DeleteFileW(picture.c_str());
    const SessionRun run =
        RunMaphost(kSampleProject, {{"steps", json::array()}}, ProbeDll(), picture);
    EXPECT_EQ(run.exit_code, 0u) << run.errors;
    const std::optional<std::string> png = ReadFileBytes(picture);
    ASSERT_TRUE(png.has_value());
    EXPECT_EQ(png->substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_GT(png->size(), 800u * 600u * 3u) << "stored blocks hold every pixel";
}

}  // namespace
}  // namespace kavrel::host

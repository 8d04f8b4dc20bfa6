#include "tests/host/session_harness.h"

#include <optional>
#include <sstream>
#include <stdexcept>

#include "base/file_bytes.h"
#include "base/kernel_handle.h"
#include "base/utf8.h"
#include "base/wide.h"
#include "tests/support/child_process.h"

namespace kavrel::host {
namespace {

std::wstring TempFolder() {
    static int counter = 0;
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    const std::wstring folder = std::wstring(base) + L"maphost_test_" +
                                std::to_wstring(GetCurrentProcessId()) + L"_" +
                                std::to_wstring(++counter);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void WriteText(const std::wstring& path, const std::string& text) {
    if (!WriteFileBytes(path, text)) {
        throw std::runtime_error("cannot write a test file");
    }
}

// Runs a program to its end; a session that hangs is ended and fails its case.
DWORD Run(const std::wstring& command_line, HANDLE error_output) {
    const kavrel::testing::ChildEnd end =
        kavrel::testing::RunToEnd(command_line, 60000, error_output);
    if (!end.started) {
        throw std::runtime_error(kavrel::testing::StartFailure(command_line, end));
    }
    return end.status;
}

}  // namespace

DWORD RunProgram(const std::wstring& command_line) {
    return Run(command_line, nullptr);
}

SessionRun RunMaphost(const std::string& project, const nlohmann::json& script,
                      const std::wstring& addon, const std::wstring& picture) {
    const std::wstring folder = TempFolder();
    const std::wstring p = folder + L"\\P.json", s = folder + L"\\S.json", r = folder + L"\\R.json",
                       e = folder + L"\\errors.txt";
    WriteText(p, project);
    WriteText(s, script.dump());
    std::wstring command = L"\"" + Utf8ToWindows(MAPHOST_EXE) + L"\" run --project \"" + p +
                           L"\" --script \"" + s + L"\" --out \"" + r + L"\"";
    if (!addon.empty()) {
        command += L" --addon \"" + addon + L"\"";
    }
    if (!picture.empty()) {
        command += L" --picture \"" + picture + L"\"";
    }
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    SessionRun run;
    {
        const KernelHandle errors(CreateFileW(e.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                              CREATE_ALWAYS, 0, nullptr));
        run.exit_code = Run(command, errors.get());
    }
    run.errors = ReadFileBytes(e).value_or(std::string());
    const std::optional<std::string> result = ReadFileBytes(r);
    run.has_result = result.has_value();
    if (run.has_result) {
        run.result = nlohmann::json::parse(*result);
    }
    return run;
}

}  // namespace kavrel::host

#include "tests/host/session_harness.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "base/utf8.h"

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
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot write a test file");
    }
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::string ReadText(const std::wstring& path, bool* found) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    *found = file != INVALID_HANDLE_VALUE;
    if (!*found) {
        return {};
    }
    std::string text;
    char buffer[65536];
    DWORD n = 0;
    while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) {
        text.append(buffer, n);
    }
    CloseHandle(file);
    return text;
}

DWORD Run(const std::wstring& command_line, HANDLE error_output) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (error_output) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = error_output;
    }
    PROCESS_INFORMATION process{};
    std::wstring line = command_line;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, error_output != nullptr, 0, nullptr,
                        nullptr, &startup, &process)) {
        throw std::runtime_error(
            "cannot start " + WideToUtf8(std::u16string(command_line.begin(), command_line.end())));
    }
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 0xDEAD);  // a session that hangs fails its case
        WaitForSingleObject(process.hProcess, 10000);
    }
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

}  // namespace

std::wstring Utf8ToWindows(const std::string& text) {
    const std::u16string wide = Utf8ToWide(text);
    return std::wstring(wide.begin(), wide.end());
}

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
    HANDLE errors =
        CreateFileW(e.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    SessionRun run;
    run.exit_code = Run(command, errors);
    CloseHandle(errors);
    bool found = false;
    run.errors = ReadText(e, &found);
    const std::string result = ReadText(r, &run.has_result);
    if (run.has_result) {
        run.result = nlohmann::json::parse(result);
    }
    return run;
}

}  // namespace kavrel::host

// The add-on inside a running stand-in host, as a host drives it: kavrel.dll
// loaded from its file, created through its class factory, connected to the
// host object, asked for its commands, and its editor panel opened with
// command 2 in the host's task panel. Clicks and typing reach the panel's real
// windows as window messages; message boxes are observed and answered.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/com_ptr.h"
#include "gis/host_api.h"
#include "host/com/host_context.h"

namespace kavrel::test {

// A project with one layer of marks (styles SP point, ST label, SR rail
// stroke, SRT rail label, table A with fields H and N) and a rail layer (style
// RL, rail lines), no objects; tests add the objects they need.
std::string MarkProject(const std::string& objects_json, const std::string& preferences_json = "{}",
                        const std::string& selection_json = "[]");

// The preferences that make the panel work on the project's styles.
extern const char kMarkPreferences[];

class EditorTest : public ::testing::Test {
  protected:
    void TearDown() override;

    // Starts the host over the project, with the regional decimal separator.
    void StartHost(const std::string& project_json, wchar_t decimal = L',');
    // Loads and connects the add-on and reads its commands.
    void ConnectAddon();
    // Command 2; the panel must then exist.
    void OpenPanel();
    // Both of the above, and StartHost first.
    void OpenPanelOn(const std::string& project_json, wchar_t decimal = L',');
    // Closes the panel, disconnects and unloads the add-on, ends the host and
    // puts the regional settings back; a test may then start another host.
    void StopHost();

    HWND Panel() const;
    HWND Control(const char* name) const;
    std::wstring Text(const char* name) const;
    bool Checked(const char* name) const;

    // A click; the message boxes it showed, in order, each answered with OK.
    std::vector<std::wstring> Click(const char* name);
    void SetText(const char* name, const std::wstring& text);
    void SetChecked(const char* name, bool checked);
    // Clicks "Закрыть" and lets the queued messages run.
    std::vector<std::wstring> ClosePanel();
    void Pump();

    void Select(std::vector<std::u16string> ids);
    host::MapModel& Model() { return host_->model(); }
    const host::ObjectState& Current(const char16_t* id);
    const host::ObjectState& Committed(const char16_t* id);
    std::u16string Preference(const char16_t* key);
    long Calls(const char* operation) const;

    std::unique_ptr<host::HostContext> host_;
    ComPtr<IHostAddOn> addon_;
    HMODULE module_ = nullptr;
    std::vector<std::wstring> connect_messages_;

  private:
    wchar_t previous_decimal_[8] = {};
    bool locale_changed_ = false;
};

}  // namespace kavrel::test

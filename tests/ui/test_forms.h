// Forms and windows shared by the forms layer's tests: a layout with a control
// of every kind, a stand-in for the host's windows, and a form that records
// what happens to it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/form.h"

namespace uitest {

inline constexpr char16_t kPanelType[] = u"TfUiTestPanel";
inline constexpr char16_t kDialogType[] = u"TfUiTestDialog";
inline constexpr char16_t kSizeableType[] = u"TfUiTestSizeable";

// A child panel with a control of every kind, places taken from a real panel.
ui::FormLayout PanelLayout();
// A modal dialog: edits, an OK button (default, result 1), a Cancel button
// (cancel, result 2) and a third button without a result.
ui::FormLayout DialogLayout();
// A sizeable top-level form with anchored controls.
ui::FormLayout SizeableLayout();

// A top-level window of the test standing in for a window of the host.
class HostWindow {
  public:
    HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    ~HostWindow();
    HWND get() const { return window_; }
    void Destroy();

  private:
    HWND window_ = nullptr;
};

// What happened to a RecordingForm, kept outside it so that it can be read
// after the form is gone.
struct Record {
    int created = 0;
    int shown = 0;
    int destroyed = 0;
    int closeRequests = 0;
    std::vector<std::string> events;
    std::vector<UINT> messages;
    std::vector<std::pair<WPARAM, LPARAM>> messageParams;
    std::vector<HWND> focusAtProbe;
};

// A private message the recording form answers by noting where the focus is.
inline constexpr UINT kProbeFocus = WM_USER + 0x50;

class RecordingForm : public ui::Form {
  public:
    RecordingForm(ui::FormLayout layout, Record& record,
                  ui::CloseAction onClose = ui::CloseAction::Hide);
    void SetCloseAction(ui::CloseAction action) { closeAction_ = action; }
    void ThrowOnShow(bool value) { throwOnShow_ = value; }
    void ThrowOnCreate(bool value) { throwOnCreate_ = value; }

  protected:
    void OnCreate() override;
    void OnShow() override;
    ui::CloseAction OnClose() override;
    void OnDestroy() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    Record& record_;
    ui::CloseAction closeAction_;
    bool throwOnShow_ = false;
    bool throwOnCreate_ = false;
};

// Handles every message already queued for this thread.
void PumpMessages();
// The client size of a window.
SIZE ClientSize(HWND window);

}  // namespace uitest

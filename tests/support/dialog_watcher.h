// Observes the modal windows that a click opens (message boxes and dialogs)
// and answers them, the way a user would. A thread timer runs while the modal
// loop waits: the loop of a message box or of a modal form dispatches it, and
// the callback finds the new window among the thread's enabled top-level
// windows. The windows are real: they are looked at and closed, never replaced.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace kavrel::testing {

struct SeenMessageBox {
    std::wstring title;
    std::wstring text;
    HWND owner = nullptr;
    bool ownerEnabled = false;  // whether the owner took input while the box was up
};

class DialogWatcher {
  public:
    // Arms the timer; the watcher answers message boxes with `messageBoxAnswer`.
    explicit DialogWatcher(int messageBoxAnswer = IDOK);
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;
    ~DialogWatcher();

    // Runs `action` once on each visible window of `className` that appears
    // (a modal form); the action answers it, for instance by clicking a button.
    void OnWindow(const std::wstring& className, std::function<void(HWND)> action);

    const std::vector<SeenMessageBox>& MessageBoxes() const { return boxes_; }
    // The texts of the boxes seen so far, in order.
    std::vector<std::wstring> MessageTexts() const {
        std::vector<std::wstring> texts;
        for (const SeenMessageBox& box : boxes_) {
            texts.push_back(box.text);
        }
        return texts;
    }

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) noexcept;
    void Look();

    struct Watch {
        std::wstring className;
        std::function<void(HWND)> action;
        std::vector<HWND> handled;
    };

    int answer_;
    UINT_PTR timer_ = 0;
    std::vector<HWND> answered_;
    std::vector<Watch> watches_;
    std::vector<SeenMessageBox> boxes_;
};

}  // namespace kavrel::testing

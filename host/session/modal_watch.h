// A watch armed around one step that may open modal windows (message boxes
// or modal forms). Their modal loops dispatch a thread timer; its callback
// finds each new modal window and hands it to the watch's owner, which runs
// the step's "then" steps inside the first one and closes them.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace kavrel::host {

class ModalWatch {
  public:
    // Called from inside the modal loop, once for each modal window found;
    // `first` for the first one of the watch. Answers true to have a modal form
    // closed at the next tick if it is still modal then (its own loop may be
    // ending after the steps run inside it).
    using OnModal = std::function<bool(HWND modal, bool first)>;

    // Arms the timer (50 ms); the windows of the thread now are not new.
    explicit ModalWatch(OnModal on_modal);
    ~ModalWatch();
    ModalWatch(const ModalWatch&) = delete;
    ModalWatch& operator=(const ModalWatch&) = delete;

    // Whether a modal window was found.
    bool fired() const noexcept { return fired_; }

  private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept;
    void Poll();
    HWND FindModal();
    void CloseFormsStillModal();

    OnModal on_modal_;
    std::vector<HWND> before_;
    std::vector<HWND> handled_;
    std::vector<HWND> close_if_modal_;
    UINT_PTR timer_ = 0;
    bool fired_ = false;
    bool busy_ = false;  // inside on_modal_: the "then" steps have watches of their own
};

}  // namespace kavrel::host

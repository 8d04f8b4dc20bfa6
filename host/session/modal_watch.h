// A watch armed around one action that may open a modal window (a message box
// or a modal form). The modal loop dispatches a thread timer; its callback
// finds the new window and hands it to the watch's owner, which runs the
// step's "then" steps inside it and closes it.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace kavrel::host {

class ModalWatch {
  public:
    // Called once, from inside the modal loop, with the modal window found.
    using OnModal = std::function<void(HWND modal)>;

    // Arms the timer (50 ms); the windows of the thread now are not new.
    explicit ModalWatch(OnModal on_modal);
    ~ModalWatch();
    ModalWatch(const ModalWatch&) = delete;
    ModalWatch& operator=(const ModalWatch&) = delete;

    bool fired() const noexcept { return fired_; }

  private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept;
    void Poll();
    HWND FindModal() const;

    OnModal on_modal_;
    std::vector<HWND> before_;
    UINT_PTR timer_ = 0;
    bool fired_ = false;
};

}  // namespace kavrel::host

// A window built from a declared layout of named controls, with handlers
// bound by control name. A form is shown in one of three ways: as a borderless
// child inside a window of someone else (CreateChild), as an owned modeless
// window (Show), or as a modal dialog with a modal result (ShowModal).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/counted_gdi.h"
#include "ui/form_layout.h"

namespace ui {

inline constexpr int kModalNone = 0;
inline constexpr int kModalOk = 1;
inline constexpr int kModalCancel = 2;

enum class Event {
    Click,   // buttons, image buttons, check box
    Change,  // edits (any change of text), combo boxes (typed text or picked entry), tree selection
    DoubleClick,  // tree view
};

// What a close request does with the form.
enum class CloseAction {
    None,  // the form stays
    Hide,  // the window is hidden, the form lives on
    Free,  // the window is destroyed and the form deleted after the current message
};

using Handler = std::function<void()>;

struct FormDeleter;
struct BuiltControl;

class Form {
  public:
    explicit Form(FormLayout layout);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

    // Builds the window as a borderless visible child of `parent`.
    void CreateChild(HWND parent);
    // Shows the form as a modeless top-level window owned by `owner` (built on first use).
    void Show(HWND owner);
    // Shows the form modally: the owner's top-level window is disabled until it
    // closes. Returns the modal result (kModalOk, kModalCancel, or what a handler
    // set). The window is hidden, not destroyed, when this returns. An exception
    // from OnShow comes out of here, with the owner enabled again.
    int ShowModal(HWND owner);

    // Asks the form to close: a modal form ends with kModalCancel unless a result
    // is set; otherwise OnClose decides. Never destroys anything inside the call.
    void Close();
    // Destroys the window now; a form that owns itself is deleted too (after the
    // message being handled, when called from inside one of its handlers).
    void Destroy() noexcept;

    void SetModalResult(int result) noexcept { modalResult_ = result; }
    int ModalResult() const noexcept { return modalResult_; }

    // Posts a message (WM_USER and above) to the form's own window; it reaches
    // OnMessage when the queue gets to it, if the window is still there.
    void PostPrivate(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    void Bind(std::string_view control, Event event, Handler handler);

    HWND Handle() const noexcept { return window_; }
    // The window of a control; throws when the form has no control of that name.
    HWND Control(std::string_view name) const;
    const FormLayout& Layout() const noexcept { return layout_; }
    // The resolution the layout is scaled to; set before the window is built
    // (the screen's by default).
    void SetDpi(int dpi);
    int Dpi() const noexcept { return dpi_; }

    std::u16string Text(std::string_view control) const;
    void SetText(std::string_view control, std::u16string_view text);
    bool Checked(std::string_view control) const;
    void SetChecked(std::string_view control, bool checked);
    bool Enabled(std::string_view control) const;
    void SetEnabled(std::string_view control, bool enabled);

    void ComboClear(std::string_view control);
    void ComboAdd(std::string_view control, std::u16string_view item);
    int ComboCount(std::string_view control) const;
    std::u16string ComboItem(std::string_view control, int index) const;
    int ComboIndex(std::string_view control) const;  // -1: none
    void SetComboIndex(std::string_view control, int index);

    HTREEITEM TreeAdd(std::string_view control, HTREEITEM parent, std::u16string_view text,
                      LPARAM data = 0);
    void TreeClear(std::string_view control);
    HTREEITEM TreeSelection(std::string_view control) const;  // null: none
    void TreeSelect(std::string_view control, HTREEITEM item);
    int TreeLevel(std::string_view control, HTREEITEM item) const;  // 0 for a root
    LPARAM TreeData(std::string_view control, HTREEITEM item) const;
    std::vector<HTREEITEM> TreeItemsInOrder(
        std::string_view control) const;  // all nodes, display order
    std::vector<HTREEITEM> TreeChildren(std::string_view control, HTREEITEM item) const;

    void SetProgress(std::string_view control, int position, int maximum = 100);

    // A message box owned by the form's top-level window.
    void ShowMessage(std::u16string_view text) const;

    // Hands a built form its own lifetime: it is deleted when its window is gone
    // (closed with CloseAction::Free, destroyed, or its parent destroyed).
    // Throws std::logic_error when the window is not built yet.
    template <typename T>
    static T* OwnItself(std::unique_ptr<T, FormDeleter> form);

  protected:
    // Run once the window and its controls exist; an exception is shown in a
    // message box and the creation goes on.
    virtual void OnCreate() {}
    // Run each time the form is shown by Show or ShowModal.
    virtual void OnShow() {}
    // A close request that is not withdrawn; the default hides the form.
    virtual CloseAction OnClose();
    // Run while the window and its controls still exist, before they go.
    virtual void OnDestroy() {}
    // Messages from WM_USER up; return true when handled.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void TakeOwnLifetime();
    enum class Mode { None, Child, Modeless, Modal };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleCommand(WPARAM wParam, LPARAM lParam);
    void HandleNotify(const NMHDR& header);
    LRESULT HandleDrawItem(WPARAM wParam, LPARAM lParam);
    void HandleSize(WPARAM wParam, LPARAM lParam);
    void HandleDestroy();
    LRESULT HandlePrivateMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void FireNotification(const BuiltControl& control, UINT message, UINT code);
    void PressDialogKey(int id);
    void Build(HWND parentOrOwner, Mode mode);
    void BuildControls();
    void Fire(const BuiltControl& control, Event event);
    void FireClick(const BuiltControl& control);
    const BuiltControl* EntryById(int id) const noexcept;
    const BuiltControl* EntryByWindow(HWND window) const noexcept;
    BuiltControl& Entry(std::string_view name) const;
    void RunCloseRequest();
    void Release();
    void LayOutForClientSize(Size actual);
    void OnWindowGone() noexcept;
    void AfterMessage() noexcept;

    FormLayout layout_;
    int dpi_;
    HWND window_ = nullptr;
    Mode mode_ = Mode::None;
    Font font_;
    HWND tooltips_ = nullptr;
    std::vector<std::unique_ptr<BuiltControl>> controls_;
    std::map<std::string, std::map<Event, Handler>, std::less<>> handlers_;
    Size designedClient_;
    int modalResult_ = kModalNone;
    bool ownsItself_ = false;
    bool releasePosted_ = false;
    int messageDepth_ = 0;
    bool deletePending_ = false;
    bool destroyNotified_ = false;
    bool paintFailureShown_ = false;
};

// Destroys a form's window while the form is whole (so that its OnDestroy
// runs), then deletes it.
struct FormDeleter {
    void operator()(Form* form) const noexcept;
};
template <typename T>
using FormPtr = std::unique_ptr<T, FormDeleter>;

template <typename T>
T* Form::OwnItself(FormPtr<T> form) {
    form->TakeOwnLifetime();
    return form.release();
}

template <typename T, typename... Args>
FormPtr<T> MakeForm(Args&&... args) {
    return FormPtr<T>(new T(std::forward<Args>(args)...));
}

}  // namespace ui

#include "ui/control_kinds.h"

#include <commctrl.h>

#include <array>

namespace ui {
namespace {

struct KindTraits {
    ControlKind kind;
    bool comboBox;
    std::array<ControlNotification, 2> raises;  // unused places have message 0
};

constexpr ControlNotification Command(Event event, UINT code, bool showsPickedEntry = false) {
    return {event, WM_COMMAND, code, showsPickedEntry};
}

constexpr ControlNotification Notify(Event event, UINT code) {
    return {event, WM_NOTIFY, code, false};
}

constexpr KindTraits kKinds[] = {
    {ControlKind::PushButton, false, {Command(Event::Click, BN_CLICKED)}},
    {ControlKind::ImageButton, false, {Command(Event::Click, BN_CLICKED)}},
    {ControlKind::Edit, false, {Command(Event::Change, EN_CHANGE)}},
    {ControlKind::LabelledEdit, false, {Command(Event::Change, EN_CHANGE)}},
    {ControlKind::Label, false, {}},
    {ControlKind::CheckBox, false, {Command(Event::Click, BN_CLICKED)}},
    {ControlKind::ComboDropDown,
     true,
     {Command(Event::Change, CBN_SELCHANGE, true), Command(Event::Change, CBN_EDITCHANGE)}},
    {ControlKind::ComboList,
     true,
     {Command(Event::Change, CBN_SELCHANGE), Command(Event::Change, CBN_EDITCHANGE)}},
    {ControlKind::TreeView,
     false,
     {Notify(Event::Change, TVN_SELCHANGEDW), Notify(Event::DoubleClick, NM_DBLCLK)}},
    {ControlKind::Memo, false, {Command(Event::Change, EN_CHANGE)}},
    {ControlKind::ProgressBar, false, {}},
};

const KindTraits* TraitsOf(ControlKind kind) noexcept {
    for (const KindTraits& traits : kKinds) {
        if (traits.kind == kind) {
            return &traits;
        }
    }
    return nullptr;
}

}  // namespace

bool RaisesEvent(ControlKind kind, Event event) noexcept {
    const KindTraits* traits = TraitsOf(kind);
    if (!traits) {
        return false;
    }
    for (const ControlNotification& notification : traits->raises) {
        if (notification.message != 0 && notification.event == event) {
            return true;
        }
    }
    return false;
}

const ControlNotification* FindNotification(ControlKind kind, UINT message, UINT code) noexcept {
    const KindTraits* traits = TraitsOf(kind);
    if (!traits || message == 0) {
        return nullptr;
    }
    for (const ControlNotification& notification : traits->raises) {
        if (notification.message == message && notification.code == code) {
            return &notification;
        }
    }
    return nullptr;
}

bool IsComboBox(ControlKind kind) noexcept {
    const KindTraits* traits = TraitsOf(kind);
    return traits && traits->comboBox;
}

}  // namespace ui

#include "ui/message_box.h"

#include "base/errors.h"
#include "base/wide.h"

namespace ui {

using kavrel::Wide;

namespace {
std::u16string& Title() {
    static std::u16string title = u"KAVREL";
    return title;
}

}  // namespace

void SetApplicationTitle(std::u16string_view title) {
    Title() = title;
}

const std::u16string& ApplicationTitle() noexcept {
    return Title();
}

int ShowMessage(HWND owner, std::u16string_view text, UINT icon) noexcept {
    try {
        const HWND topLevel = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
        const std::u16string body(text);
        return MessageBoxW(topLevel, Wide(body), Wide(ApplicationTitle()), MB_OK | icon);
    } catch (...) {
        // Out of memory for the copy of the text: nothing more can be shown.
        return 0;
    }
}

bool AskYesNo(HWND owner, std::u16string_view text) noexcept {
    try {
        const HWND topLevel = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
        const std::u16string body(text);
        return MessageBoxW(topLevel, Wide(body), Wide(ApplicationTitle()),
                           MB_YESNO | MB_ICONQUESTION) == IDYES;
    } catch (...) {
        // No question could be asked: nothing is agreed to.
        return false;
    }
}

void ShowCurrentException(HWND owner) noexcept {
    std::u16string text;
    try {
        text = kavrel::CurrentExceptionMessage();
    } catch (...) {
        text = kavrel::kUnknownErrorText;
    }
    ShowMessage(owner, text, MB_ICONERROR);
}

}  // namespace ui

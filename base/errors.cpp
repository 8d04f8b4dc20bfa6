#include "base/errors.h"

#include <oleauto.h>

#include <new>

#include "base/bstr.h"
#include "base/com_ptr.h"
#include "base/utf8.h"

namespace kavrel {
namespace {

// The description the failing call attached to the thread's error object, if any.
std::u16string TakeErrorDescription() {
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) != S_OK || !info) {
        return {};
    }
    Bstr description;
    if (FAILED(info->GetDescription(description.put()))) {
        return {};
    }
    return description.str();
}

}  // namespace

std::u16string SystemErrorText(HRESULT status) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text;
    if (length != 0 && buffer) {
        text.assign(reinterpret_cast<const char16_t*>(buffer), length);
    }
    if (buffer) {
        LocalFree(buffer);
    }
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) {
        text.pop_back();
    }
    if (text.empty()) {
        wchar_t code[32];
        wsprintfW(code, L"0x%08X", static_cast<unsigned>(status));
        text = u"HRESULT " + std::u16string(reinterpret_cast<const char16_t*>(code));
    }
    return text;
}

std::u16string CurrentExceptionMessage() {
    try {
        throw;
    } catch (const AddonError& error) {
        return error.message();
    } catch (const std::bad_alloc&) {
        return kOutOfMemoryText;
    } catch (const std::exception& error) {
        return Utf8ToWide(error.what());
    } catch (...) {
        return kUnknownErrorText;
    }
}

HRESULT CheckAutomation(HRESULT status) {
    if (SUCCEEDED(status)) {
        return status;
    }
    std::u16string message = TakeErrorDescription();
    if (message.empty()) {
        message = SystemErrorText(status);
    }
    throw EHostCallError(std::move(message), status);
}

HRESULT CheckResult(HRESULT status, std::u16string_view message) {
    if (SUCCEEDED(status)) {
        return status;
    }
    throw EHResultError(std::u16string(message));
}

}  // namespace kavrel

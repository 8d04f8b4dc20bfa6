#include "host/com/host_context.h"

#include <new>
#include <stdexcept>

#include "base/bstr.h"
#include "base/com_ptr.h"
#include "base/errors.h"
#include "base/utf8.h"
#include "host/com/host_objects.h"
#include "host/com/host_root.h"
#include "host/com/host_windows.h"

namespace kavrel::host {

// The host's own failures carry their status; anything else is the host's
// internal error, worded by the one mapping the add-on uses too.
HostFailure CurrentFailure() noexcept {
    try {
        throw;
    } catch (const HostFailure& failure) {
        return failure;
    } catch (const std::bad_alloc&) {
        return HostFailure{E_OUTOFMEMORY, kOutOfMemoryText};
    } catch (...) {
        try {
            return HostFailure{E_UNEXPECTED, u"Внутренняя ошибка: " + CurrentExceptionMessage()};
        } catch (...) {
        }
    }
    return HostFailure{E_UNEXPECTED, u"Внутренняя ошибка"};
}

BSTR AllocBstr(std::u16string_view text) {
    BSTR value = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                   static_cast<UINT>(text.size()));
    if (!value) {
        throw std::bad_alloc();
    }
    return value;
}

HostContext::HostContext(MapModel model, char16_t decimal_separator)
    : model_(std::move(model)),
      decimal_separator_(decimal_separator),
      windows_(std::make_unique<HostWindows>(*this)) {
    // Like a GIS opening a map, the host indexes it now, not in the first query.
    model_.BuildIndex();
    host_object_ = HostHold<HostObjectRoot>(new HostObjectRoot(*this));
}

HostContext::~HostContext() {
    task_panels_.clear();
    host_object_.reset();
    windows_.reset();
}

HWND HostContext::main_window() const {
    return windows_->main();
}
HWND HostContext::map_window() const {
    return windows_->map();
}

IUnknown* HostContext::HostObject() {
    return host_object_->identity();
}

IHostTaskPanel* HostContext::TaskPanel(const std::u16string& key, const std::u16string& caption) {
    auto it = task_panels_.find(key);
    if (it == task_panels_.end()) {
        HWND window = windows_->CreateTaskPanelWindow(caption);
        if (!window) {
            Fail(E_FAIL, u"Не удалось создать окно панели задач «" + key + u"»");
        }
        it = task_panels_
                 .emplace(key, HostHold<TaskPanelObject>(
                                   new TaskPanelObject(*this, window, key, caption)))
                 .first;
    }
    return HandOut(it->second.get());
}

std::vector<const TaskPanelObject*> HostContext::TaskPanels() const {
    std::vector<const TaskPanelObject*> out;
    for (const auto& [key, panel] : task_panels_) {
        out.push_back(panel.get());
    }
    return out;
}

HWND HostContext::TaskPanelWindow(const std::u16string& key) const {
    auto it = task_panels_.find(key);
    return it == task_panels_.end() ? nullptr : it->second->window();
}

void HostContext::BeginCall(const char* operation) {
    if (auto fault = accounting_.RecordCall(operation)) {
        throw HostFailure{kHostInjectedFault, std::move(fault->description),
                          std::move(fault->source)};
    }
}

HRESULT HostContext::AutomationFailure(const char* operation, REFIID iid) noexcept {
    const HostFailure failure = CurrentFailure();
    ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(CreateErrorInfo(create.put()))) {
        std::u16string description = failure.message;
        create->SetDescription(reinterpret_cast<LPOLESTR>(description.data()));
        std::u16string source;
        for (const char* p = operation; *p; ++p) {
            source.push_back(static_cast<char16_t>(*p));
        }
        create->SetSource(reinterpret_cast<LPOLESTR>(source.data()));
        create->SetGUID(iid);
        if (ComPtr<IErrorInfo> info = create.As<IErrorInfo>()) {
            SetErrorInfo(0, info.get());
        }
    }
    return failure.status;
}

HRESULT HostContext::SdkFailure(const char* operation) noexcept {
    const HostFailure failure = CurrentFailure();
    try {
        last_sdk_error_.source = failure.source;
        if (failure.source.empty()) {
            for (const char* p = operation; *p; ++p) {
                last_sdk_error_.source.push_back(static_cast<char16_t>(*p));
            }
        }
        last_sdk_error_.message = failure.message;
        has_last_sdk_error_ = true;
    } catch (...) {
    }
    return failure.status;
}

ULONG CountedObject::CallerAddRef() noexcept {
    host_.accounting().Reference(interface_name_, 1);
    return static_cast<ULONG>(++references_);
}

void CountedObject::HostRelease() noexcept {
    if (--references_ == 0) {
        delete this;
    }
}

ULONG CountedObject::CallerRelease() noexcept {
    host_.accounting().Reference(interface_name_, -1);
    const LONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

// Free lists of host objects (see CountedObject::operator new).
namespace {

struct FreeBlock {
    FreeBlock* next;
};

// Sizes are rounded up to 8 bytes; objects up to 256 bytes are pooled (every
// host object is far smaller), larger ones use the heap directly.
constexpr std::size_t kGranule = 8;
constexpr std::size_t kLists = 256 / kGranule + 1;

thread_local FreeBlock* free_lists[kLists] = {};

std::size_t ListOf(std::size_t size) {
    return (size + kGranule - 1) / kGranule;
}

}  // namespace

void* CountedObject::operator new(std::size_t size) {
    const std::size_t slot = ListOf(size);
    if (slot >= kLists) {
        return ::operator new(size);
    }
    if (FreeBlock* block = free_lists[slot]) {
        free_lists[slot] = block->next;
        return block;
    }
    const std::size_t rounded = slot * kGranule;
    return ::operator new(rounded);
}

void CountedObject::operator delete(void* block, std::size_t size) noexcept {
    const std::size_t slot = ListOf(size);
    if (!block) {
        return;
    }
    if (slot >= kLists) {
        ::operator delete(block);
        return;
    }
    auto* free_block = static_cast<FreeBlock*>(block);
    free_block->next = free_lists[slot];
    free_lists[slot] = free_block;
}

HRESULT NotImplemented(HostContext& host, const char* interface_name, int position, bool automation,
                       REFIID iid) noexcept {
    static thread_local std::string operation;
    try {
        operation = std::string(interface_name) + ".Reserved" + std::to_string(position);
    } catch (...) {
        return E_NOTIMPL;
    }
    auto body = []() -> HRESULT { Fail(E_NOTIMPL, u"Операция не поддерживается"); };
    return automation ? host.Automation(operation.c_str(), iid, body)
                      : host.Sdk(operation.c_str(), body);
}

}  // namespace kavrel::host

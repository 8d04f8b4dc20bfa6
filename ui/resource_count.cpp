#include "ui/resource_count.h"

#include <windows.h>

#include <cstdint>
#include <utility>

#include "base/kernel_handle.h"
#include "base/module.h"

namespace ui {
namespace {

// The record published in the shared section, in this order.
struct Counts {
    LONG size = sizeof(Counts);
    LONG form_objects = 0;
    LONG form_windows = 0;
    LONG gdi_objects = 0;
};
static_assert(sizeof(Counts) == 16);

// Owner of the section and its view. Forms live on the user-interface thread
// only, so plain counters suffice. Until the section exists (or when the
// system refuses one) the counts are kept in the module's own record.
class PublishedCounts {
  public:
    constexpr PublishedCounts() noexcept = default;
    PublishedCounts(const PublishedCounts&) = delete;
    PublishedCounts& operator=(const PublishedCounts&) = delete;
    ~PublishedCounts() {
        closed_ = true;
        if (shared_) {
            local_ = *shared_;
            UnmapViewOfFile(shared_);
            shared_ = nullptr;
        }
        section_.reset();
    }

    Counts& get() noexcept {
        if (!shared_ && !closed_ && !tried_) {
            Open();
        }
        return shared_ ? *shared_ : local_;
    }

  private:
    void Open() noexcept {
        tried_ = true;
        wchar_t name[96];
        const auto module = reinterpret_cast<std::uintptr_t>(kavrel::CodeModule());
        wsprintfW(name, L"Local\\kavrel.ui.counts.%lu.%08lx%08lx", GetCurrentProcessId(),
                  static_cast<unsigned long>(static_cast<std::uint64_t>(module) >> 32),
                  static_cast<unsigned long>(module & 0xFFFFFFFFu));
        kavrel::KernelHandle section(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr,
                                                        PAGE_READWRITE, 0, sizeof(Counts), name));
        if (!section) {
            return;
        }
        auto* view = static_cast<Counts*>(
            MapViewOfFile(section.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(Counts)));
        if (!view) {
            return;
        }
        section_ = std::move(section);
        *view = local_;
        shared_ = view;
    }

    kavrel::KernelHandle section_;
    Counts* shared_ = nullptr;
    Counts local_;
    bool tried_ = false;
    bool closed_ = false;
};

PublishedCounts counts;

}  // namespace

int LiveFormObjects() noexcept {
    return counts.get().form_objects;
}
int LiveFormWindows() noexcept {
    return counts.get().form_windows;
}
int LiveGdiObjects() noexcept {
    return counts.get().gdi_objects;
}

namespace detail {
void CountFormObject(int delta) noexcept {
    counts.get().form_objects += delta;
}
void CountFormWindow(int delta) noexcept {
    counts.get().form_windows += delta;
}
void CountGdiObject(int delta) noexcept {
    counts.get().gdi_objects += delta;
}
}  // namespace detail

}  // namespace ui

// The application's window, panel, selection and preference objects.
#include "base/bstr.h"
#include "base/handle_casts.h"
#include "host/com/host_context.h"
#include "host/com/host_objects.h"

namespace kavrel::host {
namespace {

class MapWindowObject : public AutomationObject<IHostMapWindow> {
  public:
    explicit MapWindowObject(HostContext& host) : AutomationObject(host, "IHostMapWindow") {}

    HRESULT __stdcall Redraw() override {
        return host().Automation("IHostMapWindow.Redraw", __uuidof(IHostMapWindow), [&] {
            ++host().redraws;
            InvalidateRect(host().map_window(), nullptr, TRUE);
            UpdateWindow(host().map_window());
            return S_OK;
        });
    }
};

class MainWindowObject : public AutomationObject<IHostMainWindow> {
  public:
    explicit MainWindowObject(HostContext& host) : AutomationObject(host, "IHostMainWindow") {}

    HRESULT __stdcall GetMapWindow(IHostMapWindow** result) override {
        return host().Automation("IHostMainWindow.GetMapWindow", __uuidof(IHostMainWindow), [&] {
            OutArg(result);
            *result = HandOut(new MapWindowObject(host()));
            return S_OK;
        });
    }

    HRESULT __stdcall GetTaskPanel(BSTR key, BSTR caption, IHostTaskPanel** result) override {
        return host().Automation("IHostMainWindow.GetTaskPanel", __uuidof(IHostMainWindow), [&] {
            OutArg(result);
            const std::u16string key_text = BstrText(key);
            if (key_text.empty()) {
                Fail(E_INVALIDARG, u"Пустой ключ панели задач");
            }
            *result = host().TaskPanel(key_text, BstrText(caption));
            return S_OK;
        });
    }
};

class SelectionObject : public AutomationObject<IHostSelection> {
  public:
    explicit SelectionObject(HostContext& host) : AutomationObject(host, "IHostSelection") {}

    HRESULT __stdcall GetCount(LONG* result) override {
        return host().Automation("IHostSelection.GetCount", __uuidof(IHostSelection), [&] {
            *OutArg(result) = static_cast<LONG>(host().model().selection.size());
            return S_OK;
        });
    }

    HRESULT __stdcall GetItemId(LONG index, BSTR* result) override {
        return host().Automation("IHostSelection.GetItemId", __uuidof(IHostSelection), [&] {
            OutArg(result);
            const auto& selection = host().model().selection;
            if (index < 0 || static_cast<std::size_t>(index) >= selection.size()) {
                Fail(DISP_E_BADINDEX, u"Индекс выделения " + IndexText(index) +
                                          u" вне диапазона (выделено объектов: " +
                                          IndexText(static_cast<LONG>(selection.size())) + u")");
            }
            *result = AllocBstr(selection[index]);
            return S_OK;
        });
    }
};

class PreferencesObject : public AutomationObject<IHostPreferences> {
  public:
    explicit PreferencesObject(HostContext& host) : AutomationObject(host, "IHostPreferences") {}

    HRESULT __stdcall ReadString(LONG reserved1, LONG reserved2, BSTR key, BSTR default_value,
                                 BSTR* result) override {
        return host().Automation("IHostPreferences.ReadString", __uuidof(IHostPreferences), [&] {
            OutArg(result);
            const std::u16string key_text = CheckedKey(reserved1, reserved2, key);
            const auto& store = host().model().preferences;
            auto it = store.find(key_text);
            *result = AllocBstr(it == store.end() ? BstrText(default_value) : it->second);
            return S_OK;
        });
    }

    HRESULT __stdcall WriteString(LONG reserved1, LONG reserved2, BSTR key, BSTR value) override {
        return host().Automation("IHostPreferences.WriteString", __uuidof(IHostPreferences), [&] {
            const std::u16string key_text = CheckedKey(reserved1, reserved2, key);
            host().model().preferences[key_text] = BstrText(value);
            return S_OK;
        });
    }

  private:
    static std::u16string CheckedKey(LONG reserved1, LONG reserved2, BSTR key) {
        if (reserved1 != 0 || reserved2 != 0) {
            Fail(E_INVALIDARG, u"Первые два аргумента должны быть равны 0");
        }
        std::u16string text = BstrText(key);
        if (text.empty()) {
            Fail(E_INVALIDARG, u"Пустой ключ настройки");
        }
        return text;
    }
};

}  // namespace

std::u16string IndexText(long value) {
    std::u16string out;
    for (char ch : std::to_string(value)) {
        out.push_back(static_cast<char16_t>(ch));
    }
    return out;
}

TaskPanelObject::TaskPanelObject(HostContext& host, HWND window, std::u16string key,
                                 std::u16string caption)
    : AutomationObject(host, "IHostTaskPanel"),
      window_(window),
      key_(std::move(key)),
      caption_(std::move(caption)) {}

HRESULT __stdcall TaskPanelObject::Show() {
    return host().Automation("IHostTaskPanel.Show", __uuidof(IHostTaskPanel), [&] {
        if (!IsWindow(window_)) {
            Fail(E_FAIL, u"Окно панели задач закрыто");
        }
        ++host().task_panel_shows;
        ShowWindow(window_, SW_SHOW);
        return S_OK;
    });
}

HRESULT __stdcall TaskPanelObject::GetWindowHandle(LONG* result) {
    return host().Automation("IHostTaskPanel.GetWindowHandle", __uuidof(IHostTaskPanel), [&] {
        *OutArg(result) = WindowToLong(window_);
        return S_OK;
    });
}

IHostMainWindow* NewMainWindow(HostContext& host) {
    return HandOut(new MainWindowObject(host));
}
IHostSelection* NewSelection(HostContext& host) {
    return HandOut(new SelectionObject(host));
}
IHostPreferences* NewPreferences(HostContext& host) {
    return HandOut(new PreferencesObject(host));
}

}  // namespace kavrel::host

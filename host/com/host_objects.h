// Creation of the host's COM objects. Each New... function answers the new
// object's interface with the caller's reference already counted.
#pragma once

#include <string>
#include <vector>

#include "host/com/com_base.h"
#include "host/model/map_model.h"

namespace kavrel::host {

// Decimal text of an index or count, for error descriptions.
std::u16string IndexText(long value);

IHostMainWindow* NewMainWindow(HostContext& host);
IHostSelection* NewSelection(HostContext& host);
IHostDatabase* NewDatabase(HostContext& host);
IHostPreferences* NewPreferences(HostContext& host);
IHostStyle* NewStyle(HostContext& host, std::u16string style_id);
IHostLayer* NewLayer(HostContext& host, std::u16string layer_id);
IHostMapObjects* NewMapObjects(HostContext& host);
IHostMapObject* NewMapObject(HostContext& host, MapObject& object);
IHostShapes* NewShapes(HostContext& host, MapObject& object);
IHostShape* NewShape(HostContext& host, MapObject& object, std::uint64_t shape_serial);
IM2IDsList* NewIdsList(HostContext& host, std::vector<std::u16string> ids);
IHostM2Style* NewM2Style(HostContext& host, std::u16string style_id);

// The docked panel of one key; the host keeps it for the key's lifetime.
class TaskPanelObject : public AutomationObject<IHostTaskPanel> {
  public:
    TaskPanelObject(HostContext& host, HWND window, std::u16string key, std::u16string caption);
    HRESULT __stdcall Show() override;
    HRESULT __stdcall GetWindowHandle(LONG* result) override;
    HWND window() const { return window_; }
    const std::u16string& key() const { return key_; }
    const std::u16string& caption() const { return caption_; }

  private:
    HWND window_;
    std::u16string key_;
    std::u16string caption_;
};

}  // namespace kavrel::host

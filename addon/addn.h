// The add-on itself: the "KAVREL" identity, its two commands with their
// bitmaps, and where each command leads.
#pragma once

#include <array>

#include "base/gdi.h"
#include "frame/custom_addon.h"

namespace kavrel {

class TFAd final : public TM2CustomAddon {
  public:
    TFAd();
    ~TFAd() override;

    void Disconnect() override;
    ComPtr<IM2MacroAttrsList> GetMacroAttrs() override;
    void ExecuteMacro(LONG id, LONG param) override;
    void Notify(LONG code, LONG param) override;
    bool SaveBitmap(IStream* stream, HBITMAP bitmap) override;

    void ShowImportDialog();
    void ShowEditorPanel();

    // The command rows with their bitmap handles.
    const std::array<MacroAttrs, 2>& Commands() const noexcept { return commands_; }

  private:
    std::array<MacroAttrs, 2> commands_;
    std::array<BitmapHandle, 2> bitmaps_;
};

}  // namespace kavrel

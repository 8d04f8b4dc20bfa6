#include "addon/addn.h"

#include "addon/command_table.h"
#include "base/bstr.h"
#include "base/errors.h"
#include "base/handle_casts.h"
#include "base/module.h"
#include "editor/editor_panel.h"
#include "frame/library_refs.h"
#include "frame/save_bitmap.h"
#include "gis/host_calls.h"
#include "import/import_dialog.h"

namespace kavrel {

TFAd::TFAd()
    : TM2CustomAddon(kAddonClassId, kAddonName, kAddonCaption, kAddonOptions),
      commands_(MakeCommandTable()) {
    const HMODULE module = CodeModule();
    for (std::size_t i = 0; i < commands_.size(); ++i) {
        if (!RowHasToolbar(commands_[i])) {
            continue;
        }
        const std::u16string name = BitmapResourceName(commands_[i]);
        bitmaps_[i].reset(LoadBitmapW(module, reinterpret_cast<LPCWSTR>(name.c_str())));
        commands_[i].Bitmap = BitmapToRecord(bitmaps_[i].get());
    }
}

TFAd::~TFAd() {
    if (EditorPanel) {
        CloseEditorPanel(*EditorPanel);
    }
    for (std::size_t i = 0; i < commands_.size(); ++i) {
        commands_[i].Bitmap = 0;
        bitmaps_[i].reset();
    }
}

void TFAd::Disconnect() {
    TM2CustomAddon::Disconnect();
}

ComPtr<IM2MacroAttrsList> TFAd::GetMacroAttrs() {
    gis::TM2MacroAttrsList list;
    list.Intf = TM2CustomAddon::GetMacroAttrs();
    for (const MacroAttrs& row : commands_) {
        list.Insert(-1, row);
    }
    if (!AddOnManager.Intf) {
        gis::HostApp.reset();
    } else {
        ComPtr<IHostApplication> app;
        if (FAILED(AddOnManager.Intf->QueryInterface(__uuidof(IHostApplication), app.put_void())) ||
            !app) {
            throw AddonError(u"Interface not supported");
        }
        gis::HostApp = std::move(app);
    }
    return std::move(list.Intf);
}

void TFAd::ExecuteMacro(LONG id, LONG) {
    switch (id) {
        case kImportCommandId:
            ShowImportDialog();
            break;
        case kEditorCommandId:
            ShowEditorPanel();
            break;
        default:
            break;
    }
}

void TFAd::Notify(LONG code, LONG param) {
    TM2CustomAddon::Notify(code, param);
}

bool TFAd::SaveBitmap(IStream* stream, HBITMAP bitmap) {
    if (!bitmap) {
        return false;
    }
    SaveBitmapToStream(bitmap, stream);
    return true;
}

void TFAd::ShowImportDialog() {
    OpenImportDialog();
}

void TFAd::ShowEditorPanel() {
    if (EditorPanel) {
        const ComPtr<IHostTaskPanel> task_panel = EditorTaskPanel(*EditorPanel);
        if (task_panel) {
            CheckAutomation(task_panel->Show());
        }
        return;
    }
    if (!gis::HostApp) {
        throw AddonError(std::u16string(gis::kNotConnectedMessage));
    }
    ComPtr<IHostMainWindow> frame;
    CheckAutomation(gis::HostApp->GetMainWindow(frame.put()));
    if (!frame) {
        throw EHostCallError(SystemErrorText(E_POINTER), E_POINTER);
    }
    ComPtr<IHostTaskPanel> panel;
    const Bstr key(u"KAVREL");
    const Bstr caption(u"Отметки");
    CheckAutomation(frame->GetTaskPanel(key.get(), caption.get(), panel.put()));
    if (!panel) {
        throw EHostCallError(SystemErrorText(E_POINTER), E_POINTER);
    }
    LONG handle = 0;
    CheckAutomation(panel->GetWindowHandle(&handle));
    CreateEditorPanel(WindowFromLong(handle), std::move(panel));
}

}  // namespace kavrel

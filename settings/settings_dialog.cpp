#include "settings/settings_dialog.h"

#include "base/short_string.h"
#include "gis/host_calls.h"
#include "gis/style_calls.h"
#include "settings/settings_dialog_layout.h"
#include "settings/style_picker.h"
#include "settings/style_texts.h"
#include "ui/message_box.h"

using kavrel::ComPtr;
using kavrel::MarkSettings;
namespace gis = kavrel::gis;

namespace {

constexpr char kFieldCombo[] = "cbKavrelField";
constexpr char kLabelHeightEdit[] = "eLabelHeight";

struct ChooseButton {
    const char* name;
    std::u16string MarkSettings::*setting;
};
constexpr ChooseButton kChooseButtons[] = {
    {"Button3", &MarkSettings::PointStyle},    {"Button4", &MarkSettings::TextStyle},
    {"Button5", &MarkSettings::RailStyle},     {"Button6", &MarkSettings::RailTextStyle},
    {"Button7", &MarkSettings::RailLineStyle},
};

// The host's database, fetched again for every lookup: the dialog keeps no
// host reference.
ComPtr<IHostDatabase> Database() {
    return gis::Database(gis::RequireApp());
}

}  // namespace

TfKavrelSetup::TfKavrelSetup(const MarkSettings& settings)
    : ui::Form(kavrel::KavrelSetupLayout()), settings_(settings) {
    for (const ChooseButton& button : kChooseButtons) {
        const StyleSetting setting = button.setting;
        Bind(button.name, ui::Event::Click, [this, setting] { ChooseStyle(setting); });
    }
    Bind(kFieldCombo, ui::Event::Change, [this] { cbKavrelFieldChange(); });
    Bind("Button1", ui::Event::Click, [this] { Button1Click(); });
}

void TfKavrelSetup::OnShow() {
    SetText(kLabelHeightEdit, settings_.LabelHeight);
    RefreshView();
}

void TfKavrelSetup::Button1Click() {
    MarkSettings typed = settings_;
    typed.LabelHeight = Text(kLabelHeightEdit);
    if (!kavrel::LabelHeightValue(typed)) {
        ui::ShowMessage(Handle(), kavrel::kBadNumberMessage + typed.LabelHeight, 0);
        SetFocus(Control(kLabelHeightEdit));
        return;
    }
    settings_ = typed;
    SetModalResult(ui::kModalOk);
}

std::u16string TfKavrelSetup::StyleDisplayName(const std::u16string& style_id) const {
    if (!gis::StyleExists(Database().get(), style_id)) {
        return std::u16string(kavrel::kNoStyleText);
    }
    const ComPtr<IHostLayer> layer = gis::LayerOf(gis::StyleById(Database().get(), style_id).get());
    const std::u16string layer_name = gis::LayerName(layer.get());
    const std::u16string style_name =
        gis::StyleName(gis::StyleById(Database().get(), style_id).get());
    return kavrel::StyleDisplayText(layer_name, style_name);
}

// The list comes from the attribute tables of the label style's layer, in
// table order, then field order, as the host lists them.
void TfKavrelSetup::FillFieldList() {
    ComboClear(kFieldCombo);
    const ComPtr<IHostDatabase> database = Database();
    if (!gis::StyleExists(database.get(), settings_.TextStyle)) {
        return;
    }
    const ComPtr<IHostLayer> layer =
        gis::LayerOf(gis::StyleById(database.get(), settings_.TextStyle).get());
    gis::ForEachField(layer.get(),
                      [this](const std::u16string& table, const std::u16string& field) {
                          ComboAdd(kFieldCombo, kavrel::HeightFieldEntry(table, field));
                      });
}

void TfKavrelSetup::RefreshView() {
    SetText("ePointStyle", StyleDisplayName(settings_.PointStyle));
    SetText("eTextStyle", StyleDisplayName(settings_.TextStyle));
    SetText("eRelsStyleName", StyleDisplayName(settings_.RailStyle));
    SetText("eRTextStyleName", StyleDisplayName(settings_.RailTextStyle));
    SetText("eRLStyleName", StyleDisplayName(settings_.RailLineStyle));
    FillFieldList();
    // Setting the text from here raises no change of the combo.
    SetText(kFieldCombo, settings_.HeightField);
}

void TfKavrelSetup::ChooseStyle(StyleSetting setting) {
    const ui::FormPtr<TfSelectStyle> picker = ui::MakeForm<TfSelectStyle>();
    // A setting the SDK's 8-bit identifiers cannot spell preselects nothing.
    picker->SelectedStyleId = kavrel::SdkIdentifierText(settings_.*setting).value_or(std::string());
    if (picker->ShowModal(Handle()) != ui::kModalOk) {
        return;
    }
    settings_.*setting = kavrel::Cp1251ToWide(picker->SelectedStyleId);
    RefreshView();
}

void TfKavrelSetup::cbKavrelFieldChange() {
    settings_.HeightField = Text(kFieldCombo);
}

namespace kavrel {

std::optional<MarkSettings> EditMarkSettings(HWND owner, const MarkSettings& current) {
    const ui::FormPtr<TfKavrelSetup> dialog = ui::MakeForm<TfKavrelSetup>(current);
    if (dialog->ShowModal(owner) != ui::kModalOk) {
        return std::nullopt;
    }
    return dialog->Settings();
}

}  // namespace kavrel

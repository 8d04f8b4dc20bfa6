// The modal dialog "Настройка редактора отметок": the five styles of the mark
// model, each chosen with the style picker, the attribute field that holds a
// mark's height, and the height labels are drawn at. It works on its own copy
// of the settings; the caller takes them back only when the dialog ends with
// OK.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "settings/mark_settings.h"
#include "ui/form.h"

class TfKavrelSetup : public ui::Form {
  public:
    explicit TfKavrelSetup(const kavrel::MarkSettings& settings);

    // The six settings as the dialog holds them. Kept as UTF-16 text like the
    // panel's, so that they come back exactly as they went in.
    const kavrel::MarkSettings& Settings() const noexcept { return settings_; }

  protected:
    void OnShow() override;  // FormShow

  private:
    // Style identifiers of the settings, one per "Выбрать..." button.
    using StyleSetting = std::u16string kavrel::MarkSettings::*;

    std::u16string StyleDisplayName(const std::u16string& style_id) const;
    void FillFieldList();
    void RefreshView();
    void ChooseStyle(StyleSetting setting);  // Button3Click to Button7Click
    void cbKavrelFieldChange();
    void Button1Click();  // OK, once the label height is a number

    kavrel::MarkSettings settings_;
};

namespace kavrel {

// The editor's entry: shows the dialog modally, owned by `owner`, with the six
// settings. Confirmed with OK: all six as the dialog holds them; otherwise nothing.
std::optional<MarkSettings> EditMarkSettings(HWND owner, const MarkSettings& current);

}  // namespace kavrel

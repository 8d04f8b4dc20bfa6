// Label templates: "{table.field}" references replaced by the object's values.
// Windows-free.
#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kavrel::host {

// A reference to a field the layer does not have.
class UnknownFieldReference : public std::runtime_error {
  public:
    explicit UnknownFieldReference(std::u16string reference)
        : std::runtime_error("unknown field reference"), reference_(std::move(reference)) {}
    const std::u16string& reference() const { return reference_; }

  private:
    std::u16string reference_;
};

// The text of one referenced field ("A.H"); none when the layer has no such field.
using FieldText = std::function<std::optional<std::u16string>(std::u16string_view reference)>;

// Replaces every "{reference}" by its text; a "{" without a closing "}" is kept
// as it stands. Throws UnknownFieldReference for a reference the layer lacks.
std::u16string ExpandTemplateText(std::u16string_view text, const FieldText& field_text);

}  // namespace kavrel::host

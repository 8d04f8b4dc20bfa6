// What the add-on knows of its top-level forms: it keeps them in a list and
// destroys them when the host lets it go.
#pragma once

namespace kavrel {

class IAddonForm {
  public:
    // Destroys the form and its window at once; the form is gone afterwards.
    virtual void Destroy() noexcept = 0;

  protected:
    ~IAddonForm() = default;
};

}  // namespace kavrel

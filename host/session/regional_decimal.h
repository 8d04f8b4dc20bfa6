// The regional decimal separator a session runs with. The setting lives in
// the prefix and outlasts the process, so the user's own is put back after.
#pragma once

#include <windows.h>

#include <string>

namespace kavrel::host {

class SavedDecimalSeparator {
  public:
    SavedDecimalSeparator();
    SavedDecimalSeparator(const SavedDecimalSeparator&) = delete;
    SavedDecimalSeparator& operator=(const SavedDecimalSeparator&) = delete;
    ~SavedDecimalSeparator();

  private:
    wchar_t value_[8] = {};
    bool saved_ = false;
};

// Sets the separator before the add-on is loaded and answers what the system
// reads back (UTF-8), so that the report says what the add-on will have seen.
std::string ApplyDecimalSeparator(char16_t separator);

}  // namespace kavrel::host

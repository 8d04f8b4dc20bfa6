// A session step that cannot be carried out; the reason goes to failed_step.
#pragma once

#include <stdexcept>
#include <string>

namespace kavrel::host {

class StepFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;  // UTF-8 reason
};

}  // namespace kavrel::host

// Project files: the map model as JSON (format in docs/project-format.md).
// Windows-free.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "host/model/map_model.h"

namespace kavrel::host {

// A project file that cannot be loaded; the message (UTF-8) names the place.
class ProjectError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Builds the model from the file's text, or throws ProjectError and builds nothing.
MapModel LoadProject(std::string_view json_text);

// The project's committed state as JSON text (UTF-8, indented).
std::string SaveProject(const MapModel& model);

}  // namespace kavrel::host

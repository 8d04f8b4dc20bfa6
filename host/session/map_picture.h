// Writes the map, as the map window paints it, to a PNG file.
#pragma once

#include <string>

namespace kavrel::host {

class HostContext;

bool WriteMapPicture(HostContext& host, const std::wstring& path);

}  // namespace kavrel::host

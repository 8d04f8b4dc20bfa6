// A command's menu path, "Сервис\Отметки\Импорт отметок из текста": the
// levels of the menu bar down to the item, split at backslashes. Windows-free.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kavrel::host {

// The levels in order, empty ones (doubled, leading or trailing backslashes)
// left out; the last level is the item's own text.
std::vector<std::u16string> SplitMenuPath(std::u16string_view path);

}  // namespace kavrel::host

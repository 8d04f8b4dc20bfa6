#include "host/window/menu_path.h"

namespace kavrel::host {

std::vector<std::u16string> SplitMenuPath(std::u16string_view path) {
    std::vector<std::u16string> levels;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(u'\\', start);
        if (end == std::u16string_view::npos) {
            end = path.size();
        }
        if (end > start) {
            levels.emplace_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return levels;
}

}  // namespace kavrel::host

// The project most settings tests open: two maps (the second without layers),
// layers with and without styles and attribute tables, and identifiers in
// Latin and Cyrillic letters.
#pragma once

#include <string>

namespace kavrel::test {

// `more_maps` and `more_relief_styles` are added at the end of the maps and of
// the styles of layer L1, each item after a comma.
inline std::string SampleProject(const std::string& more_maps = "",
                                 const std::string& more_relief_styles = "") {
    return R"({
  "maps": [ {"id": "M1", "name": "Карта 1", "layers": ["L1", "L2", "L3", "L4"]},
            {"id": "M2", "name": "Карта без слоёв"})" +
           more_maps + R"( ],
  "layers": [
    {"id": "L1", "name": "Рельеф",
     "tables": [ {"name": "A", "fields": ["H", "N"]}, {"name": "B", "fields": ["Z"]} ],
     "styles": [ {"id": "S_PT", "name": "Точка", "kind": "point"},
                 {"id": "S_TXT", "name": "Отметка", "kind": "text"},
                 {"id": "Рел-Т", "name": "Кириллица", "kind": "point"})" +
           more_relief_styles + R"( ]},
    {"id": "L2", "name": "Подписи", "tables": [ {"name": "T", "fields": ["Height"]} ],
     "styles": [ {"id": "S_T2", "name": "Подпись", "kind": "text"} ]},
    {"id": "L3", "name": "Рельсы",
     "styles": [ {"id": "S_RL", "name": "Рельс", "kind": "line"},
                 {"id": "S_RT", "name": "Надпись рельса", "kind": "text"},
                 {"id": "S_RLN", "name": "Линия рельса", "kind": "line"} ]},
    {"id": "L4", "name": "Пустой"}
  ]
})";
}

}  // namespace kavrel::test

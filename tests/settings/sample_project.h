// The project most settings tests open: two maps, layers with and without
// styles and attribute tables, and identifiers in Latin and Cyrillic letters.
#pragma once

#include <string>

#include "base/short_string.h"
#include "tests/settings/fake_gis.h"

namespace settings_test {

// Code page 1251 bytes of an identifier written in UTF-16.
inline std::string Id(std::u16string_view text) {
    return kavrel::WideToCp1251(text);
}

inline std::vector<FakeMap> SampleProject() {
    FakeLayer relief{
        Id(u"L1"),
        u"Рельеф",
        {{Id(u"S_PT"), u"Точка"}, {Id(u"S_TXT"), u"Отметка"}, {Id(u"Рел-Т"), u"Кириллица"}},
        {{u"A", {u"H", u"N"}}, {u"B", {u"Z"}}}};
    FakeLayer labels{Id(u"L2"), u"Подписи", {{Id(u"S_T2"), u"Подпись"}}, {{u"T", {u"Height"}}}};
    FakeLayer rails{Id(u"L3"),
                    u"Рельсы",
                    {{Id(u"S_RL"), u"Рельс"},
                     {Id(u"S_RT"), u"Надпись рельса"},
                     {Id(u"S_RLN"), u"Линия рельса"}},
                    {}};
    FakeLayer bare{Id(u"L4"), u"Пустой", {}, {}};
    return {
        {Id(u"M1"), u"Карта 1", {relief, labels, rails, bare}},
        {Id(u"M2"), u"Карта без слоёв", {}},
    };
}

}  // namespace settings_test

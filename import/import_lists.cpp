#include "import/import_lists.h"

#include "base/short_string.h"
#include "gis/host_calls.h"
#include "gis/sdk_records.h"
#include "gis/style_calls.h"
#include "settings/mark_settings.h"
#include "settings/style_texts.h"

namespace kavrel {

std::vector<ProjectLayer> ProjectLayers(const TM2CustomAddon& addon) {
    std::vector<ProjectLayer> layers;
    const ComPtr<IM2IDsList> maps = addon.MapProject.GetMapIds();
    const LONG map_count = gis::IdCount(maps.get());
    for (LONG i = 0; i < map_count; ++i) {
        const M2Id map_id = gis::IdAt(maps.get(), i);
        M2DescRecord map_info{};
        addon.GISDatabase.GetMapInfo(map_id, map_info);
        const std::u16string map_name = ReadShortStringWide(map_info.Name);
        const ComPtr<IM2IDsList> map_layers = addon.MapProject.GetLayerIds(map_id);
        const LONG layer_count = gis::IdCount(map_layers.get());
        for (LONG j = 0; j < layer_count; ++j) {
            ProjectLayer& layer = layers.emplace_back();
            layer.id = gis::IdAt(map_layers.get(), j);
            M2DescRecord layer_info{};
            addon.GISDatabase.GetLayerInfo(layer.id, layer_info);
            layer.caption = map_name + u"\\" + ReadShortStringWide(layer_info.Name);
        }
    }
    return layers;
}

std::vector<LayerStyle> LayerStyles(const TM2CustomAddon& addon, const M2Id& layer) {
    std::vector<LayerStyle> styles;
    const ComPtr<IM2IDsList> ids = addon.GISDatabase.GetStyleIds(layer);
    const LONG count = gis::IdCount(ids.get());
    for (LONG s = 0; s < count; ++s) {
        const M2Id id = gis::IdAt(ids.get(), s);
        styles.push_back(
            {ReadShortStringWide(id), gis::StyleNameOf(addon.GISDatabase.GetStyle(id).get())});
    }
    return styles;
}

std::vector<std::u16string> LayerFields(IHostApplication* app,
                                        const std::vector<LayerStyle>& styles) {
    std::vector<std::u16string> fields;
    if (styles.empty()) {
        return fields;
    }
    const ComPtr<IHostDatabase> database = gis::Database(app);
    const ComPtr<IHostLayer> layer =
        gis::LayerOf(gis::StyleById(database.get(), styles.front().id).get());
    gis::ForEachField(layer.get(), [&](const std::u16string& table, const std::u16string& field) {
        fields.push_back(HeightFieldEntry(table, field));
    });
    return fields;
}

StoredMarkSettings ReadStoredMarkSettings(IHostApplication* app) {
    const ComPtr<IHostPreferences> store = gis::Preferences(app);
    StoredMarkSettings stored;
    stored.point_style = gis::ReadPreference(store.get(), kPointStyleKey, u"");
    stored.label_style = gis::ReadPreference(store.get(), kTextStyleKey, u"");
    stored.height_field = gis::ReadPreference(store.get(), kHeightFieldKey, u"");
    return stored;
}

std::u16string LayerOfStyle(IHostApplication* app, const std::u16string& style) {
    const ComPtr<IHostDatabase> database = gis::Database(app);
    if (style.empty() || !gis::StyleExists(database.get(), style)) {
        return {};
    }
    return gis::LayerIdOfStyle(database.get(), style);
}

}  // namespace kavrel

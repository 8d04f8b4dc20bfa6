// What the import dialog's lists offer, read from the host: every layer of
// every map of the project, a layer's styles and its attribute fields, and
// the editor panel's stored settings that preselect them.
#pragma once

#include <string>
#include <vector>

#include "frame/custom_addon.h"
#include "gis/host_api.h"
#include "gis/records.h"

namespace kavrel {

struct ProjectLayer {
    M2Id id{};
    std::u16string caption;  // "Карта\Слой"
};

// In project order: maps as the project lists them, each map's layers in order.
std::vector<ProjectLayer> ProjectLayers(const TM2CustomAddon& addon);

struct LayerStyle {
    std::u16string id;
    std::u16string name;
};
std::vector<LayerStyle> LayerStyles(const TM2CustomAddon& addon, const M2Id& layer);

// "таблица.поле" for every field of the layer's attribute tables. The host
// reaches a layer's tables through one of its styles: a layer without styles
// lists no fields.
std::vector<std::u16string> LayerFields(IHostApplication* app,
                                        const std::vector<LayerStyle>& styles);

// The point style, the label style and the height field the editor panel
// stored; empty where it stored nothing.
struct StoredMarkSettings {
    std::u16string point_style;
    std::u16string label_style;
    std::u16string height_field;
};
StoredMarkSettings ReadStoredMarkSettings(IHostApplication* app);

// The identifier of the layer that owns a style; empty when the style is
// not one of the database.
std::u16string LayerOfStyle(IHostApplication* app, const std::u16string& style);

}  // namespace kavrel

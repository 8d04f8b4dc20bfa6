#include "settings/style_picker.h"

#include "base/com_ptr.h"
#include "base/errors.h"
#include "base/short_string.h"
#include "frame/custom_addon.h"
#include "frame/library_refs.h"
#include "gis/host_errors.h"
#include "gis/sdk_records.h"
#include "settings/style_picker_layout.h"
#include "settings/style_texts.h"

using kavrel::ComPtr;
using kavrel::M2Id;
namespace gis = kavrel::gis;

namespace {

constexpr char kTree[] = "trv1";
constexpr int kStyleLevel = 2;

using kavrel::gis::IdAt;
using kavrel::gis::IdCount;

}  // namespace

TfSelectStyle::TfSelectStyle() : ui::Form(kavrel::SelectStyleLayout()) {
    Bind(kTree, ui::Event::DoubleClick, [this] { trv1DblClick(); });
    Bind("Button1", ui::Event::Click, [this] { Button1Click(); });
}

void TfSelectStyle::OnCreate() {
    // The window is built when the dialog is first shown, after the caller
    // has set SelectedStyleId: the identifier starts empty at construction
    // and is kept here, so that the preselection sees it.
    BuildTree();
}

void TfSelectStyle::OnShow() {
    if (!SelectedStyleId.empty()) {
        PreselectStyle();
    }
}

// A failure of the host stops the building where it happened; the nodes
// built so far stay, and the forms layer shows the error's message.
void TfSelectStyle::BuildTree() {
    if (!kavrel::TheAddon) {
        throw kavrel::AddonError(std::u16string(kavrel::gis::kNotConnectedMessage));
    }
    const kavrel::TM2CustomAddon& addon = *kavrel::TheAddon;
    const ComPtr<IM2IDsList> maps = addon.MapProject.GetMapIds();
    const LONG map_count = IdCount(maps.get());
    for (LONG i = 0; i < map_count; ++i) {
        const M2Id map_id = IdAt(maps.get(), i);
        kavrel::M2DescRecord map_info{};
        addon.GISDatabase.GetMapInfo(map_id, map_info);
        const HTREEITEM map_node =
            TreeAdd(kTree, nullptr, kavrel::ReadShortStringWide(map_info.Name));

        const LONG layer_count = IdCount(addon.MapProject.GetLayerIds(map_id).get());
        for (LONG j = 0; j < layer_count; ++j) {
            // The layer list is fetched again for every layer.
            const M2Id& layer_id =
                nodeIds_.emplace_back(IdAt(addon.MapProject.GetLayerIds(map_id).get(), j));
            kavrel::M2DescRecord layer_info{};
            addon.GISDatabase.GetLayerInfo(layer_id, layer_info);
            const HTREEITEM layer_node =
                TreeAdd(kTree, map_node, kavrel::ReadShortStringWide(layer_info.Name),
                        reinterpret_cast<LPARAM>(&layer_id));

            const ComPtr<IM2IDsList> styles = addon.GISDatabase.GetStyleIds(layer_id);
            const LONG style_count = IdCount(styles.get());
            for (LONG s = 0; s < style_count; ++s) {
                const M2Id& style_id = nodeIds_.emplace_back(IdAt(styles.get(), s));
                const ComPtr<IHostM2Style> style = addon.GISDatabase.GetStyle(style_id);
                TreeAdd(kTree, layer_node, kavrel::gis::StyleNameOf(style.get()),
                        reinterpret_cast<LPARAM>(&style_id));
            }
        }
    }
}

void TfSelectStyle::PreselectStyle() {
    for (const HTREEITEM node : TreeItemsInOrder(kTree)) {
        MatchNode(node);
    }
}

void TfSelectStyle::MatchNode(HTREEITEM node) {
    const auto* id = reinterpret_cast<const M2Id*>(TreeData(kTree, node));
    if (id && kavrel::SameIdentifier(*id, SelectedStyleId)) {
        TreeSelect(kTree, node);
        return;
    }
    for (const HTREEITEM child : TreeChildren(kTree, node)) {
        MatchNode(child);
    }
}

const M2Id* TfSelectStyle::ChosenStyle() const {
    const HTREEITEM node = TreeSelection(kTree);
    if (!node || TreeLevel(kTree, node) != kStyleLevel) {
        return nullptr;
    }
    return reinterpret_cast<const M2Id*>(TreeData(kTree, node));
}

// The selected node counts, not the point clicked: the first click of a
// double click has already selected the node under it.
void TfSelectStyle::trv1DblClick() {
    if (const M2Id* id = ChosenStyle()) {
        SelectedStyleId = kavrel::ReadShortString(*id);
        SetModalResult(ui::kModalOk);
    }
}

void TfSelectStyle::Button1Click() {
    if (const M2Id* id = ChosenStyle()) {
        SelectedStyleId = kavrel::ReadShortString(*id);
    } else {
        SetModalResult(ui::kModalNone);
    }
}

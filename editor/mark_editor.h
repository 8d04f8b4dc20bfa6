// The editor's mark model at work: which selected objects are well-formed
// marks, and rebuilding those that are not. The panel owns one MarkEditor; the
// corrections of the panel are its operations too.
#pragma once

#include "base/com_ptr.h"
#include "gis/host_api.h"
#include "gis/host_calls.h"
#include "settings/mark_settings.h"

namespace kavrel {

class MarkEditor {
  public:
    MarkSettings settings;
    // The host's map objects, fetched once when the panel is created; every
    // lookup and every commit goes through it.
    ComPtr<IHostMapObjects> MapObjects;
    // Rails mode: rail marks instead of plain marks.
    bool rails = false;

    // Makes every selected object a well-formed mark of the current kind.
    // Refuses to run (and changes nothing) while the styles of that kind are
    // not chosen.
    void PrepareSelectedMarks();
    void RebuildAsPlainMark(IHostMapObject* object);
    void RebuildAsRailMark(IHostMapObject* object);

    // Label presets and turns, rail turns, label moves (angles in degrees).
    void SetLabelAngle(double angle);
    void RotateLabels(double angle);
    void RotateRailShapes(double angle);
    void MoveLabels(double dx, double dy);

    // Height edits through the HeightField setting.
    void ShiftHeights(double step);
    double ReadHeight(IHostMapObject* object);
    void WriteHeight(IHostMapObject* object, double value);

    // Snaps the selected rail marks onto the rail line.
    void AutoMark();

  private:
    // Runs work for every selected object in selection order and commits the
    // object when work answers true.
    template <typename PerObject>
    void ForEachSelected(PerObject&& work);

    void Rebuild(IHostMapObject* object, bool as_rail);
    IHostMapObjects* RequireMapObjects();
};

// Walks the host's selection in order and calls visit(object) for each
// selected object, looked up in `objects`. The selection is fetched afresh for
// every index, as the host's own tools do.
template <typename Visit>
void VisitSelection(IHostApplication* app, IHostMapObjects* objects, Visit&& visit) {
    const LONG count = gis::SelectionCount(gis::Selection(app).get());
    for (LONG i = 0; i < count; ++i) {
        const std::u16string id = gis::SelectedId(gis::Selection(app).get(), i);
        const ComPtr<IHostMapObject> object = gis::ObjectById(objects, id);
        visit(object.get());
    }
}

// The message shown when the styles that define a mark are missing.
inline constexpr char16_t kNoMarkStylesMessage[] =
    u"Не выбраны стили отметок: задайте их в настройке.";

}  // namespace kavrel

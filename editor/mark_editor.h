// The editor's mark model at work: which selected objects are well-formed
// marks, and rebuilding those that are not. The panel owns one MarkEditor; the
// corrections of the panel are its operations too.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>

#include "base/com_ptr.h"
#include "gis/host_api.h"
#include "gis/host_calls.h"
#include "settings/mark_settings.h"
#include "undo/click_record.h"

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

    // Places every selected mark's label where it stands clear of other
    // labels, of points and of the lines of the map's layers, its size
    // estimated from its height text at `label_height` map units; writes the
    // labels that move and redraws the map once. Answers how many labels
    // found no free place.
    std::size_t PlaceLabels(double label_height);

    // Whether the last click wrote something that "Отменить" can take back.
    bool CanUndo() const noexcept { return record_.HasPending(); }
    // Gives every object the last click wrote its state before the click back,
    // unless it changed since or the click rebuilt it. A host failure ends the
    // undo; the objects not yet done stay for the next one. Answers the counts
    // of the whole undo once it is done.
    UndoCounts UndoLastClick();

  private:
    // Walks the host's selection in order and calls visit(object) for each
    // selected object, looked up in `objects`. The selection is fetched afresh
    // for every index, as the host's own tools do. What visit writes is
    // recorded for that object.
    template <typename Visit>
    void VisitSelection(IHostApplication* app, IHostMapObjects* objects, Visit&& visit);
    // Runs work for every selected object in selection order and commits the
    // object when work answers true.
    template <typename PerObject>
    void ForEachSelected(PerObject&& work);

    // Vertex writes of the corrections, recorded once the host took them.
    void WriteVertex(IHostContourPart* part, const WrittenShape& shape, LONG index,
                     const gis::Vertex& before, const gis::Vertex& after);
    // Vertices 0 and 1: both checked before either is written.
    void WriteBaseline(IHostContourPart* part, const WrittenShape& shape,
                       const gis::Vertex (&before)[2], const gis::Vertex (&after)[2]);

    void Rebuild(IHostMapObject* object, bool as_rail);
    // Refuses, with a message for the user, a style the host's map does not have.
    static void RequireStylesInMap(IHostApplication* app,
                                   std::initializer_list<const std::u16string*> styles);
    IHostMapObjects* RequireMapObjects();

    ClickRecord record_;
};

template <typename Visit>
void MarkEditor::VisitSelection(IHostApplication* app, IHostMapObjects* objects, Visit&& visit) {
    const LONG count = gis::SelectionCount(gis::Selection(app).get());
    record_.Expect(static_cast<std::size_t>(count > 0 ? count : 0));
    for (LONG i = 0; i < count; ++i) {
        std::u16string id = gis::SelectedId(gis::Selection(app).get(), i);
        const ComPtr<IHostMapObject> object = gis::ObjectById(objects, id);
        record_.Enter(i, std::move(id));
        visit(object.get());
    }
}

// The message shown when the styles that define a mark are missing.
inline constexpr char16_t kNoMarkStylesMessage[] =
    u"Не выбраны стили отметок: задайте их в настройке.";
// Label placement needs the height's text to estimate a label's size.
inline constexpr char16_t kNoHeightFieldMessage[] =
    u"Не выбрано поле высоты отметки: задайте его в настройке.";

}  // namespace kavrel

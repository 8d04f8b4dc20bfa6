#include "import/survey_import.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "base/number_text.h"
#include "gis/host_calls.h"
#include "import/import_geometry.h"
#include "import/mark_plan.h"
#include "undo/height_field.h"

namespace kavrel {
namespace {

// Progress is told every so many rows: often enough for a repaint every
// 100 ms however slow the host, rarely enough to cost nothing.
constexpr std::size_t kProgressEvery = 16;

void TellProgress(const ImportProgress& progress, std::size_t done, std::size_t total) {
    if (done % kProgressEvery == 0 || done == total) {
        progress(done, total);
    }
}

PlanPoint At(const gis::Vertex& v) {
    return {v.x, v.y};
}

// The mark's point of the style nearest to the surveyed point, among those
// within the tolerance.
struct NearestPoint {
    LONG shape = -1;
    double distance = std::numeric_limits<double>::infinity();
};

std::optional<NearestPoint> NearestPointOf(IHostMapObject* object, const std::u16string& style,
                                           PlanPoint point, double tolerance) {
    const ComPtr<IHostShapes> shapes = gis::Shapes(object);
    const LONG count = gis::ShapeCount(shapes.get());
    std::optional<NearestPoint> nearest;
    for (LONG j = 0; j < count; ++j) {
        const ComPtr<IHostShape> shape = gis::ShapeAt(shapes.get(), j);
        if (gis::StyleId(shape.get()) != style) {
            continue;
        }
        // A point without a vertex is nowhere: not a candidate.
        const ComPtr<IHostContour> contour = gis::Contour(shape.get());
        if (gis::PartCount(contour.get()) == 0) {
            continue;
        }
        const ComPtr<IHostContourPart> part = gis::PartAt(contour.get(), 0);
        if (gis::VertexCount(part.get()) == 0) {
            continue;
        }
        const PlanPoint at = At(gis::VertexAt(part.get(), 0));
        if (!WithinTolerance(at, point, tolerance)) {
            continue;
        }
        const double distance = Distance(at, point);
        if (!nearest || distance < nearest->distance) {
            nearest = NearestPoint{j, distance};
        }
    }
    return nearest;
}

}  // namespace

SurveyImport::SurveyImport(ImportSettings settings, std::u16string text)
    : settings_(std::move(settings)), text_(std::move(text)) {
    rows_ = ReadSurveyRows(text_, settings_.first_is_header, settings_.columns);
    states_.resize(rows_.size());
    const bool numbers = !settings_.number_field.empty() && settings_.columns.number >= 0;
    for (SurveyRow& row : rows_) {
        if (numbers && row.Good() && row.number.empty()) {
            row.problem = kNoNumberReason;
        }
    }
}

std::size_t SurveyImport::LineInHand() const noexcept {
    return in_hand_ < rows_.size() ? rows_[in_hand_].line : 0;
}

void SurveyImport::Match(IHostApplication* app, const ImportProgress& progress) {
    const ComPtr<IHostDatabase> database = gis::Database(app);
    const ComPtr<IHostMapObjects> objects = gis::MapObjectsOf(database.get());
    const std::u16string layer = gis::LayerIdOfStyle(database.get(), settings_.point_style);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        in_hand_ = i;
        if (rows_[i].Good()) {
            MatchRow(objects.get(), layer, i);
        } else {
            states_[i].outcome = Outcome::Bad;
        }
        reached_ = i + 1;
        TellProgress(progress, i + 1, rows_.size());
    }
    MarkSharedRows();
    CountOutcomes();
}

void SurveyImport::MatchRow(IHostMapObjects* objects, const std::u16string& layer,
                            std::size_t index) {
    const SurveyRow& row = rows_[index];
    RowState& state = states_[index];
    const PlanPoint point{row.x, row.y};
    const double reach = settings_.tolerance + ToleranceSlack(point);
    const bool numbers = !settings_.number_field.empty() && settings_.columns.number >= 0;
    const ComPtr<IHostQueryCursor> cursor = gis::QueryInRect(
        objects, layer, row.x - reach, row.y - reach, row.x + reach, row.y + reach);
    bool number_differs = false;
    double best = std::numeric_limits<double>::infinity();
    ComPtr<IHostMapObject> mark;
    while (!gis::CursorAtEnd(cursor.get())) {
        std::u16string id = gis::FetchNextId(cursor.get());
        ComPtr<IHostMapObject> object = gis::ObjectById(objects, id);
        const auto nearest =
            NearestPointOf(object.get(), settings_.point_style, point, settings_.tolerance);
        if (!nearest) {
            continue;
        }
        if (numbers &&
            !SameNumber(row.number, HeightFieldText(object.get(), settings_.number_field))) {
            number_differs = true;
            continue;
        }
        if (nearest->distance < best) {
            best = nearest->distance;
            state.mark = std::move(id);
            state.point_shape = nearest->shape;
            mark = std::move(object);
        }
    }
    if (!mark) {
        state.outcome = number_differs ? Outcome::NumberMismatch : Outcome::NoMark;
        return;
    }
    state.outcome = Outcome::Found;
    const MarkPlan plan = PlanFor(mark.get(), state.point_shape, row, settings_);
    state.changes = plan.Changes();
    state.partial = plan.partial;
}

// Two rows that found one mark cannot both be right: neither writes. The
// found rows sorted by mark bring such rows together; no heap block per mark.
void SurveyImport::MarkSharedRows() {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < states_.size(); ++i) {
        if (states_[i].outcome == Outcome::Found) {
            found.push_back(i);
        }
    }
    std::stable_sort(found.begin(), found.end(), [this](std::size_t a, std::size_t b) {
        return states_[a].mark < states_[b].mark;
    });
    for (std::size_t first = 0; first < found.size();) {
        std::size_t end = first + 1;
        while (end < found.size() && states_[found[end]].mark == states_[found[first]].mark) {
            ++end;
        }
        if (end - first > 1) {
            std::vector<std::size_t> lines;
            for (std::size_t k = first; k < end; ++k) {
                lines.push_back(rows_[found[k]].line);
            }
            const std::u16string reason = SharedMarkReason(states_[found[first]].mark, lines);
            for (std::size_t k = first; k < end; ++k) {
                states_[found[k]].outcome = Outcome::Shared;
                states_[found[k]].partial = reason;
            }
        }
        first = end;
    }
}

void SurveyImport::CountOutcomes() {
    counts_ = ImportCounts{};
    counts_.rows = rows_.size();
    for (const RowState& state : states_) {
        switch (state.outcome) {
            case Outcome::Bad:
                ++counts_.bad;
                break;
            case Outcome::NoMark:
            case Outcome::NumberMismatch:
                ++counts_.without_mark;
                break;
            case Outcome::Shared:
                ++counts_.shared;
                break;
            case Outcome::Found:
                ++counts_.found;
                counts_.to_change += state.changes ? 1 : 0;
                break;
            case Outcome::Pending:
                break;
        }
    }
}

void SurveyImport::Write(IHostApplication* app, ClickRecord& record,
                         const ImportProgress& progress) {
    const ComPtr<IHostMapObjects> objects = gis::MapObjectsOf(gis::Database(app).get());
    record.Restart();
    record.UseHeightField(settings_.height_field);
    record.Expect(counts_.to_change);
    std::size_t done = 0;
    try {
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            RowState& state = states_[i];
            if (state.outcome != Outcome::Found || !state.changes) {
                continue;
            }
            in_hand_ = i;
            const SurveyRow& row = rows_[i];
            const ComPtr<IHostMapObject> object = gis::ObjectById(objects.get(), state.mark);
            // Read again: the map may have changed while the question was asked.
            const MarkPlan plan = PlanFor(object.get(), state.point_shape, row, settings_);
            state.partial = plan.partial;
            if (plan.Changes()) {
                record.Enter(static_cast<LONG>(done), state.mark);
                for (int k = 0; k < plan.write_count; ++k) {
                    gis::RequireFinite(plan.writes[k].after);
                }
                for (int k = 0; k < plan.write_count; ++k) {
                    const VertexWrite& w = plan.writes[k];
                    gis::SetVertex(plan.part.get(), w.index, w.after);
                    record.Wrote({plan.shape, plan.shape_count, *plan.style}, w.index, w.before,
                                 w.after);
                }
                if (plan.height) {
                    WriteHeightField(object.get(), settings_.height_field, row.z);
                    // A field that held no number cannot be given back.
                    if (plan.height_known) {
                        record.WroteHeight(plan.height_before, row.z);
                    }
                }
                gis::Commit(objects.get());
                ++counts_.changed;
            }
            TellProgress(progress, ++done, counts_.to_change);
        }
    } catch (...) {
        // What the object in hand took is committed with the rest, so that
        // the map and the record agree; a second failure changes nothing.
        try {
            gis::Commit(objects.get());
        } catch (...) {
        }
        throw;
    }
    gis::RedrawMap(app);
}

std::vector<RowNote> SurveyImport::Notes() const {
    std::vector<RowNote> notes;
    for (std::size_t i = 0; i < reached_; ++i) {
        const RowState& state = states_[i];
        const SurveyRow& row = rows_[i];
        switch (state.outcome) {
            case Outcome::Bad:
                notes.push_back({row.line, row.text, row.problem});
                break;
            case Outcome::NoMark:
                notes.push_back({row.line, row.text, kNoMarkReason});
                break;
            case Outcome::NumberMismatch:
                notes.push_back({row.line, row.text, kNumberMismatchReason});
                break;
            case Outcome::Shared:
            case Outcome::Found:
                if (!state.partial.empty()) {
                    notes.push_back({row.line, row.text, state.partial});
                }
                break;
            case Outcome::Pending:
                break;
        }
    }
    return notes;
}

}  // namespace kavrel

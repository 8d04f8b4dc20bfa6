// The import's work on the map: each row of a survey catalogue finds its mark
// (a point of the chosen style within the tolerance, the nearest, with the
// row's number when numbers are compared), then the marks whose values differ
// get the row's height and, by the method, their label or vector.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gis/host_api.h"
#include "import/import_report.h"
#include "import/import_settings.h"
#include "import/survey_rows.h"
#include "undo/click_record.h"

namespace kavrel {

// Rows done and rows in the phase, told every few rows and after the last.
using ImportProgress = std::function<void(std::size_t done, std::size_t total)>;

class SurveyImport {
  public:
    SurveyImport(ImportSettings settings, std::u16string text);

    // Finds the mark of every good row. A host failure ends it (the exception
    // comes out); LineInHand then says where.
    void Match(IHostApplication* app, const ImportProgress& progress);
    // Writes every found mark whose values differ from its row, each object
    // committed on its own, then redraws the map once. Every write goes into
    // the record, which is restarted first. A host failure ends it: what was
    // written stays committed and recorded.
    void Write(IHostApplication* app, ClickRecord& record, const ImportProgress& progress);

    const ImportCounts& Counts() const noexcept { return counts_; }
    // The line of the row being worked on (or the last one reached).
    std::size_t LineInHand() const noexcept;
    // The rows not used, or used only in part, among those reached so far.
    std::vector<RowNote> Notes() const;

  private:
    enum class Outcome : std::uint8_t { Pending, Bad, NoMark, NumberMismatch, Shared, Found };
    struct RowState {
        Outcome outcome = Outcome::Pending;
        bool changes = false;    // its mark's values differ from the row's
        LONG point_shape = -1;   // the mark's nearest point of the style
        std::u16string mark;     // the mark's identifier
        std::u16string partial;  // why the row is used only in part
    };

    void MatchRow(IHostMapObjects* objects, const std::u16string& layer, std::size_t index);
    void MarkSharedRows();
    void CountOutcomes();

    ImportSettings settings_;
    std::u16string text_;
    std::vector<SurveyRow> rows_;
    std::vector<RowState> states_;
    std::size_t in_hand_ = 0;
    std::size_t reached_ = 0;  // rows whose outcome is known
    ImportCounts counts_;
};

}  // namespace kavrel

// The rows of a survey catalogue pasted into the import dialog: lines of
// columns (number, X, Y, height, in the columns the user picks). Windows-free.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kavrel {

// Columns are split at tabs when any data line has one, else at semicolons
// when any has one, else at runs of blanks.
enum class ColumnSeparator { Tab, Semicolon, Blanks };

// The lines that hold rows: every line of the text but the first when it is a
// header, and blank lines; `line` counts from 1 over every line of the text.
struct TextLine {
    std::size_t line = 0;
    std::u16string_view text;
};
std::vector<TextLine> DataLines(std::u16string_view text, bool first_is_header);
bool HasDataLine(std::u16string_view text, bool first_is_header);

ColumnSeparator SeparatorOf(std::u16string_view text, bool first_is_header);

// A line's columns into `columns`, each without the blanks around it.
void SplitColumns(std::u16string_view line, ColumnSeparator separator,
                  std::vector<std::u16string_view>& columns);

// The most columns among the first `sample` data lines: the columns the user
// can pick from.
std::size_t MostColumns(std::u16string_view text, bool first_is_header, std::size_t sample = 1000);

// Column positions counted from 0; -1: not picked.
struct SurveyColumns {
    int x = -1;
    int y = -1;
    int z = -1;
    int number = -1;
};

struct SurveyRow {
    std::size_t line = 0;
    std::u16string_view text;    // the line as it stands in the text
    double x = 0.0;              // northward
    double y = 0.0;              // eastward
    double z = 0.0;              // the surveyed height
    std::u16string_view number;  // the number column's text; empty when none
    // Why the row is no row of coordinates and a height; empty for a good row.
    std::u16string problem;

    bool Good() const { return problem.empty(); }
};

// Every data line as a row. X, Y and the height must be numbers, written with
// a decimal comma or a decimal point; a row that lacks one of them, or where
// one is no number, says why.
std::vector<SurveyRow> ReadSurveyRows(std::u16string_view text, bool first_is_header,
                                      const SurveyColumns& columns);

// Whether a row's number names the same point as a mark's number field:
// the same text, or both numbers of equal value ("12" and "12,0").
bool SameNumber(std::u16string_view row_number, std::u16string_view mark_number);

}  // namespace kavrel

#include "import/survey_rows.h"

#include <algorithm>

#include "base/number_text.h"

namespace kavrel {
namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\u00A0';
}

std::u16string_view Trimmed(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Calls take(line number, text) for each line; a line ends at CR LF, LF or CR.
template <typename Take>
void ForEachLine(std::u16string_view text, Take&& take) {
    std::size_t number = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of(u"\r\n", start);
        const bool last = end == std::u16string_view::npos;
        if (last) {
            end = text.size();
        }
        ++number;
        if (!take(number, text.substr(start, end - start))) {
            return;
        }
        if (last) {
            return;
        }
        start =
            end + (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1);
    }
}

// Calls take(line) for each data line until it answers false.
template <typename Take>
void ForEachDataLine(std::u16string_view text, bool first_is_header, Take&& take) {
    ForEachLine(text, [&](std::size_t number, std::u16string_view line) {
        if ((number == 1 && first_is_header) || Trimmed(line).empty()) {
            return true;
        }
        return take(TextLine{number, line});
    });
}

std::u16string Quoted(std::u16string_view text) {
    std::u16string out = u"«";
    out.append(text).append(u"»");
    return out;
}

// Reads column `at` of the row as a number into value, or tells what is
// wrong: "нет столбца <column>", "<subject> не число: «text»".
void ReadNumber(const std::vector<std::u16string_view>& columns, int at, const char16_t* column,
                const char16_t* subject, double& value, std::u16string& problem) {
    std::u16string what;
    if (at < 0 || static_cast<std::size_t>(at) >= columns.size() || columns[at].empty()) {
        what = std::u16string(u"нет столбца ") + column;
    } else if (const auto number = ParseNumberTextAnyMark(columns[at])) {
        value = *number;
        return;
    } else {
        what = std::u16string(subject) + u" не число: " + Quoted(columns[at]);
    }
    if (!problem.empty()) {
        problem += u"; ";
    }
    problem += what;
}

}  // namespace

std::vector<TextLine> DataLines(std::u16string_view text, bool first_is_header) {
    std::vector<TextLine> lines;
    ForEachDataLine(text, first_is_header, [&](const TextLine& line) {
        lines.push_back(line);
        return true;
    });
    return lines;
}

bool HasDataLine(std::u16string_view text, bool first_is_header) {
    bool any = false;
    ForEachDataLine(text, first_is_header, [&](const TextLine&) {
        any = true;
        return false;
    });
    return any;
}

ColumnSeparator SeparatorOf(std::u16string_view text, bool first_is_header) {
    bool semicolon = false;
    bool tab = false;
    ForEachDataLine(text, first_is_header, [&](const TextLine& line) {
        tab = line.text.find(u'\t') != std::u16string_view::npos;
        semicolon = semicolon || line.text.find(u';') != std::u16string_view::npos;
        return !tab;
    });
    return tab         ? ColumnSeparator::Tab
           : semicolon ? ColumnSeparator::Semicolon
                       : ColumnSeparator::Blanks;
}

void SplitColumns(std::u16string_view line, ColumnSeparator separator,
                  std::vector<std::u16string_view>& columns) {
    columns.clear();
    if (separator == ColumnSeparator::Blanks) {
        std::size_t at = 0;
        while (at < line.size()) {
            while (at < line.size() && IsBlank(line[at])) {
                ++at;
            }
            std::size_t end = at;
            while (end < line.size() && !IsBlank(line[end])) {
                ++end;
            }
            if (end > at) {
                columns.push_back(line.substr(at, end - at));
            }
            at = end;
        }
        return;
    }
    const char16_t mark = separator == ColumnSeparator::Tab ? u'\t' : u';';
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = line.find(mark, start);
        columns.push_back(Trimmed(line.substr(
            start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start)));
        if (end == std::u16string_view::npos) {
            return;
        }
        start = end + 1;
    }
}

std::size_t MostColumns(std::u16string_view text, bool first_is_header, std::size_t sample) {
    // The separator is that of the whole text, as the import splits it.
    const ColumnSeparator separator = SeparatorOf(text, first_is_header);
    std::size_t most = 0;
    std::size_t seen = 0;
    std::vector<std::u16string_view> columns;
    ForEachDataLine(text, first_is_header, [&](const TextLine& line) {
        SplitColumns(line.text, separator, columns);
        most = std::max(most, columns.size());
        return ++seen < sample;
    });
    return most;
}

std::vector<SurveyRow> ReadSurveyRows(std::u16string_view text, bool first_is_header,
                                      const SurveyColumns& columns) {
    const std::vector<TextLine> lines = DataLines(text, first_is_header);
    const ColumnSeparator separator = SeparatorOf(text, first_is_header);
    std::vector<SurveyRow> rows;
    rows.reserve(lines.size());
    // One list of columns for every line: no heap block per row.
    std::vector<std::u16string_view> parts;
    for (const TextLine& line : lines) {
        SurveyRow& row = rows.emplace_back();
        row.line = line.line;
        row.text = line.text;
        SplitColumns(line.text, separator, parts);
        ReadNumber(parts, columns.x, u"X", u"X", row.x, row.problem);
        ReadNumber(parts, columns.y, u"Y", u"Y", row.y, row.problem);
        ReadNumber(parts, columns.z, u"высоты", u"высота", row.z, row.problem);
        if (columns.number >= 0 && static_cast<std::size_t>(columns.number) < parts.size()) {
            row.number = parts[columns.number];
        }
    }
    return rows;
}

bool SameNumber(std::u16string_view row_number, std::u16string_view mark_number) {
    row_number = Trimmed(row_number);
    mark_number = Trimmed(mark_number);
    if (row_number == mark_number) {
        return true;
    }
    const auto a = ParseNumberTextAnyMark(row_number);
    const auto b = ParseNumberTextAnyMark(mark_number);
    return a && b && *a == *b;
}

}  // namespace kavrel

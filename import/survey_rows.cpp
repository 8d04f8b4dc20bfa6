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

std::vector<TextLine> Lines(std::u16string_view text, bool first_is_header, std::size_t most) {
    std::vector<TextLine> lines;
    ForEachLine(text, [&](std::size_t number, std::u16string_view line) {
        if ((number == 1 && first_is_header) || Trimmed(line).empty()) {
            return true;
        }
        lines.push_back({number, line});
        return lines.size() < most;
    });
    return lines;
}

bool AnyLineHas(const std::vector<TextLine>& lines, char16_t c) {
    return std::any_of(lines.begin(), lines.end(), [c](const TextLine& l) {
        return l.text.find(c) != std::u16string_view::npos;
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
    return Lines(text, first_is_header, std::u16string_view::npos);
}

ColumnSeparator SeparatorOf(const std::vector<TextLine>& lines) {
    if (AnyLineHas(lines, u'\t')) {
        return ColumnSeparator::Tab;
    }
    if (AnyLineHas(lines, u';')) {
        return ColumnSeparator::Semicolon;
    }
    return ColumnSeparator::Blanks;
}

std::vector<std::u16string_view> SplitColumns(std::u16string_view line, ColumnSeparator separator) {
    std::vector<std::u16string_view> columns;
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
        return columns;
    }
    const char16_t mark = separator == ColumnSeparator::Tab ? u'\t' : u';';
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = line.find(mark, start);
        columns.push_back(Trimmed(line.substr(
            start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start)));
        if (end == std::u16string_view::npos) {
            return columns;
        }
        start = end + 1;
    }
}

std::size_t MostColumns(std::u16string_view text, bool first_is_header, std::size_t sample) {
    // The separator is that of the whole text, as the import splits it.
    const ColumnSeparator separator = SeparatorOf(DataLines(text, first_is_header));
    std::size_t most = 0;
    for (const TextLine& line : Lines(text, first_is_header, sample)) {
        most = std::max(most, SplitColumns(line.text, separator).size());
    }
    return most;
}

std::vector<SurveyRow> ReadSurveyRows(std::u16string_view text, bool first_is_header,
                                      const SurveyColumns& columns) {
    const std::vector<TextLine> lines = DataLines(text, first_is_header);
    const ColumnSeparator separator = SeparatorOf(lines);
    std::vector<SurveyRow> rows;
    rows.reserve(lines.size());
    for (const TextLine& line : lines) {
        SurveyRow& row = rows.emplace_back();
        row.line = line.line;
        row.text = line.text;
        const std::vector<std::u16string_view> parts = SplitColumns(line.text, separator);
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

// What the import says: the counts it asks the user to confirm, and the
// result window's text, a summary line and one line per row not used or used
// only in part. Windows-free.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kavrel {

struct ImportCounts {
    std::size_t rows = 0;          // data rows of the text
    std::size_t bad = 0;           // rows without coordinates and a height
    std::size_t without_mark = 0;  // no mark within the tolerance (or none with the number)
    std::size_t shared = 0;        // rows whose mark another row found too
    std::size_t found = 0;         // marks each found by one row
    std::size_t to_change = 0;     // of those, marks whose values differ from the row
    std::size_t changed = 0;       // marks written
};

// Why a row found no mark, or is used only in part.
inline constexpr char16_t kNoMarkReason[] = u"нет отметки в пределах допуска";
inline constexpr char16_t kNumberMismatchReason[] = u"номер не совпадает";
inline constexpr char16_t kNoNumberReason[] = u"нет номера точки";
inline constexpr char16_t kNoLabelReason[] =
    u"у отметки нет подписи выбранного стиля: подпись не поставлена";
inline constexpr char16_t kShortLabelReason[] =
    u"у подписи меньше двух точек: подпись не поставлена";
inline constexpr char16_t kNotVectorReason[] =
    u"у точки отметки не две точки в контуре: вектор не изменён";
inline constexpr char16_t kNoDirectionReason[] =
    u"у вектора нет направления (его точки совпадают): вектор не изменён";
// The rows that found one mark: its identifier and their line numbers.
std::u16string SharedMarkReason(std::u16string_view mark, const std::vector<std::size_t>& lines);

// The question before anything is written (answered "Да" or "Нет").
std::u16string ConfirmationText(const ImportCounts& counts);
// Said instead when no found mark would change.
std::u16string NothingToChangeText(const ImportCounts& counts);

// The summary line of the result window.
std::u16string DoneSummary(const ImportCounts& counts);
std::u16string NothingToChangeSummary(const ImportCounts& counts);
std::u16string MatchingStoppedSummary(std::size_t line, std::u16string_view error);
std::u16string WritingStoppedSummary(std::size_t line, std::u16string_view error,
                                     std::size_t changed);

struct RowNote {
    std::size_t line = 0;
    std::u16string_view text;
    std::u16string reason;
};

// The summary, then "строка N: <row> — <reason>" for each note, CR LF between
// lines (the text of a multi-line edit).
std::u16string ResultText(std::u16string_view summary, const std::vector<RowNote>& notes);

}  // namespace kavrel

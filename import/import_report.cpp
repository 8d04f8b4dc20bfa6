#include "import/import_report.h"

namespace kavrel {
namespace {

std::u16string Count(std::size_t n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

// One line per count, the optional ones only when not zero.
std::u16string CountLines(const ImportCounts& c) {
    std::u16string text = u"Строк в тексте: " + Count(c.rows) + u".\n";
    text += u"Найдено отметок: " + Count(c.found) + u".\n";
    text += u"Изменятся отметок: " + Count(c.to_change) + u".\n";
    text += u"Строк без отметки: " + Count(c.without_mark) + u".\n";
    if (c.shared > 0) {
        text += u"Строк, нашедших одну отметку на несколько: " + Count(c.shared) + u".\n";
    }
    text += u"Плохих строк: " + Count(c.bad) + u".";
    return text;
}

std::u16string CountsInLine(const ImportCounts& c) {
    std::u16string text = u"строк " + Count(c.rows) + u", найдено отметок " + Count(c.found);
    text += u", без отметки " + Count(c.without_mark);
    if (c.shared > 0) {
        text += u", на одну отметку несколько строк: " + Count(c.shared);
    }
    return text + u", плохих строк " + Count(c.bad) + u".";
}

// A host's text as a sentence of the summary.
std::u16string Sentence(std::u16string_view text) {
    std::u16string out(text);
    while (!out.empty() && (out.back() == u' ' || out.back() == u'\n' || out.back() == u'\r')) {
        out.pop_back();
    }
    if (out.empty() || (out.back() != u'.' && out.back() != u'!' && out.back() != u'?')) {
        out += u'.';
    }
    return out;
}

}  // namespace

std::u16string SharedMarkReason(std::u16string_view mark, const std::vector<std::size_t>& lines) {
    std::u16string text = u"отметку «";
    text.append(mark).append(u"» нашли несколько строк: ");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += (i == 0 ? u"" : u", ") + Count(lines[i]);
    }
    return text;
}

std::u16string ConfirmationText(const ImportCounts& counts) {
    return CountLines(counts) + u"\n\nЗаписать новые значения в карту?";
}

std::u16string NothingToChangeText(const ImportCounts& counts) {
    return u"Изменять нечего: найденные отметки уже такие, как в тексте.\n\n" + CountLines(counts);
}

std::u16string DoneSummary(const ImportCounts& counts) {
    return u"Импорт выполнен: изменено отметок " + Count(counts.changed) + u"; " +
           CountsInLine(counts);
}

std::u16string NothingToChangeSummary(const ImportCounts& counts) {
    return u"Изменять нечего, в карту ничего не записано; " + CountsInLine(counts);
}

std::u16string MatchingStoppedSummary(std::size_t line, std::u16string_view error) {
    return u"Поиск отметок остановлен на строке " + Count(line) + u": " + Sentence(error) +
           u" В карту ничего не записано.";
}

std::u16string WritingStoppedSummary(std::size_t line, std::u16string_view error,
                                     std::size_t changed) {
    return u"Запись остановлена на строке " + Count(line) + u": " + Sentence(error) +
           u" Изменено отметок до остановки: " + Count(changed) +
           u"; они сохранены в карте, «Отменить импорт» возвращает их.";
}

std::u16string ResultText(std::u16string_view summary, const std::vector<RowNote>& notes) {
    std::u16string text(summary);
    for (const RowNote& note : notes) {
        text += u"\r\nстрока " + Count(note.line) + u": ";
        text.append(note.text).append(u" — ").append(note.reason);
    }
    return text;
}

}  // namespace kavrel

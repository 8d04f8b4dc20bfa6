#include "undo/undo_message.h"

#include <string>

namespace kavrel {
namespace {

std::u16string Count(std::size_t n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace

std::u16string UndoMessage(std::size_t restored, std::size_t changed, std::size_t rebuilt,
                           std::u16string_view action) {
    std::u16string text = u"Восстановлено объектов: " + Count(restored) + u".";
    if (changed > 0) {
        text.append(u"\nИзменены после ").append(action);
        text += u" и оставлены как есть: " + Count(changed) + u".";
    }
    if (rebuilt > 0) {
        text += u"\nПерестроены в отметку и оставлены как есть (прежние фигуры не вернуть): " +
                Count(rebuilt) + u".";
    }
    return text;
}

}  // namespace kavrel

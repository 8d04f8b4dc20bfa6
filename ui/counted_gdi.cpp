#include "ui/counted_gdi.h"

#include <stdexcept>

namespace ui {

namespace {
template <typename H>
CountedGdi<H> Checked(H handle, const char* what) {
    if (!handle) {
        throw std::runtime_error(std::string("the system could not create a ") + what);
    }
    return CountedGdi<H>(handle);
}
}  // namespace

Font MakeFont(const std::u16string& face, int height, int weight) {
    LOGFONTW font{};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    face.copy(reinterpret_cast<char16_t*>(font.lfFaceName), LF_FACESIZE - 1);
    return Checked(CreateFontIndirectW(&font), "font");
}

Pen MakePen(int style, int width, COLORREF color) {
    return Checked(CreatePen(style, width, color), "pen");
}

Brush MakeBrush(COLORREF color) {
    return Checked(CreateSolidBrush(color), "brush");
}

}  // namespace ui

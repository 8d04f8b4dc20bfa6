#include "ui/exception_text.h"

#include <exception>
#include <new>

#include "addon/errors.h"
#include "addon/utf8.h"

namespace ui {

namespace {

std::u16string OwnMapping() {
    try {
        throw;
    } catch (const kavrel::AddonError& error) {
        return error.message();
    } catch (const std::bad_alloc&) {
        return u"Недостаточно памяти";
    } catch (const std::exception& error) {
        return kavrel::Utf8ToWide(error.what());
    } catch (...) {
        return kUnknownErrorText;
    }
}

ExceptionTextSource source = nullptr;

}  // namespace

std::u16string CurrentExceptionText() {
    return source ? source() : OwnMapping();
}

void SetExceptionTextSource(ExceptionTextSource newSource) noexcept {
    source = newSource;
}

}  // namespace ui

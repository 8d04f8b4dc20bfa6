#include "host/model/template_text.h"

#include <gtest/gtest.h>

namespace kavrel::host {
namespace {

std::optional<std::u16string> Fields(std::u16string_view reference) {
    if (reference == u"A.H")
        return u"100,3";
    if (reference == u"A.N")
        return u"";
    if (reference == u"B.Имя")
        return u"Пик";
    return std::nullopt;
}

struct TemplateCase {
    const char* label;
    std::u16string text;
    std::u16string expanded;
};

TEST(TemplateTextTest, Expands) {
    const TemplateCase cases[] = {
        {"one reference", u"{A.H}", u"100,3"},
        {"text around", u"h={A.H} м", u"h=100,3 м"},
        {"two references", u"{B.Имя}: {A.H}", u"Пик: 100,3"},
        {"field without value is empty", u"[{A.N}]", u"[]"},
        {"no reference", u"plain", u"plain"},
        {"unclosed brace kept", u"{A.H", u"{A.H"},
        {"inner brace starts the reference", u"{x{A.H}", u"{x100,3"},
        {"empty template", u"", u""},
    };
    for (const TemplateCase& c : cases) {
        EXPECT_EQ(ExpandTemplateText(c.text, Fields), c.expanded) << c.label;
    }
}

TEST(TemplateTextTest, UnknownReferenceNamesIt) {
    const TemplateCase cases[] = {
        {"unknown field", u"x{A.X}", u"A.X"},
        {"empty reference", u"a{}b", u""},
        {"case counts", u"{a.h}", u"a.h"},
    };
    for (const TemplateCase& c : cases) {
        try {
            ExpandTemplateText(c.text, Fields);
            ADD_FAILURE() << c.label << ": no error";
        } catch (const UnknownFieldReference& e) {
            EXPECT_EQ(e.reference(), c.expanded) << c.label;
        }
    }
}

}  // namespace
}  // namespace kavrel::host

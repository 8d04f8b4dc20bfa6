// Reading a survey catalogue: separators, both decimal marks, the header,
// blank and bad rows, the columns offered, and the edge of the tolerance.
// Windows-free: runs natively with sanitizers too.
#include "import/survey_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/import_geometry.h"

namespace kavrel {
namespace {

struct Expected {
    std::size_t line;
    double x, y, z;
    const char16_t* number;
    const char16_t* problem;  // empty: a good row
};

struct RowsCase {
    const char* label;
    const char16_t* text;
    bool header;
    SurveyColumns columns;
    std::vector<Expected> rows;
};

TEST(SurveyRows, EachLineBecomesARowOrSaysWhyNot) {
    const SurveyColumns nxyz{1, 2, 3, 0};
    const RowsCase cases[] = {
        {"blanks, decimal comma, a header, blank lines skipped",
         u"№ X Y H\r\n\r\n1  6000,5 3000,25   150,26\r\n  \r\n2 6001 3001 151\r\n",
         true,
         nxyz,
         {{3, 6000.5, 3000.25, 150.26, u"1", u""}, {5, 6001, 3001, 151, u"2", u""}}},
        {"tabs, decimal point, empty columns kept in place",
         u"7\t10.5\t\t1.25\n8\t11\t12\t1e1",
         false,
         nxyz,
         {{1, 10.5, 0, 1.25, u"7", u"нет столбца Y"}, {2, 11, 12, 10, u"8", u""}}},
        {"semicolons: a blank inside a column does not split it",
         u"A 1;5,5;6,5;7\nA 2;1;2",
         false,
         nxyz,
         {{1, 5.5, 6.5, 7, u"A 1", u""}, {2, 1, 2, 0, u"A 2", u"нет столбца высоты"}}},
        {"the first line is a row when it is no header",
         u"1 2 3 4",
         false,
         nxyz,
         {{1, 2, 3, 4, u"1", u""}}},
        {"bad numbers named with their text, in column order",
         u"5 6000,1,2 x 12",
         false,
         nxyz,
         {{1, 0, 0, 12, u"5", u"X не число: «6000,1,2»; Y не число: «x»"}}},
        {"CR alone ends a line; no number column picked",
         u"1;2;3\r4;5;6",
         false,
         SurveyColumns{0, 1, 2, -1},
         {{1, 1, 2, 3, u"", u""}, {2, 4, 5, 6, u"", u""}}},
    };
    for (const RowsCase& c : cases) {
        SCOPED_TRACE(c.label);
        const std::vector<SurveyRow> rows = ReadSurveyRows(c.text, c.header, c.columns);
        ASSERT_EQ(rows.size(), c.rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const Expected& e = c.rows[i];
            EXPECT_EQ(rows[i].line, e.line);
            EXPECT_EQ(rows[i].problem, e.problem);
            EXPECT_EQ(rows[i].number, e.number);
            if (rows[i].Good()) {
                EXPECT_EQ(rows[i].x, e.x);
                EXPECT_EQ(rows[i].y, e.y);
                EXPECT_EQ(rows[i].z, e.z);
            }
        }
    }
}

TEST(SurveyRows, TheColumnListsOfferTheMostColumnsOfTheDataRows) {
    EXPECT_EQ(MostColumns(u"", false), 0u);
    EXPECT_EQ(MostColumns(u"номер X Y H отметка\n1 2 3 4", true), 4u);
    EXPECT_EQ(MostColumns(u"номер X Y H отметка\n1 2 3 4", false), 5u);
    // One tab anywhere makes every line split at tabs.
    EXPECT_EQ(MostColumns(u"1 2 3 4\n5\t6", false), 2u);
    // Only the first rows are looked at.
    EXPECT_EQ(MostColumns(u"1 2\n1 2 3", false, 1), 2u);
}

TEST(SurveyRows, NumbersMatchAsTextOrAsEqualValues) {
    EXPECT_TRUE(SameNumber(u"12", u"12"));
    EXPECT_TRUE(SameNumber(u"12", u"12,0"));
    EXPECT_TRUE(SameNumber(u"12.5", u" 12,5"));
    EXPECT_TRUE(SameNumber(u"Rp 3", u"Rp 3"));
    EXPECT_FALSE(SameNumber(u"12", u"13"));
    EXPECT_FALSE(SameNumber(u"12", u""));
}

TEST(ImportGeometry, TheToleranceHoldsItsEdgeAtAnyCoordinates) {
    // 6 000 000,05 − 6 000 000 is 0,0500000002980232 in binary: still within.
    EXPECT_TRUE(WithinTolerance({6000000.05, 0}, {6000000, 0}, 0.05));
    EXPECT_TRUE(WithinTolerance({100, 200.05}, {100, 200}, 0.05));
    EXPECT_FALSE(WithinTolerance({100, 200.051}, {100, 200}, 0.05));
    EXPECT_FALSE(WithinTolerance({6000000.0501, 0}, {6000000, 0}, 0.05));
    EXPECT_TRUE(WithinTolerance({3, 4}, {0, 0}, 5));
}

TEST(ImportGeometry, LabelsAndVectorsAtTheScale) {
    // 2 mm at 1:500 is a metre.
    EXPECT_EQ(MapUnitsOf(2, 500), 1.0);
    const LabelPlace label = LabelAt({10, 20}, 1.0, -0.5);
    EXPECT_EQ(label.start.x, 11.0);
    EXPECT_EQ(label.start.y, 19.5);
    EXPECT_EQ(label.end.x, 11.0);
    EXPECT_DOUBLE_EQ(label.end.y, 19.7);
    const auto end = VectorEnd({1, 1}, {1, 1.5}, 2.0);
    ASSERT_TRUE(end);
    EXPECT_EQ(end->x, 1.0);
    EXPECT_EQ(end->y, 3.0);
    EXPECT_FALSE(VectorEnd({1, 1}, {1, 1}, 2.0));
}

}  // namespace
}  // namespace kavrel

// The identity record and the command table as the host reads them, byte for
// byte, and the registry paths of the host's add-on area.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "addon/command_table.h"
#include "base/reg_path.h"

namespace kavrel {
namespace {

// The bytes of a short string field of the given capacity, written out by hand.
std::vector<std::uint8_t> Field(std::size_t capacity, const std::string& cp1251) {
    std::vector<std::uint8_t> bytes(capacity + 1, 0);
    bytes[0] = static_cast<std::uint8_t>(cp1251.size());
    std::memcpy(bytes.data() + 1, cp1251.data(), cp1251.size());
    return bytes;
}

template <typename Record>
std::vector<std::uint8_t> Slice(const Record& record, std::size_t offset, std::size_t size) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
    return std::vector<std::uint8_t>(bytes + offset, bytes + offset + size);
}

std::int32_t Int32At(const void* record, std::size_t offset) {
    std::int32_t value;
    std::memcpy(&value, static_cast<const std::uint8_t*>(record) + offset, sizeof value);
    return value;
}

// "Работа с высотными отметками" in code page 1251.
const std::string kCaption1251 =
    "\xD0\xE0\xE1\xEE\xF2\xE0 \xF1 \xE2\xFB\xF1\xEE\xF2\xED\xFB\xEC\xE8 "
    "\xEE\xF2\xEC\xE5\xF2\xEA\xE0\xEC\xE8";
// "Утилиты Dravell (отметки)"
const std::string kToolbar1251 =
    "\xD3\xF2\xE8\xEB\xE8\xF2\xFB Dravell (\xEE\xF2\xEC\xE5\xF2\xEA\xE8)";

TEST(AddOnInfoRecord, IdentityBytes) {
    const AddOnInfo info = MakeAddOnInfo(kAddonClassIdBytes, kAddonName, kAddonCaption, 0);
    const std::vector<std::uint8_t> class_id = {0xB5, 0xAF, 0xA2, 0x9E, 0xF6, 0x68, 0x9D, 0x4A,
                                                0xB4, 0xAB, 0x61, 0x05, 0xCA, 0xB4, 0x37, 0x61};
    EXPECT_EQ(Slice(info, 0, 16), class_id);
    EXPECT_EQ(Slice(info, 16, 32), Field(31, "KAVREL"));
    EXPECT_EQ(Slice(info, 48, 64), Field(63, kCaption1251));
    EXPECT_EQ(Int32At(&info, 112), 0);
    EXPECT_EQ(Int32At(&info, 116), 260);
}

TEST(AddOnInfoRecord, LongTextsAreCutToTheFieldCapacity) {
    const std::u16string long_name(40, u'N');
    const std::u16string long_caption(70, u'Ж');
    const AddOnInfo info = MakeAddOnInfo(kAddonClassIdBytes, long_name, long_caption, -7);
    EXPECT_EQ(Slice(info, 16, 32), Field(31, std::string(31, 'N')));
    EXPECT_EQ(Slice(info, 48, 64), Field(63, std::string(63, '\xC6')));
    EXPECT_EQ(Int32At(&info, 112), -7);
}

struct RowCase {
    const char* label;
    std::size_t row;
    std::int32_t id;
    std::string bitmap;
    std::string caption;
    std::string menu;
};

class CommandTableRow : public testing::TestWithParam<RowCase> {};

TEST_P(CommandTableRow, BytesOfTheRow) {
    const RowCase& c = GetParam();
    const MacroAttrs row = MakeCommandTable()[c.row];
    EXPECT_EQ(Int32At(&row, 0), c.id);
    EXPECT_EQ(Slice(row, 4, 32), Field(31, c.bitmap));
    EXPECT_EQ(Slice(row, 36, 64), Field(63, c.caption));
    EXPECT_EQ(Slice(row, 100, 64), Field(63, c.menu));
    EXPECT_EQ(Int32At(&row, 164), 0);
    EXPECT_EQ(Slice(row, 168, 32), Field(31, kToolbar1251));
    EXPECT_EQ(Slice(row, 200, 32), Field(31, kToolbar1251));
    EXPECT_EQ(Int32At(&row, 232), 0);
    EXPECT_TRUE(RowHasToolbar(row));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandTableRow,
    testing::Values(
        // "Импорт высотных отметок из текста", "Сервис\Отметки\Импорт отметок из текста"
        RowCase{"import", 0, 1, "KAVRELIMPORT",
                "\xC8\xEC\xEF\xEE\xF0\xF2 \xE2\xFB\xF1\xEE\xF2\xED\xFB\xF5 "
                "\xEE\xF2\xEC\xE5\xF2\xEE\xEA \xE8\xE7 \xF2\xE5\xEA\xF1\xF2\xE0",
                "\xD1\xE5\xF0\xE2\xE8\xF1\\\xCE\xF2\xEC\xE5\xF2\xEA\xE8\\\xC8\xEC\xEF\xEE\xF0\xF2 "
                "\xEE\xF2\xEC\xE5\xF2\xEE\xEA \xE8\xE7 \xF2\xE5\xEA\xF1\xF2\xE0"},
        // "Коррекция высотных отметок", "Сервис\Отметки\Коррекция отметок"
        RowCase{"editor", 1, 2, "KAVRELSETUP",
                "\xCA\xEE\xF0\xF0\xE5\xEA\xF6\xE8\xFF \xE2\xFB\xF1\xEE\xF2\xED\xFB\xF5 "
                "\xEE\xF2\xEC\xE5\xF2\xEE\xEA",
                "\xD1\xE5\xF0\xE2\xE8\xF1\\\xCE\xF2\xEC\xE5\xF2\xEA\xE8\\\xCA\xEE\xF0\xF0\xE5\xEA"
                "\xF6\xE8\xFF \xEE\xF2\xEC\xE5\xF2\xEE\xEA"}),
    [](const testing::TestParamInfo<RowCase>& info) { return std::string(info.param.label); });

TEST(CommandTable, BitmapResourceNameIsUpperCase) {
    MacroAttrs row = MakeMacroAttrs(5, u"kavrelImport", u"c", u"m", u"t", u"t");
    EXPECT_EQ(BitmapResourceName(row), u"KAVRELIMPORT");
    row = MakeMacroAttrs(5, u"x", u"c", u"m", u"", u"t");
    EXPECT_FALSE(RowHasToolbar(row));
}

struct JoinCase {
    const char* label;
    std::vector<std::u16string> parts;
    std::u16string joined;
};

TEST(JoinRegPath, OneBackslashAtEachSeam) {
    const std::vector<JoinCase> cases = {
        {"plain parts", {u"a", u"b"}, u"a\\b"},
        {"trailing and leading", {u"a\\", u"\\b"}, u"a\\b"},
        {"trailing only", {u"a\\", u"b"}, u"a\\b"},
        {"leading only", {u"a", u"\\b"}, u"a\\b"},
        {"empty parts skipped", {u"", u"a", u"", u"b", u""}, u"a\\b"},
        {"first part kept as is", {u"\\a\\", u"b\\"}, u"\\a\\b\\"},
        {"all empty", {u"", u""}, u""},
        {"one part", {u"\\Proj\\"}, u"\\Proj\\"},
    };
    for (const JoinCase& c : cases) {
        std::u16string joined;
        if (c.parts.size() == 2) {
            joined = JoinRegPath({c.parts[0], c.parts[1]});
        } else if (c.parts.size() == 1) {
            joined = JoinRegPath({c.parts[0]});
        } else {
            joined = JoinRegPath({c.parts[0], c.parts[1], c.parts[2], c.parts[3], c.parts[4]});
        }
        EXPECT_EQ(joined, c.joined) << c.label;
    }
}

TEST(AddonRegistryKey, AppliedNameVariants) {
    const std::u16string id = u"{9EA2AFB5-68F6-4A9D-B4AB-6105CAB43761}";
    const std::u16string general = u"\\Software\\Albea\\GIS\\AddOns\\" + id;
    const std::u16string applied = u"\\Software\\Albea\\GIS\\AppliedAddOns\\Proj\\" + id;
    EXPECT_EQ(AddonRegistryKey(u"", id), general);
    EXPECT_EQ(AddonRegistryKey(u"Proj", id), applied);
    EXPECT_EQ(AddonRegistryKey(u"\\Proj\\", id), applied);
    EXPECT_EQ(AddonRegistryKey(u"Proj\\Sub", id),
              u"\\Software\\Albea\\GIS\\AppliedAddOns\\Proj\\Sub\\" + id);
}

}  // namespace
}  // namespace kavrel

#include "host/model/project_file.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/host/sample_project.h"

namespace kavrel::host {
namespace {

using nlohmann::json;

TEST(ProjectFileTest, LoadsEveryPart) {
    MapModel model = LoadProject(kSampleProject);
    ASSERT_EQ(model.maps().size(), 1u);
    EXPECT_EQ(model.maps()[0].name, u"Карта");
    EXPECT_EQ(model.maps()[0].layers, (std::vector<std::u16string>{u"L1", u"L2"}));
    const Style* label = model.FindStyle(u"ST");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->kind, StyleKind::Text);
    EXPECT_EQ(label->text, u"{A.H}");
    EXPECT_EQ(label->layer, u"L1");
    const MapObject* o1 = model.FindObject(u"O1");
    ASSERT_NE(o1, nullptr);
    EXPECT_TRUE(o1->current.shapes[0].flag);
    EXPECT_FALSE(o1->current.shapes[1].flag) << "flag defaults to false";
    EXPECT_EQ(o1->current.shapes[1].parts[0].vertices[1], (Vertex{100.2, 200.7, 0}));
    EXPECT_EQ(std::get<std::u16string>(o1->current.values.at(u"A.H")), u"100,3");
    EXPECT_EQ(std::get<double>(model.FindObject(u"O2")->current.values.at(u"A.H")), 57.5);
    EXPECT_EQ(model.selection, std::vector<std::u16string>{u"O1"});
    EXPECT_EQ(model.preferences.at(u"kavreleditor_pstyle"), u"SP");
}

TEST(ProjectFileTest, SavesCommittedStateOnly) {
    MapModel model = LoadProject(kSampleProject);
    MapObject* o2 = model.FindObject(u"O2");
    model.Edit(*o2).values[u"A.H"] = 99.0;
    json saved = json::parse(SaveProject(model));
    EXPECT_EQ(saved["objects"][1]["values"]["A.H"], 57.5);
    model.CommitAll();
    saved = json::parse(SaveProject(model));
    EXPECT_EQ(saved["objects"][1]["values"]["A.H"], 99.0);
}

TEST(ProjectFileTest, SavedProjectLoadsToTheSameText) {
    MapModel model = LoadProject(kSampleProject);
    const std::string once = SaveProject(model);
    const std::string twice = SaveProject(LoadProject(once));
    EXPECT_EQ(once, twice);
}

struct RefusalCase {
    const char* label;
    std::string project;
    std::string message;
};

TEST(ProjectFileTest, RefusesBadFilesNamingThePlace) {
    const std::string layer =
        R"("layers":[{"id":"L1","tables":[{"name":"A","fields":["H"]}],"styles":[{"id":"SP","kind":"point"}]}])";
    const RefusalCase cases[] = {
        {"not JSON, the place is the byte of the error", R"({"maps": ]})",
         "Проект не загружен: ошибка JSON в позиции 10"},
        {"root not an object", "[]", "Проект не загружен: корень: ожидается объект"},
        {"unknown field of an object",
         "{" + layer + R"(,"objects":[{"id":"O1","layer":"L1","values":{"A.X":1}}]})",
         "Проект не загружен: объект «O1», поле «A.X»: нет такого поля в таблицах слоя «L1»"},
        {"value neither number nor text",
         "{" + layer + R"(,"objects":[{"id":"O1","layer":"L1","values":{"A.H":true}}]})",
         "Проект не загружен: объект «O1», поле «A.H»: значение должно быть числом или текстом"},
        {"unknown style of a shape",
         "{" + layer + R"(,"objects":[{"id":"O1","layer":"L1","shapes":[{"style":"XX"}]}]})",
         "Проект не загружен: объект «O1», фигура 0: нет стиля «XX»"},
        {"bad vertex",
         "{" + layer +
             R"(,"objects":[{"id":"O1","layer":"L1","shapes":[{"style":"SP","parts":[[[1,2,3],[1]]]}]}]})",
         "Проект не загружен: объект «O1», фигура 0, часть 0, вершина 1: вершина должна быть [x, "
         "y, "
         "c] или [x, y]"},
        {"unknown layer of an object", "{" + layer + R"(,"objects":[{"id":"O1","layer":"L9"}]})",
         "Проект не загружен: объект «O1»: нет слоя «L9»"},
        {"duplicate object",
         "{" + layer + R"(,"objects":[{"id":"O1","layer":"L1"},{"id":"O1","layer":"L1"}]})",
         "Проект не загружен: объект «O1»: объект с таким идентификатором уже есть"},
        {"identifier too long",
         "{" + layer + R"(,"objects":[{"id":"O123456789012345","layer":"L1"}]})",
         "Проект не загружен: объект 0: идентификатор «O123456789012345» длиннее 15 символов"},
        {"selection of a missing object", "{" + layer + R"(,"selection":["O7"]})",
         "Проект не загружен: выделение: нет объекта «O7»"},
        {"map with a missing layer", R"({"maps":[{"id":"M1","layers":["L1"]}]})",
         "Проект не загружен: карта «M1»: нет слоя «L1»"},
        {"bad style kind", R"({"layers":[{"id":"L1","styles":[{"id":"S","kind":"area"}]}]})",
         "Проект не загружен: слой «L1», стиль «S»: неизвестный вид стиля «area» (допустимы "
         "point, line, polygon, text)"},
        {"preference not a text", R"({"preferences":{"k":1}})",
         "Проект не загружен: настройки, ключ «k»: значение должно быть текстом"},
        {"flag not boolean",
         "{" + layer +
             R"(,"objects":[{"id":"O1","layer":"L1","shapes":[{"style":"SP","flag":1}]}]})",
         "Проект не загружен: объект «O1», фигура 0: поле \"flag\" должно быть: логическое"},
    };
    for (const RefusalCase& c : cases) {
        try {
            LoadProject(c.project);
            ADD_FAILURE() << c.label << ": loaded";
        } catch (const ProjectError& e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.label;
        }
    }
}

}  // namespace
}  // namespace kavrel::host

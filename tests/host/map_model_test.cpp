#include "host/model/map_model.h"

#include <gtest/gtest.h>

#include "host/model/project_file.h"
#include "tests/host/sample_project.h"

namespace kavrel::host {
namespace {

std::vector<std::u16string> Ids(const std::vector<const MapObject*>& objects) {
    std::vector<std::u16string> out;
    for (const MapObject* object : objects) {
        out.push_back(object->id);
    }
    return out;
}

TEST(MapModelTest, EditsArePendingUntilCommit) {
    MapModel model = LoadProject(kSampleProject);
    MapObject* o1 = model.FindObject(u"O1");
    ASSERT_NE(o1, nullptr);
    EXPECT_TRUE(model.ObjectsWithPendingEdits().empty());

    model.Edit(*o1).shapes[0].parts[0].vertices[0] = Vertex{1, 2, 3};
    model.Edit(*o1).values[u"A.H"] = 5.0;  // a second edit keeps the first committed copy
    EXPECT_EQ(model.ObjectsWithPendingEdits(), std::vector<std::u16string>{u"O1"});
    EXPECT_EQ(o1->CommittedState().shapes[0].parts[0].vertices[0], (Vertex{100, 200, 0}));
    EXPECT_EQ(std::get<std::u16string>(o1->CommittedState().values.at(u"A.H")), u"100,3");
    EXPECT_EQ(o1->current.shapes[0].parts[0].vertices[0], (Vertex{1, 2, 3}));

    EXPECT_EQ(model.CommitAll(), 1u);
    EXPECT_TRUE(model.ObjectsWithPendingEdits().empty());
    EXPECT_EQ(o1->CommittedState().shapes[0].parts[0].vertices[0], (Vertex{1, 2, 3}));
    EXPECT_EQ(std::get<double>(o1->CommittedState().values.at(u"A.H")), 5.0);
    EXPECT_EQ(model.CommitAll(), 0u);
}

TEST(MapModelTest, CommitTouchesTheEditedObjectsOnlyAndListsThemInModelOrder) {
    MapModel model;
    for (const char16_t* id : {u"A", u"B", u"C", u"D"}) {
        model.AddObject(id, u"L", ObjectState{});
    }
    // Edited out of model order, one of them twice.
    model.Edit(*model.FindObject(u"D")).values[u"T.F"] = 1.0;
    model.Edit(*model.FindObject(u"B")).values[u"T.F"] = 2.0;
    model.Edit(*model.FindObject(u"D")).values[u"T.F"] = 3.0;
    EXPECT_EQ(model.ObjectsWithPendingEdits(), (std::vector<std::u16string>{u"B", u"D"}));
    EXPECT_EQ(model.CommitAll(), 2u);
    EXPECT_TRUE(model.ObjectsWithPendingEdits().empty());
    EXPECT_FALSE(model.FindObject(u"A")->HasPendingEdits());
    EXPECT_EQ(std::get<double>(model.FindObject(u"D")->CommittedState().values.at(u"T.F")), 3.0);

    // After a commit, an edit is pending again and counted once.
    model.Edit(*model.FindObject(u"B")).values[u"T.F"] = 4.0;
    EXPECT_EQ(model.ObjectsWithPendingEdits(), std::vector<std::u16string>{u"B"});
    EXPECT_EQ(model.CommitAll(), 1u);
    EXPECT_EQ(model.CommitAll(), 0u);
}

struct QueryCase {
    const char* label;
    std::u16string layer;
    Rect rect;
    std::vector<std::u16string> found;
};

TEST(MapModelTest, QueryInRect) {
    MapModel model = LoadProject(kSampleProject);
    const QueryCase cases[] = {
        {"point and label", u"L1", {99, 199, 101, 201}, {u"O1"}},
        {"label baseline only", u"L1", {100.1, 200.5, 100.3, 200.6}, {u"O1"}},
        {"line crossing the rectangle, no vertex inside", u"L1", {-1, 20, 1, 30}, {u"O2"}},
        {"both", u"L1", {-1, -1, 200, 250}, {u"O1", u"O2"}},
        {"other layer ignored", u"L1", {150, 150, 160, 160}, {}},
        {"inside a polygon without touching its edges", u"L2", {150, 150, 160, 160}, {u"O3"}},
        {"layer matched exactly", u"l1", {99, 199, 101, 201}, {}},
        {"box overlaps but the line misses", u"L1", {5, 5, 10, 10}, {}},
    };
    for (const QueryCase& c : cases) {
        EXPECT_EQ(Ids(model.QueryInRect(c.layer, c.rect)), c.found) << c.label;
    }
}

TEST(MapModelTest, QueryFollowsPendingGeometry) {
    MapModel model = LoadProject(kSampleProject);
    MapObject* o1 = model.FindObject(u"O1");
    for (Shape& shape : model.Edit(*o1).shapes) {
        for (ContourPart& part : shape.parts) {
            for (Vertex& v : part.vertices) {
                v.x += 1000;
            }
        }
    }
    model.Reindex(*o1);
    EXPECT_TRUE(model.QueryInRect(u"L1", {99, 199, 101, 201}).empty());
    EXPECT_EQ(Ids(model.QueryInRect(u"L1", {1099, 199, 1101, 201})),
              std::vector<std::u16string>{u"O1"});
}

TEST(MapModelTest, LookupsCompareExactly) {
    MapModel model = LoadProject(kSampleProject);
    EXPECT_NE(model.FindStyle(u"SP"), nullptr);
    EXPECT_EQ(model.FindStyle(u"sp"), nullptr);
    EXPECT_EQ(model.FindStyle(u"SP "), nullptr);
    EXPECT_EQ(model.FindStyle(u""), nullptr);
    EXPECT_EQ(model.FindObject(u"O"), nullptr);
    const Layer* layer = model.FindLayer(u"L1");
    ASSERT_NE(layer, nullptr);
    EXPECT_TRUE(model.HasField(*layer, u"A", u"H"));
    EXPECT_FALSE(model.HasField(*layer, u"A", u"X"));
    EXPECT_FALSE(model.HasField(*layer, u"B", u"H"));
}

}  // namespace
}  // namespace kavrel::host

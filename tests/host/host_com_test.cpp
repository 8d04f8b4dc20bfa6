#include <functional>
#include <nlohmann/json.hpp>

#include "base/handle_casts.h"
#include "base/short_string.h"
#include "base/variant.h"
#include "tests/host/host_fixture.h"

namespace kavrel::host {
namespace {

using nlohmann::json;

struct FailureCase {
    const char* label;
    std::function<HRESULT(HostTest&)> call;
    HRESULT status;
    std::u16string description;
};

class HostComTest : public HostTest {
  public:
    ComPtr<IHostApplication>& app() { return app_; }
    using HostTest::MapObjects;
    using HostTest::Object;
    using HostTest::Part;
};

TEST_F(HostComTest, FailuresCarryRussianErrorInformation) {
    const FailureCase cases[] = {
        {"unknown object",
         [](HostTest& t) {
             ComPtr<IHostMapObject> object;
             Bstr id(u"O9");
             return static_cast<HostComTest&>(t).MapObjects()->GetObject(id.get(), object.put());
         },
         kHostNotFound, u"Объект «O9» не найден"},
        {"object identifier compared exactly",
         [](HostTest& t) {
             ComPtr<IHostMapObject> object;
             Bstr id(u"o1");
             return static_cast<HostComTest&>(t).MapObjects()->GetObject(id.get(), object.put());
         },
         kHostNotFound, u"Объект «o1» не найден"},
        {"selection index out of range",
         [](HostTest& t) {
             ComPtr<IHostSelection> selection;
             static_cast<HostComTest&>(t).app()->GetSelection(selection.put());
             Bstr id;
             return selection->GetItemId(1, id.put());
         },
         DISP_E_BADINDEX, u"Индекс выделения 1 вне диапазона (выделено объектов: 1)"},
        {"missing vertex",
         [](HostTest& t) {
             double x, y, c;
             return static_cast<HostComTest&>(t).Part(u"O1", 1, 0)->GetVertex(2, &x, &y, &c);
         },
         DISP_E_BADINDEX, u"Вершина 2 отсутствует (вершин: 2)"},
        {"negative vertex index",
         [](HostTest& t) {
             return static_cast<HostComTest&>(t).Part(u"O1", 0, 0)->SetVertex(-1, 0, 0, 0);
         },
         DISP_E_BADINDEX, u"Вершина -1 отсутствует (вершин: 1)"},
        {"shape index out of range",
         [](HostTest& t) {
             ComPtr<IHostShapes> shapes;
             static_cast<HostComTest&>(t).Object(u"O1")->GetShapes(shapes.put());
             ComPtr<IHostShape> shape;
             return shapes->GetItem(2, shape.put());
         },
         DISP_E_BADINDEX, u"Фигура 2 отсутствует (фигур: 2)"},
        {"insert of an unknown style (empty identifier)",
         [](HostTest& t) {
             ComPtr<IHostShapes> shapes;
             static_cast<HostComTest&>(t).Object(u"O1")->GetShapes(shapes.put());
             ComPtr<IHostShape> shape;
             return shapes->Insert(-1, nullptr, shape.put());
         },
         kHostNotFound, u"Стиль «» не найден"},
        {"insert position beyond the end",
         [](HostTest& t) {
             ComPtr<IHostShapes> shapes;
             static_cast<HostComTest&>(t).Object(u"O1")->GetShapes(shapes.put());
             ComPtr<IHostShape> shape;
             Bstr style(u"SP");
             return shapes->Insert(3, style.get(), shape.put());
         },
         DISP_E_BADINDEX, u"Позиция вставки 3 вне диапазона (фигур: 2)"},
        {"unknown field in a template",
         [](HostTest& t) {
             Bstr text(u"{A.X}"), result;
             return static_cast<HostComTest&>(t).Object(u"O1")->ExpandTemplate(text.get(),
                                                                               result.put());
         },
         kHostNotFound, u"Поле «A.X» не найдено в слое «L1»"},
        {"value of an unknown field",
         [](HostTest& t) {
             ComPtr<IHostSemantics> semantics;
             static_cast<HostComTest&>(t).Object(u"O1")->GetSemantics(semantics.put());
             Bstr table(u"A"), field(u"Z");
             return semantics->SetValue(table.get(), field.get(), Variant::Double(1).get(), 0);
         },
         kHostNotFound, u"Поле «A.Z» не найдено в слое «L1»"},
        {"value of a type the host cannot store",
         [](HostTest& t) {
             ComPtr<IHostSemantics> semantics;
             static_cast<HostComTest&>(t).Object(u"O1")->GetSemantics(semantics.put());
             Bstr table(u"A"), field(u"H");
             Variant value;
             VARIANT* date = value.put();
             date->vt = VT_DATE;
             date->date = 1;
             return semantics->SetValue(table.get(), field.get(), value.get(), 0);
         },
         DISP_E_TYPEMISMATCH, u"Значение поля должно быть числом или текстом"},
        {"query of an unknown layer",
         [](HostTest& t) {
             ComPtr<IHostQueryCursor> cursor;
             return static_cast<HostComTest&>(t).MapObjects()->QueryInRect(
                 Variant::Text(u"L9").get(), 0, 0, 1, 1, 0, cursor.put());
         },
         kHostNotFound, u"Слой «L9» не найден"},
        {"query with an inverted rectangle",
         [](HostTest& t) {
             ComPtr<IHostQueryCursor> cursor;
             return static_cast<HostComTest&>(t).MapObjects()->QueryInRect(
                 Variant::Text(u"L1").get(), 5, 0, 1, 1, 0, cursor.put());
         },
         E_INVALIDARG, u"Неверный прямоугольник запроса"},
        {"query layer not a text",
         [](HostTest& t) {
             ComPtr<IHostQueryCursor> cursor;
             return static_cast<HostComTest&>(t).MapObjects()->QueryInRect(
                 Variant::Int32(1).get(), 0, 0, 1, 1, 0, cursor.put());
         },
         DISP_E_TYPEMISMATCH, u"Слой запроса должен быть задан текстом"},
        {"preferences with non-zero leading arguments",
         [](HostTest& t) {
             ComPtr<IHostPreferences> preferences;
             static_cast<HostComTest&>(t).app()->GetPreferences(preferences.put());
             Bstr key(u"k"), fallback(u"d"), result;
             return preferences->ReadString(1, 0, key.get(), fallback.get(), result.put());
         },
         E_INVALIDARG, u"Первые два аргумента должны быть равны 0"},
        {"null out argument",
         [](HostTest& t) { return static_cast<HostComTest&>(t).app()->GetDatabase(nullptr); },
         E_POINTER, u"Не передан адрес для результата"},
        {"unknown style",
         [](HostTest& t) {
             ComPtr<IHostDatabase> database;
             static_cast<HostComTest&>(t).app()->GetDatabase(database.put());
             ComPtr<IHostStyle> style;
             Bstr id(u"SX");
             return database->GetStyle(id.get(), style.put());
         },
         kHostNotFound, u"Стиль «SX» не найден"},
        {"placeholder slot",
         [](HostTest& t) {
             ComPtr<IHostShape> shape;
             ComPtr<IHostShapes> shapes;
             static_cast<HostComTest&>(t).Object(u"O1")->GetShapes(shapes.put());
             shapes->GetItem(0, shape.put());
             return shape->Reserved3();
         },
         E_NOTIMPL, u"Операция не поддерживается"},
    };
    for (const FailureCase& c : cases) {
        SetErrorInfo(0, nullptr);
        EXPECT_EQ(c.call(*this), c.status) << c.label;
        EXPECT_EQ(ErrorDescription(), c.description) << c.label;
    }
}

TEST_F(HostComTest, EditsStayPendingUntilAnyCollectionCommits) {
    ComPtr<IHostContourPart> label = Part(u"O1", 1, 0);
    ASSERT_EQ(label->SetVertex(1, 101, 202, 7), S_OK);
    double x = 0, y = 0, c = 0;
    ASSERT_EQ(label->GetVertex(1, &x, &y, &c), S_OK);
    EXPECT_EQ(x, 101);
    EXPECT_EQ(y, 202);
    EXPECT_EQ(c, 7);
    EXPECT_EQ(host_->model().ObjectsWithPendingEdits(), std::vector<std::u16string>{u"O1"});
    json saved = json::parse(SaveProject(host_->model()));
    EXPECT_EQ(saved["objects"][0]["shapes"][1]["parts"][0][1], json::array({100.2, 200.7, 0.0}));

    // A second, separately fetched collection commits the first one's edits too.
    ASSERT_EQ(MapObjects()->CommitChanges(), S_OK);
    EXPECT_TRUE(host_->model().ObjectsWithPendingEdits().empty());
    saved = json::parse(SaveProject(host_->model()));
    EXPECT_EQ(saved["objects"][0]["shapes"][1]["parts"][0][1], json::array({101.0, 202.0, 7.0}));
}

TEST_F(HostComTest, RebuildingAnObjectThroughShapes) {
    ComPtr<IHostShapes> shapes;
    ASSERT_EQ(Object(u"O1")->GetShapes(shapes.put()), S_OK);
    ComPtr<IHostShape> old_label;
    ASSERT_EQ(shapes->GetItem(1, old_label.put()), S_OK);
    ASSERT_EQ(shapes->Clear(), S_OK);
    LONG count = -1;
    ASSERT_EQ(shapes->GetCount(&count), S_OK);
    EXPECT_EQ(count, 0);
    Bstr style_id;
    EXPECT_EQ(old_label->GetStyleId(style_id.put()), kHostNotFound) << "a removed shape fails";
    EXPECT_EQ(ErrorDescription(), u"Фигура объекта удалена");

    ComPtr<IHostShape> point;
    Bstr sp(u"SP");
    ASSERT_EQ(shapes->Insert(-1, sp.get(), point.put()), S_OK);
    ComPtr<IHostContour> contour;
    ASSERT_EQ(point->GetContour(contour.put()), S_OK);
    ComPtr<IHostContourPart> part;
    ASSERT_EQ(contour->InsertPart(-1, part.put()), S_OK);
    ASSERT_EQ(part->InsertVertex(-1, 5, 6, 0), S_OK);
    ASSERT_EQ(part->InsertVertex(0, 1, 2, 0), S_OK);
    VARIANT_BOOL flag = VARIANT_TRUE;
    ASSERT_EQ(point->GetFlag(&flag), S_OK);
    EXPECT_EQ(flag, VARIANT_FALSE) << "an inserted shape has no flag";
    ASSERT_EQ(MapObjects()->CommitChanges(), S_OK);

    const auto& committed = host_->model().FindObject(u"O1")->CommittedState();
    ASSERT_EQ(committed.shapes.size(), 1u);
    EXPECT_EQ(committed.shapes[0].style, u"SP");
    EXPECT_EQ(committed.shapes[0].parts[0].vertices, (std::vector<Vertex>{{1, 2, 0}, {5, 6, 0}}));
}

struct TemplateCase {
    const char* label;
    char16_t separator;
    const char16_t* object;
    const char16_t* text;
    std::u16string expanded;
};

TEST(HostTemplateTest, ExpandsWithTheSessionSeparator) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    const TemplateCase cases[] = {
        {"number with comma", u',', u"O2", u"{A.H}", u"57,5"},
        {"number with point", u'.', u"O2", u"{A.H}", u"57.5"},
        {"text value as stored", u'.', u"O1", u"{A.H}", u"100,3"},
        {"empty field", u',', u"O1", u"[{A.N}]", u"[]"},
        {"text and two fields", u',', u"O2", u"{A.N}: {A.H} м", u"мост: 57,5 м"},
    };
    for (const TemplateCase& c : cases) {
        HostContext host(LoadProject(kSampleProject), c.separator);
        ComPtr<IHostApplication> app;
        ASSERT_EQ(host.HostObject()->QueryInterface(__uuidof(IHostApplication), app.put_void()),
                  S_OK);
        ComPtr<IHostDatabase> database;
        app->GetDatabase(database.put());
        ComPtr<IHostMapObjects> objects;
        database->GetMapObjects(objects.put());
        ComPtr<IHostMapObject> object;
        Bstr id(c.object), text(c.text), result;
        ASSERT_EQ(objects->GetObject(id.get(), object.put()), S_OK) << c.label;
        ASSERT_EQ(object->ExpandTemplate(text.get(), result.put()), S_OK) << c.label;
        EXPECT_EQ(result.str(), c.expanded) << c.label;
    }
    CoUninitialize();
}

TEST_F(HostComTest, SetValueStoresA64BitFloatShownThroughTemplates) {
    ComPtr<IHostMapObject> object = Object(u"O1");
    ComPtr<IHostSemantics> semantics;
    ASSERT_EQ(object->GetSemantics(semantics.put()), S_OK);
    Bstr table(u"A"), field(u"H"), text(u"{A.H}"), result;
    ASSERT_EQ(semantics->SetValue(table.get(), field.get(), Variant::Double(100.8).get(), 0), S_OK);
    const auto& value = host_->model().FindObject(u"O1")->current.values.at(u"A.H");
    ASSERT_TRUE(std::holds_alternative<double>(value));
    EXPECT_EQ(std::get<double>(value), 100.8);
    ASSERT_EQ(object->ExpandTemplate(text.get(), result.put()), S_OK);
    EXPECT_EQ(result.str(), u"100,8");
    EXPECT_EQ(host_->model().ObjectsWithPendingEdits(), std::vector<std::u16string>{u"O1"});
}

TEST_F(HostComTest, PreferencesReadTheDefaultForAnAbsentKey) {
    ComPtr<IHostPreferences> preferences;
    ASSERT_EQ(app_->GetPreferences(preferences.put()), S_OK);
    Bstr absent(u"kavreleditor_tfield"), present(u"kavreleditor_pstyle"), fallback(u"A.H");
    Bstr a, b, c;
    ASSERT_EQ(preferences->ReadString(0, 0, absent.get(), fallback.get(), a.put()), S_OK);
    EXPECT_EQ(a.str(), u"A.H");
    ASSERT_EQ(preferences->ReadString(0, 0, present.get(), fallback.get(), b.put()), S_OK);
    EXPECT_EQ(b.str(), u"SP");
    Bstr value(u"0,5");
    ASSERT_EQ(preferences->WriteString(0, 0, absent.get(), value.get()), S_OK);
    ASSERT_EQ(preferences->ReadString(0, 0, absent.get(), fallback.get(), c.put()), S_OK);
    EXPECT_EQ(c.str(), u"0,5");
}

TEST_F(HostComTest, QueryCursorYieldsLayerObjectAndRow) {
    ComPtr<IHostQueryCursor> cursor;
    ASSERT_EQ(
        MapObjects()->QueryInRect(Variant::Text(u"L1").get(), -1, -1, 200, 250, 0, cursor.put()),
        S_OK);
    std::vector<std::u16string> ids;
    VARIANT_BOOL eof = VARIANT_FALSE;
    while (cursor->Eof(&eof) == S_OK && eof == VARIANT_FALSE) {
        Bstr a, id;
        LONG v = -1;
        ASSERT_EQ(cursor->FetchNext(a.put(), id.put(), &v), S_OK);
        EXPECT_EQ(a.str(), u"L1");
        EXPECT_EQ(v, static_cast<LONG>(ids.size()));
        ids.push_back(id.str());
    }
    EXPECT_EQ(ids, (std::vector<std::u16string>{u"O1", u"O2"}));
    Bstr a, id;
    LONG v = 0;
    EXPECT_EQ(cursor->FetchNext(a.put(), id.put(), &v), static_cast<HRESULT>(0x8000000BL));
    EXPECT_EQ(ErrorDescription(), u"Выборка исчерпана: строк больше нет");
}

TEST(HostQueryScaleTest, QueryStaysFastWithOneHundredThousandObjects) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    json project = json::parse(kSampleProject);
    for (int i = 0; i < 100000; ++i) {
        const double x = (i % 300) * 20.0 + 1000, y = (i / 300) * 20.0 + 1000;
        project["objects"].push_back(
            {{"id", "P" + std::to_string(i)},
             {"layer", "L1"},
             {"shapes",
              json::array(
                  {{{"style", "SL"},
                    {"parts", json::array({json::array({json::array({x, y, 0}),
                                                        json::array({x + 5, y + 5, 0})})})}}})}});
    }
    HostContext host(LoadProject(project.dump()), u',');
    ComPtr<IHostApplication> app;
    ASSERT_EQ(host.HostObject()->QueryInterface(__uuidof(IHostApplication), app.put_void()), S_OK);
    ComPtr<IHostDatabase> database;
    app->GetDatabase(database.put());
    ComPtr<IHostMapObjects> objects;
    database->GetMapObjects(objects.put());
    const Variant layer = Variant::Text(u"L1");
    const DWORD start = GetTickCount();
    LONG rows = 0;
    for (int q = 0; q < 200; ++q) {
        ComPtr<IHostQueryCursor> cursor;
        ASSERT_EQ(objects->QueryInRect(layer.get(), 1002, 1002, 1022, 1022, 0, cursor.put()), S_OK);
        VARIANT_BOOL eof = VARIANT_FALSE;
        while (cursor->Eof(&eof) == S_OK && eof == VARIANT_FALSE) {
            Bstr a, id;
            LONG v;
            ASSERT_EQ(cursor->FetchNext(a.put(), id.put(), &v), S_OK);
            ++rows;
        }
    }
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(rows, 200 * 4);  // P0, P1, P300, P301 meet the rectangle
    EXPECT_LT(elapsed, 2000u) << "200 queries over 100,000 objects";
    objects.reset();
    database.reset();
    app.reset();
    CoUninitialize();
}

TEST_F(HostComTest, ReferencesAreCountedPerInterface) {
    ComPtr<IHostSelection> selection;
    ASSERT_EQ(app_->GetSelection(selection.put()), S_OK);
    EXPECT_EQ(host_->accounting().References("IHostSelection"), 1);
    EXPECT_EQ(selection->AddRef(), 2u);
    EXPECT_EQ(host_->accounting().References("IHostSelection"), 2);
    EXPECT_EQ(selection->Release(), 1u);
    ComPtr<ISupportErrorInfo> support = selection.As<ISupportErrorInfo>();
    ASSERT_TRUE(support);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(__uuidof(IHostSelection)), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(__uuidof(IHostShape)), S_FALSE);
    support.reset();
    selection.reset();
    EXPECT_EQ(host_->accounting().References("IHostSelection"), 0);
    EXPECT_EQ(host_->accounting().References("IHostApplication"), 1);  // app_
    app_.reset();
    EXPECT_TRUE(host_->accounting().OutstandingReferences().empty());
}

TEST_F(HostComTest, HostObjectAnswersEveryConnectionInterface) {
    IUnknown* host_object = host_->HostObject();
    const std::pair<const char*, IID> interfaces[] = {
        {"IHostErrorInfo", __uuidof(IHostErrorInfo)},
        {"IM2AddOnManager", __uuidof(IM2AddOnManager)},
        {"IM2GISDatabase", __uuidof(IM2GISDatabase)},
        {"IM2MapProject", __uuidof(IM2MapProject)},
        {"IM2MapObjects", __uuidof(IM2MapObjects)},
        {"IM2MapView", __uuidof(IM2MapView)},
        {"IM2GeometryLib", __uuidof(IM2GeometryLib)},
        {"IM2Preferences", __uuidof(IM2Preferences)},
    };
    ComPtr<IUnknown> identity;
    ASSERT_EQ(host_object->QueryInterface(IID_IUnknown, identity.put_void()), S_OK);
    for (const auto& [name, iid] : interfaces) {
        ComPtr<IUnknown> part;
        ASSERT_EQ(host_object->QueryInterface(iid, part.put_void()), S_OK) << name;
        EXPECT_EQ(host_->accounting().References(name), 1) << name;
        ComPtr<IUnknown> same;
        ASSERT_EQ(part->QueryInterface(IID_IUnknown, same.put_void()), S_OK) << name;
        EXPECT_EQ(same.get(), identity.get()) << name << ": one COM identity";
    }
    ComPtr<IM2AddOnManager> manager;
    ASSERT_EQ(host_object->QueryInterface(__uuidof(IM2AddOnManager), manager.put_void()), S_OK);
    ComPtr<IHostApplication> app = manager.As<IHostApplication>();
    EXPECT_TRUE(app) << "the manager answers for the application object";
    HWND main = nullptr;
    ASSERT_EQ(manager->GetMainWindowHandle(&main), S_OK);
    EXPECT_TRUE(IsWindow(main));
    ComPtr<IUnknown> missing;
    EXPECT_EQ(host_object->QueryInterface(__uuidof(IHostShape), missing.put_void()), E_NOINTERFACE);
}

TEST_F(HostComTest, SdkDescriptionsIdentifierListsAndLastError) {
    ComPtr<IM2GISDatabase> database;
    ASSERT_EQ(host_->HostObject()->QueryInterface(__uuidof(IM2GISDatabase), database.put_void()),
              S_OK);
    ComPtr<IM2MapProject> project;
    ASSERT_EQ(host_->HostObject()->QueryInterface(__uuidof(IM2MapProject), project.put_void()),
              S_OK);
    ComPtr<IHostErrorInfo> errors;
    ASSERT_EQ(host_->HostObject()->QueryInterface(__uuidof(IHostErrorInfo), errors.put_void()),
              S_OK);

    ComPtr<IM2IDsList> maps;
    ASSERT_EQ(project->GetMapIds(maps.put()), S_OK);
    LONG count = 0;
    ASSERT_EQ(maps->GetCount(&count), S_OK);
    ASSERT_EQ(count, 1);
    M2Id map_id;
    ASSERT_EQ(maps->GetItem(0, &map_id), S_OK);
    EXPECT_EQ(ReadShortStringWide(map_id), u"M1");

    M2DescRecord record;
    std::memset(&record, 0xCC, sizeof record);
    ASSERT_EQ(database->GetMapInfo(&map_id, &record), S_OK);
    EXPECT_EQ(ReadShortStringWide(record.Id), u"M1");
    EXPECT_EQ(ReadShortStringWide(record.Name), u"Карта");
    EXPECT_EQ(record.Reserved[0], 0) << "the reserved bytes are cleared";

    ComPtr<IM2IDsList> layers;
    ASSERT_EQ(project->GetLayerIds(&map_id, layers.put()), S_OK);
    M2Id layer_id;
    ASSERT_EQ(layers->GetItem(0, &layer_id), S_OK);
    ASSERT_EQ(database->GetLayerInfo(&layer_id, &record), S_OK);
    EXPECT_EQ(ReadShortStringWide(record.Name), u"Рельеф");
    ComPtr<IM2IDsList> styles;
    ASSERT_EQ(database->GetStyleIds(&layer_id, styles.put()), S_OK);
    ASSERT_EQ(styles->GetCount(&count), S_OK);
    EXPECT_EQ(count, 3);
    M2Id style_id;
    ASSERT_EQ(styles->GetItem(1, &style_id), S_OK);
    EXPECT_EQ(ReadShortStringWide(style_id), u"ST");
    ComPtr<IHostM2Style> style;
    ASSERT_EQ(database->GetStyle(&style_id, style.put()), S_OK);
    M2StyleName name;
    ASSERT_EQ(style->GetName(&name), S_OK);
    EXPECT_EQ(ReadShortStringWide(name), u"Подпись");

    const M2Id unknown = MakeShortString<15>(u"L7");
    EXPECT_EQ(database->GetLayerInfo(&unknown, &record), kHostNotFound);
    M2Text255 a, b;
    ASSERT_EQ(errors->GetLastError(&a, &b), S_OK);
    EXPECT_EQ(ReadShortStringWide(a), u"IM2GISDatabase.GetLayerInfo");
    EXPECT_EQ(ReadShortStringWide(b), u"Слой «L7» не найден");
    EXPECT_EQ(styles->GetItem(3, &style_id), DISP_E_BADINDEX);
    ASSERT_EQ(errors->GetLastError(&a, &b), S_OK);
    EXPECT_EQ(ReadShortStringWide(b), u"Индекс 3 вне списка идентификаторов (в списке: 3)");

    const M2Text255 source = MakeShortString<255>(u"KAVREL");
    const M2Text255 message = MakeShortString<255>(u"Сбой");
    ASSERT_EQ(errors->SetError(&source, &message), S_OK);
    ASSERT_EQ(host_->reported_errors().size(), 1u);
    EXPECT_EQ(host_->reported_errors()[0].source, u"KAVREL");
    EXPECT_EQ(host_->reported_errors()[0].message, u"Сбой");
}

TEST_F(HostComTest, TaskPanelIsOneObjectPerKeyWithARealWindow) {
    ComPtr<IHostMainWindow> main;
    ASSERT_EQ(app_->GetMainWindow(main.put()), S_OK);
    Bstr key(u"KAVREL"), caption(u"Отметки"), other(u"OTHER");
    ComPtr<IHostTaskPanel> first, second, third;
    ASSERT_EQ(main->GetTaskPanel(key.get(), caption.get(), first.put()), S_OK);
    ASSERT_EQ(main->GetTaskPanel(key.get(), caption.get(), second.put()), S_OK);
    ASSERT_EQ(main->GetTaskPanel(other.get(), caption.get(), third.put()), S_OK);
    EXPECT_EQ(first.get(), second.get());
    EXPECT_NE(first.get(), third.get());
    LONG handle = 0;
    ASSERT_EQ(first->GetWindowHandle(&handle), S_OK);
    HWND window = WindowFromLong(handle);
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(GetParent(window), host_->main_window());
    wchar_t text[32] = {};
    GetWindowTextW(window, text, 32);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text)), u"Отметки");
    EXPECT_EQ(first->Show(), S_OK);
    EXPECT_EQ(host_->task_panel_shows, 1);
    EXPECT_EQ(host_->accounting().References("IHostTaskPanel"), 3);
}

TEST_F(HostComTest, ArmedFaultFailsTheChosenCallWithItsDescription) {
    host_->accounting().ArmFault("IHostMapObjects.CommitChanges", 2, u"Нет доступа к базе");
    ComPtr<IHostMapObjects> objects = MapObjects();
    EXPECT_EQ(objects->CommitChanges(), S_OK);
    EXPECT_EQ(objects->CommitChanges(), kHostInjectedFault);
    EXPECT_EQ(ErrorDescription(), u"Нет доступа к базе");
    EXPECT_EQ(objects->CommitChanges(), S_OK);
    EXPECT_EQ(host_->accounting().CallCount("IHostMapObjects.CommitChanges"), 3);

    ComPtr<IM2AddOnManager> manager;
    host_->HostObject()->QueryInterface(__uuidof(IM2AddOnManager), manager.put_void());
    host_->accounting().ArmFault("*", 1, u"Сбой хоста");
    HWND window = nullptr;
    EXPECT_EQ(manager->GetMainWindowHandle(&window), kHostInjectedFault);
    EXPECT_EQ(host_->last_sdk_error().source, u"IM2AddOnManager.GetMainWindowHandle");
    EXPECT_EQ(host_->last_sdk_error().message, u"Сбой хоста");
    EXPECT_EQ(manager->GetMainWindowHandle(&window), S_OK) << "the fault is used up";
}

// Calls through raw vtable slots, as a caller compiled from another
// declaration of the interfaces would.
template <typename Fn>
Fn Slot(void* object, int slot) {
    void** vtable = *static_cast<void***>(object);
    return reinterpret_cast<Fn>(vtable[slot]);
}

TEST_F(HostComTest, OperationsSitInTheirSlots) {
    // Automation: position p is slot 6 + p.
    ComPtr<IHostSelection> selection;
    ASSERT_EQ(Slot<HRESULT(__stdcall*)(void*, IHostSelection**)>(app_.get(), 6 + 2)(
                  app_.get(), selection.put()),
              S_OK);
    LONG count = 0;
    ASSERT_EQ(
        Slot<HRESULT(__stdcall*)(void*, LONG*)>(selection.get(), 6 + 1)(selection.get(), &count),
        S_OK);
    EXPECT_EQ(count, 1);
    Bstr id;
    ASSERT_EQ(Slot<HRESULT(__stdcall*)(void*, LONG, BSTR*)>(selection.get(), 6 + 9)(selection.get(),
                                                                                    0, id.put()),
              S_OK);
    EXPECT_EQ(id.str(), u"O1");
    ComPtr<IHostDatabase> database;
    app_->GetDatabase(database.put());
    ComPtr<IHostMapObjects> objects;
    ASSERT_EQ(Slot<HRESULT(__stdcall*)(void*, IHostMapObjects**)>(database.get(), 6 + 19)(
                  database.get(), objects.put()),
              S_OK);
    ComPtr<IHostQueryCursor> cursor;
    const Variant layer = Variant::Text(u"L1");
    ASSERT_EQ((Slot<HRESULT(__stdcall*)(void*, VARIANT, double, double, double, double, LONG,
                                        IHostQueryCursor**)>(objects.get(), 6 + 12)(
                  objects.get(), layer.get(), 99, 199, 101, 201, 0, cursor.put())),
              S_OK);
    VARIANT_BOOL eof = VARIANT_TRUE;
    ASSERT_EQ(
        Slot<HRESULT(__stdcall*)(void*, VARIANT_BOOL*)>(cursor.get(), 6 + 3)(cursor.get(), &eof),
        S_OK);
    EXPECT_EQ(eof, VARIANT_FALSE);
    EXPECT_EQ(Slot<HRESULT(__stdcall*)(void*)>(objects.get(), 6 + 7)(objects.get()), E_NOTIMPL)
        << "a placeholder slot";

    // SDK: position p is slot 2 + p.
    ComPtr<IM2GISDatabase> sdk_database;
    host_->HostObject()->QueryInterface(__uuidof(IM2GISDatabase), sdk_database.put_void());
    const M2Id map_id = MakeShortString<15>(u"M1");
    M2DescRecord record{};
    ASSERT_EQ((Slot<HRESULT(__stdcall*)(void*, const M2Id*, M2DescRecord*)>(
                  sdk_database.get(), 2 + 6)(sdk_database.get(), &map_id, &record)),
              S_OK);
    EXPECT_EQ(ReadShortStringWide(record.Name), u"Карта");
    ComPtr<IM2IDsList> list;
    ComPtr<IM2MapProject> project;
    host_->HostObject()->QueryInterface(__uuidof(IM2MapProject), project.put_void());
    ASSERT_EQ((Slot<HRESULT(__stdcall*)(void*, IM2IDsList**)>(project.get(), 2 + 8)(project.get(),
                                                                                    list.put())),
              S_OK);
    LONG n = 0;
    ASSERT_EQ((Slot<HRESULT(__stdcall*)(void*, LONG*)>(list.get(), 2 + 2)(list.get(), &n)), S_OK);
    EXPECT_EQ(n, 1);
}

}  // namespace
}  // namespace kavrel::host

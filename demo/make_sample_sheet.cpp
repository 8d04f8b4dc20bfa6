// Writes the demo's sample sheet (a fragment of a 1:500 topographic plan), the
// scripted session that corrects its elevation marks, and the catalogue of
// surveyed heights the session imports:
//   make_sample_sheet SHEET.json SESSION.json SURVEY.txt
// The output depends on nothing but this file (its own random sequence), so
// the committed files can be regenerated and compared byte for byte.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace {

using nlohmann::ordered_json;

// A fixed linear congruential sequence: the same sheet on every machine.
class Sequence {
  public:
    explicit Sequence(std::uint64_t seed = 20240917) : state_(seed) {}
    double Next() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state_ >> 11) / 9007199254740992.0;
    }
    double Between(double low, double high) { return low + (high - low) * Next(); }

  private:
    std::uint64_t state_;
};

constexpr double kPi = 3.14159265358979323846;
// Sheet extent: x northward 0..60, y eastward 0..84 (metres on the ground).
constexpr double kNorth = 60.0;
constexpr double kEast = 84.0;

// Rounds to a step of 1/n (n a power of ten), dividing so that the result is
// the double nearest the decimal value and prints without noise.
double Round(double value, double step) {
    const double n = std::round(1 / step);
    return std::round(value * n) / n;
}

double Ground(double x, double y) {
    return 148.0 + 0.05 * y + 1.6 * std::sin(y / 14.0 + 0.4) + 1.2 * std::cos(x / 10.0);
}

// Centre line of the two-track railway: x as a function of y.
double TrackCentre(double y) {
    return 34.0 + 0.12 * (y - 42.0) + 2.0 * std::sin(y / 25.0);
}
constexpr double kTrackOffsets[] = {-2.05, 2.05};  // the two tracks' centres
constexpr double kHalfGauge = 0.76;

ordered_json Vertex(double x, double y) {
    return ordered_json::array({Round(x, 1e-3), Round(y, 1e-3), 0});
}

std::string Id(const char* prefix, int number, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%s%0*d", prefix, width, number);
    return text;
}

// A label baseline of length 0.5 starting at distance r from the anchor in
// direction d (degrees from east towards north) and running at angle a.
ordered_json Baseline(double x, double y, double r, double d, double a) {
    const double sx = x + r * std::sin(d * kPi / 180);
    const double sy = y + r * std::cos(d * kPi / 180);
    return ordered_json::array({Vertex(sx, sy), Vertex(sx + 0.5 * std::sin(a * kPi / 180),
                                                       sy + 0.5 * std::cos(a * kPi / 180))});
}

// One row of the survey catalogue: a point as the surveyor measured it.
struct SurveyPoint {
    int number;
    double x, y, height;
};

struct Sheet {
    ordered_json objects = ordered_json::array();
    std::vector<SurveyPoint> survey;      // every plain mark, with its true height
    std::vector<std::string> marks;       // plain marks, well-formed
    std::vector<std::string> bare_marks;  // points whose label was lost
    std::vector<std::string> low_marks;   // heights entered 0.5 too low
    std::vector<std::string> high_marks;  // heights entered 0.3 too high
    std::vector<std::string> west_block;  // marks west of y = 9
    std::vector<std::string> crowded;     // marks whose label starts on the anchor
    std::vector<std::string> rail_marks;
};

void AddRailway(Sheet& sheet) {
    int rail = 0;
    for (double track : kTrackOffsets) {
        for (double side : {-kHalfGauge, kHalfGauge}) {
            ordered_json part = ordered_json::array();
            for (double y = 0.0; y <= kEast + 1e-9; y += 2.0) {
                part.push_back(Vertex(TrackCentre(y) + track + side, y));
            }
            sheet.objects.push_back({{"id", Id("RL", ++rail, 1)},
                                     {"layer", "L2"},
                                     {"shapes", {{{"style", "SRL"}, {"parts", {part}}}}},
                                     {"values", {{"B.TYPE", "рельс"}}}});
        }
    }
}

struct Building {
    double x, y, north, east;
    const char* name;
};
constexpr Building kBuildings[] = {
    {6.0, 9.0, 9.0, 14.0, "ж 2"},   {6.0, 33.0, 7.0, 11.0, "ж 1"},    {8.0, 62.0, 11.0, 9.0, "н 1"},
    {49.0, 7.0, 7.0, 9.0, "Гараж"}, {48.0, 28.0, 8.0, 16.0, "Склад"}, {49.0, 68.0, 7.0, 10.0, "кн"},
};

bool InsideBuilding(double x, double y, double margin) {
    for (const Building& b : kBuildings) {
        if (x > b.x - margin && x < b.x + b.north + margin && y > b.y - margin &&
            y < b.y + b.east + margin) {
            return true;
        }
    }
    return false;
}

void AddSituation(Sheet& sheet) {
    int number = 0;
    for (const Building& b : kBuildings) {
        const ordered_json outline =
            ordered_json::array({Vertex(b.x, b.y), Vertex(b.x + b.north, b.y),
                                 Vertex(b.x + b.north, b.y + b.east), Vertex(b.x, b.y + b.east)});
        const double cx = b.x + b.north / 2 - 0.2;
        const double cy = b.y + b.east / 2 - 0.5;
        sheet.objects.push_back(
            {{"id", Id("B", ++number, 2)},
             {"layer", "L2"},
             {"shapes",
              {{{"style", "SB"}, {"parts", {outline}}},
               {{"style", "SBT"}, {"parts", {{Vertex(cx, cy), Vertex(cx, cy + 1.0)}}}}}},
             {"values", {{"B.NAME", b.name}, {"B.TYPE", "здание"}}}});
    }
    // A street along the south edge and a lane along the east edge.
    ordered_json street = ordered_json::array();
    for (double y = 0.0; y <= kEast + 1e-9; y += 4.0) {
        street.push_back(Vertex(2.0 + 0.3 * std::sin(y / 12.0), y));
    }
    ordered_json lane =
        ordered_json::array({Vertex(2.0, 80.0), Vertex(20.0, 80.5), Vertex(60.0, 81.0)});
    sheet.objects.push_back({{"id", "D01"},
                             {"layer", "L2"},
                             {"shapes", {{{"style", "SD"}, {"parts", {street}}}}},
                             {"values", {{"B.NAME", "ул. Вокзальная"}, {"B.TYPE", "улица"}}}});
    sheet.objects.push_back({{"id", "D02"},
                             {"layer", "L2"},
                             {"shapes", {{{"style", "SD"}, {"parts", {lane}}}}},
                             {"values", {{"B.NAME", "проезд"}, {"B.TYPE", "проезд"}}}});
}

// Contour lines every metre traced on a grid (marching squares, one segment
// per cell, joined as drawn): the ground under the marks.
void AddContours(Sheet& sheet) {
    constexpr double kCell = 1.0;
    int number = 0;
    for (double level = 146.0; level <= 156.0; level += 1.0) {
        ordered_json parts = ordered_json::array();
        for (double x = 0.0; x < kNorth - 1e-9; x += kCell) {
            for (double y = 0.0; y < kEast - 1e-9; y += kCell) {
                const double corners[4][2] = {
                    {x, y}, {x, y + kCell}, {x + kCell, y + kCell}, {x + kCell, y}};
                std::vector<std::pair<double, double>> crossings;
                for (int e = 0; e < 4; ++e) {
                    const double* a = corners[e];
                    const double* b = corners[(e + 1) % 4];
                    const double ha = Ground(a[0], a[1]) - level;
                    const double hb = Ground(b[0], b[1]) - level;
                    if ((ha < 0) != (hb < 0)) {
                        const double t = ha / (ha - hb);
                        crossings.emplace_back(a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1]));
                    }
                }
                if (crossings.size() == 2) {
                    parts.push_back({Vertex(crossings[0].first, crossings[0].second),
                                     Vertex(crossings[1].first, crossings[1].second)});
                }
            }
        }
        if (!parts.empty()) {
            sheet.objects.push_back({{"id", Id("C", ++number, 2)},
                                     {"layer", "L1"},
                                     {"shapes", {{{"style", "SC"}, {"parts", parts}}}},
                                     {"values", {{"A.H", level}, {"A.N", "горизонталь"}}}});
        }
    }
}

double NearestRailDistance(double x, double y) {
    double best = 1e9;
    for (double track : kTrackOffsets) {
        best = std::min(best, std::fabs(x - TrackCentre(y) - track));
    }
    return best;
}

void AddMarks(Sheet& sheet, Sequence& random) {
    // A sequence of its own: the sheet stays what it was without a survey.
    Sequence field_noise(7031);
    int number = 0;
    for (double gx = 2.5; gx < kNorth - 1.5; gx += 2.9) {
        for (double gy = 2.0; gy < kEast - 2.0; gy += 2.8) {
            const double x = gx + random.Between(-0.8, 0.8);
            const double y = gy + random.Between(-0.8, 0.8);
            if (NearestRailDistance(x, y) < 4.0 || InsideBuilding(x, y, 0.8) ||
                std::fabs(x - 2.0) < 1.2 || std::fabs(y - 80.5) < 1.2) {
                continue;
            }
            const std::string id = Id("H", ++number, 3);
            double h = Round(Ground(x, y), 0.01);
            // Measured again in the field: the same point within 1,5 cm.
            const double sx = Round(x + field_noise.Between(-0.015, 0.015), 1e-3);
            const double sy = Round(y + field_noise.Between(-0.015, 0.015), 1e-3);
            sheet.survey.push_back({number, sx, sy, h});
            const double pick = random.Next();
            ordered_json shapes = {{{"style", "SP"}, {"flag", true}, {"parts", {{Vertex(x, y)}}}}};
            const bool bare = number % 53 == 0;
            if (bare) {
                sheet.bare_marks.push_back(id);
            } else {
                // Digitised in a hurry: labels at any angle, some right on the point.
                const bool on_anchor = pick < 0.12;
                const double r = on_anchor ? 0.05 : random.Between(0.15, 0.55);
                const double d = random.Between(-180, 180);
                const double a = Round(random.Between(-85, 85), 1.0);
                shapes.push_back({{"style", "ST"}, {"parts", {Baseline(x, y, r, d, a)}}});
                if (on_anchor) {
                    sheet.crowded.push_back(id);
                }
            }
            if (!bare && pick > 0.93) {
                h -= 0.5;
                sheet.low_marks.push_back(id);
            } else if (!bare && pick > 0.88) {
                h += 0.3;
                sheet.high_marks.push_back(id);
            }
            if (!bare && y < 20.0) {
                sheet.west_block.push_back(id);
            }
            sheet.marks.push_back(id);
            sheet.objects.push_back({{"id", id},
                                     {"layer", "L1"},
                                     {"shapes", shapes},
                                     {"values", {{"A.H", Round(h, 0.01)}, {"A.N", "отм."}}}});
        }
    }
}

void AddRailMarks(Sheet& sheet, Sequence& random) {
    int number = 0;
    for (double y = 3.0; y < kEast - 2.0; y += 3.9) {
        for (double track : kTrackOffsets) {
            const double side = random.Next() < 0.5 ? -kHalfGauge : kHalfGauge;
            // Surveyed beside the rail head, off by up to 0.6 across the rail.
            const double off = random.Between(0.2, 0.6) * (random.Next() < 0.5 ? -1 : 1);
            const double yy = y + random.Between(-0.8, 0.8);
            const double x = TrackCentre(yy) + track + side + off;
            const double h = Round(Ground(x, yy) + 0.85, 0.01);
            const std::string id = Id("R", ++number, 2);
            const double a = Round(random.Between(-60, 60), 1.0);
            sheet.objects.push_back(
                {{"id", id},
                 {"layer", "L1"},
                 {"shapes",
                  {{{"style", "SR"},
                    {"flag", true},
                    {"parts", {{Vertex(x, yy), Vertex(x + 0.2, yy)}}}},
                   {{"style", "STR"},
                    {"parts", {Baseline(x, yy, 0.35, random.Between(0, 360), a)}}}}},
                 {"values", {{"A.H", h}, {"A.N", "г.р."}}}});
            sheet.rail_marks.push_back(id);
        }
        if (number >= 40) {
            break;
        }
    }
}

ordered_json Project(const Sheet& sheet) {
    ordered_json project;
    project["maps"] = {
        {{"id", "M1"}, {"name", "План М 1:500, лист 12-Б"}, {"layers", {"L1", "L2"}}}};
    project["layers"] = {
        {{"id", "L1"},
         {"name", "Рельеф"},
         {"tables", {{{"name", "A"}, {"fields", {"H", "N"}}}}},
         {"styles",
          {{{"id", "SP"}, {"name", "Высотная отметка"}, {"kind", "point"}},
           {{"id", "ST"}, {"name", "Подпись отметки"}, {"kind", "text"}, {"text", "{A.H}"}},
           {{"id", "SR"}, {"name", "Отметка головки рельса"}, {"kind", "line"}},
           {{"id", "STR"}, {"name", "Подпись отметки рельса"}, {"kind", "text"}, {"text", "{A.H}"}},
           {{"id", "SC"}, {"name", "Горизонталь"}, {"kind", "line"}}}}},
        {{"id", "L2"},
         {"name", "Ситуация"},
         {"tables", {{{"name", "B"}, {"fields", {"NAME", "TYPE"}}}}},
         {"styles",
          {{{"id", "SRL"}, {"name", "Рельс"}, {"kind", "line"}},
           {{"id", "SB"}, {"name", "Здание"}, {"kind", "polygon"}},
           {{"id", "SBT"}, {"name", "Подпись здания"}, {"kind", "text"}, {"text", "{B.NAME}"}},
           {{"id", "SD"}, {"name", "Край проезжей части"}, {"kind", "line"}}}}}};
    project["objects"] = sheet.objects;
    project["selection"] = ordered_json::array();
    project["preferences"] = ordered_json::object();
    return project;
}

ordered_json Step(const char* what, const char* note = nullptr) {
    ordered_json step = {{"do", what}};
    if (note) {
        step["note"] = note;
    }
    return step;
}
ordered_json Select(const std::vector<std::string>& ids, const char* note) {
    ordered_json step = Step("select", note);
    step["ids"] = ids;
    return step;
}
// A step on one control of a form.
ordered_json OnControl(const char* what, const char* form, const char* control, const char* note) {
    ordered_json step = Step(what, note);
    step["form"] = form;
    step["control"] = control;
    return step;
}
ordered_json Click(const char* form, const char* control, const char* note) {
    return OnControl("click", form, control, note);
}
ordered_json Check(const char* form, const char* control, bool checked, const char* note) {
    ordered_json step = OnControl("check", form, control, note);
    step["checked"] = checked;
    return step;
}
ordered_json Type(const char* control, const char* text) {
    return {{"do", "set_text"}, {"form", "TfKavrelEditor"}, {"control", control}, {"text", text}};
}
// In the settings dialog: a "Выбрать..." button, then the style in the picker's tree.
ordered_json ChooseStyle(const char* button, const char* layer, const char* style) {
    ordered_json step = Click("TfKavrelSetup", button, nullptr);
    step["then"] = {{{"do", "select_node"},
                     {"form", "TfSelectStyle"},
                     {"control", "trv1"},
                     {"path", {"План М 1:500, лист 12-Б", layer, style}}},
                    Click("TfSelectStyle", "Button1", nullptr)};
    return step;
}

ordered_json Session(const Sheet& sheet) {
    std::vector<std::string> all_marks = sheet.marks;
    ordered_json steps = ordered_json::array();
    steps.push_back(Step("register", "Регистрация надстройки в хосте"));
    steps.push_back(Step("connect", "Подключение: сведения, команды, значки"));
    ordered_json open = Step("command", "Команда «Коррекция высотных отметок»: панель создана");
    open["id"] = 2;
    steps.push_back(open);
    ordered_json show = Step("command", "Та же команда ещё раз: панель показана");
    show["id"] = 2;
    steps.push_back(show);

    ordered_json setup =
        Click("TfKavrelEditor", "Button2", "Настройка через диалог: стили и поле высоты");
    setup["then"] = {
        ChooseStyle("Button3", "Рельеф", "Высотная отметка"),
        ChooseStyle("Button4", "Рельеф", "Подпись отметки"),
        {{"do", "choose"}, {"form", "TfKavrelSetup"}, {"control", "cbKavrelField"}, {"index", 0}},
        ChooseStyle("Button5", "Рельеф", "Отметка головки рельса"),
        ChooseStyle("Button6", "Рельеф", "Подпись отметки рельса"),
        ChooseStyle("Button7", "Ситуация", "Рельс"),
        Click("TfKavrelSetup", "Button1", nullptr)};
    steps.push_back(setup);

    steps.push_back(Select(all_marks, "Все высотные отметки листа"));
    steps.push_back(Click("TfKavrelEditor", "sb0",
                          "Подписи горизонтально (0°), потерянные подписи восстановлены"));
    steps.push_back(Select(sheet.crowded, "Отметки, подпись которых лежит на точке"));
    steps.push_back(Type("eMoveValue", "0,3"));
    steps.push_back(Click("TfKavrelEditor", "sbMoveUR", "Сдвиг подписей вверх и вправо на 0,3"));
    steps.push_back(Select(sheet.west_block, "Западный блок отметок у откоса"));
    steps.push_back(Type("eRotAngle", "20"));
    steps.push_back(
        Click("TfKavrelEditor", "sbRotUp", "Поворот подписей на 20° против часовой стрелки"));
    steps.push_back(Click("TfKavrelEditor", "sb20", "Западный блок: подписи под углом 20°"));
    steps.push_back(Select(sheet.low_marks, "Отметки, записанные на 0,5 м ниже"));
    steps.push_back(Type("ePlusV", "0,5"));
    steps.push_back(Click("TfKavrelEditor", "sbPlusE", "Высоты +0,5 (введённый шаг)"));
    steps.push_back(Click("TfKavrelEditor", "SpeedButton9", "Ошибочный щелчок: высоты −0,5"));
    steps.push_back(Click("TfKavrelEditor", "btnUndo", "«Отменить»: высоты до ошибочного щелчка"));
    steps.push_back(Check("TfKavrelEditor", "cbRelsy", true, "Режим «Рельсы»"));
    steps.push_back(Select(sheet.rail_marks, "Все отметки головки рельса"));
    steps.push_back(Click("TfKavrelEditor", "sbRotDn",
                          "Подписи рельсовых отметок повёрнуты на 20° по часовой стрелке"));
    steps.push_back(Type("eRRotAngle", "15"));
    steps.push_back(Click("TfKavrelEditor", "sbRRotUp", "Поворот рельсовых штрихов на 15°"));
    steps.push_back(
        Click("TfKavrelEditor", "SpeedButton1", "Авто отметка: отметки привязаны к рельсам"));
    steps.push_back(Click("TfKavrelEditor", "btnPlaceLabels",
                          "Расставить подписи рельсовых отметок: мимо рельсов и штрихов"));

    // The surveyor's catalogue corrects the heights entered too high and lists
    // the rows the import could not use.
    ordered_json import = Step("command", "Команда «Импорт высотных отметок из текста»");
    import["id"] = 1;
    steps.push_back(import);
    ordered_json paste =
        OnControl("set_text", "TMainForm", "mData", "Каталог высот съёмки (demo/survey.txt)");
    paste["file"] = "survey.txt";
    steps.push_back(paste);
    steps.push_back(
        Check("TMainForm", "cbNoFirstLine", true, "Первая строка каталога — заголовок"));
    for (const char* list : {"cbLayer", "cbPointStyle", "cbZField"}) {
        // План\Рельеф, its style "Высотная отметка", the field A.H: each the first.
        steps.push_back({{"do", "choose"}, {"form", "TMainForm"}, {"control", list}, {"index", 0}});
    }
    ordered_json run = Click("TMainForm", "Button2", "«Импорт»: высоты по каталогу, ответ «Да»");
    run["then"] = {{{"do", "answer"}, {"button", "yes"}}};
    steps.push_back(run);
    steps.push_back(
        OnControl("read_text", "TfImportResult", "mResult", "Окно «Результат импорта»"));
    steps.push_back(Check("TfKavrelEditor", "cbRelsy", false, "Режим «Рельсы» снят"));
    steps.push_back(Select(all_marks, "Снова все высотные отметки листа"));
    steps.push_back(Click("TfKavrelEditor", "btnPlaceLabels",
                          "Расставить подписи: каждая там, где ничего не перекрывает"));
    steps.push_back(Select({}, "Выделение снято"));
    return {{"decimal", ","}, {"steps", steps}};
}

std::string Decimal(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string out = text;
    for (char& c : out) {
        if (c == '.') {
            c = ',';
        }
    }
    return out;
}

// The catalogue as a surveyor sends it: a header, then number, X, Y and the
// height with a decimal comma, separated by blanks. Three points of the
// survey lie where the plan has no mark, and one row has a letter O typed
// for a zero.
std::string Survey(const Sheet& sheet) {
    constexpr SurveyPoint kNotOnThePlan[] = {
        {901, 10.5, 16.0, 149.12}, {902, 52.5, 36.0, 150.87}, {903, 12.0, 66.0, 151.46}};
    std::string text = "Каталог высот, лист 12-Б. N X Y H\r\n";
    const auto row = [&](const SurveyPoint& p) {
        text += std::to_string(p.number) + " " + Decimal(p.x, 3) + " " + Decimal(p.y, 3) + " " +
                Decimal(p.height, 2) + "\r\n";
    };
    for (std::size_t i = 0; i < sheet.survey.size(); ++i) {
        row(sheet.survey[i]);
        if (i == 40 || i == 120 || i == 250) {
            row(kNotOnThePlan[i == 40 ? 0 : i == 120 ? 1 : 2]);
        }
        if (i == 200) {
            text += "977 44,1O5 61,930 152,37\r\n";
        }
    }
    return text;
}

// One member per line at the top, one element per line in the arrays below
// it: a diff of a regenerated file shows which object changed.
bool Write(const char* path, const ordered_json& value) {
    std::ofstream file(path, std::ios::binary);
    file << "{";
    bool first = true;
    for (const auto& [key, member] : value.items()) {
        file << (first ? "\n" : ",\n") << ordered_json(key).dump() << ": ";
        first = false;
        if (member.is_array() && !member.empty()) {
            file << "[";
            for (std::size_t i = 0; i < member.size(); ++i) {
                file << (i == 0 ? "\n  " : ",\n  ") << member[i].dump();
            }
            file << "\n]";
        } else {
            file << member.dump();
        }
    }
    file << "\n}\n";
    return static_cast<bool>(file);
}

}  // namespace

bool WriteText(const char* path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    return static_cast<bool>(file);
}

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: make_sample_sheet SHEET.json SESSION.json SURVEY.txt\n";
        return 2;
    }
    Sequence random;
    Sheet sheet;
    AddContours(sheet);
    AddSituation(sheet);
    AddRailway(sheet);
    AddMarks(sheet, random);
    AddRailMarks(sheet, random);
    if (!Write(argv[1], Project(sheet)) || !Write(argv[2], Session(sheet)) ||
        !WriteText(argv[3], Survey(sheet))) {
        std::cerr << "make_sample_sheet: cannot write the output\n";
        return 1;
    }
    std::cout << sheet.marks.size() << " marks, " << sheet.rail_marks.size() << " rail marks, "
              << sheet.objects.size() << " objects\n";
    return 0;
}

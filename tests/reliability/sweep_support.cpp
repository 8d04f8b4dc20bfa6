#include "tests/reliability/sweep_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>

#include "base/utf8.h"
#include "base/wide.h"

namespace kavrel::test {
namespace {

long actions = 0;
long fault_points = 0;
long inputs = 0;
long sessions = 0;

// Prints the totals once every test has run, so CI logs show what was swept.
class TallyPrinter : public ::testing::Environment {
  public:
    void TearDown() override {
        std::cout << "[reliability] actions swept: " << actions
                  << ", fault points swept: " << fault_points
                  << ", hostile inputs tried: " << inputs
                  << ", sessions checked for clean unload: " << sessions << std::endl;
    }
};

[[maybe_unused]] ::testing::Environment* const printer =
    ::testing::AddGlobalTestEnvironment(new TallyPrinter);

std::string Number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%a", value);
    return text;
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int ChildWindowsOf(HWND root) {
    int count = 0;
    EnumChildWindows(root, CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

// A top-level window and everything below it.
BOOL CALLBACK CountTreeOfWindow(HWND window, LPARAM count) {
    *reinterpret_cast<int*>(count) += 1 + ChildWindowsOf(window);
    return TRUE;
}

}  // namespace

std::string CommittedSnapshot(const host::MapModel& model) {
    std::string out;
    for (const auto& object : model.objects()) {
        const host::ObjectState& state = object->CommittedState();
        out += WideToUtf8(object->id) + ":";
        for (const host::Shape& shape : state.shapes) {
            out += " [" + WideToUtf8(shape.style) + (shape.flag ? "*" : "");
            for (const host::ContourPart& part : shape.parts) {
                out += " (";
                for (const host::Vertex& v : part.vertices) {
                    out += Number(v.x) + "," + Number(v.y) + "," + Number(v.c) + ";";
                }
                out += ")";
            }
            out += "]";
        }
        for (const auto& [field, value] : state.values) {
            out += " " + WideToUtf8(field) + "=";
            if (const double* number = std::get_if<double>(&value)) {
                out += Number(*number);
            } else {
                out += "'" + WideToUtf8(std::get<std::u16string>(value)) + "'";
            }
        }
        out += "\n";
    }
    return out;
}

std::u16string FaultText(long k) {
    std::u16string text = u"Отказ хоста в вызове ";
    for (char ch : std::to_string(k)) {
        text.push_back(static_cast<char16_t>(ch));
    }
    return text;
}

bool ShowsHostError(const std::u16string& shown, const std::u16string& description) {
    if (shown == description) {
        return true;
    }
    const std::u16string prefix = description + u". [";
    return shown.size() > prefix.size() && shown.compare(0, prefix.size(), prefix) == 0 &&
           shown.back() == u']';
}

bool ShowsHostError(const std::wstring& shown, const std::u16string& description) {
    return ShowsHostError(FromWindowsString(shown), description);
}

std::string Joined(const std::vector<std::wstring>& texts) {
    std::string out;
    for (const std::wstring& text : texts) {
        if (!out.empty()) {
            out += " | ";
        }
        out += WideToUtf8(text);
    }
    return out;
}

int ChildWindows(HWND root) {
    int count = 0;
    if (root) {
        EnumChildWindows(root, CountWindow, reinterpret_cast<LPARAM>(&count));
    }
    return count;
}

int ThreadWindowCount() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountTreeOfWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

void Tally::Actions(long n) {
    actions += n;
}
void Tally::FaultPoints(long n) {
    fault_points += n;
}
void Tally::Inputs(long n) {
    inputs += n;
}
void Tally::Sessions(long n) {
    sessions += n;
}

}  // namespace kavrel::test

// kavrel_bench: times one click of each editor action on 1,000, 10,000 and
// 100,000 selected objects in the stand-in host, with the real kavrel.dll,
// and writes the tables to a file and into the performance document.
//
//   kavrel_bench [--sizes 1000,10000,100000] [--repeat 3] [--out table.md]
//                [--doc docs\performance.md] [--machine "text"] [--no-host-calls]
//                [--only "action name"]... [--addon kavrel.dll] [--no-undo]
//
// --addon times another build of the add-on (one without a change, to compare
// with); --no-undo clicks no "Отменить" after the actions (a build without it).
#include <windows.h>

#include <cstdio>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/file_bytes.h"
#include "base/wide.h"
#include "bench/addon_session.h"
#include "bench/bench_actions.h"
#include "bench/bench_report.h"
#include "bench/host_call_costs.h"

namespace {

using namespace kavrel::bench;

struct Options {
    std::vector<std::size_t> sizes = {1000, 10000, 100000};
    int repeat = 3;
    std::string out;
    std::string doc;
    std::string machine;
    std::string command;
    bool host_calls = true;
    std::vector<std::string> only;
    std::wstring addon = KAVREL_DLL_PATH_W;
    bool undo = true;
};

std::vector<std::size_t> ParseSizes(const std::string& text) {
    std::vector<std::size_t> sizes;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        const unsigned long n = std::stoul(item);
        if (n == 0) {
            throw std::invalid_argument("a size must be at least 1");
        }
        sizes.push_back(n);
    }
    return sizes;
}

Options ParseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                throw std::invalid_argument(arg + " needs a value");
            }
            return argv[++i];
        };
        if (arg == "--sizes") {
            o.sizes = ParseSizes(value());
        } else if (arg == "--repeat") {
            o.repeat = std::stoi(value());
        } else if (arg == "--out") {
            o.out = value();
        } else if (arg == "--doc") {
            o.doc = value();
        } else if (arg == "--machine") {
            o.machine = value();
        } else if (arg == "--command") {
            o.command = value();
        } else if (arg == "--only") {
            o.only.push_back(value());
        } else if (arg == "--no-host-calls") {
            o.host_calls = false;
        } else if (arg == "--addon") {
            const std::u16string path = kavrel::Utf8ToWide(value());
            o.addon.assign(path.begin(), path.end());
        } else if (arg == "--no-undo") {
            o.undo = false;
        } else {
            throw std::invalid_argument("unknown argument " + arg);
        }
    }
    if (o.repeat < 1) {
        throw std::invalid_argument("--repeat must be at least 1");
    }
    return o;
}

std::string ReadFile(const std::string& path) {
    return kavrel::ReadFileBytes(kavrel::Utf8ToWindows(path)).value_or(std::string());
}

void WriteFile(const std::string& path, const std::string& text) {
    if (!kavrel::WriteFileBytes(kavrel::Utf8ToWindows(path), text)) {
        throw std::runtime_error("could not write " + path);
    }
}

std::string Report(const Options& o, const std::vector<Sample>& samples, const std::string& startup,
                   const std::vector<HostCallSample>& host_calls) {
    std::string text;
    if (!o.machine.empty()) {
        text += o.machine + "\n\n";
    }
    if (!o.command.empty()) {
        text +=
            "Command: `" + o.command + "`; medians of " + std::to_string(o.repeat) + " run(s).\n\n";
    }
    text += "### One click on N selected objects\n\n" + ActionTable(samples) + "\n";
    text += "### Start-up\n\n" + startup + "\n";
    if (!host_calls.empty()) {
        text += "### Single host calls\n\n" + HostCallTable(host_calls) + "\n";
    }
    return text;
}

int Run(const Options& o) {
    DecimalSeparatorScope decimal(L',');
    std::vector<Sample> samples;
    std::vector<double> load_connect;
    std::vector<double> panel_open;
    const ProjectKind kinds[] = {ProjectKind::PlainMarks, ProjectKind::RailMarks,
                                 ProjectKind::NonMarks, ProjectKind::ContourMarks};
    // One untimed pass on the smallest size first: the first load of the
    // library and the first windows of the process cost more than any later.
    // Its start-up times are those of a cold start.
    std::vector<double> cold_load_connect;
    std::vector<double> cold_panel_open;
    for (ProjectKind kind : kinds) {
        const ProjectRun warm_up = RunProject(o.addon, kind, o.sizes.front(), o.only, o.undo);
        cold_load_connect.push_back(warm_up.load_connect);
        cold_panel_open.push_back(warm_up.panel_open);
    }
    for (int rep = 1; rep <= o.repeat; ++rep) {
        for (std::size_t n : o.sizes) {
            for (ProjectKind kind : kinds) {
                const ProjectRun run = RunProject(o.addon, kind, n, o.only, o.undo);
                load_connect.push_back(run.load_connect);
                panel_open.push_back(run.panel_open);
                for (const ActionResult& r : run.actions) {
                    std::printf("run %d  N=%-7zu %-18s %10.1f ms  %6.1f calls/mark\n", rep, n,
                                r.action.c_str(), r.seconds * 1e3,
                                static_cast<double>(r.host_calls) / static_cast<double>(n));
                    std::fflush(stdout);
                    samples.push_back(Sample{r.action, r.n, r.seconds, r.host_calls});
                }
            }
        }
    }
    std::vector<HostCallSample> host_calls;
    if (o.host_calls) {
        for (int rep = 1; rep <= o.repeat; ++rep) {
            for (std::size_t n : o.sizes) {
                for (HostCallSample& s : MeasureHostCalls(n)) {
                    host_calls.push_back(std::move(s));
                }
            }
        }
    }
    const std::string text = Report(
        o, samples,
        StartupTable(cold_load_connect.front(), cold_panel_open.front(), load_connect, panel_open),
        host_calls);
    std::fputs(text.c_str(), stdout);
    if (!o.out.empty()) {
        WriteFile(o.out, text);
    }
    if (!o.doc.empty()) {
        WriteFile(o.doc, ReplaceBetweenMarkers(ReadFile(o.doc), text));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const Options options = ParseOptions(argc, argv);
        if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
            throw std::runtime_error("CoInitializeEx failed");
        }
        const int result = Run(options);
        CoUninitialize();
        return result;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kavrel_bench: %s\n", e.what());
        return 1;
    }
}

#include "bench/bench_report.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace kavrel::bench {
namespace {

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

template <typename S>
std::vector<std::string> OperationsInOrder(const std::vector<S>& samples, std::string S::*name) {
    std::vector<std::string> out;
    for (const S& s : samples) {
        if (std::find(out.begin(), out.end(), s.*name) == out.end()) {
            out.push_back(s.*name);
        }
    }
    return out;
}

}  // namespace

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

std::string ActionTable(const std::vector<Sample>& samples) {
    std::string out =
        "| action | N | total ms | µs per mark | host calls per mark | per-mark cost vs N = "
        "smallest |\n|---|---:|---:|---:|---:|---:|\n";
    for (const std::string& action : OperationsInOrder(samples, &Sample::action)) {
        std::map<std::size_t, std::vector<double>> seconds;
        std::map<std::size_t, long> calls;
        for (const Sample& s : samples) {
            if (s.action == action) {
                seconds[s.n].push_back(s.seconds);
                calls[s.n] = s.host_calls;
            }
        }
        double smallest_per_mark = 0;
        for (const auto& [n, values] : seconds) {
            const double total = Median(values);
            const double per_mark = total / static_cast<double>(n);
            if (smallest_per_mark == 0) {
                smallest_per_mark = per_mark;
            }
            out += "| " + action + " | " + std::to_string(n) + " | " + Format("%.1f", total * 1e3) +
                   " | " + Format("%.2f", per_mark * 1e6) + " | " +
                   Format("%.1f", static_cast<double>(calls[n]) / static_cast<double>(n)) + " | " +
                   Format("%.2f", per_mark / smallest_per_mark) + " |\n";
        }
    }
    return out;
}

std::string StartupTable(double cold_load_connect, double cold_panel_open,
                         const std::vector<double>& load_connect,
                         const std::vector<double>& panel_open) {
    std::string out =
        "| step | first in the process, ms | median of later runs, ms | later runs |\n"
        "|---|---:|---:|---:|\n";
    auto row = [&](const char* name, double cold, const std::vector<double>& values) {
        out += std::string("| ") + name + " | " + Format("%.1f", cold * 1e3) + " | " +
               Format("%.1f", Median(values) * 1e3) + " | " + std::to_string(values.size()) +
               " |\n";
    };
    row("DLL load + connect + command list", cold_load_connect, load_connect);
    row("panel open (command 2)", cold_panel_open, panel_open);
    return out;
}

std::string HostCallTable(const std::vector<HostCallSample>& samples) {
    std::vector<std::size_t> sizes;
    for (const HostCallSample& s : samples) {
        if (std::find(sizes.begin(), sizes.end(), s.n) == sizes.end()) {
            sizes.push_back(s.n);
        }
    }
    std::sort(sizes.begin(), sizes.end());
    std::string out = "| host call (from outside the add-on) |";
    std::string rule = "|---|";
    for (std::size_t n : sizes) {
        out += " ns per call, N = " + std::to_string(n) + " |";
        rule += "---:|";
    }
    out += "\n" + rule + "\n";
    for (const std::string& operation : OperationsInOrder(samples, &HostCallSample::operation)) {
        out += "| " + operation + " |";
        for (std::size_t n : sizes) {
            std::vector<double> values;
            for (const HostCallSample& s : samples) {
                if (s.operation == operation && s.n == n) {
                    values.push_back(s.nanoseconds);
                }
            }
            out += values.empty() ? std::string(" |") : " " + Format("%.0f", Median(values)) + " |";
        }
        out += "\n";
    }
    return out;
}

std::string ReplaceBetweenMarkers(const std::string& document, const std::string& text) {
    const std::string begin = std::string(kBeginMarker) + "\n";
    const std::string end = kEndMarker;
    const std::size_t b = document.find(begin);
    const std::size_t e = b == std::string::npos ? std::string::npos : document.find(end, b);
    if (b == std::string::npos || e == std::string::npos) {
        std::string out = document;
        if (!out.empty() && out.back() != '\n') {
            out += "\n";
        }
        return out + "\n" + begin + text + end + "\n";
    }
    return document.substr(0, b + begin.size()) + text + document.substr(e);
}

}  // namespace kavrel::bench

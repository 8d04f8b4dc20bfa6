#include "host/com/accounting.h"

namespace kavrel::host {

long* Accounting::Counter(Counters& counters, CounterCache& cache, const char* name) {
    auto cached = cache.find(name);
    if (cached != cache.end() && cached->second->first == name) {
        return &cached->second->second;
    }
    auto it = counters.try_emplace(name, 0).first;
    cache[name] = it;
    return &it->second;
}

std::optional<InjectedFault> Accounting::RecordCall(const char* operation) {
    ++*Counter(calls_, call_cache_, operation);
    ++total_;
    if (keep_log_) {
        log_.push_back(operation);
    }
    // Every matching fault sees the call; the first one due fires and is used up.
    auto due = faults_.end();
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->operation != "*" && it->operation != operation) {
            continue;
        }
        ++it->seen;
        if (it->seen >= it->nth) {
            if (due == faults_.end()) {
                due = it;
            } else {
                it->seen = it->nth - 1;  // due as well: fires on the next matching call
            }
        }
    }
    if (due != faults_.end()) {
        InjectedFault injected = std::move(due->injected);
        faults_.erase(due);
        return injected;
    }
    return std::nullopt;
}

void Accounting::ArmFault(std::string operation, long nth, std::u16string description,
                          std::u16string source) {
    faults_.push_back(Fault{std::move(operation), nth, 0,
                            InjectedFault{std::move(description), std::move(source)}});
}

long Accounting::CallCount(const std::string& operation) const {
    auto it = calls_.find(operation);
    return it == calls_.end() ? 0 : it->second;
}

std::map<std::string, long> Accounting::OutstandingReferences() const {
    std::map<std::string, long> out;
    for (const auto& [name, count] : references_) {
        if (count != 0) {
            out.emplace(name, count);
        }
    }
    return out;
}

long Accounting::References(const std::string& interface_name) const {
    auto it = references_.find(interface_name);
    return it == references_.end() ? 0 : it->second;
}

}  // namespace kavrel::host

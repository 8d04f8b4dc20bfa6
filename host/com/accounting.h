// What the host counts about its callers: each operation called, the ordered
// call log, the references held per interface, and the faults armed to make a
// chosen call fail.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace kavrel::host {

// An armed fault that fired: its description, and the source text an SDK
// call leaves for IHostErrorInfo.GetLastError (empty: the operation's name).
struct InjectedFault {
    std::u16string description;
    std::u16string source = {};
    bool operator==(const InjectedFault&) const = default;
};

class Accounting {
  public:
    // Counts one call of "Interface.Operation"; answers the fault armed for
    // this call, if any (the fault is then used up).
    std::optional<InjectedFault> RecordCall(const char* operation);
    std::optional<InjectedFault> RecordCall(const std::string& operation) {
        return RecordCall(operation.c_str());
    }

    // Arms a fault: the nth call of the operation from now (or, for "*", the nth
    // host call of any operation) fails with the description. A source text
    // stands in for the operation's name in what an SDK call leaves for
    // GetLastError, as a host module names itself there.
    void ArmFault(std::string operation, long nth, std::u16string description,
                  std::u16string source = {});

    void Reference(const char* interface_name, long delta) {
        *Counter(references_, reference_cache_, interface_name) += delta;
    }

    const std::map<std::string, long, std::less<>>& calls() const { return calls_; }
    long CallCount(const std::string& operation) const;
    long TotalCalls() const { return total_; }
    const std::vector<std::string>& log() const { return log_; }
    void set_keep_log(bool keep) { keep_log_ = keep; }
    // References still held, per interface (interfaces with none are left out).
    std::map<std::string, long> OutstandingReferences() const;
    long References(const std::string& interface_name) const;

  private:
    // Every call and every AddRef/Release is counted under a name; callers pass
    // string literals. The counter of a name is found through a cache keyed by
    // the pointer, checked against the text (a pointer may be reused for
    // another name), so that a call costs no string built and no tree search.
    using Counters = std::map<std::string, long, std::less<>>;
    using CounterCache = std::unordered_map<const char*, Counters::iterator>;
    static long* Counter(Counters& counters, CounterCache& cache, const char* name);

    struct Fault {
        std::string operation;
        long nth;
        long seen = 0;
        InjectedFault injected;
    };
    Counters calls_;
    CounterCache call_cache_;
    long total_ = 0;
    bool keep_log_ = false;
    std::vector<std::string> log_;
    Counters references_;
    CounterCache reference_cache_;
    std::vector<Fault> faults_;
};

}  // namespace kavrel::host

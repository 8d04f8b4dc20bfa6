// What the host counts about its callers: each operation called, the ordered
// call log, the references held per interface, and the faults armed to make a
// chosen call fail.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kavrel::host {

class Accounting {
  public:
    // Counts one call of "Interface.Operation"; answers the description of a
    // fault armed for this call, if any (the fault is then used up).
    std::optional<std::u16string> RecordCall(const std::string& operation);

    // Arms a fault: the nth call of the operation from now (or, for "*", the nth
    // host call of any operation) fails with the description.
    void ArmFault(std::string operation, long nth, std::u16string description);

    void Reference(const char* interface_name, long delta) { references_[interface_name] += delta; }

    const std::map<std::string, long>& calls() const { return calls_; }
    long CallCount(const std::string& operation) const;
    long TotalCalls() const { return total_; }
    const std::vector<std::string>& log() const { return log_; }
    void set_keep_log(bool keep) { keep_log_ = keep; }
    // References still held, per interface (interfaces with none are left out).
    std::map<std::string, long> OutstandingReferences() const;
    long References(const std::string& interface_name) const;

  private:
    struct Fault {
        std::string operation;
        long nth;
        long seen = 0;
        std::u16string description;
    };
    std::map<std::string, long> calls_;
    long total_ = 0;
    bool keep_log_ = false;
    std::vector<std::string> log_;
    std::map<std::string, long> references_;
    std::vector<Fault> faults_;
};

}  // namespace kavrel::host

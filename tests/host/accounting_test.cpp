#include "host/com/accounting.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace kavrel::host {
namespace {

struct FaultCase {
    const char* label;
    std::string armed_operation;
    long nth;
    std::vector<std::string> calls;
    int failing_call;  // index into calls, -1 for none
};

TEST(AccountingTest, ArmedFaultFiresOnTheNthMatchingCallOnly) {
    const FaultCase cases[] = {
        {"first call", "IHostMapObjects.CommitChanges", 1, {"IHostMapObjects.CommitChanges"}, 0},
        {"second matching call, others ignored",
         "IHostMapObjects.CommitChanges",
         2,
         {"IHostMapObjects.CommitChanges", "IHostShape.GetFlag", "IHostMapObjects.CommitChanges",
          "IHostMapObjects.CommitChanges"},
         2},
        {"never reached",
         "IHostShape.GetFlag",
         3,
         {"IHostShape.GetFlag", "IHostShape.GetFlag"},
         -1},
        {"any call", "*", 3, {"A.X", "B.Y", "C.Z", "D.W"}, 2},
        {"names compared exactly", "IHostShape.getflag", 1, {"IHostShape.GetFlag"}, -1},
    };
    for (const FaultCase& c : cases) {
        Accounting accounting;
        accounting.ArmFault(c.armed_operation, c.nth, u"сбой");
        for (int i = 0; i < static_cast<int>(c.calls.size()); ++i) {
            const auto fault = accounting.RecordCall(c.calls[i]);
            EXPECT_EQ(fault.has_value(), i == c.failing_call) << c.label << ", call " << i;
            if (fault) {
                EXPECT_EQ(fault->description, u"сбой") << c.label;
            }
        }
    }
}

TEST(AccountingTest, TwoFaultsDueOnOneCallFireOneAfterTheOther) {
    Accounting accounting;
    accounting.ArmFault("*", 1, u"первый");
    accounting.ArmFault("A.X", 1, u"второй", u"ГИС-2");
    EXPECT_EQ(accounting.RecordCall("A.X"), InjectedFault{u"первый"});
    EXPECT_EQ(accounting.RecordCall("A.X"), (InjectedFault{u"второй", u"ГИС-2"}));
    EXPECT_EQ(accounting.RecordCall("A.X"), std::nullopt);
}

TEST(AccountingTest, CountsCallsLogAndReferences) {
    Accounting accounting;
    accounting.set_keep_log(true);
    accounting.RecordCall("A.X");
    accounting.RecordCall("B.Y");
    accounting.RecordCall("A.X");
    EXPECT_EQ(accounting.CallCount("A.X"), 2);
    EXPECT_EQ(accounting.CallCount("C.Z"), 0);
    EXPECT_EQ(accounting.TotalCalls(), 3);
    EXPECT_EQ(accounting.log(), (std::vector<std::string>{"A.X", "B.Y", "A.X"}));
    accounting.Reference("IHostShape", 1);
    accounting.Reference("IHostShape", 1);
    accounting.Reference("IHostLayer", 1);
    accounting.Reference("IHostLayer", -1);
    EXPECT_EQ(accounting.OutstandingReferences(), (std::map<std::string, long>{{"IHostShape", 2}}));
}

TEST(AccountingTest, OneBufferReusedForOtherNamesCountsEachName) {
    // The host builds the names of its reserved operations in one reused
    // buffer: the same pointer must still count under the text it holds.
    Accounting accounting;
    char buffer[32] = "IHostShape.Reserved3";
    accounting.RecordCall(buffer);
    accounting.Reference(buffer, 1);
    std::snprintf(buffer, sizeof buffer, "IHostShape.Reserved4");
    accounting.RecordCall(buffer);
    accounting.RecordCall(buffer);
    accounting.Reference(buffer, 1);
    EXPECT_EQ(accounting.CallCount("IHostShape.Reserved3"), 1);
    EXPECT_EQ(accounting.CallCount("IHostShape.Reserved4"), 2);
    EXPECT_EQ(accounting.calls().size(), 2u);
    EXPECT_EQ(accounting.References("IHostShape.Reserved3"), 1);
    EXPECT_EQ(accounting.References("IHostShape.Reserved4"), 1);
}

}  // namespace
}  // namespace kavrel::host

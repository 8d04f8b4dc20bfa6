// An exception inside one of the host's window procedures stays inside it: it
// is recorded, the message gets the default answer, and the window goes on.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "host/com/window_guard.h"
#include "host/window/map_view.h"
#include "tests/host/host_fixture.h"

namespace kavrel::host {
namespace {

class WindowGuardTest : public HostTest {
  protected:
    void SetUp() override {
        HostTest::SetUp();
        ClearCallbackFailures();
    }
    void TearDown() override {
        ClearCallbackFailures();
        HostTest::TearDown();
    }
};

TEST_F(WindowGuardTest, AThrowingMapViewHandlerIsRecordedAndAnsweredByDefault) {
    bool fail = true;
    int changes = 0;
    MapView view(*host_, [&] {
        ++changes;
        if (fail) {
            throw std::runtime_error("Сбой обработчика карты");
        }
    });
    const HWND map = host_->map_window();

    // The mouse move reaches the handler through a real message; the
    // exception comes back to the test as the default answer, not as a throw.
    EXPECT_EQ(SendMessageW(map, WM_MOUSEMOVE, 0, MAKELPARAM(10, 20)), 0);
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(CallbackFailureCount(), 1u);
    const std::vector<CallbackFailure> failures = CallbackFailures();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(failures[0].text, u"Сбой обработчика карты");

    // The window is whole: the next message is handled as usual.
    fail = false;
    SendMessageW(map, WM_MOUSEMOVE, 0, MAKELPARAM(11, 21));
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(view.has_cursor());
    EXPECT_EQ(CallbackFailureCount(), 1u);
}

}  // namespace
}  // namespace kavrel::host

// What the reliability tests share: a text picture of the map's committed
// state (to prove what a failed action left behind), the host's fault texts,
// how a shown message is matched against them, and the counts printed at the
// end of the run.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "host/model/map_model.h"

namespace kavrel::test {

// Every object's committed shapes, vertices (exact, as hexadecimal floats)
// and attribute values, in model order.
std::string CommittedSnapshot(const host::MapModel& model);

// The description the host gives its k-th injected failure.
std::u16string FaultText(long k);

// Whether a text shown to the user carries the host's description: as it
// stands (automation layer), or followed by the failing operation in brackets
// (SDK layer, "description. [operation]").
bool ShowsHostError(const std::wstring& shown, const std::u16string& description);
bool ShowsHostError(const std::u16string& shown, const std::u16string& description);

// Texts for a failure message, in UTF-8, separated by " | ".
std::string Joined(const std::vector<std::wstring>& texts);

// Child windows below `root` (0 for no root).
int ChildWindows(HWND root);
// Every window of this thread: the top-level ones and all below them.
int ThreadWindowCount();

// Counts printed when the test program ends.
struct Tally {
    static void Actions(long n);
    static void FaultPoints(long n);
    static void Inputs(long n);
    static void Sessions(long n);
};

}  // namespace kavrel::test

// A host session for the reliability tests: the editor fixture's host and
// panel, plus what a session must leave behind when the host lets the add-on
// go (no references, no add-on window, DllCanUnloadNow S_OK, the library
// unloaded), and the state picture used to compare runs.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/editor/editor_fixture.h"
#include "tests/reliability/sweep_support.h"

namespace kavrel::test {

// Plain marks: P1 well formed, P2 with three shapes (rebuilt before a
// correction), U1 a mark nobody selects.
extern const char kPlainObjects[];
// Rail marks by a diagonal rail line RL1: R1 well formed, R2 a plain mark
// (rebuilt as a rail mark), U1 unselected.
extern const char kRailObjects[];

class SessionTest : public EditorTest {
  protected:
    // Puts back what a session left, also one whose project was refused.
    void TearDown() override;
    // Loads kavrel.dll and creates its COM object, not yet connected.
    void CreateAddon();
    // Puts a fresh map (and selection and preferences) under the running host;
    // the add-on keeps only collection references, which look objects up anew.
    void ResetModel(const std::string& project_json);
    // Everything the host does when it lets the add-on go, and the checks that
    // nothing of the add-on is left: the panel closed, Disconnect, the object
    // released, DllCanUnloadNow S_OK, the library unloaded, no host reference
    // outstanding, no add-on window. Ends the host as well.
    void EndSessionCleanly(const std::string& label);
    // Windows of the add-on's form classes anywhere on this thread.
    static int AddonWindows();
    // Messages shown while `act` runs, each answered with OK.
    std::vector<std::wstring> Watch(const std::function<void()>& act);
    // A click on a panel control; its message boxes answered with OK as soon
    // as they are activated (a thread hook, no timer to wait for).
    std::vector<std::wstring> QuickClick(const char* name);

    // Runs the panel action once clean and then once more for every host call
    // it makes, with that call failing; answers the number of calls swept.
    // `prepare`, when given, runs after every reset of the map, before the
    // action and unswept.
    long SweepPanelAction(const std::string& label, const std::string& project_json,
                          const std::function<std::vector<std::wstring>()>& act,
                          const std::function<void()>& prepare = {});
};

}  // namespace kavrel::test

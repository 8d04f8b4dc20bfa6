// The registration exports under every registry call failing in turn: each
// answers E_FAIL, leaves no half-written entry behind, and the next call
// without a failure succeeds. The frame is linked in, so the registry seam
// (base/registry_operations.h) takes an implementation that does the real
// calls under a throwaway key of HKEY_CURRENT_USER and denies access to the
// k-th one.
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "base/registry_operations.h"
#include "base/wide.h"
#include "frame/com_server.h"
#include "frame/custom_addon.h"
#include "frame/library_refs.h"
#include "frame/registration.h"
#include "tests/support/registry_snapshot.h"

namespace kavrel::test {
namespace {

const GUID kTestClassId = {
    0x4B415600, 0x00FF, 0x4B41, {0x9D, 0x52, 0x52, 0x45, 0x47, 0x46, 0x4C, 0x54}};
const wchar_t kThrowaway[] = L"Software\\KavrelRegistryFaults";

// The real registry below HKCU\Software\KavrelRegistryFaults\<root>, with the
// k-th call after arming denied.
class FaultyRegistry final : public RegistryOperations {
  public:
    LSTATUS CreateKey(HKEY root, const std::u16string& path, RegKey& key, bool& created) override {
        created = false;
        if (Denied("CreateKey " + Name(root, path))) {
            return ERROR_ACCESS_DENIED;
        }
        DWORD disposition = 0;
        const LSTATUS status = RegCreateKeyExW(Root(root).get(), Wide(path), 0, nullptr, 0,
                                               KEY_ALL_ACCESS, nullptr, key.put(), &disposition);
        created = disposition == REG_CREATED_NEW_KEY;
        return status;
    }
    LSTATUS SetString(HKEY key, const wchar_t* name, const std::u16string& value) override {
        if (Denied(std::string("SetString ") + (name ? "Active" : "(default)"))) {
            return ERROR_ACCESS_DENIED;
        }
        return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>((value.size() + 1) * sizeof(char16_t)));
    }
    LSTATUS DeleteKey(HKEY root, const std::u16string& path) override {
        if (Denied("DeleteKey " + Name(root, path))) {
            return ERROR_ACCESS_DENIED;
        }
        return RegDeleteKeyW(Root(root).get(), Wide(path));
    }
    LSTATUS Flush(HKEY key) override {
        return Denied("Flush") ? ERROR_ACCESS_DENIED : RegFlushKey(key);
    }

    // Counts calls from now; the k-th fails (0: none).
    void Arm(long k) {
        calls_.clear();
        fail_at_ = k;
    }
    const std::vector<std::string>& calls() const { return calls_; }

    // The throwaway roots emptied, with the keys every Windows has.
    static void Reset() {
        RegDeleteTreeW(HKEY_CURRENT_USER, kThrowaway);
        for (const wchar_t* key : {L"HKLM\\Software", L"HKCR\\CLSID"}) {
            RegKey made;
            RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kThrowaway) + L"\\" + key).c_str(), 0,
                            nullptr, 0, KEY_ALL_ACCESS, nullptr, made.put(), nullptr);
        }
    }

  private:
    static RegKey Root(HKEY root) {
        const std::wstring path =
            std::wstring(kThrowaway) + (root == HKEY_CLASSES_ROOT ? L"\\HKCR" : L"\\HKLM");
        RegKey key;
        RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, key.put());
        return key;
    }
    static std::string Name(HKEY root, const std::u16string& path) {
        std::string name = root == HKEY_CLASSES_ROOT ? "HKCR\\" : "HKLM\\";
        for (char16_t c : path) {
            name.push_back(c < 128 ? static_cast<char>(c) : '?');
        }
        return name;
    }
    bool Denied(std::string call) {
        calls_.push_back(std::move(call));
        return static_cast<long>(calls_.size()) == fail_at_;
    }

    std::vector<std::string> calls_;
    long fail_at_ = 0;
};

// Every key and value below the throwaway roots.
std::vector<std::wstring> Snapshot() {
    return kavrel::testing::SnapshotTree(HKEY_CURRENT_USER, kThrowaway, 0, L"");
}

class RegistryFaults : public ::testing::Test {
  protected:
    void SetUp() override {
        ComServer = std::make_unique<TComServer>();
        AddonList = std::make_unique<TAddonList>();
        addon_ = std::make_unique<TM2CustomAddon>(kTestClassId, u"TEST", u"Отметки: проба", 0);
        previous_ = UseRegistryOperations(&registry_);
    }
    void TearDown() override {
        UseRegistryOperations(previous_);
        addon_.reset();
        AddonList.reset();
        ComServer.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, kThrowaway);
    }

    FaultyRegistry registry_;
    RegistryOperations* previous_ = nullptr;
    std::unique_ptr<TM2CustomAddon> addon_;
};

TEST_F(RegistryFaults, EveryRegistryCallOfTheExportsFailingInTurn) {
    struct Case {
        const char* label;
        std::function<void()> before;  // the registry the call finds
        std::function<HRESULT()> call;
        bool rewrites;  // keys existed before: a failure may leave the new values whole
    };
    const auto nothing = [] {};
    const Case cases[] = {
        {"M2DllRegisterAddOn, first time", nothing,
         [] { return RegisterAddOnExport(nullptr, TRUE); }, false},
        {"M2DllRegisterAddOn, applied name", nothing,
         [] { return RegisterAddOnExport("Proj\\Sheet", FALSE); }, false},
        {"M2DllRegisterAddOn, again with the other flag",
         [] { ASSERT_EQ(RegisterAddOnExport(nullptr, TRUE), S_OK); },
         [] { return RegisterAddOnExport(nullptr, FALSE); }, true},
        {"DllRegisterServer, first time", nothing, [] { return RegisterServerExport(); }, false},
        {"DllRegisterServer, again", [] { ASSERT_EQ(RegisterServerExport(), S_OK); },
         [] { return RegisterServerExport(); }, true},
        {"DllUnregisterServer", [] { ASSERT_EQ(RegisterServerExport(), S_OK); },
         [] { return UnregisterServerExport(); }, false},
    };
    long points = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        FaultyRegistry::Reset();
        c.before();
        const std::vector<std::wstring> before = Snapshot();
        registry_.Arm(0);
        ASSERT_EQ(c.call(), S_OK);
        const std::vector<std::string> calls = registry_.calls();
        const std::vector<std::wstring> after = Snapshot();
        if (!c.rewrites) {
            ASSERT_NE(after, before) << "the clean call wrote nothing";
        }
        for (long k = 1; k <= static_cast<long>(calls.size()); ++k) {
            SCOPED_TRACE("denied call " + std::to_string(k) + ": " + calls[k - 1]);
            FaultyRegistry::Reset();
            c.before();
            registry_.Arm(k);
            EXPECT_EQ(c.call(), E_FAIL);
            // Keys that existed before may be left with every new value
            // written (a denied flush comes last); nothing else may change.
            const std::vector<std::wstring> left = Snapshot();
            if (!c.rewrites || left != after) {
                EXPECT_EQ(left, before) << "half-written entry left behind";
            }
            registry_.Arm(0);
            EXPECT_EQ(c.call(), S_OK) << "the next call without a failure";
            EXPECT_EQ(Snapshot(), after);
        }
        points += static_cast<long>(calls.size());
    }
    std::cout << "[registry] " << std::size(cases) << " calls, " << points
              << " registry fault points" << std::endl;
}

}  // namespace
}  // namespace kavrel::test

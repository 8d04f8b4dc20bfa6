// The add-on base class and the error convention, in-process: the object's
// links to the add-on list, the current add-on and its factory, the order in
// which its forms are destroyed, and the texts of the errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/errors.h"
#include "frame/addon_factory.h"
#include "frame/com_server.h"
#include "frame/custom_addon.h"
#include "frame/library_refs.h"
#include "gis/host_errors.h"
#include "tests/addon/test_host.h"

namespace kavrel::test {
namespace {

const GUID kTestClassId = {
    0x4B415600, 0x00FF, 0x4B41, {0x9D, 0x52, 0x45, 0x56, 0x45, 0x4C, 0x48, 0x4F}};

// The library's server and add-on list, as at load, for one test.
class Library : public testing::Test {
  protected:
    void SetUp() override {
        ComServer = std::make_unique<TComServer>();
        AddonList = std::make_unique<TAddonList>();
    }
    void TearDown() override {
        ComServer.reset();
        AddonList.reset();
        gis::HostErrors.reset();
        CurrentAddon = nullptr;
    }
};

class RecordingForm final : public IAddonForm {
  public:
    RecordingForm(std::string name, TM2CustomAddon& addon, std::vector<std::string>& log)
        : name_(std::move(name)), addon_(addon), log_(log) {}
    void Destroy() noexcept override {
        const bool still_listed = std::find(addon_.Forms.begin(), addon_.Forms.end(),
                                            static_cast<IAddonForm*>(this)) != addon_.Forms.end();
        log_.push_back(name_ + (still_listed ? " (still listed)" : ""));
    }

  private:
    std::string name_;
    TM2CustomAddon& addon_;
    std::vector<std::string>& log_;
};

TEST_F(Library, ConstructionLinksTheAddonEverywhere) {
    const std::u16string long_caption(70, u'К');
    TM2CustomAddon addon(kTestClassId, u"TEST", long_caption, 5);
    EXPECT_EQ(*AddonList, TAddonList{&addon});
    EXPECT_EQ(CurrentAddon, &addon);
    ASSERT_NE(addon.Factory, nullptr);
    EXPECT_EQ(addon.Factory->Addon, &addon);
    EXPECT_EQ(ComServer->FindFactory(kTestClassId), addon.Factory);
    EXPECT_EQ(addon.Caption(), std::u16string(63, u'К')) << "cut to the field";
    EXPECT_EQ(addon.Factory->Description(), addon.Caption());
    EXPECT_EQ(addon.Info.Options, 5);
    EXPECT_EQ(addon.Info.SdkVersion, 260);
    EXPECT_FALSE(addon.Connected);
}

TEST_F(Library, DestructionUnlinksAndClosesTheForms) {
    std::vector<std::string> log;
    auto* addon = new TM2CustomAddon(kTestClassId, u"TEST", u"Тест", 0);
    TM2AddonFactory* factory = addon->Factory;
    RecordingForm form("form", *addon, log);
    addon->RegisterForm(&form);
    delete addon;
    EXPECT_EQ(log, std::vector<std::string>{"form"});
    EXPECT_EQ(factory->Addon, nullptr) << "the factory no longer serves the destroyed add-on";
    EXPECT_TRUE(AddonList->empty());
    EXPECT_EQ(CurrentAddon, nullptr);
    EXPECT_EQ(ComServer->FindFactory(kTestClassId), factory) << "the server still owns it";
}

TEST_F(Library, CloseFormsDestroysLastFirstEachOutOfTheListBefore) {
    std::vector<std::string> log;
    TM2CustomAddon addon(kTestClassId, u"TEST", u"Тест", 0);
    RecordingForm a("a", addon, log), b("b", addon, log), c("c", addon, log), d("d", addon, log);
    addon.RegisterForm(&a);
    addon.RegisterForm(&b);
    addon.RegisterForm(&c);
    addon.RegisterForm(&d);
    addon.UnregisterForm(&b);
    addon.UnregisterForm(&b);  // a second time changes nothing
    addon.CloseForms();
    EXPECT_EQ(log, (std::vector<std::string>{"d", "c", "a"}));
    EXPECT_TRUE(addon.Forms.empty());
}

TEST_F(Library, AFactoryDestroyedFirstTakesItsAddonWithIt) {
    struct Watched : TM2CustomAddon {
        explicit Watched(bool& gone) : TM2CustomAddon(kTestClassId, u"W", u"W", 0), gone_(gone) {}
        ~Watched() override { gone_ = true; }
        bool& gone_;
    };
    bool gone = false;
    new Watched(gone);
    ComServer->DestroyFactories();
    EXPECT_TRUE(gone);
    EXPECT_TRUE(AddonList->empty());
}

TEST_F(Library, AFactoryWithoutItsAddonMakesNoObjects) {
    auto* addon = new TM2CustomAddon(kTestClassId, u"TEST", u"Тест", 0);
    TM2AddonFactory* factory = addon->Factory;
    delete addon;
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(nullptr, __uuidof(IHostAddOn), &object), E_UNEXPECTED);
    EXPECT_EQ(object, nullptr);
}

// An add-on whose operations fail half-way, after writing what they could.
class HalfFailingAddon final : public TM2CustomAddon {
  public:
    HalfFailingAddon() : TM2CustomAddon(kTestClassId, u"TEST", u"Тест", 7) {}
    void GetInfo(AddOnInfo& info) override {
        TM2CustomAddon::GetInfo(info);
        throw AddonError(u"GetInfo сорвался");
    }
    ComPtr<IM2MacroAttrsList> GetMacroAttrs() override {
        TM2CustomAddon::GetMacroAttrs();
        throw AddonError(u"GetMacroAttrs сорвался");
    }
};

// A failing call of the factory or the add-on object leaves every out
// argument cleared: the record zeroed, the interface pointer null.
TEST_F(Library, FailingCallsLeaveTheirOutArgumentsCleared) {
    HalfFailingAddon addon;
    TM2AddonFactory& factory = *addon.Factory;
    ComPtr<IHostAddOn> object;
    ASSERT_EQ(factory.CreateInstance(nullptr, __uuidof(IHostAddOn), object.put_void()), S_OK);
    IUnknown* outer = object.get();  // any object stands for an outer one

    struct Case {
        const char* label;
        std::size_t size;  // bytes of the out argument
        HRESULT status;
        std::function<HRESULT(void* out)> call;
    };
    const Case cases[] = {
        {"GetInfo whose body fails", sizeof(AddOnInfo), E_FAIL,
         [&](void* out) { return object->GetInfo(static_cast<AddOnInfo*>(out)); }},
        {"GetMacroAttrs whose body fails", sizeof(void*), E_FAIL,
         [&](void* out) { return object->GetMacroAttrs(static_cast<IM2MacroAttrsList**>(out)); }},
        {"CreateInstance of an interface the object lacks", sizeof(void*), E_NOINTERFACE,
         [&](void* out) {
             return factory.CreateInstance(nullptr, IID_IDispatch, static_cast<void**>(out));
         }},
        {"CreateInstance aggregated, not for IUnknown", sizeof(void*), CLASS_E_NOAGGREGATION,
         [&](void* out) {
             return factory.CreateInstance(outer, __uuidof(IHostAddOn), static_cast<void**>(out));
         }},
        {"QueryInterface of the factory for an interface it lacks", sizeof(void*), E_NOINTERFACE,
         [&](void* out) {
             return factory.QueryInterface(IID_IDispatch, static_cast<void**>(out));
         }},
    };
    for (const Case& c : cases) {
        std::vector<BYTE> out(c.size, 0xCC);
        EXPECT_EQ(c.call(out.data()), c.status) << c.label;
        EXPECT_EQ(out, std::vector<BYTE>(c.size, 0)) << c.label;
    }
}

// ---------------------------------------------------------------------------
// The error convention
// ---------------------------------------------------------------------------

std::u16string MessageOf(void (*raise)()) {
    try {
        raise();
    } catch (...) {
        return CurrentExceptionMessage();
    }
    return u"<nothing raised>";
}

TEST(ErrorConvention, MessagesOfExceptions) {
    struct Case {
        const char* label;
        void (*raise)();
        std::u16string message;
    };
    const Case cases[] = {
        {"add-on error", [] { throw AddonError(u"Неправильный ввод угла!"); },
         u"Неправильный ввод угла!"},
        {"host error", [] { throw EHResultError(u"Б. [А]"); }, u"Б. [А]"},
        {"standard exception, UTF-8", [] { throw std::runtime_error("Ошибка x"); }, u"Ошибка x"},
        {"out of memory", [] { throw std::bad_alloc(); }, u"Недостаточно памяти"},
        {"anything else", [] { throw 42; }, u"Неизвестная ошибка"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MessageOf(c.raise), c.message) << c.label;
    }
}

TEST(ErrorConvention, CheckHostResultUsesTheHostsLastError) {
    TestHost& host = NewHost();
    host.last_error_a = u"Модуль";
    host.last_error_b = u"Слой не найден";
    gis::HostErrors = ComPtr<IHostErrorInfo>(static_cast<IHostErrorInfo*>(&host));
    EXPECT_EQ(gis::CheckHostResult(S_FALSE), S_FALSE) << "success codes pass";
    EXPECT_EQ(MessageOf([] { gis::CheckHostResult(E_FAIL); }), u"Слой не найден. [Модуль]");
    host.last_error_status = E_FAIL;
    EXPECT_EQ(MessageOf([] { gis::CheckHostResult(E_FAIL); }), u"");
    gis::HostErrors.reset();
    host.last_error_status = S_OK;
    EXPECT_EQ(MessageOf([] { gis::CheckHostResult(E_FAIL); }), u"") << "no channel";
    EXPECT_EQ(MessageOf([] { CheckResult(E_FAIL, u"Ошибка при записи в OLE-поток"); }),
              u"Ошибка при записи в OLE-поток");
    EXPECT_EQ(host.refs, 0);
}

TEST(ErrorConvention, ReportErrorCutsBothTextsAndAlwaysAnswersEFail) {
    TestHost& host = NewHost();
    EXPECT_EQ(gis::ReportError(u"m", u"s"), E_FAIL) << "without a channel";
    gis::HostErrors = ComPtr<IHostErrorInfo>(static_cast<IHostErrorInfo*>(&host));
    const std::u16string long_text(300, u'ж');
    EXPECT_EQ(gis::ReportError(long_text, u"Источник"), E_FAIL);
    gis::HostErrors.reset();
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0].first, u"Источник");
    EXPECT_EQ(host.errors[0].second, std::u16string(255, u'ж'));
}

TEST(ErrorConvention, CheckAutomationTakesTheDescriptionOnce) {
    ComPtr<ICreateErrorInfo> create;
    ASSERT_EQ(CreateErrorInfo(create.put()), S_OK);
    wchar_t description[] = L"Объект не найден";
    create->SetDescription(description);
    SetErrorInfo(0, create.As<IErrorInfo>().get());
    try {
        CheckAutomation(E_FAIL);
        ADD_FAILURE() << "nothing raised";
    } catch (const EHostCallError& error) {
        EXPECT_EQ(error.message(), u"Объект не найден");
        EXPECT_EQ(error.status(), E_FAIL);
    }
    // The error object was taken: the next failure has the system's text.
    EXPECT_EQ(MessageOf([] { CheckAutomation(E_OUTOFMEMORY); }), SystemErrorText(E_OUTOFMEMORY));
    EXPECT_FALSE(SystemErrorText(E_OUTOFMEMORY).empty());
    EXPECT_EQ(CheckAutomation(S_FALSE), S_FALSE);
}

}  // namespace
}  // namespace kavrel::test

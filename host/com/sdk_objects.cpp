// Objects of the SDK layer handed out by the host object: identifier lists
// and styles.
#include <cstring>

#include "base/short_string.h"
#include "host/com/host_context.h"
#include "host/com/host_objects.h"

namespace kavrel::host {
namespace {

class IdsListObject : public SdkObject<IM2IDsList> {
  public:
    IdsListObject(HostContext& host, std::vector<std::u16string> ids)
        : SdkObject(host, "IM2IDsList"), ids_(std::move(ids)) {}

    HRESULT __stdcall GetItem(LONG index, M2Id* id) override {
        return host().Sdk("IM2IDsList.GetItem", [&] {
            if (!id) {
                Fail(E_POINTER, u"Не передан буфер идентификатора");
            }
            if (index < 0 || static_cast<std::size_t>(index) >= ids_.size()) {
                Fail(DISP_E_BADINDEX, u"Индекс " + IndexText(index) +
                                          u" вне списка идентификаторов (в списке: " +
                                          IndexText(static_cast<long>(ids_.size())) + u")");
            }
            StoreShortString(*id, std::u16string_view(ids_[index]));
            return S_OK;
        });
    }

    HRESULT __stdcall GetCount(LONG* result) override {
        return host().Sdk("IM2IDsList.GetCount", [&] {
            *OutArg(result) = static_cast<LONG>(ids_.size());
            return S_OK;
        });
    }

  private:
    std::vector<std::u16string> ids_;  // a snapshot taken when the list was asked for
};

class M2StyleObject : public SdkObject<IHostM2Style> {
  public:
    M2StyleObject(HostContext& host, std::u16string id)
        : SdkObject(host, "IHostM2Style"), id_(std::move(id)) {}

    HRESULT __stdcall GetName(M2StyleName* name) override {
        return host().Sdk("IHostM2Style.GetName", [&] {
            if (!name) {
                Fail(E_POINTER, u"Не передан буфер имени");
            }
            const Style* style = host().model().FindStyle(id_);
            if (!style) {
                Fail(kHostNotFound, u"Стиль «" + id_ + u"» не найден");
            }
            StoreShortString(*name, std::u16string_view(style->name));
            return S_OK;
        });
    }

  private:
    std::u16string id_;
};

}  // namespace

IM2IDsList* NewIdsList(HostContext& host, std::vector<std::u16string> ids) {
    return HandOut(new IdsListObject(host, std::move(ids)));
}

IHostM2Style* NewM2Style(HostContext& host, std::u16string style_id) {
    return HandOut(new M2StyleObject(host, std::move(style_id)));
}

}  // namespace kavrel::host

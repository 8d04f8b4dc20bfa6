// A running stand-in host over the sample project, for tests that call it
// through COM as the add-on does.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/bstr.h"
#include "base/com_ptr.h"
#include "host/com/host_context.h"
#include "host/model/project_file.h"
#include "tests/host/sample_project.h"

namespace kavrel::host {

class HostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        host_ = std::make_unique<HostContext>(LoadProject(kSampleProject), u',');
        ASSERT_TRUE(SUCCEEDED(
            host_->HostObject()->QueryInterface(__uuidof(IHostApplication), app_.put_void())));
    }
    void TearDown() override {
        app_.reset();
        host_.reset();
        CoUninitialize();
    }

    // The description of the error information the last failing call left.
    static std::u16string ErrorDescription() {
        ComPtr<IErrorInfo> info;
        if (GetErrorInfo(0, info.put()) != S_OK || !info) {
            return u"<no error information>";
        }
        Bstr description;
        info->GetDescription(description.put());
        return description.str();
    }

    ComPtr<IHostMapObjects> MapObjects() {
        ComPtr<IHostDatabase> database;
        EXPECT_EQ(app_->GetDatabase(database.put()), S_OK);
        ComPtr<IHostMapObjects> objects;
        EXPECT_EQ(database->GetMapObjects(objects.put()), S_OK);
        return objects;
    }

    ComPtr<IHostMapObject> Object(const char16_t* id) {
        ComPtr<IHostMapObject> object;
        Bstr key(id);
        EXPECT_EQ(MapObjects()->GetObject(key.get(), object.put()), S_OK);
        return object;
    }

    ComPtr<IHostContourPart> Part(const char16_t* object_id, LONG shape, LONG part) {
        ComPtr<IHostShapes> shapes;
        EXPECT_EQ(Object(object_id)->GetShapes(shapes.put()), S_OK);
        ComPtr<IHostShape> item;
        EXPECT_EQ(shapes->GetItem(shape, item.put()), S_OK);
        ComPtr<IHostContour> contour;
        EXPECT_EQ(item->GetContour(contour.put()), S_OK);
        ComPtr<IHostContourPart> result;
        EXPECT_EQ(contour->GetPart(part, result.put()), S_OK);
        return result;
    }

    std::unique_ptr<HostContext> host_;
    ComPtr<IHostApplication> app_;
};

}  // namespace kavrel::host

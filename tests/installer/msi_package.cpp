#include "tests/installer/msi_package.h"

#include <windows.h>
#include <msi.h>
#include <msidefs.h>
#include <msiquery.h>

#include <gtest/gtest.h>

#include <utility>

#include "base/unique_handle.h"

namespace kavrel::test {
namespace {

// Owner of one installer handle.
using MsiHandle = UniqueHandle<MSIHANDLE, &MsiCloseHandle>;

// The first column of the first row of a query, or empty.
std::wstring QueryText(MSIHANDLE database, const std::wstring& query) {
    MsiHandle view, record;
    if (MsiDatabaseOpenViewW(database, query.c_str(), view.put()) != ERROR_SUCCESS ||
        MsiViewExecute(view.get(), 0) != ERROR_SUCCESS ||
        MsiViewFetch(view.get(), record.put()) != ERROR_SUCCESS) {
        ADD_FAILURE() << "no result for the package query "
                      << std::string(query.begin(), query.end());
        return {};
    }
    wchar_t text[256] = {};
    DWORD length = 256;
    MsiRecordGetStringW(record.get(), 1, text, &length);
    return text;
}

std::wstring Property(MSIHANDLE database, const wchar_t* name) {
    return QueryText(
        database,
        std::wstring(L"SELECT `Value` FROM `Property` WHERE `Property` = '") + name + L"'");
}

}  // namespace

PackageFacts ReadPackage(const std::wstring& path) {
    PackageFacts facts;
    MsiHandle database;
    if (MsiOpenDatabaseW(path.c_str(), MSIDBOPEN_READONLY, database.put()) != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot open the package " << std::string(path.begin(), path.end());
        return facts;
    }
    facts.product_code = Property(database.get(), L"ProductCode");
    facts.upgrade_code = Property(database.get(), L"UpgradeCode");
    facts.product_version = Property(database.get(), L"ProductVersion");
    facts.library_version =
        QueryText(database.get(), L"SELECT `Version` FROM `File` WHERE `FileName` = 'kavrel.dll'");

    MsiHandle summary;
    if (MsiGetSummaryInformationW(database.get(), nullptr, 0, summary.put()) == ERROR_SUCCESS) {
        UINT type = 0;
        wchar_t text[64] = {};
        DWORD length = 64;
        MsiSummaryInfoGetPropertyW(summary.get(), PID_TEMPLATE, &type, nullptr, nullptr, text,
                                   &length);
        facts.platform = std::wstring(text).substr(0, std::wstring(text).find(L';'));
    }
    return facts;
}

std::vector<std::wstring> RelatedProducts(const std::wstring& upgrade_code) {
    std::vector<std::wstring> products;
    for (DWORD i = 0;; ++i) {
        wchar_t product[39] = {};
        if (MsiEnumRelatedProductsW(upgrade_code.c_str(), 0, i, product) != ERROR_SUCCESS) {
            break;
        }
        products.emplace_back(product);
    }
    return products;
}

std::wstring InstalledVersion(const std::wstring& product_code) {
    wchar_t version[64] = {};
    DWORD length = 64;
    if (MsiGetProductInfoW(product_code.c_str(), INSTALLPROPERTY_VERSIONSTRING, version, &length) !=
        ERROR_SUCCESS) {
        return {};
    }
    return version;
}

}  // namespace kavrel::test

// What a Windows Installer package says about itself, and what the installer
// has installed, through msi.dll.
#pragma once

#include <string>
#include <vector>

namespace kavrel::test {

struct PackageFacts {
    std::wstring product_code;
    std::wstring upgrade_code;
    std::wstring product_version;
    std::wstring library_version;  // kavrel.dll's row of the File table
    std::wstring platform;         // the summary's template before ';': Intel or x64
};

// Fails the current test (and answers empty facts) when the package cannot be read.
PackageFacts ReadPackage(const std::wstring& path);

// Product codes of the installed products of that upgrade code.
std::vector<std::wstring> RelatedProducts(const std::wstring& upgrade_code);

// The installed product's version text, or empty.
std::wstring InstalledVersion(const std::wstring& product_code);

}  // namespace kavrel::test

// maphost: the stand-in GIS host.
//   maphost run --project P.json --script S.json --out R.json [--addon PATH] [--picture PNG]
//               [--before PNG] [--window PNG] [--panel PNG] [--report TXT] [--size WxH]
//               [--form-picture TYPE=PNG]...
//   maphost view --project P.json [--addon PATH] [--size WxH] [--select ID]... [--execute ID]...
//                [--snapshot PNG]
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <cwchar>
#include <iostream>
#include <optional>
#include <string>

#include "host/session/session_runner.h"
#include "host/window/view_main.h"

namespace {

int Usage() {
    std::cerr
        << "usage: maphost run --project P.json --script S.json --out R.json "
           "[--addon PATH] [--picture PNG] [--before PNG] [--window PNG] [--panel PNG] "
           "[--report TXT] [--size WxH] [--form-picture TYPE=PNG]...\n"
           "       maphost view --project P.json [--addon PATH] [--size WxH] [--select ID]... "
           "[--execute ID]... [--snapshot PNG]\n";
    return 2;
}

// "1200x900": both between 64 and 8192.
bool ParseSize(const std::wstring& text, int& width, int& height) {
    wchar_t* end = nullptr;
    const long w = std::wcstol(text.c_str(), &end, 10);
    if (!end || *end != L'x') {
        return false;
    }
    const wchar_t* rest = end + 1;
    const long h = std::wcstol(rest, &end, 10);
    if (end == rest || *end != 0 || w < 64 || h < 64 || w > 8192 || h > 8192) {
        return false;
    }
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

// Runs the body with OLE and the common controls initialised.
template <typename Body>
int WithOle(Body&& body) {
    if (FAILED(OleInitialize(nullptr))) {
        std::cerr << "maphost: OLE cannot be initialised\n";
        return 2;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    int status = 2;
    try {
        status = body();
    } catch (const std::exception& e) {
        std::cerr << "maphost: " << e.what() << "\n";
    }
    OleUninitialize();
    return status;
}

int View(int argc, wchar_t** argv) {
    kavrel::host::ViewOptions options;
    for (int i = 2; i < argc; i += 2) {
        const std::wstring name = argv[i];
        if (i + 1 >= argc) {
            return Usage();
        }
        const std::wstring value = argv[i + 1];
        if (name == L"--project") {
            options.project = value;
        } else if (name == L"--addon") {
            options.addon = value;
        } else if (name == L"--size") {
            if (!ParseSize(value, options.width, options.height)) {
                return Usage();
            }
        } else if (name == L"--execute") {
            wchar_t* end = nullptr;
            const long id = std::wcstol(value.c_str(), &end, 10);
            if (value.empty() || !end || *end != 0) {
                return Usage();
            }
            options.execute.push_back(id);
        } else if (name == L"--select") {
            options.select.emplace_back(value.begin(), value.end());
        } else if (name == L"--snapshot") {
            options.snapshot = value;
        } else {
            return Usage();
        }
    }
    if (options.project.empty()) {
        return Usage();
    }
    return WithOle([&] { return kavrel::host::RunView(options); });
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 2 && std::wstring(argv[1]) == L"view") {
        return View(argc, argv);
    }
    if (argc < 2 || std::wstring(argv[1]) != L"run") {
        return Usage();
    }
    kavrel::host::SessionOptions options;
    for (int i = 2; i < argc; i += 2) {
        const std::wstring name = argv[i];
        if (i + 1 >= argc) {
            return Usage();
        }
        const std::wstring value = argv[i + 1];
        if (name == L"--project") {
            options.project = value;
        } else if (name == L"--script") {
            options.script = value;
        } else if (name == L"--out") {
            options.out = value;
        } else if (name == L"--addon") {
            options.addon = value;
        } else if (name == L"--picture") {
            options.picture = value;
        } else if (name == L"--before") {
            options.before = value;
        } else if (name == L"--window") {
            options.window = value;
        } else if (name == L"--panel") {
            options.panel = value;
        } else if (name == L"--report") {
            options.report = value;
        } else if (name == L"--form-picture") {
            const std::size_t equals = value.find(L'=');
            if (equals == 0 || equals == std::wstring::npos || equals + 1 == value.size()) {
                return Usage();
            }
            options.form_pictures.emplace_back(value.substr(0, equals), value.substr(equals + 1));
        } else if (name == L"--size") {
            if (!ParseSize(value, options.picture_width, options.picture_height)) {
                return Usage();
            }
        } else {
            return Usage();
        }
    }
    if (options.project.empty() || options.script.empty() || options.out.empty()) {
        return Usage();
    }
    return WithOle([&] { return kavrel::host::RunSession(options); });
}

// maphost: the stand-in GIS host.
//   maphost run --project P.json --script S.json --out R.json [--addon PATH] [--picture PNG]
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <iostream>
#include <optional>
#include <string>

#include "host/session/session_runner.h"

namespace {

int Usage() {
    std::cerr << "usage: maphost run --project P.json --script S.json --out R.json "
                 "[--addon PATH] [--picture PNG]\n";
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
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
        } else {
            return Usage();
        }
    }
    if (options.project.empty() || options.script.empty() || options.out.empty()) {
        return Usage();
    }
    if (FAILED(OleInitialize(nullptr))) {
        std::cerr << "maphost: OLE cannot be initialised\n";
        return 2;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    int status = 2;
    try {
        status = kavrel::host::RunSession(options);
    } catch (const std::exception& e) {
        std::cerr << "maphost: " << e.what() << "\n";
    }
    OleUninitialize();
    return status;
}

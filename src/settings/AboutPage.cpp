// The About page: product name, the version from the program's own version
// resource, the notices, and the buttons that open the web pages.
#include <windows.h>

#include <memory>

#include "res/resource.h"
#include "settings/SettingsPages.h"
#include "settings/ShellLaunch.h"
#include "settings/VersionLine.h"

namespace {

// The product's web pages. The project has no home yet, so they live under a
// domain reserved for examples.
const char* const PRODUCT_PAGE_URL = "https://quillet.example.com/";
const char* const SUPPORT_PAGE_URL = "https://quillet.example.com/support/";

const char* pageOfButton(int controlId) {
    switch (controlId) {
    case IDC_WEB_PAGE:
        return PRODUCT_PAGE_URL;
    case IDC_SUPPORT_PAGE:
        return SUPPORT_PAGE_URL;
    default:
        return nullptr;
    }
}

}  // namespace

bool VersionInfoReader::readFixedInfo(VS_FIXEDFILEINFO& info) const {
    if (!instance) return false;
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(1), RT_VERSION);
    if (!found) return false;
    HGLOBAL loaded = LoadResource(instance, found);
    if (!loaded) return false;
    bool read = false;
    const void* block = LockResource(loaded);
    // The block starts with its own total length; VerQueryValueA may write into
    // the block it reads, so it works on a copy.
    const WORD length = block ? *static_cast<const WORD*>(block) : 0;
    if (length != 0 && length <= SizeofResource(instance, found)) {
        std::unique_ptr<char[]> copy(new char[length]);
        memcpy(copy.get(), block, length);
        void* fixed = nullptr;
        UINT fixedSize = 0;
        if (VerQueryValueA(copy.get(), "\\", &fixed, &fixedSize) && fixed && fixedSize >= sizeof info) {
            info = *static_cast<const VS_FIXEDFILEINFO*>(fixed);
            read = true;
        }
    }
    FreeResource(loaded);
    return read;
}

void composeVersionLine(HINSTANCE module, char* out, size_t size) {
    VS_FIXEDFILEINFO info = {};
    if (!VersionInfoReader(module).readFixedInfo(info)) info = VS_FIXEDFILEINFO{};
    formatVersionLine(out, size, info.dwProductVersionMS, info.dwProductVersionLS);
}

INT_PTR CALLBACK aboutPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        char line[64];
        composeVersionLine(GetModuleHandleA(nullptr), line, sizeof line);
        SendDlgItemMessageA(page, IDC_VERSION_LINE, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(line));
        return TRUE;
    }
    case WM_COMMAND: {
        const char* url = pageOfButton(LOWORD(wParam));
        if (HIWORD(wParam) != BN_CLICKED || !url) return FALSE;
        launchShellAsync(page, "open", url, nullptr, nullptr, SW_SHOWNORMAL);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

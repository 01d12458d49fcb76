// The three pages of the clock's property sheet: Display, Other and About.
#pragma once

#include <windows.h>

#include <cstddef>

INT_PTR CALLBACK displayPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK otherPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK aboutPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Tells the sheet that a page's controls changed, which enables its Apply button.
void markPageChanged(HWND page);
// True for the apply notification of a page's WM_NOTIFY.
bool isApplyNotification(LPARAM lParam);

// Reads the fixed part of a module's version resource.
class VersionInfoReader {
public:
    explicit VersionInfoReader(HINSTANCE module) : instance(module) {}
    virtual ~VersionInfoReader() = default;
    bool readFixedInfo(VS_FIXEDFILEINFO& info) const;

    HINSTANCE instance;
};

// The About page's version line for a module; zeros when its version resource cannot be read.
void composeVersionLine(HINSTANCE module, char* out, size_t size);

// The three pages of the clock's property sheet: Display, Other and About.
#pragma once

#include <windows.h>

#include <cstddef>

INT_PTR CALLBACK displayPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK otherPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK aboutPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

class ClockWindow;

// What a page that edits the settings does; the two such pages share how they
// answer their messages.
struct SettingsPage {
    void (*initialize)(ClockWindow& clock, HWND page);
    void (*onClick)(ClockWindow& clock, HWND page, int controlId);  // null when clicks only mark a change
    void (*apply)(ClockWindow& clock, HWND page);
};
// Clicks and list selections mark the page changed, which enables the sheet's
// Apply button; the sheet's apply notification applies the page to the clock.
INT_PTR answerSettingsPage(const SettingsPage& settingsPage, HWND page, UINT message, WPARAM wParam, LPARAM lParam);

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

// Opening a document, program or web page through the shell on a worker thread,
// so that the user interface never waits for the shell.
#pragma once

#include <windows.h>

#include "util/TextBuffer.h"

// The one place that calls ShellExecuteA, so that tests can watch the launches.
using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND owner, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                                                LPCSTR directory, INT showCommand);
extern ShellExecuteFunction shellExecute;

// Handed from the caller's thread to the worker, which owns it: the pointers
// point into the request's own copies (an empty string constant for a string
// given but empty) or are null for a string not given.
struct ShellLaunchRequest {
    HWND owner = nullptr;
    const char* operation = nullptr;
    const char* file = nullptr;
    const char* parameters = nullptr;
    const char* directory = nullptr;
    int showCommand = 0;
    TextBuffer operationText;
    TextBuffer fileText;
    TextBuffer parametersText;
    TextBuffer directoryText;
};

// Starts the launch and returns at once; true when the worker thread started.
// The caller may free its strings as soon as this returns.
bool launchShellAsync(HWND owner, const char* operation, const char* file, const char* parameters,
                      const char* directory, int showCommand);

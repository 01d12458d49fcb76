#include "settings/ShellLaunch.h"

#include <objbase.h>
#include <shellapi.h>
#include <process.h>

#include <memory>

ShellExecuteFunction shellExecute = ShellExecuteA;

namespace {

// Copies a given string into the buffer and returns what the request points at.
const char* copyArgument(TextBuffer& copy, const char* text) {
    if (!text) return nullptr;
    copy.assign(text);
    return copy.c_str();
}

void __cdecl runLaunch(void* argument) {
    // Deleting the request releases its copies, directory first and operation last.
    std::unique_ptr<ShellLaunchRequest> request(static_cast<ShellLaunchRequest*>(argument));
    // The shell's handlers may use COM, which each calling thread has to initialise;
    // without it some of them fail without a word.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    shellExecute(request->owner, request->operation, request->file, request->parameters, request->directory,
                 request->showCommand);
    if (SUCCEEDED(com)) CoUninitialize();
    // Returning from the thread function ends the thread through _endthread.
}

}  // namespace

bool launchShellAsync(HWND owner, const char* operation, const char* file, const char* parameters,
                      const char* directory, int showCommand) {
    auto request = std::make_unique<ShellLaunchRequest>();
    request->owner = owner;
    request->showCommand = showCommand;
    request->operation = copyArgument(request->operationText, operation);
    request->file = copyArgument(request->fileText, file);
    request->parameters = copyArgument(request->parametersText, parameters);
    request->directory = copyArgument(request->directoryText, directory);
    if (_beginthread(runLaunch, 0, request.get()) == static_cast<uintptr_t>(-1)) return false;
    request.release();  // the worker owns it now
    return true;
}

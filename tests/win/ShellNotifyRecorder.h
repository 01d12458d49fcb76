// Stands in for the shell's notification area while alive: every call through
// the tray seam is recorded with a copy of its data, and answers with `result`.
#pragma once

#include <vector>

#include "schedule/TrayIcon.h"

struct ShellNotifyCall {
    DWORD message;
    NOTIFYICONDATAA data;
};

class ShellNotifyRecorder {
public:
    ShellNotifyRecorder() : previous_(shellNotifyIcon) {
        current_ = this;
        shellNotifyIcon = record;
    }
    ~ShellNotifyRecorder() {
        shellNotifyIcon = previous_;
        current_ = nullptr;
    }
    ShellNotifyRecorder(const ShellNotifyRecorder&) = delete;
    ShellNotifyRecorder& operator=(const ShellNotifyRecorder&) = delete;

    std::vector<ShellNotifyCall> calls;
    BOOL result = TRUE;

private:
    static BOOL WINAPI record(DWORD message, PNOTIFYICONDATAA data) {
        current_->calls.push_back({message, *data});
        return current_->result;
    }
    static inline ShellNotifyRecorder* current_ = nullptr;
    ShellNotifyIconFunction previous_;
};

// A clock object of the test's own on a plain pop-up window of this process,
// with the default face font, for tests of the operations that draw and size it.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "app/ClockWindow.h"
#include "settings/Flags.h"

class ClockOnWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 50, 20, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        clock = std::make_unique<ClockWindow>();
        clock->hwnd = window;
        clock->flags = FLAGS_DEFAULT;
        clock->reloadDefaultFont();
    }
    void TearDown() override {
        clock.reset();
        DestroyWindow(window);
    }

    HWND window = nullptr;
    std::unique_ptr<ClockWindow> clock;
};

// Shared set-up for framework tests on the scripted backend: a clean backend
// and framework state per test, and one event log in which the backend and
// the tests' callbacks record the order of everything.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/app_callbacks.h"
#include "framework/scripted_window.h"
#include "framework/window_state.h"

using Events = std::vector<std::string>;

class ScriptedTest : public ::testing::Test {
protected:
    void SetUp() override { resetScriptedPlatform(); }
    void TearDown() override {
        EXPECT_FALSE(scriptedPlatform().runaway) << "the main loop never ended by itself";
        resetScriptedPlatform();
    }
    static Events& events() { return scriptedPlatform().events; }
    static void log(const std::string& event) { events().push_back(event); }
    static void logReshape(int32_t width, int32_t height) {
        log("reshape " + std::to_string(width) + "x" + std::to_string(height));
    }
    static void logKey(bool pressed, int32_t code) {
        log((pressed ? "down " : "up ") + std::to_string(code));
    }
};

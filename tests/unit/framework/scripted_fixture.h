// Shared set-up for framework tests on the scripted backend: a clean backend
// and framework state per test, and callbacks that log into the backend's
// event list so the order of everything can be checked.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/app_callbacks.h"
#include "framework/scripted_window.h"
#include "framework/window_state.h"

class ScriptedTest : public ::testing::Test {
protected:
    void SetUp() override { resetScriptedPlatform(); }
    void TearDown() override {
        EXPECT_FALSE(scriptedPlatform().runaway) << "the main loop never ended by itself";
        resetScriptedPlatform();
    }

    static std::vector<std::string>& events() { return scriptedPlatform().events; }

    // Events of the log that start with prefix, in order.
    static std::vector<std::string> eventsStartingWith(const std::string& prefix) {
        std::vector<std::string> found;
        for (const std::string& event : events())
            if (event.rfind(prefix, 0) == 0)
                found.push_back(event);
        return found;
    }

    static size_t indexOf(const std::string& event) {
        for (size_t i = 0; i < events().size(); ++i)
            if (events()[i] == event)
                return i;
        return events().size();
    }
};

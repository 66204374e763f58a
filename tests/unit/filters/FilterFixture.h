// A document fixture for the filter tests: a picture and a selection set, a command run by its
// component name as the menu runs it, and a fixed clock for the noise.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/Document.h"
#include "filters/FilterCommands.h"
#include "platform/Clock.h"
#include "platform/Errors.h"
#include "support/TestData.h"

namespace lf::test {

class FilterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        SetClock([] { return TimeOfDay{10, 20, 30, 456}; });
    }
    void TearDown() override {
        SetClock({});
        ResetDocument();
    }

    // The picture, with the whole of it selected.
    static void Load(const Bitmap& picture) {
        MainBitmap = picture;
        SelectAll();
    }
    static void Run(const std::string& component) {
        const FilterCommand* command = FindFilterCommand(component);
        ASSERT_NE(command, nullptr) << component;
        RunEditingCommand(command->stages);
    }
    // Runs the command, expecting it to stop with the error message; returns it.
    static std::string RunFailing(const std::string& component) {
        try {
            RunEditingCommand(FindFilterCommand(component)->stages);
        } catch (const Error& e) {
            return e.what();
        }
        return "(no error)";
    }
    // One pixel through the whole command: a 1 × 1 picture cannot be stretched by Optimize, but
    // every point filter works on it.
    static uint32_t OnePixel(const std::string& component, uint32_t color) {
        Load(SolidPicture(1, 1, color));
        Run(component);
        return MainBitmap.Pixel(0, 0);
    }
};

}  // namespace lf::test

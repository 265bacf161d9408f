// A test fixture that gives every test a fresh headless screen and clock.
#pragma once

#include <gtest/gtest.h>

#include "platform/backends/headless/headless_backend.h"
#include "platform/windows/input.h"
#include "platform/windows/message_pump.h"

class HeadlessTest : public ::testing::Test {
  protected:
    void SetUp() override { backend = &platform::InstallHeadlessBackend(display); }
    void TearDown() override { platform::InstallHeadlessBackend(display); }

    // Handles everything that is ready, as the program's loop would between two events.
    static void Pump() { platform::ProcessPendingMessages(); }
    void Advance(std::uint32_t milliseconds) { backend->AdvanceClock(milliseconds); }

    platform::DisplayInfo display{480, 640, 96};
    platform::HeadlessBackend* backend = nullptr;
};

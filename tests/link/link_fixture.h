// Puts the model and the link flags into their start-up state for each test.
#pragma once

#include <gtest/gtest.h>

#include "link/comm_settings.h"
#include "link/link_flags.h"
#include "model/settings_model.h"
#include "tests/support/program_state.h"
#include "tests/support/recording_sink.h"

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProgramState(); }
    CRecordingSink sink;
};

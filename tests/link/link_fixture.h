// Puts the model and the link flags into their start-up state for each test.
#pragma once

#include <gtest/gtest.h>

#include "link/comm_settings.h"
#include "link/link_flags.h"
#include "model/settings_model.h"
#include "tests/support/recording_sink.h"

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_nModel = 0;
        g_bRs485 = 0;
        ResetModelDefaults();
        g_nSendStep = 0;
        g_bErrorReply = 0;
        g_bAwaitingReply = 0;
        g_nNoReplyTicks = 0;
    }
    CRecordingSink sink;
};

// Default model, RS-232C, and every framed line captured instead of written.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "link/comm_settings.h"
#include "link/transmitter.h"
#include "model/settings_model.h"
#include "protocol/fields.h"
#include "tests/support/program_state.h"
#include "tests/support/recording_sink.h"
#include "tests/support/repeat_text.h"
#include "tests/support/wire_capture.h"

class EditorsTest : public ::testing::Test {
protected:
    CWireCapture wire;
    std::vector<std::string>& lines = wire.lines;
    CRecordingSink sink;
};

// Both models, each with and without the RS-485 address in front.
struct WireSetup {
    int nModel;
    int bRs485;
    int nSlave;
    const char* address;  // what goes in front of each line on the wire
};

inline const WireSetup kWireSetups[] = {
    {0, 0, 0, ""}, {1, 0, 0, ""}, {0, 1, 0, "00"}, {1, 1, 3, "03"}, {0, 1, 17, "17"}};

class WireTest : public EditorsTest, public ::testing::WithParamInterface<WireSetup> {
protected:
    void SetUp() override {
        EditorsTest::SetUp();
        g_nModel = GetParam().nModel;
        g_bRs485 = GetParam().bRs485;
        g_nSlaveAddress = GetParam().nSlave;
    }
    // Input channels of the model under test.
    int Inputs() const { return GetParam().nModel == 0 ? 32 : 64; }
    // The line as it must reach the wire.
    std::string Framed(const std::string& line) const { return GetParam().address + line; }
    std::vector<std::string> FramedLines(const std::vector<std::string>& bodies) const {
        std::vector<std::string> framed;
        for (const auto& body : bodies) framed.push_back(Framed(body));
        return framed;
    }
};

inline std::string WireName(const ::testing::TestParamInfo<WireSetup>& info) {
    const WireSetup& w = info.param;
    std::string name = w.nModel == 0 ? "Inputs32" : "Inputs64";
    if (w.bRs485) name += "_Slave" + std::to_string(w.nSlave);
    return name;
}

#define QELVAR_WIRE_SUITE(suite) \
    INSTANTIATE_TEST_SUITE_P(Wires, suite, ::testing::ValuesIn(kWireSetups), WireName)

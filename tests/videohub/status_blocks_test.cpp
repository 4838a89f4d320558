#include "videohub/status_blocks.h"

#include <gtest/gtest.h>

TEST(StatusBlocksTest, TheDeviceBlockSaysAbsentAloneAndPresentInFull) {
    EXPECT_EQ(FormatDevice({}), "VIDEOHUB DEVICE:\nDevice present: false\n\n");
    CVideohubDevice device{true, "Qelvar-32", "Rack 1", "0123456789AB", 96, 32};
    EXPECT_EQ(FormatDevice(device),
              "VIDEOHUB DEVICE:\n"
              "Device present: true\n"
              "Model name: Qelvar-32\n"
              "Friendly name: Rack 1\n"
              "Unique ID: 0123456789AB\n"
              "Video inputs: 96\n"
              "Video processing units: 0\n"
              "Video outputs: 32\n"
              "Video monitoring outputs: 0\n"
              "Serial ports: 0\n\n");
}

TEST(StatusBlocksTest, NumberedItemsCannotEndTheBlockEarly) {
    EXPECT_EQ(FormatNumbered("INPUT LABELS:", {{0, "本社"}, {1, ""}, {2, "a\n\nb\rc\x7f"}}),
              "INPUT LABELS:\n0 本社\n1 \n2 a  b c \n\n");
    EXPECT_EQ(FormatPreamble(), "PROTOCOL PREAMBLE:\nVersion: 2.8\n\n");
}

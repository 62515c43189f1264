#include <gtest/gtest.h>

#include "model/ProjectRecord.h"

TEST(Record, StartupDefaultsHoldOneTrainAndOneStretch)
{
    ProjectRecord r = startupDefaults("2026-01-01 10:00:00");
    EXPECT_EQ(r.trainCount, 1);
    EXPECT_EQ(r.stretchCount, 1);
    EXPECT_TRUE(r.bpLabel[1][1].equals("SM"));
    EXPECT_TRUE(r.bpLabel[1][2].equals("MT"));
    EXPECT_EQ(r.angleTo[1], 180);
    EXPECT_FLOAT_EQ(r.receiverHeight[1], 2.0f);
}

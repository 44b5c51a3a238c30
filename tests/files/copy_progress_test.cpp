// The copy's progress: the gauge in 5-percent steps up to 90 and the
// billboard texts, both moved by expanded bytes.
#include <gtest/gtest.h>

#include "files/copy_progress.h"
#include "shell/setup_state.h"
#include "support/in_process.h"

namespace {

TEST(CopyProgress, GaugeAndBillboardStepWithExpandedBytes)
{
    ResetSetupState();
    LangBase = 3000;
    InitCopyProgress();
    // The byte counts run on through the whole process; crossing both steps
    // at once starts them both again from 0.
    AdvanceCopyProgress(600 * 1024);
    InitCopyProgress();
    CopyPercent = 0;
    EXPECT_EQ(BillboardId, 3040u);

    // 1600 KB in all: the gauge moves after more than 100 KB, the billboard
    // after more than 533 KB.
    AdvanceCopyProgress(100 * 1024);
    EXPECT_EQ(CopyPercent, 0);
    AdvanceCopyProgress(1024);
    EXPECT_EQ(CopyPercent, 5);
    AdvanceCopyProgress(100 * 1024);  // the excess of the last step was dropped
    EXPECT_EQ(CopyPercent, 5);
    AdvanceCopyProgress(1024);
    EXPECT_EQ(CopyPercent, 10);
    EXPECT_EQ(BillboardId, 3040u);
    AdvanceCopyProgress(332 * 1024);
    EXPECT_EQ(BillboardId, 3041u);

    for (int i = 0; i < 100; ++i)
        AdvanceCopyProgress(101 * 1024);
    EXPECT_EQ(CopyPercent, 90);
    EXPECT_GE(BillboardId, 3043u);
}

TEST(CopyProgress, StepsAreComputedWithoutOverflowForLargeBlocks)
{
    ResetSetupState();
    InitCopyProgress();
    AdvanceCopyProgress(600 * 1024);
    CopyPercent = 0;
    AdvanceCopyProgress(0xFFFFFFFFu);
    AdvanceCopyProgress(0xFFFFFFFFu);
    EXPECT_EQ(CopyPercent, 10);
}

}  // namespace

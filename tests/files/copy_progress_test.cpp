// The copy's progress: the gauge in 5-percent steps up to 90 and the
// billboard texts, both moved by expanded bytes.
#include <gtest/gtest.h>

#include "files/copy_progress.h"
#include "res/resource_ids.h"
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
    const UINT firstBillboard = 3000 + IDS_BILLBOARD_FIRST;
    EXPECT_EQ(BillboardId, firstBillboard);

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
    EXPECT_EQ(BillboardId, firstBillboard);
    AdvanceCopyProgress(332 * 1024);
    EXPECT_EQ(BillboardId, firstBillboard + 1);

    for (int i = 0; i < 100; ++i)
        AdvanceCopyProgress(101 * 1024);
    EXPECT_EQ(CopyPercent, 90);
    EXPECT_GE(BillboardId, firstBillboard + 3);
}

}  // namespace

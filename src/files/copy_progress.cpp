#include "files/copy_progress.h"

#include "res/resource_ids.h"
#include "shell/progress.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

// The gauge moves in 5-percent steps from 5 to 90 over the total size.
constexpr int kGaugeStepPercent = 5;
constexpr int kGaugeLastPercent = 90;
// The total size is spread over this many percent of the gauge.
constexpr int kGaugeSpanPercent = 80;

// This unit's own counters, read by no other; InitCopyProgress gives them
// all their start values.
struct CopyCounters {
    ULONGLONG gaugeStepKilobytes = 0;
    ULONGLONG billboardStepKilobytes = 0;
    int billboardCount = 2;
    ULONGLONG gaugeBytes = 0;      // counted since the gauge last moved
    ULONGLONG billboardBytes = 0;  // counted since the billboard last changed
};
CopyCounters Counters;

}  // namespace

void InitCopyProgress()
{
    const ULONGLONG totalKilobytes = static_cast<ULONGLONG>(LoadBankNumber(IDS_TOTAL_KILOBYTES, 0));
    Counters = CopyCounters{};
    Counters.billboardCount = LoadBankNumber(IDS_BILLBOARD_COUNT, 2);
    if (Counters.billboardCount < 2)
        Counters.billboardCount = 2;
    Counters.gaugeStepKilobytes = totalKilobytes * kGaugeStepPercent / kGaugeSpanPercent;
    Counters.billboardStepKilobytes = totalKilobytes / static_cast<ULONGLONG>(Counters.billboardCount - 1);
    BillboardId = LangBase + IDS_BILLBOARD_FIRST;
}

void AdvanceCopyProgress(DWORD bytes)
{
    Counters.gaugeBytes += bytes;
    if (Counters.gaugeBytes / 1024 > Counters.gaugeStepKilobytes) {
        Counters.gaugeBytes = 0;
        if (CopyPercent < kGaugeLastPercent)
            SetCopyPercent(CopyPercent + kGaugeStepPercent);
    }
    Counters.billboardBytes += bytes;
    if (Counters.billboardBytes / 1024 > Counters.billboardStepKilobytes) {
        Counters.billboardBytes = 0;
        ++BillboardId;
        if (BillboardId < LangBase + IDS_BILLBOARD_FIRST + static_cast<UINT>(Counters.billboardCount - 1))
            SetInfoText(BillboardId);
    }
}

void SetCopyPercent(int percent)
{
    CopyPercent = percent;
    SetPercent(percent);
}

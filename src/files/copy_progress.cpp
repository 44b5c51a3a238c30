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

ULONGLONG GaugeStepKilobytes;
ULONGLONG BillboardStepKilobytes;
int BillboardCount;
ULONGLONG GaugeBytes;
ULONGLONG BillboardBytes;

}  // namespace

void InitCopyProgress()
{
    ULONGLONG totalKilobytes = static_cast<ULONGLONG>(LoadBankNumber(IDS_TOTAL_KILOBYTES, 0));
    BillboardCount = LoadBankNumber(IDS_BILLBOARD_COUNT, 2);
    if (BillboardCount < 2)
        BillboardCount = 2;
    BillboardId = LangBase + IDS_BILLBOARD_FIRST;
    GaugeBytes = 0;
    BillboardBytes = 0;
    GaugeStepKilobytes = totalKilobytes * kGaugeStepPercent / kGaugeSpanPercent;
    BillboardStepKilobytes = totalKilobytes / static_cast<ULONGLONG>(BillboardCount - 1);
}

void AdvanceCopyProgress(DWORD bytes)
{
    GaugeBytes += bytes;
    if (GaugeBytes / 1024 > GaugeStepKilobytes) {
        GaugeBytes = 0;
        if (CopyPercent < kGaugeLastPercent)
            SetCopyPercent(CopyPercent + kGaugeStepPercent);
    }
    BillboardBytes += bytes;
    if (BillboardBytes / 1024 > BillboardStepKilobytes) {
        BillboardBytes = 0;
        ++BillboardId;
        if (BillboardId < LangBase + IDS_BILLBOARD_FIRST + static_cast<UINT>(BillboardCount - 1))
            SetInfoText(BillboardId);
    }
}

void SetCopyPercent(int percent)
{
    CopyPercent = percent;
    SetPercent(percent);
}

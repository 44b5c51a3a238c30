// The whole unattended Backup Server install as an administrator runs it
// (services created and started, program group built) and its unattended
// uninstall, each watched in its phases, beside the floors of their
// mandated work measured in the same rounds.
#pragma once

#include <string>
#include <vector>

#include "launch_watch.h"
#include "product_texts.h"
#include "service_floor.h"

class InitiateWatch;
class ScreenBackdrop;

class WholeInstallBench {
public:
    // `share` and `destination` end in a backslash.
    WholeInstallBench(const std::wstring& share, const std::wstring& destination, const ProductTexts& texts,
                      ScreenBackdrop& screen, InitiateWatch& initiates);

    // One round: the floors and setup's install and uninstall, in an order
    // that turns with the round. Kept unless `keep` is false (warm-up).
    void Round(int round, bool keep);
    // The report's section, as Markdown.
    void Print() const;
    int failures() const { return failures_; }

private:
    enum Floor { kCheckFloor, kCopyFloor, kCreateFloor, kGroupFloor, kStopFloor, kRemoveFloor, kUngroupFloor,
                 kFloorCount };

    void Clean();
    void WaitUntilQuiet() const;
    void RunFloors(bool keep);
    void RunSetup(bool keep);
    void Failed(const wchar_t* what, double seconds);

    std::wstring share_;
    std::wstring destination_;
    const ProductTexts& texts_;
    ScreenBackdrop& screen_;
    InitiateWatch& initiates_;
    ServiceAccountSpec account_;
    std::wstring userName_;
    ULONGLONG copiedBytes_ = 0;  // what an install leaves in the product directory
    std::vector<double> floors_[kFloorCount];
    std::vector<LaunchResult> installs_;
    std::vector<LaunchResult> uninstalls_;
    int groupWindowsClosed_ = 0;
    int failures_ = 0;
};

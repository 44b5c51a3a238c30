// Reads the screen, as a person sees it, to tell whether setup's dark-blue
// backdrop (its solid colour or its 16-colour pattern) covers most of it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class ScreenBackdrop {
public:
    ScreenBackdrop() = default;
    ScreenBackdrop(const ScreenBackdrop&) = delete;
    ScreenBackdrop& operator=(const ScreenBackdrop&) = delete;
    ~ScreenBackdrop();

    // Takes the backdrop's colours from the pattern bitmap in `setupProgram`
    // and prepares the screen reads. False, with `error` set, when either
    // fails.
    bool Open(const std::wstring& setupProgram, std::wstring* error);

    // The share (0..1) of the sampled screen pixels that show a backdrop
    // colour now.
    double CoveredShare();

    // "Most of the screen": setup's panels, billboard and caption cover the
    // rest.
    static constexpr double kPaintedShare = 0.5;

private:
    std::vector<DWORD> colours_;  // 0x00RRGGBB, as the screen reads back
    HDC screen_ = nullptr;
    HDC memory_ = nullptr;
    HBITMAP rows_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    const DWORD* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// setup.exe started as a person would start it: the maximised window with
// its backdrop, the first dialog centred on it, and Quit ending the run.
#include <gtest/gtest.h>

#include "support/setup_process.h"

namespace {

const wchar_t kTypeCaption[] = L"Tapewright Install";

TEST(Startup, WindowIsMaximisedWithCaptionAndBackdrop)
{
    SetupProcess setup(L"/L:1");
    ASSERT_TRUE(setup.Started());
    HWND dialog = setup.WaitForDialog(kTypeCaption);
    ASSERT_NE(dialog, nullptr);
    HWND frame = setup.WaitForFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(IsZoomed(frame));
    EXPECT_EQ(WindowText(frame), L"Tapewright Installation");

    // Dark blue pattern at the top right; the billboard at the bottom left is
    // a picture, not the backdrop.
    HWND client = GetWindow(frame, GW_CHILD);
    RECT area;
    GetClientRect(client, &area);
    COLORREF corner = ScreenPixel(client, area.right - 3, 3);
    EXPECT_LT(GetRValue(corner), 64);
    EXPECT_LT(GetGValue(corner), 64);
    EXPECT_LT(GetBValue(corner), 160);
    int lit = 0;
    for (int y = area.bottom - 300; y < area.bottom - 20; y += 10) {
        COLORREF colour = ScreenPixel(client, 150, y);
        if (GetRValue(colour) + GetGValue(colour) > 200)
            ++lit;
    }
    EXPECT_GT(lit, 0);

    // The dialog is centred on the screen.
    RECT box;
    GetWindowRect(dialog, &box);
    RECT screen;
    GetWindowRect(frame, &screen);
    EXPECT_NEAR((box.left + box.right) / 2, screen.right / 2, 2);
    EXPECT_NEAR((box.top + box.bottom) / 2, screen.bottom / 2, 2);

    PressButton(dialog, IDCANCEL);
    EXPECT_EQ(setup.WaitForExit(), 1u);
}

}  // namespace

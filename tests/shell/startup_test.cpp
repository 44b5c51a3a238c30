// setup.exe started as a person would start it: the maximised window, the
// first dialog centred on it, and Quit ending the run.
#include <gtest/gtest.h>

#include "support/setup_process.h"

namespace {

TEST(Startup, WindowIsMaximisedWithItsCaptionAndTheFirstDialogCentred)
{
    SetupProcess setup(L"/L:1");
    HWND dialog = setup.WaitForDialog(L"Tapewright Install");
    ASSERT_NE(dialog, nullptr);
    HWND frame = setup.WaitForFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(IsZoomed(frame));
    EXPECT_EQ(WindowText(frame), L"Tapewright Installation");

    RECT box, screen;
    GetWindowRect(dialog, &box);
    GetWindowRect(frame, &screen);
    EXPECT_NEAR((box.left + box.right) / 2, screen.right / 2, 2);
    EXPECT_NEAR((box.top + box.bottom) / 2, screen.bottom / 2, 2);

    PressButton(dialog, IDCANCEL);
    EXPECT_EQ(setup.WaitForExit(), 1u);
}

}  // namespace

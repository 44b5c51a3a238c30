// The setup window built in this process: the panels' layout and the gauge;
// and the exit code the run ends with.
#include <gtest/gtest.h>

#include <vector>

#include "res/resource_ids.h"
#include "shell/message_loop.h"
#include "shell/progress.h"
#include "shell/setup_state.h"
#include "shell/setup_window.h"
#include "support/in_process.h"

using namespace support;

namespace {

// Drains this thread's queue so the windows are painted.
void Settle()
{
    for (int i = 0; i < 3; ++i, Sleep(20))
        PumpMessages();
}

// The maximised setup window created in this process.
class SetupWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        static bool registered = RegisterSetupClasses(Instance, CreateSolidBrush(RGB(0, 0, 64)));
        ASSERT_TRUE(registered);
        ASSERT_NE(CreateFrameWindow(Instance, nullptr), nullptr);
        LoadBillboards();
        ShowWindow(FrameWindow, SW_SHOWMAXIMIZED);
        Settle();
    }
    void TearDown() override
    {
        DestroyWindow(FrameWindow);
        // The frame asks for the program's end when it goes; this one goes on.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
};

RECT PlaceInClient(HWND panel)
{
    RECT r;
    GetWindowRect(panel, &r);
    MapWindowPoints(nullptr, ClientWindow, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The panels meet at the middle of a tall client; on a short one the
// percent panel keeps 10 pixels from the top and the info panel its lower
// edge 25 pixels above the bottom.
TEST_F(SetupWindow, PanelsStartHiddenAndMeetAtTheMiddleOfATallClientAndStayOnAShortOne)
{
    EXPECT_FALSE(IsWindowVisible(InfoWindow) || IsWindowVisible(PercentWindow));
    SendMessageW(ClientWindow, WM_SIZE, 0, MAKELPARAM(1000, 700));
    EXPECT_EQ(PlaceInClient(InfoWindow).top, 350);
    EXPECT_EQ(PlaceInClient(PercentWindow).bottom, 350);
    SendMessageW(ClientWindow, WM_SIZE, 0, MAKELPARAM(640, 300));
    EXPECT_EQ(PlaceInClient(PercentWindow).top, 10);
    EXPECT_EQ(PlaceInClient(InfoWindow).bottom, 275);
}

TEST_F(SetupWindow, GaugeFillsThreePixelsPerPercentAndStartsAgainWhenShown)
{
    HBITMAP fill = LoadBitmapW(Instance, MAKEINTRESOURCEW(IDB_GAUGE_FILL));
    HDC fillDc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(fillDc, fill);
    ShowPercentWindow(true);
    RECT client;
    GetClientRect(PercentWindow, &client);
    const int left = client.right / 2 - 150, row = 62;  // above the percentage text
    HDC dc = GetDC(PercentWindow);
    SetPercent(45);
    Settle();
    EXPECT_EQ(GetPixel(dc, left + 134, row), GetPixel(fillDc, 134, row - 60));
    EXPECT_EQ(GetPixel(dc, left + 135, row), RGB(0, 0, 0));
    ShowPercentWindow(false);
    ShowPercentWindow(true);
    Settle();
    EXPECT_EQ(GetPixel(dc, left + 1, row), RGB(0, 0, 0));
    ReleaseDC(PercentWindow, dc);
    DeleteObject(SelectObject(fillDc, previous));
    DeleteDC(fillDc);
}

// Closing the frame asks for a completed end, then the sequence it cancelled
// for the other: the run ends with the graver code. A completion that needs
// a restart is graver than a plain one, and no failure hides behind it.
TEST(ProgramEnd, KeepsTheGravestCodeAskedFor)
{
    const struct {
        std::vector<int> asked;
        int ends;
    } cases[] = {
        {{kExitCompleted, kExitNotCompleted, kExitCompleted}, kExitNotCompleted},
        {{kExitCompleted, kExitRestartRequired, kExitCompleted}, kExitRestartRequired},
        {{kExitRestartRequired, kExitNotCompleted, kExitCompleted}, kExitNotCompleted},
        {{kExitNotCompleted, kExitRestartRequired}, kExitNotCompleted},
    };
    for (const auto& c : cases) {
        ResetSetupState();
        for (int code : c.asked)
            RequestProgramEnd(code);
        PumpMessages();  // sees the request and leaves it for the main loop
        EXPECT_EQ(RunMessageLoop(), c.ends) << c.asked.front() << ", " << c.asked[1];
    }
}

}  // namespace

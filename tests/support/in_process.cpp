#include "support/in_process.h"

#include "shell/message_loop.h"
#include "shell/setup_state.h"
#include "shell/setup_window.h"
#include "shell/string_bank.h"
#include "support/setup_process.h"

void ResetSetupState(const wchar_t* commandLine)
{
    ResetSetupState(GetModuleHandleW(nullptr), commandLine);
    // Start-up finds the Administrators group in the token under Wine.
    IsAdmin = true;
}

namespace {

MessageBoxAnswerer* ActiveAnswerer;

}  // namespace

MessageBoxAnswerer::MessageBoxAnswerer(std::vector<int> answers) : answers_(std::move(answers))
{
    ActiveAnswerer = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

MessageBoxAnswerer::~MessageBoxAnswerer()
{
    UnhookWindowsHookEx(hook_);
    ActiveAnswerer = nullptr;
}

LRESULT CALLBACK MessageBoxAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    MessageBoxAnswerer* self = ActiveAnswerer;
    if (code == HCBT_ACTIVATE && self) {
        HWND box = reinterpret_cast<HWND>(wParam);
        if (ClassName(box) == L"#32770") {
            self->boxes_.push_back({WindowText(box), MessageBoxText(box)});
            size_t index = self->boxes_.size() - 1;
            int answer = self->answers_.empty() ? IDOK
                         : index < self->answers_.size() ? self->answers_[index]
                                                         : self->answers_.back();
            if (answer == MessageBoxAnswerer::kPressEnter)
                PostMessageW(box, WM_KEYDOWN, VK_RETURN, 1);
            else
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
        }
    }
    return CallNextHookEx(self ? self->hook_ : nullptr, code, wParam, lParam);
}

void SetupWindowTest::SetUp()
{
    ResetSetupState();
    static HBRUSH backdrop = CreateSolidBrush(RGB(0, 0, 64));
    static bool registered = RegisterSetupClasses(Instance, backdrop);
    ASSERT_TRUE(registered);
    HWND frame = CreateFrameWindow(Instance);
    ASSERT_NE(frame, nullptr);
    LoadBillboards();
    ShowWindow(frame, SW_SHOWMAXIMIZED);
    UpdateWindow(frame);
    Settle();
}

void SetupWindowTest::TearDown()
{
    if (IsWindow(FrameWindow))
        DestroyWindow(FrameWindow);
    FrameWindow = ClientWindow = InfoWindow = PercentWindow = CancelButton = nullptr;
    // The frame asks for the end of the program when it goes; this test
    // program carries on.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

void SetupWindowTest::Settle()
{
    for (int i = 0; i < 3; ++i) {
        PumpMessages();
        Sleep(20);
    }
}

std::wstring BankString(UINT id)
{
    wchar_t text[1024];
    int length = LoadBankString(id, text, ARRAYSIZE(text) - 1);
    return std::wstring(text, static_cast<size_t>(length));
}

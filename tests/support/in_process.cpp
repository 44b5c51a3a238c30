#include "support/in_process.h"

#include <iterator>

#include "shell/setup_state.h"
#include "shell/string_bank.h"
#include "support/setup_process.h"

namespace support {

void ResetSetupState(const wchar_t* commandLine)
{
    ::ResetSetupState(GetModuleHandleW(nullptr), commandLine);
    // Start-up finds the Administrators group in the token under Wine.
    IsAdmin = true;
}

static MessageBoxAnswerer* ActiveAnswerer;

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
    HWND box = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && self && ClassName(box) == L"#32770") {
        Box seen = {WindowText(box), MessageBoxText(box), L""};
        for (int id : {IDOK, IDCANCEL, IDYES, IDNO, IDRETRY}) {
            if (GetDlgItem(box, id))
                seen.buttons += ItemText(box, id) + L"|";
        }
        self->boxes_.push_back(seen);
        size_t index = self->boxes_.size() - 1;
        int answer = self->answers_.empty()                ? IDOK
                     : index < self->answers_.size() ? self->answers_[index]
                                                     : self->answers_.back();
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
    }
    return CallNextHookEx(self ? self->hook_ : nullptr, code, wParam, lParam);
}

std::wstring BankString(UINT id)
{
    wchar_t text[1024];
    int length = LoadBankString(id, text, std::size(text));
    return std::wstring(text, static_cast<size_t>(length));
}

}  // namespace support

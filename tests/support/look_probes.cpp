#include "support/look_probes.h"

#include <algorithm>

#include "dlg3d/dlg3d.h"
#include "dlg3d/library_state.h"

namespace support {

void SettleWindows()
{
    for (int i = 0; i < 4; ++i, Sleep(20))
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&msg);
}

bool HasTheLook(HWND window)
{
    return GetPropW(window, L"Dlg3d") != nullptr;
}

COLORREF ReadProbe(HWND dialog, const Probe& p)
{
    const bool inControl = p.in == In::Client || p.in == In::Glyph;
    HWND window = p.id ? GetDlgItem(dialog, p.id) : dialog;
    RECT r;
    if (inControl) {
        GetClientRect(window, &r);
        if (p.in == In::Glyph)
            r.top = (r.bottom - dlg3d::kGlyphHeight) / 2;
    } else {
        GetWindowRect(window, &r);
        if (p.in == In::Around)
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        else
            OffsetRect(&r, -r.left, -r.top);
    }
    const int x = (p.anchor & FromRight) ? r.right + p.x : r.left + p.x;
    const int y = (p.anchor & FromBottom) ? r.bottom + p.y : r.top + p.y;
    HWND dcWindow = inControl ? window : dialog;
    HDC dc = p.in == In::Window ? GetWindowDC(dialog) : GetDC(dcWindow);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(dcWindow, dc);
    return colour;
}

int CountColour(HWND control, COLORREF colour, RECT* box)
{
    RECT r, found = {LONG_MAX, LONG_MAX, -1, -1};
    GetClientRect(control, &r);
    HDC dc = GetDC(control);
    int count = 0;
    for (LONG y = 0; y < r.bottom; ++y) {
        for (LONG x = 0; x < r.right; ++x) {
            if (GetPixel(dc, x, y) == colour) {
                ++count;
                found = {std::min(found.left, x), std::min(found.top, y), std::max(found.right, x), std::max(found.bottom, y)};
            }
        }
    }
    ReleaseDC(control, dc);
    if (box)
        *box = found;
    return count;
}

UINT LookTest::refused_;

INT_PTR CALLBACK LookTest::DialogProc(HWND, UINT message, WPARAM, LPARAM lParam)
{
    if (message == refused_ && lParam)
        *reinterpret_cast<DWORD*>(lParam) = 0;
    return message == WM_INITDIALOG;
}

void LookTest::SetUp()
{
    owner_ = CreateWindowExW(0, L"Static", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance_, nullptr);
    active_ = Register3dControls(instance_) != FALSE;
    ASSERT_TRUE(!active_ || AutoSubclass3d(instance_));
}

void LookTest::TearDown()
{
    DestroyWindow(dialog_);  // none yet is harmless
    DestroyWindow(owner_);
    Unregister3dControls(instance_);
}

HWND LookTest::Open(int templateId, UINT refused)
{
    DestroyWindow(dialog_);
    refused_ = refused;
    dialog_ = CreateDialogParamW(instance_, MAKEINTRESOURCEW(templateId), owner_, DialogProc, 0);
    SettleWindows();
    return dialog_;
}

}  // namespace support

// Which windows get the look and how: the class table with its filters, the
// property that holds a window's previous procedure, and the edge painter
// that every painter uses.
#include <wchar.h>

#include "dlg3d/dlg3d.h"
#include "dlg3d/library_state.h"

using namespace dlg3d;

namespace {

using Filter = bool (*)(HWND window, LONG style, WORD classes);

struct ClassEntry {
    const wchar_t* name;
    WNDPROC replacement;
    Filter filter;
    WORD bits;
    ClassRow row;
};

// Plain push buttons, check boxes, radio buttons, 3-state and group boxes;
// any further style bit (left text, owner draw, alignment) keeps the
// system's look.
bool AcceptButton(HWND, LONG style, WORD)
{
    return LOWORD(style) <= BS_AUTORADIOBUTTON;
}

bool AcceptAlways(HWND, LONG, WORD)
{
    return true;
}

// A simple combo box gets its list and edit done and is drawn itself; a
// drop-down one leaves its own drawing and has its edit done.
bool AcceptCombo(HWND combo, LONG style, WORD)
{
    HWND first = GetWindow(combo, GW_CHILD);
    switch (style & 3) {
    case CBS_SIMPLE:
        if (!first)
            return false;
        Subclass3dControl(first, k3dLists);
        if (HWND next = GetWindow(first, GW_HWNDNEXT))
            Subclass3dControl(next, k3dEdits);
        return true;
    case CBS_DROPDOWN:
        if (first)
            Subclass3dControl(first, k3dEdits);
        return false;
    default:
        return true;
    }
}

bool AcceptStatic(HWND, LONG style, WORD classes)
{
    switch (style & 0x0F) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_LEFTNOWORDWRAP:
        return (classes & k3dStaticTexts) != 0;
    case SS_BLACKRECT:
    case SS_GRAYRECT:
    case SS_WHITERECT:
    case SS_BLACKFRAME:
    case SS_GRAYFRAME:
    case SS_WHITEFRAME:
        return (classes & k3dStaticFrames) != 0;
    default:
        return false;
    }
}

const ClassEntry kClasses[] = {
    {L"Button", ButtonProc, AcceptButton, k3dButtons, kButtonRow},
    {L"ListBox", ListProc, AcceptAlways, k3dLists, kListRow},
    {L"Edit", EditProc, AcceptAlways, k3dEdits, kEditRow},
    {L"ComboBox", ComboProc, AcceptCombo, k3dCombos, kComboRow},
    {L"Static", StaticProc, AcceptStatic, k3dStaticTexts | k3dStaticFrames, kStaticRow},
    {L"ComboLBox", ListProc, AcceptAlways, k3dLists, kComboListRow},
};

HANDLE PropertyOf(HWND window)
{
    return GetPropW(window, MAKEINTATOM(Lib.property));
}

}  // namespace

namespace dlg3d {

WNDPROC PreviousProcedure(HWND window, ClassRow row)
{
    if (HANDLE previous = PropertyOf(window))
        return reinterpret_cast<WNDPROC>(previous);
    WNDPROC fallback = Lib.classProcedures[row] ? Lib.classProcedures[row] : DefWindowProcW;
    SetPropW(window, MAKEINTATOM(Lib.property), reinterpret_cast<HANDLE>(fallback));
    return fallback;
}

LRESULT ForgetWindow(HWND window, ClassRow row, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC previous = PreviousProcedure(window, row);
    RemovePropW(window, MAKEINTATOM(Lib.property));
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

bool SubclassWindow(HWND window, WNDPROC procedure)
{
    if (PropertyOf(window))
        return false;
    SendMessageW(window, kRefuse3dLook, 0, 0);
    if (PropertyOf(window))
        return false;
    LONG_PTR previous = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    SetPropW(window, MAKEINTATOM(Lib.property), reinterpret_cast<HANDLE>(previous));
    return true;
}

bool Accepts(HWND window, UINT question)
{
    DWORD flag = 1;
    SendMessageW(window, question, 0, reinterpret_cast<LPARAM>(&flag));
    return flag != 0;
}

void PaintEdges(HDC dc, const RECT& r, COLORREF a, COLORREF b, UINT sides)
{
    const COLORREF background = GetBkColor(dc);
    auto fill = [dc](COLORREF colour, int left, int top, int right, int bottom) {
        RECT edge = {left, top, right, bottom};
        SetBkColor(dc, colour);
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &edge, nullptr, 0, nullptr);
    };
    if (sides & kEdgeTop)
        fill(a, r.left, r.top, r.right, r.top + 1);
    if (sides & kEdgeLeft)
        fill(a, r.left, r.top, r.left + 1, r.bottom);
    if (sides & kEdgeRight)
        fill(b, r.right - 1, r.top, r.right, r.bottom);
    if (sides & kEdgeBottom)
        fill(b, r.left, r.bottom - 1, r.right, r.bottom);
    SetBkColor(dc, background);
}

}  // namespace dlg3d

BOOL Subclass3dControl(HWND control, WORD classes)
{
    if (!Lib.active || PropertyOf(control))
        return FALSE;
    wchar_t name[129];
    if (!GetClassNameW(control, name, ARRAYSIZE(name)))
        return FALSE;
    for (const ClassEntry& entry : kClasses) {
        if (!(entry.bits & classes) || wcscmp(entry.name, name) != 0)
            continue;
        LONG style = GetWindowLongW(control, GWL_STYLE);
        return entry.filter(control, style, classes) && SubclassWindow(control, entry.replacement);
    }
    return FALSE;
}

void Subclass3dChildren(HWND parent, WORD classes)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child && GetParent(child) == parent;
         child = GetWindow(child, GW_HWNDNEXT))
        Subclass3dControl(child, classes);
}

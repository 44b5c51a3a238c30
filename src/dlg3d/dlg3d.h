#pragma once
// The 3D dialog controls: on systems before 4.0, every dialog of a thread that
// asked for it gets grey faces, a bevelled frame, bevelled push buttons,
// bitmap glyphs for check boxes and radio buttons, etched group boxes and
// frames, and sunken borders around edit, list and combo boxes. On 4.0 and
// later, or on a screen that cannot show the look, the library stays off and
// every window keeps the system's own look.
//
// The library keeps no state of its caller: it is given the instance whose
// resources hold its glyph bitmap (dlg3d.rc) and works from the platform
// alone.
#include <windows.h>

// A window may answer these to refuse the look: lParam points to a DWORD
// flag, 1 when sent, that the window sets to 0 to refuse. The library also
// sends kRefuse3dLook with lParam 0 (no flag) just before it subclasses a
// window, so a window that wants to subclass itself can do so then.
constexpr UINT kRefuse3dLook = 0x11F0;   // may the window be subclassed
constexpr UINT kRefuse3dFrame = 0x11EF;  // may the dialog's frame be redrawn

// Class bits of Subclass3dChildren and Subclass3dControl.
enum : WORD {
    k3dButtons = 0x01,
    k3dLists = 0x02,
    k3dEdits = 0x04,
    k3dCombos = 0x08,
    k3dStaticTexts = 0x10,
    k3dStaticFrames = 0x20,
    k3dAllClasses = 0xFFFF,
};

// The first registration decides whether the library is active and builds
// its colours; later ones only count. Returns whether it is active.
BOOL Register3dControls(HINSTANCE instance);

// Hooks the calling thread so that each new dialog is subclassed. Returns 0
// on a system older than 3.10, when the library is off, or when four threads
// are hooked already.
BOOL AutoSubclass3d(HINSTANCE instance);

// Removes the instance's hook and undoes one registration; the last one
// releases the colours, brushes and bitmap and turns the library off.
BOOL Unregister3dControls(HINSTANCE instance);

// Follows a change of the system colours (WM_SYSCOLORCHANGE). Returns 1 when
// the library is active and its colours are current.
BOOL ColorChange3d();

// Subclasses each direct child of `parent` whose class is in `classes`.
void Subclass3dChildren(HWND parent, WORD classes);

// Subclasses one control of a class in `classes`; returns 1 when it did.
BOOL Subclass3dControl(HWND control, WORD classes);

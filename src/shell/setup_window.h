#pragma once
// The maximised setup window: the frame, its client backdrop with the
// billboard, and the two panels that float on it.
#include <windows.h>

// Private messages of the setup window.
enum : UINT {
    // Posted once to the frame by start-up; the frame runs the start handler.
    WM_SETUP_START = WM_USER + 201,
    // Sent to the client when the billboard palette is to be realised;
    // wParam is the client's handle.
    WM_SETUP_REALIZE_PALETTE = WM_USER + 202,
};

extern const wchar_t kFrameClass[];
extern const wchar_t kClientClass[];
extern const wchar_t kInfoClass[];
extern const wchar_t kPercentClass[];

// Registers the four window classes; false when any fails.
bool RegisterSetupClasses(HINSTANCE instance, HBRUSH backdrop);
void UnregisterSetupClasses(HINSTANCE instance);

// What the frame runs when it receives WM_SETUP_START: the whole setup,
// inside that message. The program gives it; the window knows no flow.
using StartRoutine = LRESULT (*)(HWND frame);

// Creates the frame, which creates the client and the two hidden panels.
HWND CreateFrameWindow(HINSTANCE instance, StartRoutine start);

// Chooses the billboard pictures for the display (PaletteDisplay) and, on an
// 8-bit display, builds their palette.
void LoadBillboards();

LRESULT CALLBACK FrameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ClientWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK InfoPanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PercentPanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The info panel's upper line (absolute string ID).
void SetInfoTitle(UINT id);

// Moves a panel as if its caption had been grabbed.
void DragPanel(HWND panel, UINT message, LPARAM lParam);

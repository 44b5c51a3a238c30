// Every text of the six banks fits its control, measured with the dialog's own
// font (a new dialog is one more group of rows in kFits); message boxes speak
// the bank's language, buttons included.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "files/file_table.h"
#include "res/resource_ids.h"
#include "shell/message_box.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"
#include "support/in_process.h"
#include "support/setup_process.h"

using namespace support;

namespace {

// How a control shows its string: as it is, or formatted with its arguments.
enum class Shown { Plain, WithEveryDiskName, WithDiskThreeInA, WithDriveA, WithLongestFileName };

struct Fit {
    int dialog, control;
    UINT id;  // relative to the bank, or a bank-less string
    bool inBank = true;
    Shown shown = Shown::Plain;
};

const Fit kFits[] = {
    {IDD_DESTINATION, IDC_DEST_TEXT, IDS_DEST_TEXT}, {IDD_DESTINATION, IDC_DEST_COMMON, IDS_DEST_COMMON},
    {IDD_DESTINATION, IDOK, IDS_OK}, {IDD_DESTINATION, IDCANCEL, IDS_CANCEL},
    {IDD_LANGUAGE, IDOK, IDS_OK}, {IDD_LANGUAGE, IDCANCEL, IDS_CANCEL},
    {IDD_LANGUAGE, IDC_LANGUAGE_FIRST, IDS_LANGUAGE_NAME, false},
    {IDD_LANGUAGE, IDC_LANGUAGE_FIRST + 1, IDS_LANGUAGE_NAME + 1, false},
    {IDD_LANGUAGE, IDC_LANGUAGE_FIRST + 2, IDS_LANGUAGE_NAME + 2, false},
    {IDD_LANGUAGE, IDC_LANGUAGE_FIRST + 3, IDS_LANGUAGE_NAME + 3, false},
    {IDD_INSTALL_TYPE, IDC_TYPE_BACKUP, IDS_TYPE_BACKUP}, {IDD_INSTALL_TYPE, IDC_TYPE_REMOTE, IDS_TYPE_REMOTE},
    {IDD_INSTALL_TYPE, IDC_TYPE_JOBSCOPE, IDS_TYPE_JOBSCOPE}, {IDD_INSTALL_TYPE, IDCANCEL, IDS_CANCEL},
    {IDD_INSTALL_TYPE, IDC_TYPE_BACKUP_TEXT, IDS_TYPE_BACKUP_TEXT},
    {IDD_INSTALL_TYPE, IDC_TYPE_REMOTE_TEXT, IDS_TYPE_REMOTE_TEXT},
    {IDD_INSTALL_TYPE, IDC_TYPE_JOBSCOPE_TEXT, IDS_TYPE_JOBSCOPE_TEXT},
    {IDD_INSTALL_TYPE, IDC_TYPE_QUIT_TEXT, IDS_TYPE_QUIT_TEXT},
    {IDD_DISK_PROMPT, IDC_DISK_MISSING, IDS_DISK_MISSING, true, Shown::WithEveryDiskName},
    {IDD_DISK_PROMPT, IDC_DISK_WHERE, IDS_INSERT_DISK, true, Shown::WithDiskThreeInA},
    {IDD_DISK_PROMPT, IDC_DISK_WHERE, IDS_INSERT_LOADER, true, Shown::WithDriveA},
    {IDD_DISK_PROMPT, IDOK, IDS_OK}, {IDD_DISK_PROMPT, IDCANCEL, IDS_CANCEL},
    {IDD_MAINTENANCE, IDC_MENU_LOADER, IDS_MENU_LOADER}, {IDD_MAINTENANCE, IDC_MENU_UNINSTALL, IDS_MENU_UNINSTALL},
    {IDD_MAINTENANCE, IDC_MENU_LOADER_TEXT, IDS_MENU_LOADER_TEXT},
    {IDD_MAINTENANCE, IDC_MENU_UNINSTALL_TEXT, IDS_MENU_UNINSTALL_TEXT},
    {IDD_MAINTENANCE, IDC_MENU_EXIT_TEXT, IDS_MENU_EXIT_TEXT},
    {IDD_FILE_IN_USE, IDC_IN_USE_YES_TO_ALL, IDS_YES_TO_ALL}, {IDD_FILE_IN_USE, IDCANCEL, IDS_CANCEL},
    {IDD_FILE_IN_USE, IDC_IN_USE_TEXT, IDS_IN_USE_QUESTION, true, Shown::WithLongestFileName},
    {IDD_RESTART, IDC_RESTART_TEXT, IDS_RESTART_TEXT}, {IDD_RESTART, IDC_RESTART_QUESTION, IDS_RESTART_QUESTION},
    {IDD_RESTART, IDOK, IDS_RESTART_NOW}, {IDD_RESTART, IDCANCEL, IDS_RESTART_LATER},
};

// The texts a control can show for string `id` (absolute) of bank `base`.
std::vector<std::wstring> Texts(Shown shown, UINT base, UINT id)
{
    wchar_t text[1025];
    std::vector<std::wstring> texts;
    for (int i = 0; i < (shown == Shown::WithEveryDiskName ? kFileCount : 1); ++i) {
        if (shown == Shown::WithEveryDiskName)
            FormatBankString(text, std::size(text), id, BankString(base + kFileTable[i].compressedNameId).c_str());
        else if (shown == Shown::WithDiskThreeInA)
            FormatBankString(text, std::size(text), id, 3, L"A:");
        else if (shown == Shown::WithDriveA)
            FormatBankString(text, std::size(text), id, L"A:");
        else if (shown == Shown::WithLongestFileName)
            FormatBankString(text, std::size(text), id, L"twi_tape.dll");
        texts.push_back(shown == Shown::Plain ? BankString(id) : text);
    }
    return texts;
}

INT_PTR CALLBACK InertDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// Empty when `text` fits `control` drawn with `font`; otherwise what it needs.
// Buttons take one line inside their edge and focus frame; check boxes and
// radio buttons lose the box glyph's width; static texts wrap at words and
// must fit in height.
std::wstring Misfit(HWND control, HFONT font, const std::wstring& text)
{
    RECT room;
    GetClientRect(control, &room);
    bool wraps = lstrcmpiW(ClassName(control).c_str(), L"Static") == 0;
    LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    if (!wraps && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON))
        InflateRect(&room, -2 * GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
    else if (!wraps)
        room.left += GetSystemMetrics(SM_CXMENUCHECK) + 2 * GetSystemMetrics(SM_CXEDGE);
    RECT need = {0, 0, room.right - room.left, 0};
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, font);
    DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_EXPANDTABS | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    if (need.right <= room.right - room.left && need.bottom <= room.bottom - room.top)
        return L"";
    return L"needs " + std::to_wstring(need.right) + L"x" + std::to_wstring(need.bottom) + L" px, has " +
           std::to_wstring(room.right - room.left) + L"x" + std::to_wstring(room.bottom - room.top);
}

TEST(TextFit, EveryBankTextFitsItsControl)
{
    ResetSetupState();
    for (const Fit& fit : kFits) {
        HWND dialog = CreateDialogParamW(Instance, MAKEINTRESOURCEW(fit.dialog), nullptr, InertDialogProc, 0);
        HWND control = GetDlgItem(dialog, fit.control);
        ASSERT_NE(control, nullptr) << fit.dialog << "/" << fit.control;
        auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
        for (UINT base = 1000; base <= (fit.inBank ? 6000u : 1000u); base += 1000) {
            UINT id = fit.inBank ? base + fit.id : fit.id;
            for (const std::wstring& text : Texts(fit.shown, base, id)) {
                EXPECT_FALSE(text.empty()) << "string " << id;
                EXPECT_EQ(Misfit(control, font, text), L"")
                    << "dialog " << fit.dialog << ", control " << fit.control << ", string " << id << ": " << text;
            }
        }
        DestroyWindow(dialog);
    }
}

TEST(MessageBoxes, InteractiveQuestionsSpeakTheLanguageOfTheBank)
{
    ResetSetupState();
    LangBase = 2000;
    MessageBoxAnswerer answerer({IDOK, IDNO, IDRETRY});
    const std::pair<UINT, int> asked[] = {{MB_OK, IDOK}, {MB_YESNO | MB_DEFBUTTON2, IDNO}, {MB_RETRYCANCEL, IDRETRY}};
    for (auto [buttons, answer] : asked)
        EXPECT_EQ(AskUser(LangBase + IDS_IN_USE_TITLE, LangBase + IDS_IN_USE_TEXT, buttons, MB_ICONSTOP, 0), answer);
    ASSERT_EQ(answerer.Boxes().size(), 3u);
    EXPECT_EQ(answerer.Boxes()[0].caption, L"Acceso denegado");
    EXPECT_EQ(answerer.Boxes()[0].buttons, L"Aceptar|");
    EXPECT_EQ(answerer.Boxes()[1].buttons, L"&S\u00ed|&No|");
    EXPECT_EQ(answerer.Boxes()[2].buttons, L"Cancelar|&Reintentar|");
}

}  // namespace

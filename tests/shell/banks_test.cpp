// The six language banks: they hold the same strings with the same
// placeholders, and every text fits the control that shows it, measured with
// the dialog's own font, so that no translation is clipped. A new dialog is
// one more group of rows in kFits.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

#include "files/file_table.h"
#include "res/resource_ids.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"
#include "support/in_process.h"
#include "support/setup_process.h"

namespace {

const UINT kBanks[] = {1000, 2000, 3000, 4000, 5000, 6000};

// The texts a control can show for string `id` (absolute) of bank `base`.
using Texts = std::vector<std::wstring> (*)(UINT base, UINT id);

std::vector<std::wstring> Plain(UINT, UINT id)
{
    return {BankString(id)};
}

// "The file %s was not found on disk.", for each file of the source disks.
std::vector<std::wstring> WithEveryDiskName(UINT base, UINT id)
{
    std::vector<std::wstring> texts;
    wchar_t text[1025];
    for (int i = 0; i < kFileCount; ++i) {
        FormatBankString(text, ARRAYSIZE(text), id, BankString(base + kFileTable[i].compressedNameId).c_str());
        texts.push_back(text);
    }
    return texts;
}

// The disk prompt's texts with disk 3 (the numbered one) and drive A:.
std::vector<std::wstring> WithDiskThreeInA(UINT, UINT id)
{
    wchar_t text[1025];
    FormatBankString(text, ARRAYSIZE(text), id, 3, L"A:");
    return {text};
}

std::vector<std::wstring> WithDriveA(UINT, UINT id)
{
    wchar_t text[1025];
    FormatBankString(text, ARRAYSIZE(text), id, L"A:");
    return {text};
}

// The file-in-use question with the longest installed name.
std::vector<std::wstring> WithLongestFileName(UINT, UINT id)
{
    wchar_t text[1025];
    FormatBankString(text, ARRAYSIZE(text), id, L"twi_tape.dll");
    return {text};
}

struct Fit {
    int dialog;
    int control;
    UINT id;  // relative to the bank, or a bank-less string
    bool inBank = true;
    Texts texts = Plain;
};

const Fit kFits[] = {
    {IDD_DESTINATION, IDC_DEST_TEXT, IDS_DEST_TEXT},
    {IDD_DESTINATION, IDC_DEST_COMMON, IDS_DEST_COMMON},
    {IDD_DESTINATION, IDOK, IDS_OK},
    {IDD_DESTINATION, IDCANCEL, IDS_CANCEL},

    {IDD_LANGUAGE, IDOK, IDS_OK},
    {IDD_LANGUAGE, IDCANCEL, IDS_CANCEL},
    {IDD_LANGUAGE, IDC_LANGUAGE_FIRST + 0, IDS_LANGUAGE_NAME + 0, false},
    {IDD_LANGUAGE, IDC_LANGUAGE_FIRST + 1, IDS_LANGUAGE_NAME + 1, false},
    {IDD_LANGUAGE, IDC_LANGUAGE_FIRST + 2, IDS_LANGUAGE_NAME + 2, false},
    {IDD_LANGUAGE, IDC_LANGUAGE_FIRST + 3, IDS_LANGUAGE_NAME + 3, false},
    {IDD_LANGUAGE, IDC_LANGUAGE_FIRST + 4, IDS_LANGUAGE_NAME + 4, false},
    {IDD_LANGUAGE, IDC_LANGUAGE_FIRST + 5, IDS_LANGUAGE_NAME + 5, false},

    {IDD_INSTALL_TYPE, IDC_TYPE_BACKUP, IDS_TYPE_BACKUP},
    {IDD_INSTALL_TYPE, IDC_TYPE_REMOTE, IDS_TYPE_REMOTE},
    {IDD_INSTALL_TYPE, IDC_TYPE_JOBSCOPE, IDS_TYPE_JOBSCOPE},
    {IDD_INSTALL_TYPE, IDCANCEL, IDS_CANCEL},
    {IDD_INSTALL_TYPE, IDC_TYPE_BACKUP_TEXT, IDS_TYPE_BACKUP_TEXT},
    {IDD_INSTALL_TYPE, IDC_TYPE_REMOTE_TEXT, IDS_TYPE_REMOTE_TEXT},
    {IDD_INSTALL_TYPE, IDC_TYPE_JOBSCOPE_TEXT, IDS_TYPE_JOBSCOPE_TEXT},
    {IDD_INSTALL_TYPE, IDC_TYPE_QUIT_TEXT, IDS_TYPE_QUIT_TEXT},

    {IDD_DISK_PROMPT, IDC_DISK_MISSING, IDS_DISK_MISSING, true, WithEveryDiskName},
    {IDD_DISK_PROMPT, IDC_DISK_WHERE, IDS_INSERT_DISK, true, WithDiskThreeInA},
    {IDD_DISK_PROMPT, IDC_DISK_WHERE, IDS_INSERT_LOADER, true, WithDriveA},
    {IDD_DISK_PROMPT, IDOK, IDS_OK},
    {IDD_DISK_PROMPT, IDCANCEL, IDS_CANCEL},

    {IDD_MAINTENANCE, IDC_MENU_LOADER, IDS_MENU_LOADER},
    {IDD_MAINTENANCE, IDC_MENU_UNINSTALL, IDS_MENU_UNINSTALL},
    {IDD_MAINTENANCE, IDC_MENU_LOADER_TEXT, IDS_MENU_LOADER_TEXT},
    {IDD_MAINTENANCE, IDC_MENU_UNINSTALL_TEXT, IDS_MENU_UNINSTALL_TEXT},
    {IDD_MAINTENANCE, IDC_MENU_EXIT_TEXT, IDS_MENU_EXIT_TEXT},
    {IDD_FILE_IN_USE, IDC_IN_USE_YES_TO_ALL, IDS_YES_TO_ALL},
    {IDD_FILE_IN_USE, IDC_IN_USE_TEXT, IDS_IN_USE_QUESTION, true, WithLongestFileName},
    {IDD_RESTART, IDC_RESTART_TEXT, IDS_RESTART_TEXT},
    {IDD_RESTART, IDC_RESTART_QUESTION, IDS_RESTART_QUESTION},
    {IDD_RESTART, IDOK, IDS_RESTART_NOW},
    {IDD_RESTART, IDCANCEL, IDS_RESTART_LATER},
};

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
        for (UINT base : kBanks) {
            UINT id = fit.inBank ? base + fit.id : fit.id;
            for (const std::wstring& text : fit.texts(base, id)) {
                EXPECT_FALSE(text.empty()) << "string " << id;
                EXPECT_EQ(Misfit(control, font, text), L"")
                    << "dialog " << fit.dialog << ", control " << fit.control << ", string " << id << ": " << text;
            }
            if (!fit.inBank)
                break;
        }
        DestroyWindow(dialog);
    }
}

// Relative ID -> text, for the IDs that hold a string in bank `base`.
std::map<int, std::wstring> Bank(UINT base)
{
    std::map<int, std::wstring> bank;
    for (int id = 0; id < 1000; ++id) {
        std::wstring text = BankString(base + id);
        if (!text.empty())
            bank[id] = text;
    }
    return bank;
}

std::vector<std::wstring> Conversions(const std::wstring& text)
{
    static const std::wregex conversion(L"%[-+ #0]*[0-9]*(\\.[0-9]+)?[a-zA-Z%]");
    std::vector<std::wstring> found;
    for (std::wsregex_iterator it(text.begin(), text.end(), conversion), end; it != end; ++it)
        found.push_back(it->str());
    return found;
}

TEST(Banks, EveryBankHoldsTheEnglishIdsWithTheirPlaceholdersInOrder)
{
    ResetSetupState();
    std::map<int, std::wstring> english = Bank(1000);
    for (UINT base = 2000; base <= 6000; base += 1000) {
        std::map<int, std::wstring> bank = Bank(base);
        EXPECT_EQ(bank.size(), english.size()) << "bank " << base;
        for (const auto& [id, text] : english) {
            EXPECT_EQ(bank.count(id), 1u) << "bank " << base << " ID " << id;
            EXPECT_EQ(Conversions(bank[id]), Conversions(text)) << "bank " << base << " ID " << id;
        }
    }
}

}  // namespace

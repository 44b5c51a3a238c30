// Start-up: setup.exe as the loader and deployment tools see it (a 32-bit
// x86 image for the oldest system supported, with a manifest that fits it:
// Windows refuses a program whose manifest names another processor
// architecture; its version and message table), the first screens, one
// setup at a time, and the list of options.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "res/version.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/registry_override.h"
#include "support/setup_process.h"
#include "support/test_services.h"

using namespace support;

namespace {

// The message that Event Viewer shows setup's events with gives each event's
// text whole, whatever the system's language. The image read is the one that
// ships, also where the tests themselves are built for x64.
TEST(SetupImage, CarriesWhatTheLoaderDeploymentToolsAndEventViewerRead)
{
    std::string image = FileBytes(SHIPPED_SETUP_EXE_PATH);
    ASSERT_GE(image.size(), sizeof(IMAGE_DOS_HEADER));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    ASSERT_LE(static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32), image.size());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(image.data() + dos->e_lfanew);
    EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
    EXPECT_EQ(nt->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR32_MAGIC);
    EXPECT_EQ(nt->OptionalHeader.MajorSubsystemVersion * 100 + nt->OptionalHeader.MinorSubsystemVersion, 400);

    HMODULE module = LoadLibraryExW(SHIPPED_SETUP_EXE_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    std::string manifest(static_cast<const char*>(LockResource(LoadResource(module, found))),
                         SizeofResource(module, found));
    EXPECT_NE(manifest.find("level=\"highestAvailable\""), std::string::npos) << manifest;
    size_t architecture = manifest.find("processorArchitecture=");
    if (architecture != std::string::npos) {
        EXPECT_EQ(manifest.compare(architecture, 28, "processorArchitecture=\"x86\""), 0) << manifest;
    }
    const wchar_t* text = L"Tapewright Setup ended: completed.\n\nExit code: 0";
    DWORD_PTR arguments[] = {reinterpret_cast<DWORD_PTR>(text)};
    wchar_t shown[256] = {};
    EXPECT_TRUE(FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, module, 1, 0, shown,
                               ARRAYSIZE(shown), reinterpret_cast<va_list*>(arguments)));
    EXPECT_STREQ(shown, text);
    FreeLibrary(module);

    DWORD ignored = 0;
    std::vector<BYTE> info(GetFileVersionInfoSizeW(SHIPPED_SETUP_EXE_PATH, &ignored));
    ASSERT_TRUE(!info.empty() && GetFileVersionInfoW(SHIPPED_SETUP_EXE_PATH, 0, static_cast<DWORD>(info.size()), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(SETUP_VERSION_MINOR, SETUP_VERSION_MAJOR));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, SETUP_VERSION_BUILD));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    const std::wstring version = L"6.0." + std::to_wstring(SETUP_VERSION_BUILD);
    for (auto [name, expected] : {std::pair{L"CompanyName", L"Velmar"}, {L"ProductName", L"Tapewright"},
                                  {L"FileVersion", version.c_str()}, {L"ProductVersion", version.c_str()}}) {
        wchar_t* value = nullptr;
        EXPECT_TRUE(VerQueryValueW(info.data(), (std::wstring(L"\\StringFileInfo\\040904B0\\") + name).c_str(),
                                   reinterpret_cast<void**>(&value), &size) && value && value == std::wstring(expected))
            << name;
    }
}

TEST(LanguageDialog, FirstScreenOffersFourLanguagesAndEachClickSwitchesTheTexts)
{
    ResetSetupState();
    RegionalLanguage german(L"DEU");
    SetupProcess setup(L"");
    HWND dialog = setup.WaitForDialog(L"Tapewright");
    ASSERT_NE(dialog, nullptr);
    HWND frame = setup.WaitForFrame();
    EXPECT_TRUE(IsZoomed(frame));
    for (int i = 0; i < IDC_LANGUAGE_COUNT; ++i)
        EXPECT_EQ(IsWindowVisible(GetDlgItem(dialog, IDC_LANGUAGE_FIRST + i)) != FALSE, i < 4) << i;
    EXPECT_EQ(SendMessageW(GetDlgItem(dialog, IDC_LANGUAGE_FIRST + 3), BM_GETCHECK, 0, 0), BST_CHECKED);

    PressButton(dialog, IDC_LANGUAGE_FIRST);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(frame) == L"Tapewright Installation"; }));
    EXPECT_EQ(ItemText(dialog, IDCANCEL), L"Cancel");
    // The last click before OK wins: the next dialog speaks French.
    PressButton(dialog, IDC_LANGUAGE_FIRST + 2);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(frame) == L"Installation de Tapewright"; }));
    PressButton(dialog, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return setup.WaitForDialog(L"Tapewright", 0) == nullptr; }));
    HWND type = setup.WaitForDialog(nullptr);
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(ItemText(type, IDC_TYPE_BACKUP), BankString(3000 + IDS_TYPE_BACKUP));
    RECT box, screen;
    GetWindowRect(type, &box);
    GetWindowRect(frame, &screen);
    EXPECT_NEAR(box.left + box.right, screen.right, 4) << "centred on the window";
    EXPECT_NEAR(box.top + box.bottom, screen.bottom, 4);
    PressButton(type, IDCANCEL);
    EXPECT_EQ(setup.WaitForExit(), 1u);
}

// A second setup started while one waits in a dialog changes nothing and
// ends with the code that tools try again on: unattended at once, by hand
// once the user has read why. "/?" takes no lock: it lists the options in
// the bank's language, shows no window and ends with 0 meanwhile. The first
// goes on to complete its install.
TEST(SecondSetup, EndsAtOnceWhileAnotherRunsAndTheFirstGoesOn)
{
    RemoveProductInstall();
    const SetupLaunch share = From(FixturePath(L"share-en"));
    SetupProcess first(L"/L:1 /EV:", share);
    HWND dialog = first.WaitForDialog(L"Specify Directory");
    ASSERT_NE(dialog, nullptr);
    const DWORD start = GetTickCount();
    EXPECT_EQ(SetupProcess(L"/SMS: /EV: /DEST:C:\\TWTEST\\NT", share).WaitForExit(),
              static_cast<DWORD>(kExitAnotherSetupRunning));
    EXPECT_LT(GetTickCount() - start, 5000u);
    SetupProcess byHand(L"/L:3 /EV: /DEST:C:\\TWTEST\\NT", share);
    HWND box = byHand.WaitForDialog(L"Installation d\u00e9j\u00e0 en cours");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), BankString(3000 + IDS_BUSY_TEXT));
    EXPECT_EQ(byHand.WaitForFrame(0), nullptr);
    PressButton(box, IDOK);
    EXPECT_EQ(byHand.WaitForExit(), static_cast<DWORD>(kExitAnotherSetupRunning));
    EXPECT_FALSE(Exists(L"C:\\TWTEST"));
    SetupProcess list(L"/L:4 /?");
    box = list.WaitForDialog(L"Setup-Optionen");
    ASSERT_NE(box, nullptr);
    const std::wstring text = MessageBoxText(box);
    EXPECT_EQ(text, BankString(4000 + IDS_HELP_TEXT));
    for (const wchar_t* option : {L"/L:", L"/SMS:", L"/TS:", L"/RA:", L"/EV:", L"/DEST:", L"/COMMON:", L"/USER:",
                                  L"/DOMAIN:", L"/PASSWORD:", L"/U:", L"/UNINSTALL:", L"/LDR:", L"/REBOOT:", L"3010",
                                  L"1618"})
        EXPECT_NE(text.find(option), std::wstring::npos) << option;
    EXPECT_EQ(list.WaitForFrame(0), nullptr);
    PressButton(box, IDOK);
    EXPECT_EQ(list.WaitForExit(), 0u);

    PressButton(dialog, IDOK);
    ASSERT_TRUE(first.Answer(L"Read Important Information", IDNO, 60000));
    HWND button = first.WaitForCancelButton();
    EXPECT_TRUE(WaitUntil([&] { return WindowText(button) == L"OK"; }));
    PostMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(first.WaitForExit(), 0u);
    EXPECT_TRUE(Exists(L"C:\\TAPWRITE\\NT\\jobscope.exe"));
    RemoveProductInstall();
    RemoveTree(L"C:\\TWTEST");
}

}  // namespace

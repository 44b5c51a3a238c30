// The built setup.exe as the loader sees it before any of its code runs (the
// machine and the oldest system its header admits, and a manifest that fits
// the image: Windows refuses to start a program whose manifest names another
// processor architecture), and as a person starts it: the maximised window,
// the first dialog centred on it, and Quit ending the run.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/install_support.h"
#include "support/setup_process.h"

namespace {

std::string ManifestOf(const wchar_t* path)
{
    std::string text;
    HMODULE image = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = image ? FindResourceW(image, MAKEINTRESOURCEW(1), RT_MANIFEST) : nullptr;
    HGLOBAL loaded = found ? LoadResource(image, found) : nullptr;
    if (loaded)
        text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(image, found));
    if (image)
        FreeLibrary(image);
    return text;
}

TEST(SetupImage, Is32BitWithAManifestThatFitsIt)
{
    std::string image = FileBytes(SETUP_EXE_PATH);
    ASSERT_GE(image.size(), sizeof(IMAGE_DOS_HEADER));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    ASSERT_EQ(dos->e_magic, IMAGE_DOS_SIGNATURE);
    ASSERT_LE(static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32), image.size());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(image.data() + dos->e_lfanew);
    EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
    ASSERT_EQ(nt->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR32_MAGIC);
    EXPECT_EQ(nt->OptionalHeader.MajorSubsystemVersion, 4);
    EXPECT_EQ(nt->OptionalHeader.MinorSubsystemVersion, 0);

    std::string manifest = ManifestOf(SETUP_EXE_PATH);
    EXPECT_NE(manifest.find("level=\"highestAvailable\""), std::string::npos) << manifest;
    const std::string x86 = "processorArchitecture=\"x86\"";
    size_t architecture = manifest.find("processorArchitecture=");
    if (architecture != std::string::npos) {
        EXPECT_EQ(manifest.compare(architecture, x86.size(), x86), 0) << manifest;
    }
}

TEST(Startup, WindowIsMaximisedWithItsCaptionAndTheFirstDialogCentred)
{
    SetupProcess setup(L"/L:1");
    HWND dialog = setup.WaitForDialog(L"Tapewright Install");
    ASSERT_NE(dialog, nullptr);
    HWND frame = setup.WaitForFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(IsZoomed(frame));
    EXPECT_EQ(WindowText(frame), L"Tapewright Installation");

    RECT box, screen;
    GetWindowRect(dialog, &box);
    GetWindowRect(frame, &screen);
    EXPECT_NEAR((box.left + box.right) / 2, screen.right / 2, 2);
    EXPECT_NEAR((box.top + box.bottom) / 2, screen.bottom / 2, 2);

    PressButton(dialog, IDCANCEL);
    EXPECT_EQ(setup.WaitForExit(), 1u);
}

}  // namespace

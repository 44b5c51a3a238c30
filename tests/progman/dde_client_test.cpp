// The conversation with Program Manager, against a server of the tests' own
// that answers under a name no other server uses.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "progman/dde_client.h"
#include "progman/progman_commands.h"
#include "support/registry_override.h"
#include "support/test_progman.h"

namespace {

const std::wstring kCurrentVersion = L"SOFTWARE\\MICROSOFT\\Windows NT\\CurrentVersion";
constexpr wchar_t kTestApplication[] = L"TwTestProgman";
constexpr DWORD kShortAckTimeoutMs = 500;
constexpr DWORD kTerminateWaitMs = 2000;

// The client asks for the tests' server, with the build number the test
// names; both are put back afterwards.
class DdeClient : public testing::Test {
protected:
    void SetUp() override
    {
        ProgmanApplication = kTestApplication;
        ASSERT_TRUE(build_.Set(L"1057"));
    }
    void TearDown() override
    {
        DdeClientClose();
        ProgmanApplication = L"PROGMAN";
        DdeAckTimeoutMs = kDdeAckTimeoutMs;
    }
    void SetBuild(const wchar_t* number) { ASSERT_TRUE(build_.Set(number)); }

    RegistryOverride build_{HKEY_LOCAL_MACHINE, kCurrentVersion, L"CurrentBuildNumber"};
};

TEST_F(DdeClient, WithoutAnyServerAnsweringNothingOpens)
{
    EXPECT_EQ(DdeClientOpen(GetModuleHandleW(nullptr)), 0);
    EXPECT_EQ(DdeExecute(L"[DeleteGroup(X)]"), 0);
    // The class went with the failed open: the next open registers it again.
    TestProgman server(kTestApplication);
    EXPECT_EQ(DdeClientOpen(GetModuleHandleW(nullptr)), 1);
}

TEST_F(DdeClient, CommandsArriveInOrderAsUtf16AfterBuild528)
{
    TestProgman server(kTestApplication);
    ASSERT_EQ(DdeClientOpen(GetModuleHandleW(nullptr)), 1);
    EXPECT_TRUE(UnicodeDde);
    EXPECT_EQ(PmDeleteItem(L"Caf\x00E9 \x2605", 0, L"Tapewright Monitor"), 1);
    EXPECT_EQ(PmReplaceAndAddItem(L"G", 1, L"C:\\P\\x.exe", L"C:\\P\\", L"", L"X", 0, 0), 1);
    EXPECT_EQ(PmDeleteGroup(L"G", 0), 1);
    EXPECT_EQ(DdeClientClose(), 1);
    const std::vector<std::wstring> expected = {
        L"[CreateGroup(\"Caf\x00E9 \x2605\",0)][ShowGroup(\"Caf\x00E9 \x2605\",5,0)]"
        L"[DeleteItem(\"Tapewright Monitor\")]",
        L"[CreateGroup(G,1)][ShowGroup(G,5,1)][ReplaceItem(X)]",
        L"[CreateGroup(G,1)][ShowGroup(G,5,1)][AddItem(C:\\P\\x.exe,X,C:\\P\\x.exe,0,,,C:\\P\\,,0)]",
        L"[DeleteGroup(G,0)]",
    };
    EXPECT_EQ(server.WideCommands(), expected);
    EXPECT_EQ(server.WaitForTerminates(1, kTerminateWaitMs), 1) << "closing ends the conversation";
}

TEST_F(DdeClient, Build528SendsCodePage437BytesAndRefusesWhatDoesNotFit)
{
    SetBuild(L"528");
    TestProgman server(kTestApplication);
    ASSERT_EQ(DdeClientOpen(GetModuleHandleW(nullptr)), 1);
    EXPECT_FALSE(UnicodeDde);
    EXPECT_EQ(PmDeleteGroup(L"Caf\x00E9\x2605", 1), 1);
    const std::wstring fits = L"[" + std::wstring(kMaxOemCommandBytes - 3, L'x') + L"]";
    EXPECT_EQ(DdeExecute(fits.c_str()), 1);
    const std::wstring tooLong = L"[" + std::wstring(kMaxOemCommandBytes - 2, L'x') + L"]";
    EXPECT_EQ(DdeExecute(tooLong.c_str()), 0);
    const std::vector<std::string> expected = {"[DeleteGroup(Caf\x82_,1)]", std::string(fits.begin(), fits.end())};
    EXPECT_EQ(server.NarrowCommands(), expected);
}

TEST_F(DdeClient, ARefusedOrUnansweredCommandFails)
{
    DdeAckTimeoutMs = kShortAckTimeoutMs;
    {
        TestProgman refusing(kTestApplication, TestProgman::Answer::kNegative);
        ASSERT_EQ(DdeClientOpen(GetModuleHandleW(nullptr)), 1);
        EXPECT_EQ(DdeExecute(L"[DeleteGroup(X)]"), 0);
        EXPECT_EQ(refusing.Blocks().size(), 1u);
        DdeClientClose();
    }
    TestProgman silent(kTestApplication, TestProgman::Answer::kNever);
    ASSERT_EQ(DdeClientOpen(GetModuleHandleW(nullptr)), 1);
    const DWORD start = GetTickCount();
    EXPECT_EQ(DdeExecute(L"[DeleteGroup(X)]"), 0);
    const DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, kShortAckTimeoutMs - 20);
    EXPECT_LT(waited, kShortAckTimeoutMs * 4);
    // The block stays the server's to read.
    ASSERT_EQ(silent.Blocks().size(), 1u);

    DdeAckTimeoutMs = kDdeAckTimeoutMs;
    silent.Vanish();
    EXPECT_EQ(DdeExecute(L"[DeleteGroup(Y)]"), 0) << "a server gone is not waited for";
}

TEST_F(DdeClient, TheServersTerminateIsAnsweredOnceAndEndsTheConversation)
{
    TestProgman server(kTestApplication);
    ASSERT_EQ(DdeClientOpen(GetModuleHandleW(nullptr)), 1);
    server.Terminate();
    EXPECT_EQ(DdeExecute(L"[DeleteGroup(X)]"), 0);
    DdeClientClose();
    Sleep(200);
    EXPECT_EQ(server.WaitForTerminates(1, kTerminateWaitMs), 1);
}

TEST_F(DdeClient, OfTwoAnsweringServersOneIsKeptAndTheOtherIsEnded)
{
    TestProgman first(kTestApplication);
    TestProgman second(kTestApplication);
    ASSERT_EQ(DdeClientOpen(GetModuleHandleW(nullptr)), 1);
    EXPECT_EQ(DdeExecute(L"[DeleteGroup(X)]"), 1);
    EXPECT_EQ(first.Blocks().size() + second.Blocks().size(), 1u);
    TestProgman& dropped = first.Blocks().empty() ? first : second;
    EXPECT_EQ(dropped.WaitForTerminates(1, kTerminateWaitMs), 1) << "the replaced server's conversation is ended";
    DdeClientClose();
    TestProgman& kept = first.Blocks().empty() ? second : first;
    EXPECT_EQ(kept.WaitForTerminates(1, kTerminateWaitMs), 1);
    Sleep(200);
    EXPECT_EQ(dropped.TerminatesReceived(), 1);
}

}  // namespace

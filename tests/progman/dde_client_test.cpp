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

constexpr wchar_t kTestApplication[] = L"TwTestProgman";
constexpr DWORD kShortAckTimeoutMs = 500;
const HINSTANCE kInstance = GetModuleHandleW(nullptr);

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

    RegistryOverride build_{HKEY_LOCAL_MACHINE, L"SOFTWARE\\MICROSOFT\\Windows NT\\CurrentVersion",
                            L"CurrentBuildNumber"};
};

// Also: the server's terminate is answered once; of two servers answering
// the initiate one is kept and the other's conversation is ended.
TEST_F(DdeClient, OpensOnlyWithAServerAndEndsEveryConversationOnce)
{
    EXPECT_EQ(DdeClientOpen(kInstance), 0);
    EXPECT_EQ(DdeExecute(L"[DeleteGroup(X)]"), 0);
    TestProgman first(kTestApplication);
    TestProgman second(kTestApplication);
    EXPECT_EQ(DdeClientOpen(kInstance), 1) << "a failed open leaves the class free to register again";
    EXPECT_EQ(GlobalFindAtomW(kTestApplication), 0) << "the initiate's atoms and the answer's are deleted";
    EXPECT_EQ(DdeExecute(L"[DeleteGroup(X)]"), 1);
    ASSERT_EQ(first.blocks.size() + second.blocks.size(), 1u);
    TestProgman& kept = first.blocks.empty() ? second : first;
    EXPECT_EQ((first.blocks.empty() ? first : second).terminates, 1) << "the replaced server's conversation";
    kept.Terminate();
    EXPECT_EQ(DdeExecute(L"[DeleteGroup(Y)]"), 0) << "no command after the server's terminate";
    EXPECT_EQ(DdeClientClose(), 1);
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(first.terminates + second.terminates, 2);
}

TEST_F(DdeClient, Build528SendsCodePage437BytesAndRefusesWhatDoesNotFit)
{
    ASSERT_TRUE(build_.Set(L"528"));
    TestProgman server(kTestApplication);
    ASSERT_EQ(DdeClientOpen(kInstance), 1);
    EXPECT_FALSE(UnicodeDde);
    EXPECT_EQ(PmDeleteGroup(L"Caf\x00E9\x2605", 1), 1);
    const std::wstring fits = L"[" + std::wstring(kMaxOemCommandBytes - 3, L'x') + L"]";
    EXPECT_EQ(DdeExecute(fits.c_str()), 1);
    EXPECT_EQ(DdeExecute((fits + L" ").c_str()), 0);
    ASSERT_EQ(server.blocks.size(), 2u);
    EXPECT_STREQ(server.blocks[0].c_str(), "[DeleteGroup(Caf\x82_,1)]");
    EXPECT_EQ(server.blocks[1].c_str(), std::string(fits.begin(), fits.end()));
    DdeClientClose();
    EXPECT_TRUE(PumpUntil([&] { return server.terminates == 1; }, kShortAckTimeoutMs)) << "closing ends it";
}

// The late acknowledgement comes from a timer of this thread, so it arrives
// only while the waiting client dispatches the thread's messages.
TEST_F(DdeClient, ALateAcknowledgementIsAwaitedWithTheWindowsAlive)
{
    constexpr UINT kLateMs = 300;
    DdeAckTimeoutMs = kLateMs * 10;
    TestProgman server(kTestApplication, TestProgman::Answer::kPositive, kLateMs);
    ASSERT_EQ(DdeClientOpen(kInstance), 1);
    const DWORD start = GetTickCount();
    EXPECT_EQ(DdeExecute(L"[DeleteGroup(X)]"), 1);
    EXPECT_GE(GetTickCount() - start, kLateMs - 20);
}

TEST_F(DdeClient, ARefusedUnansweredOrOrphanedCommandFails)
{
    DdeAckTimeoutMs = kShortAckTimeoutMs;
    {
        TestProgman refusing(kTestApplication, TestProgman::Answer::kNegative);
        ASSERT_EQ(DdeClientOpen(kInstance), 1);
        EXPECT_EQ(DdeExecute(L"[DeleteGroup(X)]"), 0);
        EXPECT_EQ(refusing.acks, 1);
        DdeClientClose();
    }
    TestProgman silent(kTestApplication, TestProgman::Answer::kNever);
    ASSERT_EQ(DdeClientOpen(kInstance), 1);
    DWORD start = GetTickCount();
    EXPECT_EQ(DdeExecute(L"[DeleteGroup(X)]"), 0);
    EXPECT_GE(GetTickCount() - start, kShortAckTimeoutMs - 20);
    EXPECT_LT(GetTickCount() - start, kShortAckTimeoutMs * 4);
    EXPECT_NE(GlobalSize(reinterpret_cast<HGLOBAL>(silent.lastBlock)), 0u) << "the block stays the server's";

    DdeAckTimeoutMs = kDdeAckTimeoutMs;
    DestroyWindow(silent.window);
    start = GetTickCount();
    EXPECT_EQ(DdeExecute(L"[DeleteGroup(Y)]"), 0);
    EXPECT_LT(GetTickCount() - start, kShortAckTimeoutMs) << "a server gone is not waited for";
}

}  // namespace

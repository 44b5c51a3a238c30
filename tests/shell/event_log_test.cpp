// The event log as setup reports to it: what "/SMS:" keeps from the screen,
// with the text it would have shown in the bank's language; the start and the
// end of a run, never with a password; nothing when the log cannot be
// reached. And "/?", which only a word of its own asks for.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "files/source_disks.h"
#include "maint/maintenance_dialogs.h"
#include "program/run_events.h"
#include "program/setup_main.h"
#include "res/resource_ids.h"
#include "shell/message_box.h"
#include "shell/options.h"
#include "shell/path_text.h"
#include "shell/setup_state.h"
#include "support/event_recorder.h"
#include "support/in_process.h"

using namespace support;

namespace {

using Events = std::vector<std::pair<WORD, std::wstring>>;

// The events recorded are `expected`, each the one message with one string,
// and every source opened was closed again.
#define EXPECT_EVENTS(recorder, ...) do { SCOPED_TRACE("EXPECT_EVENTS"); ExpectEvents(recorder, __VA_ARGS__); } while (0)
void ExpectEvents(const EventRecorder& recorder, const Events& expected)
{
    ASSERT_EQ(recorder.events.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(recorder.events[i].type, expected[i].first) << i;
        EXPECT_EQ(recorder.events[i].message, 1u) << i;
        EXPECT_EQ(recorder.events[i].strings, std::vector<std::wstring>{expected[i].second}) << i;
    }
    EXPECT_EQ(recorder.openSources, 0);
}

// Boxes, the disk prompt and the file-in-use question: as they would have
// been shown, with the answer taken. A box shown is the user's to read.
TEST(EventLog, WhatSmsAnswersIsReportedAsItWouldHaveBeenShown)
{
    for (const wchar_t* line : {L"setup.exe /SMS: /L:4", L"setup.exe /L:4"}) {
        const bool unattended = wcsstr(line, L"/SMS:") != nullptr;
        ResetSetupState(line);
        ReadCommandLine(line);
        EventRecorder recorder;
        MessageBoxAnswerer answerer({IDYES, IDOK});
        EXPECT_EQ(AskUser(LangBase + IDS_UNINSTALL_TITLE, L"107", MB_YESNO, MB_ICONQUESTION, IDYES), IDYES);
        EXPECT_EQ(AskUser(LangBase + IDS_UNEXPECTED_TITLE, L"5", MB_OK, MB_ICONSTOP, IDOK), IDOK);
        EXPECT_EQ(answerer.Boxes().size(), unattended ? 0u : 2u);
        EXPECT_EVENTS(recorder, unattended ? Events{{EVENTLOG_INFORMATION_TYPE, L"Deinstallation best\u00e4tigen\n\n107"
                                                                                L"\n\nOhne R\u00fcckfrage beantwortet: Ja"},
                                                    {EVENTLOG_ERROR_TYPE, L"Unerwarteter Fehler\n\n5\n\nOhne "
                                                                          L"R\u00fcckfrage beantwortet: OK"}}
                                           : Events{});
    }
    ResetSetupState(L"setup.exe /SMS: /U: /UNINSTALL:");
    EventRecorder recorder;
    lstrcpyW(SourcePath, L"C:\\TWNODISK\\");
    EXPECT_FALSE(RequestSourceDisk(false, 2, L"twnser.ex_"));
    EXPECT_EQ(AskFileInUse(L"twdiag.exe"), FileInUseAnswer::YesToAll);
    EXPECT_EVENTS(recorder,
                  {{EVENTLOG_WARNING_TYPE,
                    L"Load Install Disk\n\nPlease insert disk 2 in drive C:, or indicate the path where the files can "
                    L"be found:\n\nThe file twnser.ex_ was not found on disk.\n\nAnswered without asking: Cancel"},
                   {EVENTLOG_INFORMATION_TYPE,
                    L"Cancel Installation\n\nThe installation is not complete.  Are you sure you wish to cancel "
                    L"installation?\n\nAnswered without asking: Yes"},
                   {EVENTLOG_INFORMATION_TYPE,
                    L"Access Denied\n\nThe file \"twdiag.exe\" is in use. Remove it at the next re-boot?\n\n"
                    L"Answered without asking: Yes to All"}});
}

TEST(EventLog, AnUnreachableLogLosesTheEventAndNothingElse)
{
    ResetSetupState(L"setup.exe /SMS:");
    EventRecorder recorder(false);
    EXPECT_EQ(AskUser(LangBase + IDS_UNINSTALL_TITLE, L"?", MB_YESNO, MB_ICONQUESTION, IDNO), IDNO);
    ReportRunEnd(kExitNotCompleted);
    EXPECT_EVENTS(recorder, {});
}

TEST(RunEvents, TheStartSaysWhatTheCommandLineAsksForAndNeverThePassword)
{
    wchar_t here[kPathChars];
    ASSERT_TRUE(GetProgramDirectory(here));
    const std::pair<const wchar_t*, std::wstring> cases[] = {
        {L"setup.exe /SMS: /TS: /DEST:C:\\TW\\NT /USER:svc /DOMAIN:$LOCAL$ /PASSWORD:Sekr3t",
         L"Tapewright Setup started an installation.\n\nInstall type: Backup Server\nDestination: C:\\TW\\NT\n"
         L"Language: EN (/L:1)\nUnattended: Yes"},
        {L"setup.exe /L:4 /RA: /EV:",
         L"Tapewright-Setup hat eine Installation begonnen.\n\nInstallationsart: Remoteverwaltung\n"
         L"Ziel: wird im Dialogfeld erfragt\nSprache: DE (/L:4)\nUnbeaufsichtigt: Nein"},
        {L"setup.exe /U: /UNINSTALL: /LDR: /SMS:",
         L"Tapewright Setup started in maintenance mode: loader module.\n\nProduct directory: " + std::wstring(here) +
             L"\nLanguage: EN (/L:1)\nUnattended: Yes"},
        {L"setup.exe /U:A:\\ /L:3",
         L"Le programme d'installation de Tapewright a d\u00e9marr\u00e9 en mode maintenance : le menu de "
         L"maintenance.\n\nR\u00e9pertoire du produit : " + std::wstring(here) +
             L"\nLangue : FR (/L:3)\nSans surveillance : Non"},
    };
    for (const auto& [line, text] : cases) {
        ResetSetupState(line);
        ReadCommandLine(line);
        EventRecorder recorder;
        ReportRunStart();
        EXPECT_EVENTS(recorder, {{EVENTLOG_INFORMATION_TYPE, text}});
    }
}

TEST(RunEvents, TheEndNamesTheOutcomeAndTheExitCode)
{
    const std::tuple<int, WORD, const wchar_t*> cases[] = {
        {kExitCompleted, EVENTLOG_INFORMATION_TYPE, L"completed"},
        {kExitRestartRequired, EVENTLOG_INFORMATION_TYPE, L"completed; the next restart finishes it"},
        {kExitNotCompleted, EVENTLOG_ERROR_TYPE, L"not completed"},
        {kExitAnotherSetupRunning, EVENTLOG_WARNING_TYPE, L"another Tapewright Setup was running; nothing was changed"},
    };
    for (const auto& [code, type, outcome] : cases) {
        ResetSetupState(L"setup.exe");
        EventRecorder recorder;
        ReportRunEnd(code);
        EXPECT_EVENTS(recorder, {{type, L"Tapewright Setup ended: " + std::wstring(outcome) + L".\n\nExit code: " +
                                            std::to_wstring(code)}});
    }
}

// "/?" makes a run show a list and do nothing: a password or path holding
// it must not.
TEST(CommandLine, OptionsAreListedOnlyForAWordOfItsOwnOutsideQuotes)
{
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"setup.exe /?", true},         {L"\"C:\\My Disks\\setup.exe\" /L:2 /?", true},
        {L"setup.exe /?\t/L:3", true},   {L"setup.exe /?x", false},
        {L"setup.exe /PASSWORD:ab/? /TS:", false}, {L"setup.exe \"/PASSWORD:a /? b\" /TS:", false},
    };
    for (auto [line, asked] : cases)
        EXPECT_EQ(HasHelpOption(line), asked) << line;
}

}  // namespace

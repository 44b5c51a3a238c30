// The product's services registered under the service account and started.
// A service that cannot log on sends the user back to the account; any
// other failure is reported with its code.
#include <iterator>

#include "res/resource_ids.h"
#include "services/accounts.h"
#include "services/service_account.h"
#include "services/service_control.h"
#include "services/service_handle.h"
#include "services/service_install.h"
#include "services/service_table.h"
#include "services/start_call.h"
#include "shell/message_box.h"
#include "shell/message_loop.h"
#include "shell/options.h"
#include "shell/path_text.h"
#include "shell/platform_calls.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

// A service deleted while a handle to it was still open is only marked for
// deletion; its name is free again a moment later.
constexpr int kMarkedForDeletionTries = 10;
constexpr DWORD kMarkedForDeletionWaitMs = 200;

// Dependency lists: names ended by an empty name.
const wchar_t kBrowserDependencies[] = L"+TDI\0";
const wchar_t kServerDependencies[] = L"LanmanServer\0LanmanWorkstation\0";

bool IsAgentBrowser(const ServiceEntry& entry)
{
    return entry.nameId == IDS_SERVICE_BROWSER;
}

void ReportServiceError(DWORD code)
{
    wchar_t message[1025];
    FormatBankString(message, std::size(message), LangBase + IDS_SERVICE_ERROR, code, code);
    AskUser(LangBase + IDS_UNEXPECTED_TITLE, message, MB_OK, MB_ICONEXCLAMATION, IDOK);
}

// The user decides whether the install goes on: false when the cancel is
// confirmed.
bool GoesOn()
{
    CancelRequested = ConfirmCancel();
    return !CancelRequested;
}

// Asks for the account until one is settled; false when the user cancels
// the install instead.
bool SettleAccount()
{
    while (AccountState != AccountUse::Accepted) {
        if (ObtainServiceAccount(DialogOwner, ServiceAccount))
            AccountState = AccountUse::Accepted;
        else if (!GoesOn())
            return false;
    }
    PumpMessages();
    return true;
}

// The account cannot log on: Retry asks for it again, Cancel asks whether
// to cancel the install. False when the install ends.
bool AskAfterLogonFailure()
{
    AccountState = AccountUse::Rejected;
    int answer = AskUser(LangBase + IDS_LOGON_FAILED_TITLE, LangBase + IDS_LOGON_FAILED_TEXT, MB_RETRYCANCEL,
                         MB_ICONQUESTION, IDCANCEL);
    if (answer == IDRETRY) {
        AccountState = AccountUse::None;
        return true;
    }
    return GoesOn();
}

// Another failure to start: the account is asked for again. An account
// from the command line would be taken again unchanged and fail the same
// way, so the install ends there.
bool AfterStartFailure(DWORD code)
{
    AccountState = AccountUse::Rejected;
    ReportServiceError(code);
    return !HasBankOption(IDS_OPT_USER);
}

SC_HANDLE CreateProductService(SC_HANDLE manager, const ServiceEntry& entry, const wchar_t* path,
                               bool workstationRunning)
{
    wchar_t name[kServiceNameChars + 1];
    wchar_t displayName[kServiceNameChars + 1];
    LoadBankString(LangBase + entry.nameId, name, std::size(name));
    LoadBankString(LangBase + entry.displayNameId, displayName, std::size(displayName));
    wchar_t account[kAccountDomainChars + 1 + kAccountUserChars + 1];
    FormatBankString(account, std::size(account), L"%s\\%s", ServiceAccount.domain,
                     ServiceAccount.user);
    const wchar_t* dependencies = nullptr;
    if (workstationRunning)
        dependencies = IsAgentBrowser(entry) ? kBrowserDependencies : kServerDependencies;
    DWORD startType = IsAgentBrowser(entry) && !AgentBrowserEnabled ? SERVICE_DISABLED : SERVICE_AUTO_START;
    DWORD type = (entry.flags & kServiceSharesProcess) ? SERVICE_WIN32_SHARE_PROCESS : SERVICE_WIN32_OWN_PROCESS;
    for (int attempt = 1;; ++attempt) {
        SC_HANDLE service = Platform().CreateServiceW(
            manager, name, displayName, STANDARD_RIGHTS_REQUIRED | SERVICE_START | SERVICE_STOP, type, startType,
            SERVICE_ERROR_NORMAL, path, nullptr, nullptr, dependencies, account, ServiceAccount.password);
        if (service || GetLastError() != ERROR_SERVICE_MARKED_FOR_DELETE || attempt == kMarkedForDeletionTries)
            return service;
        WaitPumping(kMarkedForDeletionWaitMs);
    }
}

// One attempt to create and start the service; false when the install ends.
bool CreateAndStart(SC_HANDLE manager, const ServiceEntry& entry, const wchar_t* path, bool workstationRunning)
{
    ServiceHandle service(CreateProductService(manager, entry, path, workstationRunning));
    if (!service) {
        DWORD code = GetLastError();
        if (code == ERROR_INVALID_SERVICE_ACCOUNT)
            return AskAfterLogonFailure();
        AccountState = AccountUse::Rejected;
        ReportServiceError(code);
        return false;
    }
    // A disabled agent browser counts as started.
    if (IsAgentBrowser(entry) && !AgentBrowserEnabled)
        return true;
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    BOOL started = StartServiceAnswering(service.get());
    DWORD code = GetLastError();
    SetCursor(previous);
    if (started)
        return true;
    // Deleted before anything is asked, so the next attempt creates it
    // afresh with the new account data.
    StopService(manager, entry, true);
    return code == ERROR_SERVICE_LOGON_FAILED ? AskAfterLogonFailure() : AfterStartFailure(code);
}

// Creates and starts the service of `entry` from `destDir` (ending with a
// backslash) as the next service of `walk`, asking for the account as
// needed. True when done; false when it failed (reported) or the user
// cancelled the install.
bool InstallService(ServiceWalk& walk, const ServiceEntry& entry, const wchar_t* destDir)
{
    bool workstationRunning = WorkstationRunning();
    wchar_t executable[kServiceNameChars + 1];
    LoadBankString(LangBase + entry.executableId, executable, std::size(executable));
    wchar_t path[kJoinedPathChars];
    JoinPath(path, kJoinedPathChars, destDir, executable);
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
        ReportServiceError(GetLastError());
        return false;
    }
    SC_HANDLE manager = walk.Next();
    if (!manager) {
        ReportServiceError(GetLastError());
        return false;
    }
    do {
        if (!SettleAccount() || !CreateAndStart(manager, entry, path, workstationRunning))
            return false;
    } while (AccountState != AccountUse::Accepted);
    return true;
}

}  // namespace

bool InstallServices(const wchar_t* destDir)
{
    // Connected to open a service that failed to start, so as to delete it.
    ServiceWalk walk(SC_MANAGER_CREATE_SERVICE | SC_MANAGER_CONNECT);
    bool installed = true;
    for (int row = 0; row < kServiceCount && installed; ++row)
        installed = !InstallTypeHasService(kServiceTable[row]) ||
                    InstallService(walk, kServiceTable[row], destDir);
    // The services hold the password now; setup needs it no more.
    SecureZeroMemory(ServiceAccount.password, sizeof ServiceAccount.password);
    return installed;
}

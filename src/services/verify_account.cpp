// Makes an account fit to run the product's services: created when missing
// (after the user confirms, and types again a password typed by hand),
// made an administrator and given the "Logon As a Service" right when it
// lacks them. Every step is announced or reported; unattended, each
// question takes its preset answer.
#include <iterator>

#include "res/resource_ids.h"
#include "services/accounts.h"
#include "services/service_account.h"
#include "shell/message_box.h"
#include "shell/string_bank.h"

namespace {

const wchar_t kAccountComment[] = L"Velmar System Service Account";

// Shows the hourglass while the account operations run.
class HourglassCursor {
public:
    HourglassCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~HourglassCursor() { SetCursor(previous_); }
    HourglassCursor(const HourglassCursor&) = delete;
    HourglassCursor& operator=(const HourglassCursor&) = delete;

private:
    HCURSOR previous_;
};

int Say(UINT title, UINT text, const wchar_t* name, UINT buttons, UINT icon, int unattendedAnswer)
{
    wchar_t message[1025];
    FormatBankString(message, std::size(message), LangBase + text, name);
    return AskUser(LangBase + title, message, buttons, icon, unattendedAnswer);
}

bool Agrees(UINT title, UINT question, const wchar_t* name)
{
    return Say(title, question, name, MB_YESNO | MB_DEFBUTTON2, MB_ICONQUESTION, IDYES) == IDYES;
}

void Announce(UINT title, UINT text, const wchar_t* name)
{
    Say(title, text, name, MB_OK, MB_ICONINFORMATION, IDOK);
}

// Reports a failed account step with the codes of the calls that failed.
bool ReportFailure(UINT text)
{
    DWORD os = 0, net = 0, nt = 0;
    GetAccountErrors(os, net, nt);
    wchar_t message[1025];
    FormatBankString(message, std::size(message), LangBase + text, os, net, nt);
    AskUser(LangBase + IDS_UNEXPECTED_TITLE, message, MB_OK, MB_ICONSTOP, IDOK);
    return false;
}

// An account of this computer is named by its user alone.
bool IsThisComputer(const wchar_t* domain)
{
    wchar_t computer[16];
    DWORD chars = static_cast<DWORD>(std::size(computer));
    return GetComputerNameW(computer, &chars) && lstrcmpW(computer, domain) == 0;
}

bool CreateFitAccount(HWND asker, const wchar_t* fullName, const wchar_t* displayName, const wchar_t* password,
                      PasswordOrigin origin, bool& focusPassword)
{
    if (!Agrees(IDS_NO_ACCOUNT_TITLE, IDS_NO_ACCOUNT_QUESTION, displayName))
        return false;
    if (origin == PasswordOrigin::Typed && !ConfirmPassword(asker, password)) {
        focusPassword = true;
        return false;
    }
    UINT failure = 0;
    {
        HourglassCursor wait;
        if (!CreateServiceAccount(fullName, password, kAccountComment))
            failure = IDS_CREATE_FAILED;
        else if (!MakeAccountAdministrator(fullName, nullptr))
            failure = IDS_ADMIN_FAILED;
        else if (!GrantServiceLogonRight(fullName, nullptr))
            failure = IDS_RIGHT_FAILED;
    }
    if (failure)
        return ReportFailure(failure);
    Announce(IDS_CREATED_TITLE, IDS_CREATED_TEXT, fullName);
    return true;
}

bool GrantWhatIsMissing(const wchar_t* fullName, const wchar_t* displayName)
{
    if (!IsAccountAdministrator(fullName, nullptr)) {
        if (!Agrees(IDS_ADMIN_TITLE, IDS_ADMIN_QUESTION, displayName))
            return false;
        if (!MakeAccountAdministrator(fullName, nullptr))
            return ReportFailure(IDS_ADMIN_FAILED);
        Announce(IDS_GRANTED_TITLE, IDS_ADMIN_GRANTED, displayName);
    }
    if (!HasServiceLogonRight(fullName, nullptr)) {
        if (!GrantServiceLogonRight(fullName, nullptr))
            return ReportFailure(IDS_RIGHT_FAILED);
        Announce(IDS_GRANTED_TITLE, IDS_RIGHT_GRANTED, displayName);
    }
    return true;
}

}  // namespace

bool VerifyServiceAccount(HWND asker, const ServiceAccountRecord& account, PasswordOrigin origin,
                          bool& focusPassword)
{
    focusPassword = false;
    wchar_t fullName[kAccountDomainChars + 1 + kAccountUserChars + 1];
    FormatBankString(fullName, std::size(fullName), L"%s\\%s", account.domain, account.user);
    const wchar_t* displayName = IsThisComputer(account.domain) ? account.user : fullName;
    // An existing account's password is not tested here: a wrong one shows
    // when the first service fails to log on.
    if (!AccountExists(fullName))
        return CreateFitAccount(asker, fullName, displayName, account.password, origin, focusPassword);
    return GrantWhatIsMissing(fullName, displayName);
}

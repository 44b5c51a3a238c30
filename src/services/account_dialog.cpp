// "Service Account": the user, the domain or computer that holds the account
// ("From:") and the password. The values of the last attempt come back when
// the dialog is shown again, with the focus on the password.
#include <iterator>

#include "res/resource_ids.h"
#include "services/accounts.h"
#include "services/secret_edit.h"
#include "services/service_account.h"
#include "shell/dialog_text.h"
#include "shell/modal_dialog.h"
#include "shell/options.h"
#include "shell/progress.h"
#include "shell/string_bank.h"

namespace {

// What the dialog fills the list from and answers on OK.
struct AccountRequest {
    ServiceAccountRecord* account;
};

// Adds `name` to the "From:" list unless it is empty or there already.
void Offer(HWND list, const wchar_t* name)
{
    if (name[0] && SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name)) ==
                       CB_ERR)
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
}

void Select(HWND list, const wchar_t* name)
{
    LRESULT index = SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
    if (index != CB_ERR)
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void FillDomains(HWND dialog, const ServiceAccountRecord& account)
{
    HWND list = GetDlgItem(dialog, IDC_ACCOUNT_DOMAIN);
    SendMessageW(list, CB_LIMITTEXT, kAccountDomainChars, 0);
    Offer(list, account.domain);
    wchar_t computer[32] = {};
    bool controller = IsDomainController();
    DWORD chars = static_cast<DWORD>(std::size(computer));
    if (controller || !GetComputerNameW(computer, &chars))
        computer[0] = 0;
    Offer(list, computer);
    wchar_t workstationDomain[kAccountDomainChars + 1];
    GetWorkstationDomain(workstationDomain, static_cast<int>(std::size(workstationDomain)));
    Offer(list, workstationDomain);
    Select(list, account.domain[0] ? account.domain : computer[0] ? computer : workstationDomain);
}

// The domain as shown: the list's selection while it changes, else its text.
void ReadDomain(HWND dialog, wchar_t (&domain)[kAccountDomainChars + 1], bool selectionChanging)
{
    HWND list = GetDlgItem(dialog, IDC_ACCOUNT_DOMAIN);
    LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (selectionChanging && index != CB_ERR &&
        SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0) <= kAccountDomainChars)
        SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(domain));
    else
        GetWindowTextW(list, domain, static_cast<int>(std::size(domain)));
}

// OK needs a user and a domain.
void EnableOk(HWND dialog, bool selectionChanging)
{
    wchar_t domain[kAccountDomainChars + 1] = {};
    ReadDomain(dialog, domain, selectionChanging);
    bool ready = domain[0] && GetWindowTextLengthW(GetDlgItem(dialog, IDC_ACCOUNT_USER)) > 0;
    EnableWindow(GetDlgItem(dialog, IDOK), ready);
}

void FocusField(HWND dialog, int id)
{
    HWND field = GetDlgItem(dialog, id);
    SendMessageW(field, EM_SETSEL, 0, -1);
    SetFocus(field);
}

BOOL OnInitDialog(HWND dialog)
{
    const ServiceAccountRecord& account = *DialogRequest<AccountRequest>(dialog)->account;
    CenterOnParent(dialog);
    SetDialogText(dialog, 0, LangBase + IDS_ACCOUNT_CAPTION);
    const int labels[] = {IDC_ACCOUNT_USER_LABEL, IDC_ACCOUNT_DOMAIN_LABEL, IDC_ACCOUNT_PASSWORD_LABEL,
                          IDC_ACCOUNT_TEXT};
    for (int i = 0; i < static_cast<int>(std::size(labels)); ++i)
        SetDialogText(dialog, labels[i], LangBase + IDS_ACCOUNT_CAPTION + 1 + i);
    SetDialogText(dialog, IDOK, LangBase + IDS_OK);
    SetDialogText(dialog, IDCANCEL, LangBase + IDS_CANCEL);
    SendDlgItemMessageW(dialog, IDC_ACCOUNT_USER, EM_LIMITTEXT, kAccountUserChars, 0);
    SendDlgItemMessageW(dialog, IDC_ACCOUNT_PASSWORD, EM_LIMITTEXT, kAccountPasswordChars, 0);
    FillDomains(dialog, account);
    SetDlgItemTextW(dialog, IDC_ACCOUNT_USER, account.user);
    SetDlgItemTextW(dialog, IDC_ACCOUNT_PASSWORD, account.password);
    EnableOk(dialog, false);
    if (FocusUserFirst) {
        FocusUserFirst = false;
        SendDlgItemMessageW(dialog, IDC_ACCOUNT_USER, EM_SETSEL, 0, -1);
        return TRUE;
    }
    FocusField(dialog, IDC_ACCOUNT_PASSWORD);
    return FALSE;
}

void OnOk(HWND dialog)
{
    ServiceAccountRecord entered = {};
    GetDlgItemTextW(dialog, IDC_ACCOUNT_USER, entered.user, static_cast<int>(std::size(entered.user)));
    ReadDomain(dialog, entered.domain, false);
    GetDlgItemTextW(dialog, IDC_ACCOUNT_PASSWORD, entered.password, static_cast<int>(std::size(entered.password)));
    bool focusPassword = false;
    if (VerifyServiceAccount(dialog, entered, PasswordOrigin::Typed, focusPassword)) {
        *DialogRequest<AccountRequest>(dialog)->account = entered;
        EndSecretDialog(dialog, IDC_ACCOUNT_PASSWORD, IDOK);
    } else {
        FocusField(dialog, focusPassword ? IDC_ACCOUNT_PASSWORD : IDC_ACCOUNT_USER);
    }
    SecureZeroMemory(&entered, sizeof entered);
}

BOOL OnCommand(HWND dialog, WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case IDC_ACCOUNT_USER:
        if (HIWORD(wParam) == EN_CHANGE)
            EnableOk(dialog, false);
        return TRUE;
    case IDC_ACCOUNT_DOMAIN:
        if (HIWORD(wParam) == CBN_EDITCHANGE || HIWORD(wParam) == CBN_SELCHANGE)
            EnableOk(dialog, HIWORD(wParam) == CBN_SELCHANGE);
        return TRUE;
    case IDOK:
        OnOk(dialog);
        return TRUE;
    case IDCANCEL:
        EndSecretDialog(dialog, IDC_ACCOUNT_PASSWORD, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

bool ObtainServiceAccount(HWND owner, ServiceAccountRecord& account)
{
    if (HasBankOption(IDS_OPT_USER))
        return ObtainServiceAccountFromOptions(owner, account);
    AccountRequest request = {&account};
    return RunModalDialog(IDD_SERVICE_ACCOUNT, owner, DialogProcedure<OnInitDialog, OnCommand>, &request) ==
           DialogResult::Accepted;
}

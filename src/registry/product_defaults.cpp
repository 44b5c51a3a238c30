#include "registry/product_defaults.h"

#include <iterator>

#include "registry/product_config.h"
#include "registry/product_keys.h"
#include "shell/fault_guard.h"
#include "shell/handles.h"

namespace {

// The backup application restores one of its windows from such a record of
// 29 words; setup only writes its first state, in one of two forms.
constexpr int kWindowRecordWords = 29;
const DWORD kWindowFormA[kWindowRecordWords] = {0x80000000, 0x80000000, 0x80000000, 0x80000000,
                                                0x00000100, 0x00007FF0, 0xFFFFFFFF, 0xFFFFFFFF};
const DWORD kWindowFormB[kWindowRecordWords] = {0, 0, 0x80000000, 0x80000000, 0, 0x00007FF0, 0xFFFFFFFF, 0xFFFFFFFF};
static_assert(sizeof kWindowFormA == 116, "the application reads 116 bytes");

// The alert list starts empty but at the size the application reads.
const BYTE kEmptyWhoList[642] = {};

constexpr RegistryDefault Number(const wchar_t* key, const wchar_t* name, DWORD value)
{
    return {key, name, REG_DWORD, value, nullptr, nullptr, 0};
}

constexpr RegistryDefault Text(const wchar_t* key, const wchar_t* name, const wchar_t* text)
{
    return {key, name, REG_SZ, 0, text, nullptr, 0};
}

template <typename Data>
RegistryDefault Bytes(const wchar_t* key, const wchar_t* name, DWORD type, const Data& data)
{
    return {key, name, type, 0, nullptr, reinterpret_cast<const BYTE*>(&data), sizeof data};
}

}  // namespace

const RegistryDefault kFirstDefaults[] = {
    Number(kUserInterfaceKey, L"Startup Dispatch Pause Secs", 120),
    Number(kUserInterfaceKey, L"Dispatch Pause Secs", 10),
    Number(kUserInterfaceKey, L"Locked Out Retries", 100),
    Number(kUserInterfaceKey, L"Locked Out Wait Time", 100),
    Text(kUserInterfaceKey, L"Data Path", L""),
    Text(kUserInterfaceKey, L"Data Path Remote", L""),
    Number(kUserInterfaceKey, L"Output Dest", 2),
    Number(kUserInterfaceKey, L"List Files", 1),
    Number(kUserInterfaceKey, L"Use Password", 0),
    Number(kUserInterfaceKey, L"Create Skipped", 1),
    Number(kUserInterfaceKey, L"Display NetWare Servers", 1),
    Number(kUserInterfaceKey, L"Auto Verify Backup", 0),
    Number(kUserInterfaceKey, L"Auto Verify Restore", 0),
    Number(kUserInterfaceKey, L"Store User Credentials In Database", 1),
    Number(kUserInterfaceKey, L"Lock Password Database", 0),
    Number(kUserInterfaceKey, L"Append Flag", 1),
    Number(kUserInterfaceKey, L"Wait time", 30),
    Number(kUserInterfaceKey, L"Show Mode Warning", 1),
    Number(kUserInterfaceKey, L"Restore existing files", 0),
    Text(kUserInterfaceKey, L"Group Name", L""),
    Number(kUserInterfaceKey, L"Include Subdirs", 1),
    Number(kUserInterfaceKey, L"Backup Type", 1),
    Number(kUserInterfaceKey, L"Eject Tape Flag", 0),
    Number(kUserInterfaceKey, L"Display Statistics", 1),
    Number(kUserInterfaceKey, L"Enable User Shares", 1),
    Number(kUserInterfaceKey, L"Enable System (Default) Shares", 1),
    Number(kUserInterfaceKey, L"Verify using CRC", 1),
    Number(kUserInterfaceKey, L"Search Limit", 250),
    Number(kUserInterfaceKey, L"Search Tapes With Password", 0),
    Number(kUserInterfaceKey, L"Search Subdirectories", 1),
    Text(kUserInterfaceKey, L"Menu Server List", L"4"),
    Number(kUserInterfaceKey, L"Scheduled job count limit", 100),
    Number(kUserInterfaceKey, L"Scheduled job day limit", 7),
    Number(kUserInterfaceKey, L"Scheduled job next only", 1),
    Number(kUserInterfaceKey, L"Job Number", 0),
    Number(kUserInterfaceKey, L"Job Command Delay", 30),
    Number(kUserInterfaceKey, L"Next Job Wait Time", 300),
    Number(kUserInterfaceKey, L"Soft Error Flag", 0),
    Number(kUserInterfaceKey, L"Email - Send Only on Job Failure", 0),
    Number(kUserInterfaceKey, L"Event - Mask", 35),
    Number(kUserInterfaceKey, L"Alert - On Error", 0),
    Number(kUserInterfaceKey, L"Alert - Remote Job Completes", 1),
    Bytes(kUserInterfaceKey, L"Alert - Who List", REG_MULTI_SZ, kEmptyWhoList),
    Number(kUserInterfaceKey, L"Network - Zones", 1),
    Number(kUserInterfaceKey, L"Network - NetWare", 0),
    Number(kUserInterfaceKey, L"Network - TCP/IP", 0),
    Number(kUserInterfaceKey, L"Network - AppleTalk", 0),
    Number(kUserInterfaceKey, L"OverWrite - Foreign", 0),
    Number(kUserInterfaceKey, L"OverWrite - Archive", 0),
    Number(kUserInterfaceKey, L"Job - Run Job if Pre Command Fails", 0),
    Number(kUserInterfaceKey, L"Job - Run Post Command if Job Fails", 1),
    Number(kUserInterfaceKey, L"Restore Registry", 0),
    Number(kUserInterfaceKey, L"Restore File Permissions", 1),
    Number(kUserInterfaceKey, L"Preserve Directory Tree", 1),
    Number(kUserInterfaceKey, L"State Flag - Server", 0),
    Number(kUserInterfaceKey, L"PMI Flag", 0),

    Text(kServerKey, L"Description", L"Velmar Backup Server"),
    Number(kServerKey, L"Hist Jobs", 0),
    Number(kServerKey, L"Alerts", 0),
    Number(kServerKey, L"Status", 0),

    Number(kCatalogsKey, L"Catalog Backup", 0),
    Number(kCatalogsKey, L"Catalog Level", 2),
    Text(kCatalogsKey, L"Catalog Path", L""),
    Text(kCatalogsKey, L"Catalog Path Remote", L""),
    Number(kCatalogsKey, L"Catalog Enable On-Tape", 1),
    Number(kCatalogsKey, L"Catalog Enable More Memory", 1),
    Number(kCatalogsKey, L"Catalog Enable Ageing", 0),
    Number(kCatalogsKey, L"Catalog Days To Age", 90),

    Number(kDisplayKey, L"Selection Bar", 1),
    Number(kDisplayKey, L"Status line", 1),
    Text(kDisplayKey, L"Font Face", L"MS Sans Serif"),
    Number(kDisplayKey, L"Font Size", 8),
    Number(kDisplayKey, L"Font Weight", 400),
    Number(kDisplayKey, L"Font Case", 0),
    Number(kDisplayKey, L"Font Case FAT", 1),
    Number(kDisplayKey, L"Font Italics", 0),
    Number(kDisplayKey, L"File Details", 1),
    Number(kDisplayKey, L"Sort Options", 1206),
    Bytes(kDisplayKey, L"Frame Window", REG_BINARY, kWindowFormA),
    Bytes(kDisplayKey, L"Disk Window", REG_BINARY, kWindowFormA),
    Bytes(kDisplayKey, L"Tree Dir Window", REG_BINARY, kWindowFormA),
    Bytes(kDisplayKey, L"Search Window", REG_BINARY, kWindowFormA),
    Bytes(kDisplayKey, L"Server Window", REG_BINARY, kWindowFormA),
    Bytes(kDisplayKey, L"Network Window", REG_BINARY, kWindowFormB),
    Bytes(kDisplayKey, L"Log Window", REG_BINARY, kWindowFormA),
    Bytes(kDisplayKey, L"Debug Window", REG_BINARY, kWindowFormA),
    Bytes(kDisplayKey, L"Run Time Dialog", REG_BINARY, kWindowFormA),
    Bytes(kDisplayKey, L"Job Window", REG_BINARY, kWindowFormA),
    Bytes(kDisplayKey, L"History Window", REG_BINARY, kWindowFormA),
    Bytes(kDisplayKey, L"Monitor Window", REG_BINARY, kWindowFormA),
    Bytes(kDisplayKey, L"Tape Window", REG_BINARY, kWindowFormA),

    Text(kLoggingKey, L"Log File Root", L"TWX"),
    Number(kLoggingKey, L"Number of sessions", 99),
    Number(kLoggingKey, L"Log Level", 1),
    Number(kLoggingKey, L"Log Mode", 2),
    Number(kLoggingKey, L"Print log session", 0),

    Number(kHardwareKey, L"Drive Settling Time", 60),

    Number(kCompressionKey, L"Hardware - Enable", 1),
    Number(kCompressionKey, L"Software - AllowBoth", 0),

    Text(kLoaderKey, L"Magazine Name", L""),
    Text(kLoaderKey, L"Magazine Group Name", L""),
    Number(kLoaderKey, L"Magazine Starting Slot", 0),
    Number(kLoaderKey, L"Magazine Number of Slots", 0),
    Number(kLoaderKey, L"Loader Abort Job", 0),

    Number(kTwiKey, L"Enabled", 0),
    Number(kTwiKey, L"Max Block Size", 0),
    Number(kTwiKey, L"Current Block Count", 0),

    Number(kDebugKey, L"Poll Frequency", 1),
    Number(kDebugKey, L"Enabled", 0),
    Number(kDebugKey, L"Flag", 0),
    Number(kDebugKey, L"To File", 0),
    Text(kDebugKey, L"File Name", L"debug.log"),
    Number(kDebugKey, L"To Window", 1),
    Number(kDebugKey, L"Show All", 0),
    Number(kDebugKey, L"Num Debug Lines", 150),

    Text(kSelectedDeviceKey, L"Device Alias Name", L""),
    {},
};
static_assert(std::size(kFirstDefaults) == 116 + 1, "116 defaults and the end");

const RegistryDefault kSecondDefaults[] = {
    Number(kUserInterfaceKey, L"Skip open files", 1),

    Number(kCompressionKey, L"Software - Mode", 0),
    Number(kCompressionKey, L"Software - Level", 0),
    Number(kCompressionKey, L"Software - Threshold", 16),
    Number(kCompressionKey, L"Software - Expansion", 0),

    Number(kBackupEngineKey, L"Special word", 0),
    Number(kBackupEngineKey, L"Max Num Tape Buffers", 9),
    Number(kBackupEngineKey, L"Tape Buffer Size", 32),
    Number(kBackupEngineKey, L"Max Buffer Size", 32768),
    Number(kBackupEngineKey, L"Backup files inuse", 0),
    Number(kBackupEngineKey, L"Process Macintosh files", 1),
    Number(kBackupEngineKey, L"Extended Date Support", 1),
    Number(kBackupEngineKey, L"Hidden files", 1),
    Number(kBackupEngineKey, L"Special files", 1),
    Number(kBackupEngineKey, L"Set archive", 1),
    Number(kBackupEngineKey, L"Process empty dirs", 1),
    Number(kBackupEngineKey, L"Restore existing files", 1),
    Number(kBackupEngineKey, L"Prompt mode", 0),
    Number(kBackupEngineKey, L"Network ID", 0),
    Number(kBackupEngineKey, L"Sort BSD List", 1),
    Number(kBackupEngineKey, L"Remote Drive Backup", 1),
    Number(kBackupEngineKey, L"Use fast file restore", 1),
    Number(kBackupEngineKey, L"Tape Format", 0),
    Number(kBackupEngineKey, L"NRL dos vector", 2),
    Number(kBackupEngineKey, L"Machine Type", 0),
    Number(kBackupEngineKey, L"OTC Level", 2),
    Number(kBackupEngineKey, L"GRFS Time Out", 90),
    Number(kBackupEngineKey, L"DIL wait timeout", 5),
    Number(kBackupEngineKey, L"DIL no wait timeout", 5),
    Number(kBackupEngineKey, L"Use High Water", 1),
    Number(kBackupEngineKey, L"Use Fast Append", 1),

    Number(kTranslatorsKey, L"SYPL ECC Flag", 0),
    {},
};
static_assert(std::size(kSecondDefaults) == 32 + 1, "32 defaults and the end");

namespace {

bool RegistryValueExists(HKEY key, const wchar_t* valueName)
{
    DWORD type = 0;
    DWORD bytes = 0;
    return RegQueryValueExW(key, valueName, nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS;
}

LONG WriteDefault(HKEY key, const RegistryDefault& row)
{
    switch (row.type) {
    case REG_DWORD:
        return RegSetValueExW(key, row.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&row.number),
                              sizeof row.number);
    case REG_SZ:
        return RegSetValueExW(key, row.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(row.text),
                              static_cast<DWORD>((lstrlenW(row.text) + 1) * sizeof(wchar_t)));
    default:
        return RegSetValueExW(key, row.name, 0, row.type, row.bytes, row.size);
    }
}

// Rows of one key stand together, so each key is opened once per run of
// rows. The walk ends at the first key or value that fails.
LONG WriteDefaultsTable(HKEY root, const RegistryDefault* table)
{
    if (!table->key)
        return ERROR_SUCCESS;
    RegistryKey key;
    const wchar_t* keyPath = table->key;
    LONG error = key.Create(root, keyPath);
    for (const RegistryDefault* row = table; error == ERROR_SUCCESS && row->key;) {
        if (!RegistryValueExists(key.get(), row->name))
            error = WriteDefault(key.get(), *row);
        ++row;
        if (error == ERROR_SUCCESS && row->key && lstrcmpiW(row->key, keyPath) != 0) {
            keyPath = row->key;
            error = key.Create(root, keyPath);
        }
    }
    return error;
}

DWORD WriteBothTables(void* root)
{
    HKEY rootKey = static_cast<HKEY>(root);
    LONG first = WriteDefaultsTable(rootKey, kFirstDefaults);
    LONG second = WriteDefaultsTable(rootKey, kSecondDefaults);
    return first == ERROR_SUCCESS && second == ERROR_SUCCESS;
}

}  // namespace

bool WriteRegistryDefaults(HKEY root)
{
    DWORD written = FALSE;
    return RunGuarded(WriteBothTables, root, written) && written;
}

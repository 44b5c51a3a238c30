#pragma once
// The product's keys below HKEY_LOCAL_MACHINE, spelled here only.

// The maker's key: everything an install writes into the registry before its
// copy completes lies below it.
constexpr wchar_t kVelmarKey[] = L"Software\\Velmar";

// The configuration: one key per group of settings.
constexpr wchar_t kProductKey[] = L"Software\\Velmar\\Tapewright";
constexpr wchar_t kUserInterfaceKey[] = L"Software\\Velmar\\Tapewright\\User Interface";
constexpr wchar_t kServerKey[] = L"Software\\Velmar\\Tapewright\\Server";
constexpr wchar_t kCatalogsKey[] = L"Software\\Velmar\\Tapewright\\Catalogs";
constexpr wchar_t kDisplayKey[] = L"Software\\Velmar\\Tapewright\\Display";
constexpr wchar_t kLoggingKey[] = L"Software\\Velmar\\Tapewright\\Logging";
constexpr wchar_t kHardwareKey[] = L"Software\\Velmar\\Tapewright\\Hardware";
constexpr wchar_t kCompressionKey[] = L"Software\\Velmar\\Tapewright\\Compression";
constexpr wchar_t kLoaderKey[] = L"Software\\Velmar\\Tapewright\\Loader";
constexpr wchar_t kTwiKey[] = L"Software\\Velmar\\Tapewright\\TWI";
constexpr wchar_t kDebugKey[] = L"Software\\Velmar\\Tapewright\\Debug";
constexpr wchar_t kSelectedDeviceKey[] = L"Software\\Velmar\\Tapewright\\Selected Backup Device";
constexpr wchar_t kBackupEngineKey[] = L"Software\\Velmar\\Tapewright\\Backup Engine";
constexpr wchar_t kTranslatorsKey[] = L"Software\\Velmar\\Tapewright\\Translators";

// What the uninstall deletes, in this order: the configuration, then the
// keys of the product's services and of its older programs. Software\Velmar
// itself stays: other products of the maker may keep their keys there.
constexpr const wchar_t* kProductKeysRemoved[] = {
    kProductKey,
    L"Software\\Velmar\\ZiruVer",
    L"Software\\Velmar\\Agent Browser",
    L"Software\\Velmar\\Network",
    L"Software\\Velmar\\Tapewright Monitor",
    L"Software\\Velmar\\JobScope",
};

// The product's entry in the system's list of installed programs (below
// HKEY_LOCAL_MACHINE, in the 32-bit view that setup runs in). Besides the
// entry's own values it holds what the uninstall needs to know of the
// installs: the directory levels they created.
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tapewright";
constexpr wchar_t kCreatedLevelsValue[] = L"CreatedLevels";

// The Application event log's sources, one key each, by the source's name
// (shell/event_log.h names setup's). Below HKEY_LOCAL_MACHINE, which every
// view shares.
constexpr wchar_t kApplicationEventSourcesKey[] = L"System\\CurrentControlSet\\Services\\EventLog\\Application";

#include <string.h>

#include <initializer_list>
#include <iterator>

#include "registry/fault_guard.h"
#include "registry/product_config.h"
#include "registry/registry_key.h"

namespace {

constexpr wchar_t kUserInterface[] = L"Software\\Velmar\\Tapewright\\User Interface";
constexpr wchar_t kServer[] = L"Software\\Velmar\\Tapewright\\Server";
constexpr wchar_t kCatalogs[] = L"Software\\Velmar\\Tapewright\\Catalogs";
constexpr wchar_t kDisplay[] = L"Software\\Velmar\\Tapewright\\Display";
constexpr wchar_t kLogging[] = L"Software\\Velmar\\Tapewright\\Logging";
constexpr wchar_t kHardware[] = L"Software\\Velmar\\Tapewright\\Hardware";
constexpr wchar_t kCompression[] = L"Software\\Velmar\\Tapewright\\Compression";
constexpr wchar_t kLoader[] = L"Software\\Velmar\\Tapewright\\Loader";
constexpr wchar_t kTwi[] = L"Software\\Velmar\\Tapewright\\TWI";
constexpr wchar_t kDebug[] = L"Software\\Velmar\\Tapewright\\Debug";
constexpr wchar_t kSelectedDevice[] = L"Software\\Velmar\\Tapewright\\Selected Backup Device";
constexpr wchar_t kBackupEngine[] = L"Software\\Velmar\\Tapewright\\Backup Engine";
constexpr wchar_t kTranslators[] = L"Software\\Velmar\\Tapewright\\Translators";

// The backup application restores one of its windows from this; setup only
// writes its first state.
struct WindowRecord {
    DWORD words[29];
};
static_assert(sizeof(WindowRecord) == 116, "the application reads 116 bytes");

constexpr WindowRecord kWindowFormA = {
    {0x80000000, 0x80000000, 0x80000000, 0x80000000, 0x00000100, 0x00007FF0, 0xFFFFFFFF, 0xFFFFFFFF}};
constexpr WindowRecord kWindowFormB = {{0, 0, 0x80000000, 0x80000000, 0, 0x00007FF0, 0xFFFFFFFF, 0xFFFFFFFF}};

// One member per registry value, grouped by key. WORD members are the
// application's 16-bit settings; they go to the registry as DWORDs.
struct UserInterfaceSettings {
    DWORD startupDispatchPauseSecs;
    DWORD dispatchPauseSecs;
    WORD lockedOutRetries;
    WORD lockedOutWaitTime;
    wchar_t dataPath[256];
    wchar_t dataPathRemote[256];
    WORD outputDest;
    WORD listFiles;
    WORD usePassword;
    WORD createSkipped;
    WORD displayNetWareServers;
    WORD autoVerifyBackup;
    WORD autoVerifyRestore;
    WORD storeUserCredentials;
    WORD lockPasswordDatabase;
    WORD appendFlag;
    WORD waitTime;
    WORD showModeWarning;
    WORD restoreExistingFiles;
    wchar_t groupName[31];
    DWORD includeSubdirs;
    WORD backupType;
    DWORD ejectTapeFlag;
    DWORD displayStatistics;
    WORD enableUserShares;
    WORD enableSystemShares;
    DWORD verifyUsingCrc;
    WORD searchLimit;
    DWORD searchTapesWithPassword;
    DWORD searchSubdirectories;
    wchar_t menuServerList[1024];
    WORD scheduledJobCountLimit;
    WORD scheduledJobDayLimit;
    WORD scheduledJobNextOnly;
    DWORD jobNumber;
    DWORD jobCommandDelay;
    DWORD nextJobWaitTime;
    DWORD softErrorFlag;
    DWORD emailOnlyOnJobFailure;
    DWORD eventMask;
    DWORD alertOnError;
    DWORD alertRemoteJobCompletes;
    wchar_t alertWhoList[321];
    WORD networkZones;
    DWORD networkNetWare;
    DWORD networkTcpIp;
    DWORD networkAppleTalk;
    DWORD overwriteForeign;
    DWORD overwriteArchive;
    DWORD runJobIfPreCommandFails;
    DWORD runPostCommandIfJobFails;
    DWORD restoreRegistry;
    DWORD restoreFilePermissions;
    DWORD preserveDirectoryTree;
    DWORD stateFlagServer;
    DWORD pmiFlag;
    WORD skipOpenFiles;
};

struct ServerSettings {
    wchar_t description[101];
    DWORD histJobs;
    DWORD alerts;
    DWORD status;
};

struct CatalogSettings {
    DWORD catalogBackup;
    WORD catalogLevel;
    wchar_t catalogPath[256];
    wchar_t catalogPathRemote[256];
    DWORD enableOnTape;
    DWORD enableMoreMemory;
    DWORD enableAgeing;
    WORD daysToAge;
};

struct DisplaySettings {
    DWORD selectionBar;
    DWORD statusLine;
    wchar_t fontFace[32];
    WORD fontSize;
    WORD fontWeight;
    DWORD fontCase;
    DWORD fontCaseFat;
    DWORD fontItalics;
    WORD fileDetails;
    WORD sortOptions;
    WindowRecord frameWindow;
    WindowRecord diskWindow;
    WindowRecord treeDirWindow;
    WindowRecord searchWindow;
    WindowRecord serverWindow;
    WindowRecord networkWindow;
    WindowRecord logWindow;
    WindowRecord debugWindow;
    WindowRecord runTimeDialog;
    WindowRecord jobWindow;
    WindowRecord historyWindow;
    WindowRecord monitorWindow;
    WindowRecord tapeWindow;
};

struct LoggingSettings {
    wchar_t logFileRoot[7];
    WORD numberOfSessions;
    WORD logLevel;
    WORD logMode;
    DWORD printLogSession;
};

struct HardwareSettings {
    WORD driveSettlingTime;
};

struct CompressionSettings {
    WORD hardwareEnable;
    WORD softwareAllowBoth;
    WORD softwareMode;
    WORD softwareLevel;
    DWORD softwareThreshold;
    DWORD softwareExpansion;
};

struct LoaderSettings {
    wchar_t magazineName[21];
    wchar_t magazineGroupName[21];
    DWORD magazineStartingSlot;
    DWORD magazineNumberOfSlots;
    DWORD loaderAbortJob;
};

struct TwiSettings {
    DWORD enabled;
    DWORD maxBlockSize;
    DWORD currentBlockCount;
};

struct DebugSettings {
    WORD pollFrequency;
    DWORD enabled;
    DWORD flag;
    DWORD toFile;
    wchar_t fileName[256];
    DWORD toWindow;
    DWORD showAll;
    WORD numDebugLines;
};

struct SelectedDeviceSettings {
    wchar_t deviceAliasName[41];
};

struct BackupEngineSettings {
    WORD specialWord;
    WORD maxNumTapeBuffers;
    WORD tapeBufferSize;
    WORD maxBufferSize;
    WORD backupFilesInUse;
    WORD processMacintoshFiles;
    WORD extendedDateSupport;
    WORD hiddenFiles;
    WORD specialFiles;
    WORD setArchive;
    WORD processEmptyDirs;
    WORD restoreExistingFiles;
    WORD promptMode;
    WORD networkId;
    WORD sortBsdList;
    WORD remoteDriveBackup;
    WORD useFastFileRestore;
    WORD tapeFormat;
    // Written as both "NRL dos vector" and "OTC Level", so the two start out
    // equal.
    WORD dosVectorLevel;
    WORD machineType;
    WORD grfsTimeOut;
    DWORD dilWaitTimeout;
    DWORD dilNoWaitTimeout;
    WORD useHighWater;
    WORD useFastAppend;
};

struct TranslatorSettings {
    WORD syplEccFlag;
};

struct SettingsBlock {
    UserInterfaceSettings userInterface;
    ServerSettings server;
    CatalogSettings catalogs;
    DisplaySettings display;
    LoggingSettings logging;
    HardwareSettings hardware;
    CompressionSettings compression;
    LoaderSettings loader;
    TwiSettings twi;
    DebugSettings debug;
    SelectedDeviceSettings selectedDevice;
    BackupEngineSettings backupEngine;
    TranslatorSettings translators;
};

SettingsBlock ProductSettings;

struct RegistryDefault {
    const wchar_t* keyPath;  // null ends a table
    DWORD type;
    const wchar_t* valueName;
    const void* field;
    DWORD fieldSize;  // for a string, the capacity in bytes
};

// The row makers take the field itself, so a row's type and size cannot
// disagree with the field it points at.
constexpr RegistryDefault Number(const wchar_t* keyPath, const wchar_t* name, const WORD& field)
{
    return {keyPath, REG_DWORD, name, &field, sizeof field};
}

constexpr RegistryDefault Number(const wchar_t* keyPath, const wchar_t* name, const DWORD& field)
{
    return {keyPath, REG_DWORD, name, &field, sizeof field};
}

template <size_t Chars>
constexpr RegistryDefault Text(const wchar_t* keyPath, const wchar_t* name, const wchar_t (&field)[Chars])
{
    return {keyPath, REG_SZ, name, field, sizeof field};
}

template <size_t Chars>
constexpr RegistryDefault TextList(const wchar_t* keyPath, const wchar_t* name, const wchar_t (&field)[Chars])
{
    return {keyPath, REG_MULTI_SZ, name, field, sizeof field};
}

constexpr RegistryDefault Window(const wchar_t* keyPath, const wchar_t* name, const WindowRecord& field)
{
    return {keyPath, REG_BINARY, name, &field, sizeof field};
}

constexpr const UserInterfaceSettings& Ui = ProductSettings.userInterface;
constexpr const ServerSettings& Srv = ProductSettings.server;
constexpr const CatalogSettings& Cat = ProductSettings.catalogs;
constexpr const DisplaySettings& Disp = ProductSettings.display;
constexpr const LoggingSettings& Log = ProductSettings.logging;
constexpr const CompressionSettings& Comp = ProductSettings.compression;
constexpr const LoaderSettings& Ldr = ProductSettings.loader;
constexpr const TwiSettings& Twi = ProductSettings.twi;
constexpr const DebugSettings& Dbg = ProductSettings.debug;
constexpr const BackupEngineSettings& Eng = ProductSettings.backupEngine;

const RegistryDefault kFirstTable[] = {
    Number(kUserInterface, L"Startup Dispatch Pause Secs", Ui.startupDispatchPauseSecs),
    Number(kUserInterface, L"Dispatch Pause Secs", Ui.dispatchPauseSecs),
    Number(kUserInterface, L"Locked Out Retries", Ui.lockedOutRetries),
    Number(kUserInterface, L"Locked Out Wait Time", Ui.lockedOutWaitTime),
    Text(kUserInterface, L"Data Path", Ui.dataPath),
    Text(kUserInterface, L"Data Path Remote", Ui.dataPathRemote),
    Number(kUserInterface, L"Output Dest", Ui.outputDest),
    Number(kUserInterface, L"List Files", Ui.listFiles),
    Number(kUserInterface, L"Use Password", Ui.usePassword),
    Number(kUserInterface, L"Create Skipped", Ui.createSkipped),
    Number(kUserInterface, L"Display NetWare Servers", Ui.displayNetWareServers),
    Number(kUserInterface, L"Auto Verify Backup", Ui.autoVerifyBackup),
    Number(kUserInterface, L"Auto Verify Restore", Ui.autoVerifyRestore),
    Number(kUserInterface, L"Store User Credentials In Database", Ui.storeUserCredentials),
    Number(kUserInterface, L"Lock Password Database", Ui.lockPasswordDatabase),
    Number(kUserInterface, L"Append Flag", Ui.appendFlag),
    Number(kUserInterface, L"Wait time", Ui.waitTime),
    Number(kUserInterface, L"Show Mode Warning", Ui.showModeWarning),
    Number(kUserInterface, L"Restore existing files", Ui.restoreExistingFiles),
    Text(kUserInterface, L"Group Name", Ui.groupName),
    Number(kUserInterface, L"Include Subdirs", Ui.includeSubdirs),
    Number(kUserInterface, L"Backup Type", Ui.backupType),
    Number(kUserInterface, L"Eject Tape Flag", Ui.ejectTapeFlag),
    Number(kUserInterface, L"Display Statistics", Ui.displayStatistics),
    Number(kUserInterface, L"Enable User Shares", Ui.enableUserShares),
    Number(kUserInterface, L"Enable System (Default) Shares", Ui.enableSystemShares),
    Number(kUserInterface, L"Verify using CRC", Ui.verifyUsingCrc),
    Number(kUserInterface, L"Search Limit", Ui.searchLimit),
    Number(kUserInterface, L"Search Tapes With Password", Ui.searchTapesWithPassword),
    Number(kUserInterface, L"Search Subdirectories", Ui.searchSubdirectories),
    Text(kUserInterface, L"Menu Server List", Ui.menuServerList),
    Number(kUserInterface, L"Scheduled job count limit", Ui.scheduledJobCountLimit),
    Number(kUserInterface, L"Scheduled job day limit", Ui.scheduledJobDayLimit),
    Number(kUserInterface, L"Scheduled job next only", Ui.scheduledJobNextOnly),
    Number(kUserInterface, L"Job Number", Ui.jobNumber),
    Number(kUserInterface, L"Job Command Delay", Ui.jobCommandDelay),
    Number(kUserInterface, L"Next Job Wait Time", Ui.nextJobWaitTime),
    Number(kUserInterface, L"Soft Error Flag", Ui.softErrorFlag),
    Number(kUserInterface, L"Email - Send Only on Job Failure", Ui.emailOnlyOnJobFailure),
    Number(kUserInterface, L"Event - Mask", Ui.eventMask),
    Number(kUserInterface, L"Alert - On Error", Ui.alertOnError),
    Number(kUserInterface, L"Alert - Remote Job Completes", Ui.alertRemoteJobCompletes),
    TextList(kUserInterface, L"Alert - Who List", Ui.alertWhoList),
    Number(kUserInterface, L"Network - Zones", Ui.networkZones),
    Number(kUserInterface, L"Network - NetWare", Ui.networkNetWare),
    Number(kUserInterface, L"Network - TCP/IP", Ui.networkTcpIp),
    Number(kUserInterface, L"Network - AppleTalk", Ui.networkAppleTalk),
    Number(kUserInterface, L"OverWrite - Foreign", Ui.overwriteForeign),
    Number(kUserInterface, L"OverWrite - Archive", Ui.overwriteArchive),
    Number(kUserInterface, L"Job - Run Job if Pre Command Fails", Ui.runJobIfPreCommandFails),
    Number(kUserInterface, L"Job - Run Post Command if Job Fails", Ui.runPostCommandIfJobFails),
    Number(kUserInterface, L"Restore Registry", Ui.restoreRegistry),
    Number(kUserInterface, L"Restore File Permissions", Ui.restoreFilePermissions),
    Number(kUserInterface, L"Preserve Directory Tree", Ui.preserveDirectoryTree),
    Number(kUserInterface, L"State Flag - Server", Ui.stateFlagServer),
    Number(kUserInterface, L"PMI Flag", Ui.pmiFlag),

    Text(kServer, L"Description", Srv.description),
    Number(kServer, L"Hist Jobs", Srv.histJobs),
    Number(kServer, L"Alerts", Srv.alerts),
    Number(kServer, L"Status", Srv.status),

    Number(kCatalogs, L"Catalog Backup", Cat.catalogBackup),
    Number(kCatalogs, L"Catalog Level", Cat.catalogLevel),
    Text(kCatalogs, L"Catalog Path", Cat.catalogPath),
    Text(kCatalogs, L"Catalog Path Remote", Cat.catalogPathRemote),
    Number(kCatalogs, L"Catalog Enable On-Tape", Cat.enableOnTape),
    Number(kCatalogs, L"Catalog Enable More Memory", Cat.enableMoreMemory),
    Number(kCatalogs, L"Catalog Enable Ageing", Cat.enableAgeing),
    Number(kCatalogs, L"Catalog Days To Age", Cat.daysToAge),

    Number(kDisplay, L"Selection Bar", Disp.selectionBar),
    Number(kDisplay, L"Status line", Disp.statusLine),
    Text(kDisplay, L"Font Face", Disp.fontFace),
    Number(kDisplay, L"Font Size", Disp.fontSize),
    Number(kDisplay, L"Font Weight", Disp.fontWeight),
    Number(kDisplay, L"Font Case", Disp.fontCase),
    Number(kDisplay, L"Font Case FAT", Disp.fontCaseFat),
    Number(kDisplay, L"Font Italics", Disp.fontItalics),
    Number(kDisplay, L"File Details", Disp.fileDetails),
    Number(kDisplay, L"Sort Options", Disp.sortOptions),
    Window(kDisplay, L"Frame Window", Disp.frameWindow),
    Window(kDisplay, L"Disk Window", Disp.diskWindow),
    Window(kDisplay, L"Tree Dir Window", Disp.treeDirWindow),
    Window(kDisplay, L"Search Window", Disp.searchWindow),
    Window(kDisplay, L"Server Window", Disp.serverWindow),
    Window(kDisplay, L"Network Window", Disp.networkWindow),
    Window(kDisplay, L"Log Window", Disp.logWindow),
    Window(kDisplay, L"Debug Window", Disp.debugWindow),
    Window(kDisplay, L"Run Time Dialog", Disp.runTimeDialog),
    Window(kDisplay, L"Job Window", Disp.jobWindow),
    Window(kDisplay, L"History Window", Disp.historyWindow),
    Window(kDisplay, L"Monitor Window", Disp.monitorWindow),
    Window(kDisplay, L"Tape Window", Disp.tapeWindow),

    Text(kLogging, L"Log File Root", Log.logFileRoot),
    Number(kLogging, L"Number of sessions", Log.numberOfSessions),
    Number(kLogging, L"Log Level", Log.logLevel),
    Number(kLogging, L"Log Mode", Log.logMode),
    Number(kLogging, L"Print log session", Log.printLogSession),

    Number(kHardware, L"Drive Settling Time", ProductSettings.hardware.driveSettlingTime),

    Number(kCompression, L"Hardware - Enable", Comp.hardwareEnable),
    Number(kCompression, L"Software - AllowBoth", Comp.softwareAllowBoth),

    Text(kLoader, L"Magazine Name", Ldr.magazineName),
    Text(kLoader, L"Magazine Group Name", Ldr.magazineGroupName),
    Number(kLoader, L"Magazine Starting Slot", Ldr.magazineStartingSlot),
    Number(kLoader, L"Magazine Number of Slots", Ldr.magazineNumberOfSlots),
    Number(kLoader, L"Loader Abort Job", Ldr.loaderAbortJob),

    Number(kTwi, L"Enabled", Twi.enabled),
    Number(kTwi, L"Max Block Size", Twi.maxBlockSize),
    Number(kTwi, L"Current Block Count", Twi.currentBlockCount),

    Number(kDebug, L"Poll Frequency", Dbg.pollFrequency),
    Number(kDebug, L"Enabled", Dbg.enabled),
    Number(kDebug, L"Flag", Dbg.flag),
    Number(kDebug, L"To File", Dbg.toFile),
    Text(kDebug, L"File Name", Dbg.fileName),
    Number(kDebug, L"To Window", Dbg.toWindow),
    Number(kDebug, L"Show All", Dbg.showAll),
    Number(kDebug, L"Num Debug Lines", Dbg.numDebugLines),

    Text(kSelectedDevice, L"Device Alias Name", ProductSettings.selectedDevice.deviceAliasName),
    {},
};
static_assert(std::size(kFirstTable) == 116 + 1, "116 defaults and the end");

const RegistryDefault kSecondTable[] = {
    Number(kUserInterface, L"Skip open files", Ui.skipOpenFiles),

    Number(kCompression, L"Software - Mode", Comp.softwareMode),
    Number(kCompression, L"Software - Level", Comp.softwareLevel),
    Number(kCompression, L"Software - Threshold", Comp.softwareThreshold),
    Number(kCompression, L"Software - Expansion", Comp.softwareExpansion),

    Number(kBackupEngine, L"Special word", Eng.specialWord),
    Number(kBackupEngine, L"Max Num Tape Buffers", Eng.maxNumTapeBuffers),
    Number(kBackupEngine, L"Tape Buffer Size", Eng.tapeBufferSize),
    Number(kBackupEngine, L"Max Buffer Size", Eng.maxBufferSize),
    Number(kBackupEngine, L"Backup files inuse", Eng.backupFilesInUse),
    Number(kBackupEngine, L"Process Macintosh files", Eng.processMacintoshFiles),
    Number(kBackupEngine, L"Extended Date Support", Eng.extendedDateSupport),
    Number(kBackupEngine, L"Hidden files", Eng.hiddenFiles),
    Number(kBackupEngine, L"Special files", Eng.specialFiles),
    Number(kBackupEngine, L"Set archive", Eng.setArchive),
    Number(kBackupEngine, L"Process empty dirs", Eng.processEmptyDirs),
    Number(kBackupEngine, L"Restore existing files", Eng.restoreExistingFiles),
    Number(kBackupEngine, L"Prompt mode", Eng.promptMode),
    Number(kBackupEngine, L"Network ID", Eng.networkId),
    Number(kBackupEngine, L"Sort BSD List", Eng.sortBsdList),
    Number(kBackupEngine, L"Remote Drive Backup", Eng.remoteDriveBackup),
    Number(kBackupEngine, L"Use fast file restore", Eng.useFastFileRestore),
    Number(kBackupEngine, L"Tape Format", Eng.tapeFormat),
    Number(kBackupEngine, L"NRL dos vector", Eng.dosVectorLevel),
    Number(kBackupEngine, L"Machine Type", Eng.machineType),
    Number(kBackupEngine, L"OTC Level", Eng.dosVectorLevel),
    Number(kBackupEngine, L"GRFS Time Out", Eng.grfsTimeOut),
    Number(kBackupEngine, L"DIL wait timeout", Eng.dilWaitTimeout),
    Number(kBackupEngine, L"DIL no wait timeout", Eng.dilNoWaitTimeout),
    Number(kBackupEngine, L"Use High Water", Eng.useHighWater),
    Number(kBackupEngine, L"Use Fast Append", Eng.useFastAppend),

    Number(kTranslators, L"SYPL ECC Flag", ProductSettings.translators.syplEccFlag),
    {},
};
static_assert(std::size(kSecondTable) == 32 + 1, "32 defaults and the end");

template <size_t Chars>
void CopyDefault(wchar_t (&field)[Chars], const wchar_t* text)
{
    lstrcpynW(field, text, Chars);
}

// Only what is not zero: the block was cleared before.
void FillProductSettingDefaults()
{
    UserInterfaceSettings& ui = ProductSettings.userInterface;
    ui.startupDispatchPauseSecs = 120;
    ui.dispatchPauseSecs = 10;
    ui.lockedOutRetries = 100;
    ui.lockedOutWaitTime = 100;
    ui.outputDest = 2;
    ui.listFiles = 1;
    ui.createSkipped = 1;
    ui.displayNetWareServers = 1;
    ui.storeUserCredentials = 1;
    ui.appendFlag = 1;
    ui.waitTime = 30;
    ui.showModeWarning = 1;
    ui.includeSubdirs = 1;
    ui.backupType = 1;
    ui.displayStatistics = 1;
    ui.enableUserShares = 1;
    ui.enableSystemShares = 1;
    ui.verifyUsingCrc = 1;
    ui.searchLimit = 250;
    ui.searchSubdirectories = 1;
    CopyDefault(ui.menuServerList, L"4");
    ui.scheduledJobCountLimit = 100;
    ui.scheduledJobDayLimit = 7;
    ui.scheduledJobNextOnly = 1;
    ui.jobCommandDelay = 30;
    ui.nextJobWaitTime = 300;
    ui.eventMask = 35;
    ui.alertRemoteJobCompletes = 1;
    ui.networkZones = 1;
    ui.runPostCommandIfJobFails = 1;
    ui.restoreFilePermissions = 1;
    ui.preserveDirectoryTree = 1;
    ui.skipOpenFiles = 1;

    CopyDefault(ProductSettings.server.description, L"Velmar Backup Server");

    CatalogSettings& catalogs = ProductSettings.catalogs;
    catalogs.catalogLevel = 2;
    catalogs.enableOnTape = 1;
    catalogs.enableMoreMemory = 1;
    catalogs.daysToAge = 90;

    DisplaySettings& display = ProductSettings.display;
    display.selectionBar = 1;
    display.statusLine = 1;
    CopyDefault(display.fontFace, L"MS Sans Serif");
    display.fontSize = 8;
    display.fontWeight = 400;
    display.fontCaseFat = 1;
    display.fileDetails = 1;
    display.sortOptions = 1206;
    for (WindowRecord* record : {&display.frameWindow, &display.diskWindow, &display.treeDirWindow,
                                 &display.searchWindow, &display.serverWindow, &display.logWindow,
                                 &display.debugWindow, &display.runTimeDialog, &display.jobWindow,
                                 &display.historyWindow, &display.monitorWindow, &display.tapeWindow})
        *record = kWindowFormA;
    display.networkWindow = kWindowFormB;

    LoggingSettings& logging = ProductSettings.logging;
    CopyDefault(logging.logFileRoot, L"TWX");
    logging.numberOfSessions = 99;
    logging.logLevel = 1;
    logging.logMode = 2;

    ProductSettings.hardware.driveSettlingTime = 60;

    CompressionSettings& compression = ProductSettings.compression;
    compression.hardwareEnable = 1;
    compression.softwareThreshold = 16;

    DebugSettings& debug = ProductSettings.debug;
    debug.pollFrequency = 1;
    CopyDefault(debug.fileName, L"debug.log");
    debug.toWindow = 1;
    debug.numDebugLines = 150;

    BackupEngineSettings& engine = ProductSettings.backupEngine;
    engine.maxNumTapeBuffers = 9;
    engine.tapeBufferSize = 32;
    engine.maxBufferSize = 32768;
    engine.processMacintoshFiles = 1;
    engine.extendedDateSupport = 1;
    engine.hiddenFiles = 1;
    engine.specialFiles = 1;
    engine.setArchive = 1;
    engine.processEmptyDirs = 1;
    engine.restoreExistingFiles = 1;
    engine.sortBsdList = 1;
    engine.remoteDriveBackup = 1;
    engine.useFastFileRestore = 1;
    engine.dosVectorLevel = 2;
    engine.grfsTimeOut = 90;
    engine.dilWaitTimeout = 5;
    engine.dilNoWaitTimeout = 5;
    engine.useHighWater = 1;
    engine.useFastAppend = 1;
}

bool RegistryValueExists(HKEY key, const wchar_t* valueName)
{
    DWORD type = 0;
    DWORD bytes = 0;
    return RegQueryValueExW(key, valueName, nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS;
}

LONG WriteDefault(HKEY key, const RegistryDefault& row)
{
    const BYTE* data = static_cast<const BYTE*>(row.field);
    DWORD bytes = row.fieldSize;
    DWORD widened = 0;
    if (row.type == REG_SZ) {
        // Only the text and its terminator, not the whole capacity.
        size_t chars = wcsnlen(static_cast<const wchar_t*>(row.field), row.fieldSize / sizeof(wchar_t) - 1);
        bytes = static_cast<DWORD>((chars + 1) * sizeof(wchar_t));
    } else if (row.type == REG_DWORD && row.fieldSize < sizeof widened) {
        memcpy(&widened, row.field, row.fieldSize);
        data = reinterpret_cast<const BYTE*>(&widened);
        bytes = sizeof widened;
    }
    return RegSetValueExW(key, row.valueName, 0, row.type, data, bytes);
}

// Rows of one key stand together, so each key is opened once per run of
// rows. The walk ends at the first key or value that fails.
DWORD WriteDefaultsTable(HKEY root, const RegistryDefault* table)
{
    if (!table->keyPath)
        return 0;
    RegistryKey key;
    const wchar_t* keyPath = table->keyPath;
    LONG error = key.Create(root, keyPath);
    for (const RegistryDefault* row = table; error == ERROR_SUCCESS && row->keyPath;) {
        // A value that is there was set by an earlier install or by the user.
        if (!RegistryValueExists(key.get(), row->valueName))
            error = WriteDefault(key.get(), *row);
        ++row;
        if (error == ERROR_SUCCESS && row->keyPath && lstrcmpiW(row->keyPath, keyPath) != 0) {
            keyPath = row->keyPath;
            error = key.Create(root, keyPath);
        }
    }
    return static_cast<DWORD>(error);
}

DWORD WriteBothTables(void* root)
{
    HKEY rootKey = static_cast<HKEY>(root);
    ProductSettings = {};
    FillProductSettingDefaults();
    DWORD first = WriteDefaultsTable(rootKey, kFirstTable);
    DWORD second = WriteDefaultsTable(rootKey, kSecondTable);
    return first | second;
}

}  // namespace

DWORD WriteRegistryDefaults(HKEY root)
{
    DWORD result = 0;
    if (!RunGuarded(WriteBothTables, root, result))
        return 0xFFFFFFFF;
    return result;
}

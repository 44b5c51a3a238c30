#include "flow/install_undo.h"

#include <string>
#include <vector>

#include "files/install_journal.h"
#include "registry/created_levels.h"
#include "registry/product_keys.h"
#include "registry/registry_snapshot.h"
#include "services/service_control.h"
#include "shell/setup_state.h"

namespace {

struct UndoState {
    bool armed = false;
    RegistrySnapshot registry;
};
UndoState State;

void Undo()
{
    State.armed = false;
    SessionEndRoutine = nullptr;
    // The services' programs are back in place before the services start.
    RollBackFileJournal();
    State.registry.Restore();
    StartServices();
}

// The system may end the process as soon as the frame has answered the end
// of the session, and the copy below on the stack must not go on with its
// file closed: the run ends here, not completed.
void UndoAtSessionEnd()
{
    Undo();
    ExitProcess(kExitNotCompleted);
}

// True when `level` is `directory` or lies above it.
bool IsLevelOf(const std::wstring& level, const std::wstring& directory)
{
    const size_t length = level.size();
    return length <= directory.size() && _wcsnicmp(level.c_str(), directory.c_str(), length) == 0 &&
           (length == directory.size() || directory[length] == L'\\');
}

}  // namespace

InstallUndo::InstallUndo()
{
    BeginFileJournal();
    State.registry.Take(HKEY_LOCAL_MACHINE, kVelmarKey);
    State.armed = true;
    SessionEndRoutine = UndoAtSessionEnd;
}

InstallUndo::~InstallUndo()
{
    if (State.armed)
        Undo();
}

void InstallUndo::Keep()
{
    State.armed = false;
    SessionEndRoutine = nullptr;
    CloseFileJournal();
}

void RecordCreatedLevels(const wchar_t* destination)
{
    std::wstring directory = destination;
    while (directory.size() > 3 && directory.back() == L'\\')
        directory.pop_back();
    std::vector<std::wstring> levels;
    for (const std::wstring& created : CreatedDirectories())
        if (IsLevelOf(created, directory))
            levels.push_back(created);
    MergeCreatedLevels(levels);
}

#include "flow/install_undo.h"

#include "files/install_journal.h"
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

#pragma once
// A failed or cancelled install leaves the computer as it found it. From its
// start to the end of its copy the install keeps what it needs to undo
// itself: the journal of its files and directories (files/install_journal.h)
// and a snapshot of the registry below the maker's key. When it ends before
// the copy has completed, for whatever reason (an error, a missing disk, a
// cancel confirmed, the window closed, the end of the session), both are put
// back and the services it stopped are started again. What fails after the
// copy (the service account, the new services) is not undone.
#include <windows.h>

// Held by the install sequence from its start. Its end undoes the install
// unless Keep was called.
class InstallUndo {
public:
    InstallUndo();
    ~InstallUndo();
    InstallUndo(const InstallUndo&) = delete;
    InstallUndo& operator=(const InstallUndo&) = delete;

    // The copy has completed: the files set aside are deleted and nothing
    // will be undone.
    void Keep();
};

// Adds the levels of the product directory `destination` that this install
// created to those that earlier installs recorded; the uninstall removes
// only recorded levels. Called when the install completes.
void RecordCreatedLevels(const wchar_t* destination);

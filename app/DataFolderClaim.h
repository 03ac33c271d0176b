#pragma once

// Before the program reads or repairs anything in the data folder it takes the folder's lock
// (store/FolderLock.h). When another program holds it, the user is told who and since when,
// and may quit or go on read only; a lock from another machine may also be broken, by an
// explicit choice with a warning. A lock left by a program of this machine that stopped is
// taken over without a question.
//
// True when the program goes on: holding the folder, or read only (the store's read-only
// station switch set). False when the user chose to quit.
bool ClaimDataFolder();

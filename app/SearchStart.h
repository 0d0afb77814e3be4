// What the wizard's Finish does before a search starts: offers to save the
// results it replaces, takes the chosen drive, logs it, resets the flags,
// makes the new search's session (and engine) and empties the views. The
// caller then posts the start message to the frame.
#pragma once

#include "HeaderRecord.h"

#include <cstddef>
#include <string>
#include <vector>

class CMainFrame;
class CWnd;
class CQuendalVarnothApp;
struct DriveRecord;
enum class ScanKind;

// The kind of session a search of the drive needs: the NTFS engine for
// "NTFS" and "NTFS5", the FAT engine for anything else, and the disk scan.
ScanKind SessionKindFor(const DriveRecord &drive, bool physicalDiskScan);

// The size and type the log's first line gives the chosen drive: never
// empty. A disk has its size from its sector count and its model and
// firmware (or the word "Disk") as its type.
std::u16string ChosenDriveSizeText(const DriveRecord &drive);
std::u16string ChosenDriveTypeText(const DriveRecord &drive, bool physicalDisk);

// driveIndex: position of the chosen record in the application's drive
// list; headers: the signatures the search matches (none for a fast search);
// owner: the window that owns the save offer and the save's dialogs (the
// wizard whose Finish this is; null: the frame). False when nothing may
// start: the user cancelled the save offer, the index names no drive, or an
// engine, loader or writer call is still on the stack.
bool StartNewSearch(CQuendalVarnothApp &app, CMainFrame &frame, size_t driveIndex,
                    std::vector<HeaderRecord> headers = {}, CWnd *owner = nullptr);

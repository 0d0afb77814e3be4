// Texts that the program only shows, in the language of its string table:
// the names of the folders an engine makes up, the drive's type and size
// units, the log's dates. What the engines hand over and what a scan file
// stores stays as it is (a scan file saved in one language shows its made-up
// folders in the language the program runs in).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "EntryRecord.h"

// The words the texts are made of; the English ones unless told otherwise.
struct ShownWords {
  std::u16string lostFolders = u"Lost Folder(s)";   // NTFS: the folder of folders whose parent is gone
  std::u16string folderNumber = u"Folder %s";       // NTFS: a re-created folder, %s its record number
  std::u16string rawDataFolder = u"Raw Data Folder"; // the folder of signature hits
  std::u16string lostFolder = u"Lost Folder";       // FAT: the folder of lost folders
  std::u16string gigabytes = u"GB", megabytes = u"MB";
  // The drive types in the order of the system's GetDriveType values 0 to 6.
  std::u16string driveTypes[7] = {u"UNKNOWN", u"DRIVE_NO_ROOT_DIR", u"REMOVABLE", u"FIXED",
                                  u"REMOTE",  u"CDROM",             u"RAMDISK"};
  std::wstring dateLocale = L"en-US"; // the locale whose date form the log uses
};

// The words of the active string table (read again when it changes).
const ShownWords &ActiveShownWords();

// An entry's name as the tree and the list show it: the made-up folders'
// English names (as every scan file saved in English holds them) in the
// words given; every other name as it is.
std::u16string ShownEntryName(const EntryRecord &record, const std::u16string &name, const ShownWords &words);
// "FIXED" and the other drive types in the words given; others as they are.
std::u16string ShownDriveType(const std::u16string &type, const ShownWords &words);
// "1.000 GB" or "12.500 MB" with the unit in the words given.
std::u16string ShownSizeText(const std::u16string &size, const ShownWords &words);
// The log's time text: the C library's ctime form in English, else the
// long date and the 24-hour time of the words' locale.
std::u16string LogTimeText(const SYSTEMTIME &local, const ShownWords &words);

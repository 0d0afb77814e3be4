// Texts only shown: the made-up folders' names, drive types, size units and
// the log's dates in the words of a language; stored names stay as they are.
#include <gtest/gtest.h>

#include <vector>

#include "NtfsAdvancedEngine.h"
#include "ShownText.h"

namespace {

ShownWords French() {
  ShownWords words;
  words.lostFolders = u"Dossier(s) perdu(s)";
  words.folderNumber = u"Dossier %s";
  words.rawDataFolder = u"Dossier des donn\u00e9es brutes";
  words.lostFolder = u"Dossier perdu";
  words.gigabytes = u"Go";
  words.megabytes = u"Mo";
  words.driveTypes[3] = u"FIXE";
  words.dateLocale = L"fr-FR";
  return words;
}

EntryRecord Folder(uint32_t parent, uint32_t own) {
  EntryRecord record;
  record.m_parentId = parent;
  record.m_ownId = own;
  record.m_attributes = kEntryAttrFolder;
  return record;
}

TEST(ShownText, MadeUpFoldersShowInTheLanguageOtherNamesAsStored) {
  EntryRecord file = Folder(kSpecialFolderId, 77);
  file.m_attributes = kEntryAttrArchive;
  struct Case {
    EntryRecord record;
    std::u16string stored, shown;
  };
  const std::vector<Case> cases = {
      {Folder(kNtfsRootRecord, kSpecialFolderId), u"Lost Folder(s)", u"Dossier(s) perdu(s)"},
      {Folder(kSpecialFolderId, 1234), u"Folder 1234", u"Dossier 1234"},
      {Folder(0, kSpecialFolderId), u"Raw Data Folder", u"Dossier des donn\u00e9es brutes"},
      {Folder(0, kNtfsRawFolderId), u"Raw Data Folder", u"Dossier des donn\u00e9es brutes"},
      {Folder(0, kLostFolderId), u"Lost Folder", u"Dossier perdu"},
      // Names a user gave, or a scan file saved in another language holds.
      {Folder(5, 40), u"Lost Folder(s)", u"Lost Folder(s)"},
      {Folder(kSpecialFolderId, 41), u"Folder 12a", u"Folder 12a"},
      {Folder(5, 42), u"Folder 12", u"Folder 12"},
      {file, u"Folder 12", u"Folder 12"},
      {Folder(0, kSpecialFolderId), u"Dossier des donn\u00e9es brutes", u"Dossier des donn\u00e9es brutes"},
  };
  for (const Case &c : cases) EXPECT_EQ(ShownEntryName(c.record, c.stored, French()), c.shown);
  // English shows what it stored.
  for (const Case &c : cases) EXPECT_EQ(ShownEntryName(c.record, c.stored, ShownWords()), c.stored);
}

TEST(ShownText, DriveTypesAndUnitsInTheLanguage) {
  EXPECT_EQ(ShownDriveType(u"FIXED", French()), u"FIXE");
  EXPECT_EQ(ShownDriveType(u"FIXED", ShownWords()), u"FIXED");
  EXPECT_EQ(ShownDriveType(u"OTHER", French()), u"OTHER");
  EXPECT_EQ(ShownSizeText(u"1.500 GB", French()), u"1.500 Go");
  EXPECT_EQ(ShownSizeText(u"12.000 MB", French()), u"12.000 Mo");
  EXPECT_EQ(ShownSizeText(u"12.000 MB", ShownWords()), u"12.000 MB");
  EXPECT_EQ(ShownSizeText(u"", French()), u"");
}

TEST(ShownText, LogDatesInTheFormOfTheLanguage) {
  SYSTEMTIME friday = {2026, 12, 5, 11, 5, 6, 20, 0};
  SYSTEMTIME first = {2026, 12, 2, 1, 17, 0, 9, 0};
  // English keeps the C library's ctime form.
  EXPECT_EQ(LogTimeText(friday, ShownWords()), u"Fri Dec 11 05:06:20 2026");
  EXPECT_EQ(LogTimeText(first, ShownWords()), u"Tue Dec  1 17:00:09 2026");
  const std::u16string french = LogTimeText(friday, French());
  EXPECT_NE(french.find(u"11 d\u00e9cembre 2026 05:06:20"), std::u16string::npos)
      << std::string(french.begin(), french.end());
  ShownWords german;
  german.dateLocale = L"de-DE";
  const std::u16string text = LogTimeText(friday, german);
  EXPECT_NE(text.find(u"11. Dezember 2026 05:06:20"), std::u16string::npos) << std::string(text.begin(), text.end());
}

} // namespace

// String-table ids of the texts the engines log and show. Each id is declared
// here once; the application's string table holds the texts of every
// language, and the engines load them through EngineServices::LoadText.
#pragma once

#include <cstdint>

namespace EngineText {
constexpr uint32_t kLoadingFat = 61240;
constexpr uint32_t kFolders = 61246;
constexpr uint32_t kProcessStarted = 61255;
constexpr uint32_t kProcessFailed = 61256;
constexpr uint32_t kProcessCompleted = 61257;
constexpr uint32_t kProcessAborted = 61258;
constexpr uint32_t kReadingSector = 61263;
constexpr uint32_t kOf = 61264;
constexpr uint32_t kCalculatingParameters = 61269;
constexpr uint32_t kReadingCluster = 61270;
constexpr uint32_t kRawDataFolder = 61271;
constexpr uint32_t kLostFolder = 61272;
constexpr uint32_t kCreatingDirectoryTree = 61273;
constexpr uint32_t kSearchingCriticalInfo = 61276;
constexpr uint32_t kNotValidDrive = 61277;
constexpr uint32_t kStartedOn = 61278;
constexpr uint32_t kCompletedOn = 61279;
constexpr uint32_t kAbortedOn = 61280;
constexpr uint32_t kErrorReadingSector = 61281;
constexpr uint32_t kErrorReadingCluster = 61282;
constexpr uint32_t kAddingDeletedFiles = 61283;
constexpr uint32_t kAddingLostFiles = 61284;
constexpr uint32_t kCompleted = 61285;
constexpr uint32_t kAborted = 61286;
constexpr uint32_t kSearchingHeaders = 61287;
constexpr uint32_t kSavingFiles = 61288;
constexpr uint32_t kUnableToSave = 61289;
constexpr uint32_t kSavingScanInformation = 61290;
constexpr uint32_t kCreatingTreeFromScanFile = 61291;
constexpr uint32_t kUnableToOpen = 61292;
constexpr uint32_t kErrorOpeningFile = 61294;
constexpr uint32_t kNotValidScanFile = 61295;
constexpr uint32_t kNotValidScanFileLong = 61296;
// "%s" in turn: the file, the entries read, the bytes read and the file's size.
constexpr uint32_t kScanFileDamaged = 61441;
constexpr uint32_t kProcessIncomplete = 61442;
constexpr uint32_t kEndedOn = 61443;
constexpr uint32_t kRecordSkipped = 61481;
constexpr uint32_t kDamagedScanFile = 61482;
constexpr uint32_t kNoValidDrive = 61483;
// A drive or disk the system would not open: administrator rights are needed.
constexpr uint32_t kAdministratorNeeded = 61484;
// One line for a run of unreadable sectors or clusters, with its range.
constexpr uint32_t kErrorReadingSectors = 61550;
constexpr uint32_t kErrorReadingClusters = 61551;
// A save the scan-file layout cannot hold: "%s" is one of the reasons after it.
constexpr uint32_t kScanFileCannotHold = 61721;
constexpr uint32_t kScanFileCannotHoldMap = 61722;
constexpr uint32_t kScanFileCannotHoldMftRuns = 61723;
// A compound document whose size could not be measured: "%s" where it was
// found and "%s" the size it is kept at; the second text for one kept empty.
constexpr uint32_t kDocumentKeptAtLargest = 61570;
constexpr uint32_t kDocumentKeptEmpty = 61571;
} // namespace EngineText

// Identifiers of the recovery program's resources: menus, accelerators,
// toolbars, dialogs and their controls, strings, bitmaps, icons and cursors.
// The language libraries use the same identifiers, so a resource missing from
// a library is found in the executable instead.
#pragma once

// The class library's standard commands, panes and strings (ID_APP_ABOUT,
// ID_VIEW_STATUS_BAR, AFX_IDS_IDLEMESSAGE, ...); resource scripts include it too.
#include "../framework/AfxRes.h"

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Main frame: menu, accelerators, toolbar "Standard", icon and document template string.
#define IDR_MAINFRAME 128
// The toolbar's images at 32 x 32 and 48 x 48, and images of the commands not on it.
#define IDR_TOOLBAR_MEDIUM 130
#define IDR_TOOLBAR_LARGE 132
#define IDR_COMMAND_IMAGES 190

// Commands.
#define ID_FILE_RUN_WIZARD 32771
#define ID_FILE_OPEN_SCAN_INFO 32772
#define ID_TOOLS_RECOVER_ALL 32773
#define ID_TOOLS_RECOVER_SELECTED 32774
#define ID_TOOLS_STOP_PROCESS 32776
#define ID_TOOLS_SAVE_SCAN_INFO 32777
#define ID_EDIT_SELECT_ALL_ENTRIES 32778
#define ID_EDIT_UNSELECT_ALL_ENTRIES 32779
#define ID_TOOLS_FILE_MASK 32780
#define ID_TOOLS_UNMASK 32781
#define ID_EDIT_SAVE_LOG 32782
#define ID_EDIT_CLEAR_LOG 32783
#define ID_EDIT_FIND_ENTRIES 32784
#define ID_EDIT_FIND_NEXT_ENTRY 32785
#define ID_VIEW_TOOLBAR_LARGE 32787
#define ID_VIEW_TOOLBAR_MEDIUM 32788
#define ID_VIEW_TOOLBAR_SMALL 32789
#define ID_EDIT_GO_UP 32790
#define ID_VIEW_THEME_OFFICE2000 32791
#define ID_VIEW_THEME_OFFICEXP 32792
#define ID_VIEW_THEME_OFFICE2003 32793
#define ID_VIEW_THEME_NATIVEXP 32794
#define ID_VIEW_TOOLTIP_BALLOON 32808
#define ID_VIEW_TOOLTIP_OFFICE 32809
#define ID_VIEW_PROGRESS_COLOUR 32810
#define ID_VIEW_TIPS_ON_STARTUP 32811
#define ID_TOOLS_ADD_NEW_HEADER 32812

// Docking pane of the log; its title is the string of the same id.
#define ID_PANE_LOG 61236

// Dialogs.
#define IDD_ABOUTBOX 100
#define IDD_SEARCH_TYPE 131
#define IDD_SEARCH_DRIVE 134
#define IDD_FILE_EXISTS 135
#define IDD_APPEND_HEADER 137
#define IDD_SELECT_HEADERS 138
#define IDD_FILE_MASK 152
#define IDD_FIND 174
#define IDD_SCAN_RENAME 194
#define IDD_CANNOT_SAVE 197
#define IDD_ADD_NEW_HEADER 201

// Bitmaps. The toolbars' strips carry the ids of their toolbars.
#define IDB_SEARCH_TYPE_BUTTONS 135
#define IDB_CHECK_STATES 142
#define IDB_LOG_HEADER_ACTIVITY 147
#define IDB_LOG_HEADER_TEXT 148
#define IDB_LOG_HEADER_STATUS 149
#define IDB_TREE_STATES 156
#define IDB_FIXED_DRIVE 157
#define IDB_FOLDER_TREE 164
#define IDB_FILE_LIST_SMALL 165
#define IDB_FILE_LIST_LARGE 166
#define IDB_WIZARD_PICTURE 168
#define IDB_REMOVABLE_DRIVE 171
#define IDB_MY_COMPUTER 172
#define IDB_ABOUT 177
#define IDB_DISK 195
#define IDB_FLOPPY_DRIVE 203

// Icons (the application's own is IDR_MAINFRAME) and the cursor.
#define IDI_LOG_STARTED 196
#define IDI_LOG_COMPLETED 201
#define IDI_LOG_ERROR 202
#define IDC_LINK_HAND 134

// Controls. The same number may serve in several dialogs.
#define IDC_DRIVE_TREE 100     // created by the drive page, not in its template
#define IDC_EDIT_ITEM 0x1234   // in-place edit of the signature list
#define IDC_HEADER_EDIT 1000   // signature page
#define IDC_HEADER_ADD 1001    // signature page
#define IDC_HEADER_REMOVE 1002 // signature page
#define IDC_HEADER_UNSELECT_ALL 1003
#define IDC_HEADER_SELECT_ALL 1004
#define IDC_HEADER_SUPPORT_LABEL 1005
#define IDC_HEADER_SUPPORT_LINK 1006
#define IDC_HEADER_LIST 1019
#define IDC_HEADER_TYPES_LABEL 1020
#define IDC_HEADER_GROUP_LABEL 1021
#define IDC_HEADER_GROUP 1022

#define IDC_FAST_SEARCH 1003 // search-type page
#define IDC_SEARCH_QUESTION 1004
#define IDC_ADVANCED_SEARCH 1005
#define IDC_PHYSICAL_SCAN 1006
#define IDC_SHOW_WIZARD 1007 // all three wizard pages
#define IDC_SEARCH_DESCRIPTION 1011
#define IDC_TYPE_SUPPORT_LABEL 1012
#define IDC_TYPE_SUPPORT_LINK 1013

#define IDC_DRIVE_PROMPT 1013 // drive page
#define IDC_DRIVE_SUPPORT_LABEL 1015
#define IDC_DRIVE_SUPPORT_LINK 1016

#define IDC_APPEND_NAME 1016 // Append Header File
#define IDC_APPEND_EXTENSION 1017
#define IDC_APPEND_SIGNATURE 1020
#define IDC_APPEND_OFFSET 1021
#define IDC_APPEND_SIZE 1033
#define IDC_APPEND_UNIT_SPIN 1037
#define IDC_APPEND_UNIT 1038
#define IDC_APPEND_GROUP 1048

#define IDC_NEW_HEADER_LIST 1046 // Add New Header; its Add and Remove are IDYES and IDNO
#define IDC_NEW_HEADER_EDIT 1047

#define IDC_FIND_TEXT 1009 // Find
#define IDC_FIND_MATCH_CASE 1003
#define IDC_FIND_DELETED 1011
#define IDC_FIND_MISSING 1012
#define IDC_FIND_MARKER 1013
#define IDC_FIND_VERY_GOOD 1014
#define IDC_FIND_GOOD 1015
#define IDC_FIND_FAIR 1016
#define IDC_FIND_POOR 1017
#define IDC_FIND_EXPAND 1018
#define IDC_FIND_NOT_APPLICABLE 1019
#define IDC_FIND_SIZE 1020
#define IDC_FIND_SIZE_KIND 1021
#define IDC_FIND_SIZE_LIMIT 1022
#define IDC_FIND_DATE 1024
#define IDC_FIND_DATE_KIND 1025
#define IDC_FIND_IN_MONTHS 1026
#define IDC_FIND_MONTHS 1027
#define IDC_FIND_IN_DAYS 1028
#define IDC_FIND_DAYS 1030
#define IDC_FIND_BETWEEN 1032
#define IDC_FIND_FROM_DATE 1033
#define IDC_FIND_TO_DATE 1035
#define IDC_FIND_DAYS_SPIN 1062
#define IDC_FIND_MONTHS_SPIN 1063

#define IDC_MASK_IN_MONTHS 1001 // File Mask
#define IDC_MASK_IN_DAYS 1002
#define IDC_MASK_MATCH_CASE 1003
#define IDC_MASK_TYPES 1009
#define IDC_MASK_DELETED 1011
#define IDC_MASK_MISSING 1012
#define IDC_MASK_SIZE_FROM 1013
#define IDC_MASK_SIZE_UPTO 1015
#define IDC_MASK_UPPER_LIMIT 1016
#define IDC_MASK_DATE 1017
#define IDC_MASK_MONTHS 1019
#define IDC_MASK_BETWEEN 1020
#define IDC_MASK_DAYS 1021
#define IDC_MASK_FROM_DATE 1022
#define IDC_MASK_TO_DATE 1024
#define IDC_MASK_SET 1025
#define IDC_MASK_TYPES_HINT 1026
#define IDC_MASK_KB_LABEL 1028
#define IDC_MASK_MONTHS_LABEL 1029
#define IDC_MASK_DAYS_LABEL 1030
#define IDC_MASK_LOWER_LIMIT 1041
#define IDC_MASK_DATE_KIND 1061
#define IDC_MASK_DAYS_SPIN 1062
#define IDC_MASK_MONTHS_SPIN 1063

#define IDC_EXISTS_RENAME_TO 1004 // File already exists; its Rename is IDOK
#define IDC_EXISTS_RENAME_ALL 1005
#define IDC_EXISTS_OVERWRITE 1006
#define IDC_EXISTS_OVERWRITE_ALL 1007
#define IDC_EXISTS_SKIP 1008
#define IDC_EXISTS_SKIP_ALL 1009
#define IDC_EXISTS_NAME 1010 // chosen here: the clashing file's name

#define IDC_CANNOT_SAVE_NAME 1010 // chosen here: Cannot Save's file name
#define IDC_CANNOT_SAVE_SIZE 1011 // chosen here: its size in KB
#define IDC_CANNOT_SAVE_SKIP 1012 // chosen here: "Skip this file"; "Cancel saving" is IDCANCEL

#define IDC_RENAME_OVERWRITE 1011 // scan-file name clash; its Rename is IDOK
#define IDC_RENAME_NEW_NAME 1020
#define IDC_RENAME_EXISTING 1022

// Strings.
#define IDS_SEARCH_USE_TO_RECOVER 61204
#define IDS_FAST_RECENTLY_DELETED 61205
#define IDS_FAST_TEMPORARY_FILES 61206
#define IDS_FAST_RECYCLE_BIN 61207
#define IDS_DISK 61212
#define IDS_BOOT_DRIVE 61214
#define IDS_GROUP_APPLICATION 61215
#define IDS_GROUP_DATABASE 61216
#define IDS_GROUP_EMAIL 61217
#define IDS_GROUP_DOCUMENT 61218
#define IDS_GROUP_INTERNET 61219
#define IDS_GROUP_MOVIE 61220
#define IDS_GROUP_OFFICE 61221
#define IDS_GROUP_TEXT 61222
#define IDS_GROUP_SOUND 61223
#define IDS_GROUP_GRAPHIC 61224
#define IDS_GROUP_ARCHIVE 61225
#define IDS_GROUP_MISCELLANEOUS 61226
#define IDS_GROUP_ALL 61227
#define IDS_INVALID_SIZE 61228
#define IDS_COLUMN_NAME 61229
#define IDS_COLUMN_EXTENSION 61230
#define IDS_SKIPPED 61231
#define IDS_INVALID_HEADER_FORMAT 61232
#define IDS_INVALID_HEADER_LENGTH 61233
#define IDS_INVALID_OFFSET 61234
#define IDS_APPEND_HEADER_FAILED 61235
#define IDS_LOG_PANE_TITLE 61236
#define IDS_LOG_ACTIVITY 61237
#define IDS_LOG_TEXT 61238
#define IDS_LOG_STATUS 61239
#define IDS_LOADING_FAT 61240
#define IDS_TOTAL 61241
#define IDS_BYTES 61243
#define IDS_IN 61244
#define IDS_FILES 61245
#define IDS_FOLDERS 61246
#define IDS_DELETED_FOLDER 61247
#define IDS_DELETED_FILE 61248
#define IDS_COLUMN_TYPE 61249
#define IDS_COLUMN_SIZE 61250
#define IDS_COLUMN_MODIFIED 61251
#define IDS_COLUMN_STATUS 61252
#define IDS_COLUMN_FILE_ID 61253
#define IDS_COLUMN_CREATED 61254
#define IDS_PROCESS_STARTED 61255
#define IDS_PROCESS_FAILED 61256
#define IDS_PROCESS_COMPLETED 61257
#define IDS_PROCESS_ABORTED 61258
#define IDS_READING 61262
#define IDS_READING_SECTOR 61263
#define IDS_OF 61264
#define IDS_LOGICAL_DRIVE 61265
#define IDS_ENTRIES_FOUND 61268
#define IDS_CALCULATING_PARAMETERS 61269
#define IDS_READING_CLUSTER 61270
#define IDS_RAW_DATA_FOLDER 61271
#define IDS_LOST_FOLDER 61272
#define IDS_CREATING_TREE 61273
#define IDS_STOP_QUESTION 61275
#define IDS_SEARCHING_CRITICAL_INFO 61276
#define IDS_INVALID_LOGICAL_DRIVE 61277
#define IDS_STARTED_ON 61278
#define IDS_COMPLETED_ON 61279
#define IDS_ABORTED_ON 61280
#define IDS_ERROR_READING_SECTOR 61281
#define IDS_ERROR_READING_CLUSTER 61282
#define IDS_ADDING_DELETED_FILES 61283
#define IDS_ADDING_LOST_FILES 61284
#define IDS_COMPLETED 61285
#define IDS_ABORTED 61286
#define IDS_SEARCHING_HEADERS 61287
#define IDS_SAVING_FILES 61288
#define IDS_CANNOT_SAVE_SCAN_INFO 61289
#define IDS_SAVING_SCAN_INFO 61290
#define IDS_LOADING_SCAN_FILE 61291
#define IDS_CANNOT_OPEN_SCAN_FILE 61292
#define IDS_ERROR_OPENING_FILE 61294
#define IDS_NOT_SCAN_FILE 61295
#define IDS_NOT_VALID_SCAN_FILE 61296
#define IDS_SCAN_FILE_DEFAULT_NAME 61298
#define IDS_SAVE_SCAN_INFO_TITLE 61299
#define IDS_OPEN_SCAN_FILE_TITLE 61300
#define IDS_SCAN_FILE_FILTER 61301
#define IDS_SAVE_SCAN_QUESTION 61302
#define IDS_RECOVERING_FILE 61303
#define IDS_SELECT_DESTINATION 61312
#define IDS_MY_COMPUTER 61313
#define IDS_REMOVABLE_DISK 61314
#define IDS_CANNOT_EXIT 61315
#define IDS_MODIFIED_DATE 61317
#define IDS_CREATED_DATE 61318
#define IDS_ROOT 61319
#define IDS_FIND_FINISHED 61323
#define IDS_MY32_MISSING 61324
#define IDS_CANNOT_CREATE_FILE 61325
#define IDS_NO_MATCH 61326
#define IDS_INVALID_FILE_SIZE 61327
#define IDS_NEED_DELETED_OR_MISSING 61328
#define IDS_LOWER_ABOVE_UPPER 61329
#define IDS_LOG_DEFAULT_NAME 61334
#define IDS_LOG_FILTER 61335
#define IDS_LOG_SAVE_TITLE 61336
#define IDS_LOG_REPORT_TITLE 61337
#define IDS_FOLDER 61338
#define IDS_FILE 61339
#define IDS_SIZE_LIMIT_BLANK 61340
#define IDS_FAST_INSTANTANEOUS 61341
#define IDS_FAST_DISK_CLEANUP 61342
#define IDS_CHOOSE_LOGICAL_DRIVE 61343
#define IDS_CHOOSE_PHYSICAL_DISK 61344
#define IDS_FAST_SPEED 61345
#define IDS_DEEP_FORMATTED 61346
#define IDS_DEEP_FRAGMENTED 61347
#define IDS_DEEP_LONG_AGO 61348
#define IDS_ADVANCED_INTENSIVE 61349
#define IDS_ADVANCED_HEURISTICALLY 61351
#define IDS_ADVANCED_TECHNIQUES 61352
#define IDS_ADVANCED_SIGNATURE 61353
#define IDS_ADVANCED_LOST_FILES 61354
#define IDS_ADVANCED_ENTIRE_DRIVE 61355
#define IDS_DELETED_AND_LOST 61356
#define IDS_PHYSICAL_ENTIRE_DRIVE 61357
#define IDS_PHYSICAL_TECHNIQUES 61359
#define IDS_PHYSICAL_SIGNATURE 61360
#define IDS_PHYSICAL_ENTIRE_DISK 61361
#define IDS_PHYSICAL_TAKES_TIME 61362
#define IDS_PHYSICAL_THOROUGH 61363
#define IDS_PHYSICAL_SCAN_POSSIBLE 61364
#define IDS_FLOPPY_DISK 61369
#define IDS_PREDEFINED_NOT_REMOVABLE 61370
#define IDS_DEFAULT_HEADER_SIZE 61371
// Chosen here, in a free range: the scan-file name question, a damaged scan file.
#define IDS_SCAN_FILE_NAME_EMPTY 61440
#define IDS_SCAN_FILE_DAMAGED 61441 // "%s" file, entries, bytes read, file size, in that order
#define IDS_PROCESS_INCOMPLETE 61442
#define IDS_ENDED_ON 61443
// Chosen here, in a free range: the recovery grades of the file list.
#define IDS_GRADE_POOR 61400
#define IDS_GRADE_FAIR 61401
#define IDS_GRADE_GOOD 61402
#define IDS_GRADE_VERY_GOOD 61403
#define IDS_GRADE_NOT_APPLICABLE 61404
#define IDS_FILE_READ_INCOMPLETE 61410 // recovery: a file read short
#define IDS_DESTINATION_ON_SEARCHED_DRIVE 61411 // recovery: destination refused
#define IDS_DESTINATION_CHECKED_BY_LETTER 61412 // recovery: volumes compared by letter
#define IDS_FILE_SIZE_BEYOND_CLUSTERS 61413     // recovery: a damaged size, only the clusters saved
#define IDS_DISK_SIZE_UNKNOWN 61420 // drive page: a disk the system gives no size
#define IDS_SETTINGS_NOT_STORED 61480 // the product key cannot be written
#define IDS_MFT_RECORD_SKIPPED 61481 // engine: a damaged MFT record, "%s" its number
#define IDS_SCAN_FILE_DAMAGED_REASON 61482 // engine: a damaged scan file, "%s" its path
#define IDS_NO_VALID_DRIVE 61483 // engine: the system names no logical drive
#define IDS_ADMINISTRATOR_NEEDED 61484 // engine: the system refused to open a drive or disk
#define IDS_ERROR_READING_SECTORS 61550 // log: one line for a run of unreadable sectors
#define IDS_ERROR_READING_CLUSTERS 61551 // log: one line for a run of unreadable clusters
#define IDS_DOCUMENT_KEPT_AT_LARGEST 61570 // log: an unmeasured document kept at its largest size, "%s" where, "%s" bytes
#define IDS_DOCUMENT_KEPT_EMPTY 61571 // log: an unmeasured document listed with no size, "%s" where
#define IDS_HEADER_RECORD_REFUSED 61600 // log: a damaged signature record, its number and why
#define IDS_HEADER_REFUSED_LENGTH 61601 // why: signature length
#define IDS_HEADER_REFUSED_OFFSET 61602 // why: offset
#define IDS_HEADER_REFUSED_TEXT 61603 // why: unterminated text
#define IDS_HEADER_REFUSED_GROUP 61604 // why: group
#define IDS_HEADER_SIZE_TOO_LARGE 61605 // a maximum size beyond 32 bits
#define IDS_HEADER_REWRITE_FAILED 61606 // the signature file could not be rewritten
#define IDS_REMOVE_HEADER_QUESTION 61607 // asked before a user signature is removed: its name and extension
#define IDS_FIND_AT_LEAST 61640
#define IDS_FIND_AT_MOST 61641
#define IDS_FIND_EXPANDED 61642
#define IDS_FIND_COLLAPSED 61643
#define IDS_SAVE_WHILE_MASKED 61644
#define IDS_FILE_ON_SEARCHED_DRIVE 61720 // a save refused: the file would lie on the searched drive
#define IDS_SCAN_FILE_CANNOT_HOLD 61721 // a save refused: what the scan-file layout cannot hold ("%s": a reason below)
#define IDS_SCAN_FILE_CANNOT_HOLD_MAP 61722
#define IDS_SCAN_FILE_CANNOT_HOLD_MFT_RUNS 61723
#define IDS_SCAN_FILE_NOT_ON_DRIVE 61724 // an open refused: sectors, first sector, the drive's sectors
#define IDS_SIGNATURES_ON_SEARCHED_DRIVE 61725 // HeaderFile.cfg not written: on the searched drive
// Chosen here, in a free range: the search wizard's own buttons, which the
// system would otherwise name in its own language, not the chosen one.
#define IDS_WIZARD_BACK 61760
#define IDS_WIZARD_NEXT 61761
#define IDS_WIZARD_FINISH 61762
#define IDS_WIZARD_CANCEL 61763
#define IDS_WIZARD_HELP 61764
// Words that are only shown: made-up folder names, units, drive types, and
// the locale whose date form the log uses.
#define IDS_SHOWN_LOST_FOLDERS 61700
#define IDS_SHOWN_FOLDER_NUMBER 61701 // "%s" the record number
#define IDS_UNIT_GB 61702
#define IDS_UNIT_MB 61703
#define IDS_UNIT_KB 61704
#define IDS_DRIVE_TYPE_UNKNOWN 61705 // and the next six in GetDriveType's order
#define IDS_DRIVE_TYPE_NO_ROOT_DIR 61706
#define IDS_DRIVE_TYPE_REMOVABLE 61707
#define IDS_DRIVE_TYPE_FIXED 61708
#define IDS_DRIVE_TYPE_REMOTE 61709
#define IDS_DRIVE_TYPE_CDROM 61710
#define IDS_DRIVE_TYPE_RAMDISK 61711
#define IDS_LOG_DATE_LOCALE 61712

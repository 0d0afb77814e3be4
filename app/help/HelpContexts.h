// The help contexts of the program's help files: the numbers the program
// passes with the help-context command. The help projects include this file
// as their map, and each number has its topic in their alias list; a number
// without a topic fails the help build.
#pragma once

// The search-type page, by the kind of search chosen.
#define IDH_FAST_SEARCH 1000
#define IDH_ADVANCED_SEARCH 1001
#define IDH_DISK_SCAN 1002
// The Find dialog.
#define IDH_FIND 1005
// The drive page, by the kind of search chosen.
#define IDH_DRIVE_FAST 1007
#define IDH_DRIVE_ADVANCED 1008
#define IDH_DRIVE_DISK 1009
// The Append Header File dialog.
#define IDH_APPEND_HEADER 1011
// The main window and its parts, as context help (Shift+F1) finds them, and
// the file-signature page.
#define IDH_MAIN_WINDOW 1020
#define IDH_RESULTS 1021
#define IDH_RECOVERING 1022
#define IDH_SCAN_INFORMATION 1023
#define IDH_FILE_MASK 1024
#define IDH_LOG 1025
#define IDH_SETTINGS 1026
#define IDH_FILE_TYPES 1027
#define IDH_USER_SIGNATURES 1028

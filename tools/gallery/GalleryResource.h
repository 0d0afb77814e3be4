// Resource ids of the gallery's own pictures (Gallery.rc).
#pragma once

// The log's three column pictures, shown in the header section.
#define IDB_GALLERY_HEADER_FIRST 800
#define IDB_GALLERY_HEADER_SECOND 801
#define IDB_GALLERY_HEADER_THIRD 802

// The command bars frame page: its menu and its two toolbars (type 241, with
// bitmaps of the same ids).
#define IDR_GALLERY_FRAME_MENU 810
#define IDR_GALLERY_FRAME_STANDARD 811
#define IDR_GALLERY_FRAME_IMAGES 812
// The popup menus page's colour palette: a toolbar resource (type 241) of
// the commands 500 to 515, with its bitmap of the same id.
#define IDR_GALLERY_PALETTE 830
// The MDI page's menus: the frame's own and a picture document's.
#define IDR_GALLERY_MDI_FRAME 820
#define IDR_GALLERY_MDI_PICTURE 821

// The customisable frame page: its menu (View > New Toolbar... and the
// toolbars list) and the command that opens the New Toolbar dialog.
#define IDR_GALLERY_CUSTOM_MENU 813
#define ID_GALLERY_NEW_TOOLBAR 33020
// The customise command: opens the customise sheet.
#define ID_GALLERY_CUSTOMIZE 35001

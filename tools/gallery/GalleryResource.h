// Resource ids of the gallery's own pictures (Gallery.rc).
#pragma once

// The log's three column pictures, shown in the header section.
#define IDB_GALLERY_HEADER_FIRST 800
#define IDB_GALLERY_HEADER_SECOND 801
#define IDB_GALLERY_HEADER_THIRD 802

// The MDI page's menus: the frame's own and a picture document's.
#define IDR_GALLERY_MDI_FRAME 810
#define IDR_GALLERY_MDI_PICTURE 811

// Resource ids of the gallery's own pictures (Gallery.rc).
#pragma once

// The log's three column pictures, shown in the header section.
#define IDB_GALLERY_HEADER_FIRST 800
#define IDB_GALLERY_HEADER_SECOND 801
#define IDB_GALLERY_HEADER_THIRD 802

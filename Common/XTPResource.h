// Resource ids of the toolkit's own resources (XTPResources.rc). The toolkit
// keeps to ids 9000 to 9999 so they never meet the application's.
#pragma once

// Registry section and entry names the list controls keep column widths under.
#define XT_IDS_REG_SETTINGS 9021
#define XT_IDS_REG_COLINFO 9023

// Cursors of drags, links and splitter bars (drawn by tools/draw-cursors.py).
#define XT_IDC_DRAGCOPY 9008
#define XT_IDC_DRAGMOVE 9009
#define XT_IDC_HAND 9010
#define XT_IDC_DRAGNONE 9011
#define XT_IDC_HANDNONE 9012
#define XTP_IDC_HSPLITBAR 9970
#define XTP_IDC_VSPLITBAR 9971
// Over the edge of a command-bar control whose width is being customised.
#define XTP_IDC_SIZECONTROL 9972

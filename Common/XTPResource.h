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

// The column header's right-click menu: popup 2 of menu 9014, "RClickHeader",
// with images for its commands in tool bar 9015.
#define XT_IDR_TBAR_HDR 9014
#define XT_IDR_TBAR_HDR_IMAGES 9015
#define XT_IDC_SORTASC 9158
#define XT_IDC_SORTDSC 9159
#define XT_IDC_ALIGNLEFT 9160
#define XT_IDC_ALIGNCENTER 9161
#define XT_IDC_ALIGNRIGHT 9162

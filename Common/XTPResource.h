// Resource ids of the toolkit's own resources (XTPResources.rc). The toolkit
// keeps to ids 9000 to 9999 so they never meet the application's. Several
// ids name more than one resource: a toolbar and its bitmap share theirs,
// and a command's id is also the id of its tooltip string.
#pragma once

// ---- standard controls

// The tip of the day's light bulb (26 by 26, light grey mapped to the face).
#define XT_IDB_LIGHTBULB 9003
// The right-click menus of toolkit controls: popup 0 the Outlook bar's,
// 1 the hex editor's, 2 the header's.
#define XT_IDM_POPUP 9014
// The header menu's command images (toolbar and bitmap).
#define XT_IDR_TBAR_HDR 9015
#define XT_IDD_TIPOFTHEDAY 9018

// Registry section and entry names the list controls keep column widths under.
#define XT_IDS_REG_SETTINGS 9021
#define XT_IDS_REG_COLINFO 9023

// Tip of the day: texts and controls.
#define XT_IDS_TIPTEXT 9105
#define XT_IDS_DIDYOUKNOW 9106
#define XT_IDS_FILE_ABSENT 9107
#define XT_IDS_FILE_CORRUPT 9108
#define XT_IDC_BTN_DAYTIP_BORDER 9125
#define XT_IDC_CHK_DAYTIP_SHOW 9126
#define XT_IDC_BTN_DAYTIP_NEXT 9127

// Header menu commands.
#define XT_IDC_SORTASC 9158
#define XT_IDC_SORTDSC 9159
#define XT_IDC_ALIGNLEFT 9160
#define XT_IDC_ALIGNCENTER 9161
#define XT_IDC_ALIGNRIGHT 9162

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

// ---- command bars

#define XTP_IDS_ADDORREMOVE 9300
// A control dragged onto a bar while customising.
#define XTP_IDC_COMMANDBARS_DRAGCOPY 9301
#define XTP_IDC_COMMANDBARS_DRAGMOVE 9302
#define XTP_IDC_COMMANDBARS_DRAGDELETE 9303

// Customise pages, the New Toolbar dialog and their texts.
#define XTP_IDD_PAGE_TOOLBARS 9304
#define XTP_IDC_LIST_TOOLBARS 9305
#define XTP_IDC_BUTTON_NEW 9308
#define XTP_IDC_BUTTON_RENAME 9309
#define XTP_IDC_BUTTON_DELETE 9310
#define XTP_IDC_BUTTON_RESETTOOLBAR 9311
#define XTP_IDD_PAGE_COMMANDS 9313
#define XTP_IDC_LIST_COMMANDS 9327
#define XTP_IDD_NEWTOOLBAR 9328
#define XTP_IDC_TOOLBAR_NAME 9329
#define XTP_IDS_CUSTOM_BAR 9330
#define XTP_IDS_ERROR_BLANKNAME 9331
#define XTP_IDS_ERROR_LIMIT 9332
#define XTP_IDS_ERROR_EXISTS 9333
#define XTP_IDS_RENAMETOOLBAR 9334
#define XTP_IDS_CONFIRM_DELETE 9335
#define XTP_IDS_ALL_COMMANDS 9337
#define XTP_IDC_LIST_CATEGORIES 9338
#define XTP_IDS_CONFIRM_RESETDATA 9349
#define XTP_IDS_BUILTINMENUS 9350

// The customise context menu and its commands.
#define XTP_IDR_CUSTOMIZEMENU 9336
#define XTP_ID_CUSTOMIZE_RESET 9315
#define XTP_ID_CUSTOMIZE_DELETE 9316
#define XTP_ID_CUSTOMIZE_NAME 9317
#define XTP_ID_CUSTOMIZE_COPYBUTTONIMAGE 9318
#define XTP_ID_CUSTOMIZE_PASTEBUTTONIMAGE 9319
#define XTP_ID_CUSTOMIZE_RESETBUTTONIMAGE 9320
#define XTP_ID_CUSTOMIZE_EDITBUTTONIMAGE 9321
#define XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE 9322
#define XTP_ID_CUSTOMIZE_DEFAULTSTYLE 9323
#define XTP_ID_CUSTOMIZE_IMAGEANDTEXT 9324
#define XTP_ID_CUSTOMIZE_TEXTONLY 9325
#define XTP_ID_CUSTOMIZE_BEGINAGROUP 9326

// The button image editor: dialog, image strips, controls, tools, cursors.
#define XTP_IDD_IMAGEEDITOR_DIALOG 9351
#define XTP_IDB_IMAGEEDITOR_TOOLS 9352
#define XTP_IDB_IMAGEEDITOR_TOOLS_ALPHA 9353
// The statics that mark the move bar's and the palette's places have ids of
// their own: they must not answer to the shift commands' ids.
#define XTP_IDC_STATIC_MOVE 9380
#define XTP_ID_BUTTON_MOVEDOWN 9355
#define XTP_ID_BUTTON_MOVEUP 9356
#define XTP_ID_BUTTON_MOVERIGHT 9357
#define XTP_IDC_STATIC_COLORS 9379
#define XTP_ID_BUTTON_MOVELEFT 9354
#define XTP_IDC_STATIC_TOOLS 9358
#define XTP_IDC_CLR_ERASE 9359
#define XTP_IDC_CLR_PICKER 9360
#define XTP_IDC_STATIC_PICTURE 9361
#define XTP_IDC_STATIC_PREVIEW 9362
#define XTP_ID_BUTTON_PENCIL 9363
#define XTP_ID_BUTTON_FILL 9364
#define XTP_ID_BUTTON_GETCOLOR 9365
#define XTP_ID_BUTTON_LINE 9366
#define XTP_ID_BUTTON_RECTANGLE 9367
#define XTP_ID_BUTTON_CIRCLE 9368
#define XTP_ID_BUTTON_COPY 9369
#define XTP_ID_BUTTON_PASTE 9370
#define XTP_ID_BUTTON_CLEAR 9371
#define XTP_ID_BUTTON_UNDO 9372
#define XTP_ID_BUTTON_REDO 9373
#define XTP_ID_BUTTON_OPEN 9374
#define XTP_IDC_CURSOR_LINE 9375
#define XTP_IDC_CURSOR_PICKCOLOR 9376
#define XTP_IDC_CURSOR_FILL 9377
#define XTP_IDC_CURSOR_PENCIL 9378

#define XTP_IDS_CONFIRM_UPDATE 9394
#define XTP_IDS_RESET_TOOLBAR 9395
#define XTP_IDS_IMAGEEDITOR_FILTER 9396

// Reserved controls of bars and menus; their tooltips are strings of the same ids.
#define XTP_ID_TOOLBAR_EXPAND 9400
#define XTP_ID_TOOLBAR_HIDE 9401
#define XTP_ID_POPUPBAR_EXPAND 9402
#define XTP_ID_MENUBAR_CLOSE 9403
#define XTP_ID_MENUBAR_RESTORE 9404
#define XTP_ID_MENUBAR_MINIMIZE 9405
#define XTP_ID_MENUBAR_SYSMENU 9406
// Images of the maximised child's restore, minimise, maximise and close.
#define XTP_IDB_MENUBAR_SYSBUTTONS 9407

// Names of the menu animations, kind 0 to 5.
#define XTP_IDS_ANIMATION_SYSDEF 9411
#define XTP_IDS_ANIMATION_RANDOM 9412
#define XTP_IDS_ANIMATION_UNFOLD 9413
#define XTP_IDS_ANIMATION_SLIDE 9414
#define XTP_IDS_ANIMATION_FADE 9415
#define XTP_IDS_ANIMATION_NONE 9416

// Tab groups of the document tabs.
#define XTP_ID_WORKSPACE_MOVEPREVIOUS 9420
#define XTP_ID_WORKSPACE_MOVENEXT 9421
#define XTP_ID_WORKSPACE_NEWHORIZONTAL 9422
#define XTP_ID_WORKSPACE_NEWVERTICAL 9423

// Names of the image editor's palette colours.
#define XTP_IDS_CLR_BLACK 9450
#define XTP_IDS_CLR_DARK_BLUE 9455
#define XTP_IDS_CLR_DARK_RED 9458
#define XTP_IDS_CLR_DARK_YELLOW 9460
#define XTP_IDS_CLR_GREEN 9461
#define XTP_IDS_CLR_TEAL 9462
#define XTP_IDS_CLR_BLUE 9463
#define XTP_IDS_CLR_GRAY50 9465
#define XTP_IDS_CLR_RED 9466
#define XTP_IDS_CLR_VIOLET 9472
#define XTP_IDS_CLR_PINK 9474
#define XTP_IDS_CLR_YELLOW 9476
#define XTP_IDS_CLR_BRIGHT_GREEN 9477
#define XTP_IDS_CLR_TURQUOISE 9478
#define XTP_IDS_CLR_GRAY25 9481
#define XTP_IDS_CLR_WHITE 9489

// ---- docking panes

// Caption buttons; their tooltips are strings of the same ids.
#define XTP_IDS_DOCKINGPANE_AUTOHIDE 9900
#define XTP_IDS_DOCKINGPANE_CLOSE 9901
#define XTP_IDS_DOCKINGPANE_MAXIMIZE 9907
#define XTP_IDS_DOCKINGPANE_RESTORE 9908
#define XTP_IDS_DOCKINGPANE_MENU 9909
// Docking stickers: the cross's background and the sheets of parts for the
// default, olive and silver colour themes (pure green is transparent).
#define XTP_IDB_DOCKINGPANE_STICKERS_BACK 9903
#define XTP_IDB_DOCKINGPANE_STICKERS 9904
#define XTP_IDB_DOCKINGPANE_STICKERS_OLIVE 9905
#define XTP_IDB_DOCKINGPANE_STICKERS_SILVER 9906

// CToolBar: the classic tool bar, a toolbar window docked at the top whose
// buttons come from a tool-bar resource (type 241) and the bitmap of the same
// id. While the program is idle its buttons follow the command handlers.
#pragma once

#include <cstddef>
#include <vector>

#include "CString.h"
#include "ControlBar.h"
#include "ImageList.h"

#ifndef RT_TOOLBAR
#define RT_TOOLBAR MAKEINTRESOURCE(241)
#endif

// Button styles as the classic tool bar reports them: the toolbar window's
// button style in the low word, its state in the high word.
#ifndef TBBS_BUTTON
#define TBBS_BUTTON MAKELONG(TBSTYLE_BUTTON, 0)
#define TBBS_SEPARATOR MAKELONG(TBSTYLE_SEP, 0)
#define TBBS_CHECKBOX MAKELONG(TBSTYLE_CHECK, 0)
#define TBBS_GROUP MAKELONG(TBSTYLE_GROUP, 0)
#define TBBS_CHECKGROUP (TBBS_GROUP | TBBS_CHECKBOX)
#define TBBS_DROPDOWN MAKELONG(TBSTYLE_DROPDOWN, 0)
#define TBBS_AUTOSIZE MAKELONG(TBSTYLE_AUTOSIZE, 0)
#define TBBS_CHECKED MAKELONG(0, TBSTATE_CHECKED)
#define TBBS_PRESSED MAKELONG(0, TBSTATE_PRESSED)
#define TBBS_DISABLED MAKELONG(0, TBSTATE_ENABLED)
#define TBBS_INDETERMINATE MAKELONG(0, TBSTATE_INDETERMINATE)
#define TBBS_HIDDEN MAKELONG(0, TBSTATE_HIDDEN)
#define TBBS_WRAPPED MAKELONG(0, TBSTATE_WRAP)
#endif

// A tool-bar resource: image size and the command of every button (0 for a separator).
struct ToolBarTemplate {
  int width = 0;
  int height = 0;
  std::vector<UINT> ids;
};

// Reads the resource: version word (1), image width and height, item count,
// then one command id word per item. FALSE when the block is not one.
BOOL ParseToolBarResource(const void *data, size_t size, ToolBarTemplate &result);

class CToolBar : public CControlBar {
  DECLARE_DYNAMIC(CToolBar)
public:
  CToolBar() = default;

  BOOL Create(CWnd *parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
  BOOL CreateEx(CWnd *parent, DWORD ctrlStyle = TBSTYLE_FLAT,
                DWORD style = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect borders = CRect(0, 0, 0, 0),
                UINT id = AFX_IDW_TOOLBAR);

  // The tool-bar resource and the bitmap of the same name.
  BOOL LoadToolBar(LPCTSTR resourceName);
  BOOL LoadToolBar(UINT resourceId) { return LoadToolBar(MAKEINTRESOURCE(resourceId)); }
  // The button images, cut from the bitmap at the current image size.
  BOOL LoadBitmap(LPCTSTR resourceName);
  BOOL LoadBitmap(UINT resourceId) { return LoadBitmap(MAKEINTRESOURCE(resourceId)); }
  // Replaces the buttons; id 0 is a separator. NULL ids make count empty separators.
  BOOL SetButtons(const UINT *ids, int count);
  void SetSizes(SIZE button, SIZE image);
  void SetHeight(int height);

  int GetCount() const;
  int CommandToIndex(UINT id) const;
  UINT GetItemID(int index) const;
  void GetItemRect(int index, LPRECT rect) const;
  UINT GetButtonStyle(int index) const;
  void SetButtonStyle(int index, UINT style);
  void GetButtonInfo(int index, UINT &id, UINT &style, int &image) const;
  void SetButtonInfo(int index, UINT id, UINT style, int image);
  BOOL SetButtonText(int index, LPCTSTR text);
  CString GetButtonText(int index) const;
  CImageList *GetImageList() { return &m_images; }

  CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
  void OnUpdateCmdUI(CFrameWnd *target, BOOL disableIfNoHandler) override;

private:
  BOOL GetButton(int index, TBBUTTON &button) const;

  CSize m_sizeImage = CSize(16, 15);
  CSize m_sizeButton = CSize(23, 22);
  CImageList m_images;
};

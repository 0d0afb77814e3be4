#include "GalleryDialogBarSection.h"

#include <commctrl.h>

#include <cstdlib>

#include "XTPCommandBars.h"
#include "XTPControlCustom.h"
#include "XTPControls.h"
#include "XTPOffice2003Theme.h"
#include "XTPDialogBar.h"
#include "XTPPopupBar.h"

namespace {

const UINT kTreeId = 501, kFormId = 502, kSliderId = 503, kProgressId = 504;

void AddTreeItems(HWND hWndTree) {
  auto insert = [hWndTree](HTREEITEM hParent, LPCWSTR lpszText) {
    TVINSERTSTRUCTW tvi = {};
    tvi.hParent = hParent;
    tvi.hInsertAfter = TVI_LAST;
    tvi.item.mask = TVIF_TEXT;
    tvi.item.pszText = const_cast<LPWSTR>(lpszText);
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageW(hWndTree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&tvi)));
  };
  HTREEITEM hRoot = insert(TVI_ROOT, L"C: (NTFS)");
  for (LPCWSTR lpszName : {L"Documents", L"Photos", L"Projects", L"$Orphan files"}) insert(hRoot, lpszName);
  ::SendMessageW(hWndTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hRoot));
  HTREEITEM hSecond = insert(TVI_ROOT, L"D: (FAT32)");
  insert(hSecond, L"Backup");
}

} // namespace

CGalleryDialogBarSection::CGalleryDialogBarSection()
    : CGalleryDockSiteSection(
          new CXTPOffice2003Theme,
          L"Dialog bars host a window under their caption: resize them by their edges, drag them "
          L"by the caption, open the caption's list. The toolbar's slider and progress bar are "
          L"custom controls.") {}

HWND CGalleryDialogBarSection::CreateChild(LPCTSTR lpszClass, DWORD dwStyle, CSize size, UINT nId) {
  return ::CreateWindowExW(0, lpszClass, L"", WS_CHILD | WS_VISIBLE | dwStyle, 0, 0, size.cx, size.cy,
                           m_pFrame->GetSafeHwnd(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nId)),
                           ::GetModuleHandleW(nullptr), nullptr);
}

CXTPDialogBar *CGalleryDialogBarSection::AddDialogBar(LPCTSTR lpszTitle, CSize szClient) {
  auto *pBar = new CXTPDialogBar;
  AddToFrame(pBar, lpszTitle);
  pBar->SetDockingClientSize(szClient);
  pBar->SetFloatingClientSize(szClient);
  pBar->EnableDocking(0x1F);
  return pBar;
}

void CGalleryDialogBarSection::Create(CWnd *pParent, const CRect &rcBody) {
  INITCOMMONCONTROLSEX init = {sizeof(init), ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_TREEVIEW_CLASSES};
  ::InitCommonControlsEx(&init);
  if (!CreateFrame(pParent, rcBody, 630)) return;

  // A toolbar with two custom controls among its buttons.
  m_pToolBar = new CXTPToolBar;
  AddToFrame(m_pToolBar, L"Scan");
  const UINT ids[] = {100, 101};
  m_pToolBar->SetButtons(ids, 2);
  const LPCTSTR kCaptions[] = {L"Scan", L"Stop"};
  for (int i = 0; i < 2; i++) {
    m_pToolBar->GetControl(i)->SetCaption(kCaptions[i]);
    m_pToolBar->GetControl(i)->SetStyle(xtpButtonCaption);
    m_pToolBar->GetControl(i)->SetFlags(xtpFlagManualUpdate);
  }
  m_pSlider = static_cast<CXTPControlCustom *>(m_pToolBar->GetControls()->Add(xtpControlCustom, 102));
  HWND hWndSlider = CreateChild(TRACKBAR_CLASSW, TBS_HORZ | TBS_NOTICKS, CSize(110, 22), kSliderId);
  ::SendMessageW(hWndSlider, TBM_SETRANGE, FALSE, MAKELPARAM(0, 10));
  ::SendMessageW(hWndSlider, TBM_SETPOS, TRUE, 6);
  m_pSlider->SetControl(hWndSlider);
  m_pSlider->SetBeginGroup(TRUE);
  m_pSlider->SetFlags(m_pSlider->GetFlags() | xtpFlagManualUpdate);
  m_pProgress = static_cast<CXTPControlCustom *>(m_pToolBar->GetControls()->Add(xtpControlCustom, 103));
  HWND hWndProgress = CreateChild(PROGRESS_CLASSW, 0, CSize(120, 14), kProgressId);
  ::SendMessageW(hWndProgress, PBM_SETPOS, 45, 0);
  m_pProgress->SetControl(hWndProgress);
  m_pProgress->SetBorders(CRect(4, 4, 4, 4));
  m_pProgress->SetVerticalPositionOption(xtpVerticalButton);
  m_pProgress->SetFlags(m_pProgress->GetFlags() | xtpFlagManualUpdate);
  m_pProgress->SetCaption(L"Progress");
  m_pToolBar->EnableDocking(0x1F);
  if (m_pToolBar->CreateFloatingWindow(m_pFrame, FALSE)) {
    DockBarAt(m_pToolBar, xtpBarTop);
    m_pToolBar->SetVisible(TRUE);
  }

  // Docked at the left: a folder tree, with commands under its caption.
  m_pDocked = AddDialogBar(L"Folders", CSize(170, 200));
  m_pDocked->EnableDocking(0x1F | CXTPDialogBar::kFlagFullRow); // the whole side
  for (LPCTSTR lpszCommand : {L"Expand all", L"Collapse all", L"Refresh"}) {
    CXTPControl *pCommand = m_pDocked->GetCaptionPopupBar()->GetControls()->Add(xtpControlButton, 110);
    pCommand->SetCaption(lpszCommand);
    pCommand->SetFlags(xtpFlagManualUpdate);
  }
  if (m_pDocked->CreateFloatingWindow(m_pFrame, FALSE)) {
    HWND hWndTree = CreateChild(WC_TREEVIEWW, WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                                CSize(10, 10), kTreeId);
    AddTreeItems(hWndTree);
    m_pDocked->SetChild(hWndTree);
    DockBarAt(m_pDocked, xtpBarLeft);
    m_pDocked->SetVisible(TRUE);
  }

  // Floating: a small form, no commands under the caption.
  m_pFloating = AddDialogBar(L"Find file", CSize(190, 78));
  if (m_pFloating->CreateFloatingWindow(m_pFrame, FALSE)) {
    HWND hWndForm = CreateChild(L"STATIC", WS_CLIPCHILDREN, CSize(190, 78), kFormId);
    const HFONT hFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    const struct {
      LPCWSTR lpszClass;
      LPCWSTR lpszText;
      DWORD dwStyle;
      CRect rc;
    } kItems[] = {{L"STATIC", L"Name:", 0, CRect(4, 6, 44, 22)},
                  {L"EDIT", L"*.jpg", WS_BORDER | ES_AUTOHSCROLL, CRect(48, 4, 186, 24)},
                  {L"BUTTON", L"Deleted files only", BS_AUTOCHECKBOX, CRect(4, 28, 186, 48)},
                  {L"BUTTON", L"Find", BS_PUSHBUTTON, CRect(110, 52, 186, 76)}};
    for (const auto &item : kItems) {
      HWND hWnd = ::CreateWindowExW(0, item.lpszClass, item.lpszText, WS_CHILD | WS_VISIBLE | item.dwStyle,
                                    item.rc.left, item.rc.top, item.rc.Width(), item.rc.Height(), hWndForm,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
      ::SendMessageW(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
      if (item.dwStyle == BS_AUTOCHECKBOX) ::SendMessageW(hWnd, BM_SETCHECK, BST_CHECKED, 0);
    }
    m_pFloating->SetChild(hWndForm);
    DockBarAt(m_pFloating, xtpBarRight);
    m_pFloating->SetVisible(TRUE);
  }
  // Floated over the frame once its place on the screen is known.
  FloatOnFirstShow(
      m_pFloating, [](const CRect &rcClient) { return CPoint(rcClient.right - 250, rcClient.top + 80); },
      [this] {
        // For a picture: the docked bar's caption list dropped down.
        if (std::getenv("QV_GALLERY_OPEN_DIALOGBAR")) {
          if (CXTPControl *pCaption = m_pDocked->GetCaptionPopup()) {
            m_pDocked->SetTrackingMode(TRUE, FALSE, TRUE);
            m_pDocked->SetPopuped(pCaption->GetIndex(), TRUE);
          }
        }
      });
  RecalcFrameLayout(nullptr);
}

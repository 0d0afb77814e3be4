#include "XTPCustomizeSheet.h"

#include <algorithm>
#include <cmath>

#include "XTPCommandBars.h"
#include "XTPControlComboBox.h"
#include "XTPControlPopup.h"
#include "XTPControls.h"
#include "XTPCustomizeCommandsPage.h"
#include "XTPCustomizeToolbarsPage.h"
#include "XTPImageEditor.h"
#include "XTPMouseManager.h"
#include "XTPPaintManager.h"
#include "XTPPopupBar.h"
#include "XTPResource.h"
#include "XTPResourceManager.h"

namespace {

constexpr UINT kMsgControlNotify = 0x52D; // a control executed
constexpr UINT kMsgDragControlChanged = 0x532;
constexpr DWORD kFlagManualUpdate = 8;

// The "Change Button Image" popup: its pictures stand in a grid of a given
// number of columns instead of one column of menu items.
class CXTPCustomizePicturesPopup : public CXTPPopupBar {
public:
  CXTPCustomizePicturesPopup() = default;
  void SetColumns(int nColumns) { m_nColumns = std::max(1, nColumns); }
  int GetColumns() const { return m_nColumns; }

  CSize CalcDynamicLayout(int /*nLength*/, DWORD /*dwMode*/) override {
    CXTPPaintManager *pPaintManager = GetPaintManager();
    const CRect rcBorders = pPaintManager ? pPaintManager->GetCommandBarBorders(this) : CRect(2, 2, 2, 2);
    const CSize szIcon(CXTPCustomizeSheet::kPictureWidth, CXTPCustomizeSheet::kPictureWidth);
    const CSize szCell(szIcon.cx + 7, szIcon.cy + 7);
    int nShown = 0;
    for (int i = 0; i < GetControlCount(); i++) {
      CXTPControl *pControl = GetControl(i);
      if (!pControl->IsVisible()) continue;
      const int x = rcBorders.left + (nShown % m_nColumns) * szCell.cx;
      const int y = rcBorders.top + (nShown / m_nColumns) * szCell.cy;
      pControl->SetRect(CRect(x, y, x + szCell.cx, y + szCell.cy));
      nShown++;
    }
    const int nRows = std::max(1, (nShown + m_nColumns - 1) / m_nColumns);
    const int nColumns = std::min(m_nColumns, std::max(1, nShown));
    return CSize(rcBorders.left + rcBorders.right + nColumns * szCell.cx,
                 rcBorders.top + rcBorders.bottom + nRows * szCell.cy);
  }
  CSize GetIconSize() const override {
    return CSize(CXTPCustomizeSheet::kPictureWidth, CXTPCustomizeSheet::kPictureWidth);
  }
  CSize GetButtonSize() const override {
    return CSize(CXTPCustomizeSheet::kPictureWidth + 7, CXTPCustomizeSheet::kPictureWidth + 7);
  }

private:
  int m_nColumns = 1;
};

// One picture: a shape of a colour on a transparent ground.
HICON DrawPicture(int nShape, COLORREF clr) {
  const int n = CXTPCustomizeSheet::kPictureWidth;
  HDC hScreen = ::GetDC(nullptr);
  HBITMAP hColor = ::CreateCompatibleBitmap(hScreen, n, n);
  HBITMAP hMask = ::CreateBitmap(n, n, 1, 1, nullptr);
  HDC hDC = ::CreateCompatibleDC(hScreen);
  ::ReleaseDC(nullptr, hScreen);

  auto drawShape = [&](HDC hTarget, HBRUSH hBrush, HPEN hPen) {
    HGDIOBJ hOldBrush = ::SelectObject(hTarget, hBrush);
    HGDIOBJ hOldPen = ::SelectObject(hTarget, hPen);
    switch (nShape) {
    case 0:
      ::Ellipse(hTarget, 2, 2, 14, 14);
      break;
    case 1:
      ::Rectangle(hTarget, 3, 3, 13, 13);
      break;
    case 2: {
      const POINT pts[] = {{8, 2}, {14, 13}, {2, 13}};
      ::Polygon(hTarget, pts, 3);
      break;
    }
    case 3: {
      const POINT pts[] = {{8, 1}, {14, 8}, {8, 15}, {2, 8}};
      ::Polygon(hTarget, pts, 4);
      break;
    }
    case 4: {
      const POINT pts[] = {{2, 6}, {8, 6}, {8, 2}, {14, 8}, {8, 14}, {8, 10}, {2, 10}};
      ::Polygon(hTarget, pts, 7);
      break;
    }
    default: {
      const POINT pts[] = {{6, 2},   {10, 2}, {10, 6}, {14, 6}, {14, 10}, {10, 10},
                           {10, 14}, {6, 14}, {6, 10}, {2, 10}, {2, 6},   {6, 6}};
      ::Polygon(hTarget, pts, 12);
      break;
    }
    }
    ::SelectObject(hTarget, hOldBrush);
    ::SelectObject(hTarget, hOldPen);
  };

  // The colour image: the shape on black, so the mask's white shows through.
  HGDIOBJ hOld = ::SelectObject(hDC, hColor);
  RECT rc = {0, 0, n, n};
  ::FillRect(hDC, &rc, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  HBRUSH hBrush = ::CreateSolidBrush(clr);
  HPEN hPen = ::CreatePen(PS_SOLID, 1, RGB(GetRValue(clr) / 2, GetGValue(clr) / 2, GetBValue(clr) / 2));
  drawShape(hDC, hBrush, hPen);
  // The mask: white (transparent) everywhere but the shape.
  ::SelectObject(hDC, hMask);
  ::FillRect(hDC, &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  drawShape(hDC, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)),
            static_cast<HPEN>(::GetStockObject(BLACK_PEN)));
  ::SelectObject(hDC, hOld);
  ::DeleteObject(hBrush);
  ::DeleteObject(hPen);
  ::DeleteDC(hDC);

  ICONINFO info = {};
  info.fIcon = TRUE;
  info.hbmColor = hColor;
  info.hbmMask = hMask;
  HICON hIcon = ::CreateIconIndirect(&info);
  ::DeleteObject(hColor);
  ::DeleteObject(hMask);
  return hIcon;
}

} // namespace

CXTPImageManager *XTPCreateCustomizePictures() {
  static const COLORREF kColors[] = {RGB(214, 48, 49),  RGB(46, 160, 67),  RGB(41, 98, 214),
                                     RGB(240, 150, 20), RGB(142, 68, 173), RGB(22, 160, 160)};
  const int kShapes = 6;
  auto *pPictures = new CXTPImageManager;
  UINT nID = 1;
  for (COLORREF clr : kColors)
    for (int nShape = 0; nShape < kShapes; nShape++) {
      CXTPIconHandle hIcon;
      hIcon.SetIcon(DrawPicture(nShape, clr));
      if (!hIcon.IsEmpty()) pPictures->SetIcon(hIcon, nID++);
    }
  return pPictures;
}

// ---------------------------------------------------------------------------
// The grid's pictures

CXTPCustomizeButton::CXTPCustomizeButton(CXTPImageManager *pPictures) : m_pPictures(pPictures) {
  if (m_pPictures) m_pPictures->InternalAddRef();
}

CXTPCustomizeButton::~CXTPCustomizeButton() {
  if (m_pPictures) m_pPictures->InternalRelease();
}

CXTPImageManagerIcon *CXTPCustomizeButton::GetImage(int nWidth) {
  if (m_pPictures == nullptr) return CXTPControlButton::GetImage(nWidth);
  return GetIconId() > 0 ? m_pPictures->GetImage(static_cast<UINT>(GetIconId()), nWidth) : nullptr;
}

CSize CXTPCustomizeButton::GetSize(CDC *pDC) {
  CXTPPaintManager *pPaintManager = GetPaintManager();
  return pPaintManager ? pPaintManager->DrawToolBarControl(pDC, this, FALSE) : CSize(0, 0);
}

void CXTPCustomizeButton::Draw(CDC *pDC) {
  if (CXTPPaintManager *pPaintManager = GetPaintManager()) pPaintManager->DrawToolBarControl(pDC, this, TRUE);
}

void CXTPCustomizeButton::OnExecute() {
  CXTPReferenceHold hold(this);
  CXTPCommandBar *pParent = GetParent();
  if (pParent == nullptr) return;
  CXTPReferenceHold holdParent(pParent);
  const HWND hWndSite = pParent->GetOwnerSite();
  pParent->GetRootParent()->OnTrackLost();
  if (hWndSite == nullptr) return;
  NMXTPCONTROL notify = {};
  notify.hdr.hwndFrom = nullptr;
  notify.hdr.idFrom = static_cast<UINT_PTR>(GetID());
  notify.hdr.code = 100;
  notify.pControl = this;
  if (::SendMessageW(hWndSite, kMsgControlNotify, static_cast<WPARAM>(GetID()),
                     reinterpret_cast<LPARAM>(&notify)) == 0)
    ::SendMessageW(hWndSite, WM_COMMAND, static_cast<WPARAM>(GetID()), 0);
}

// ---------------------------------------------------------------------------
// The sheet

IMPLEMENT_DYNAMIC(CXTPCustomizeSheet, CPropertySheet)

BEGIN_MESSAGE_MAP(CXTPCustomizeSheet, CPropertySheet)
ON_MESSAGE(XTP_TBN_POPUPSHOWING, OnPopupShowing)
ON_MESSAGE(kMsgControlNotify, OnControlNotify)
ON_MESSAGE(kMsgDragControlChanged, OnDragControlChanged)
ON_WM_DESTROY()
ON_WM_SYSKEYDOWN()
ON_COMMAND(XTP_ID_CUSTOMIZE_RESET, OnCustomizeReset)
ON_COMMAND(XTP_ID_CUSTOMIZE_DELETE, OnCustomizeDelete)
ON_COMMAND(XTP_ID_CUSTOMIZE_COPYBUTTONIMAGE, OnCustomizeCopyImage)
ON_COMMAND(XTP_ID_CUSTOMIZE_PASTEBUTTONIMAGE, OnCustomizePasteImage)
ON_COMMAND(XTP_ID_CUSTOMIZE_RESETBUTTONIMAGE, OnCustomizeResetImage)
ON_COMMAND(XTP_ID_CUSTOMIZE_EDITBUTTONIMAGE, OnCustomizeEditImage)
ON_COMMAND_RANGE(XTP_ID_CUSTOMIZE_DEFAULTSTYLE, XTP_ID_CUSTOMIZE_TEXTONLY, OnCustomizeStyle)
ON_COMMAND(XTP_ID_CUSTOMIZE_BEGINAGROUP, OnCustomizeBeginGroup)
ON_UPDATE_COMMAND_UI(XTP_ID_CUSTOMIZE_RESET, OnUpdateReset)
ON_UPDATE_COMMAND_UI(XTP_ID_CUSTOMIZE_NAME, OnUpdateName)
ON_UPDATE_COMMAND_UI(XTP_ID_CUSTOMIZE_COPYBUTTONIMAGE, OnUpdateImage)
ON_UPDATE_COMMAND_UI(XTP_ID_CUSTOMIZE_EDITBUTTONIMAGE, OnUpdateImage)
ON_UPDATE_COMMAND_UI(XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE, OnUpdateImage)
ON_UPDATE_COMMAND_UI(XTP_ID_CUSTOMIZE_PASTEBUTTONIMAGE, OnUpdatePasteImage)
ON_UPDATE_COMMAND_UI(XTP_ID_CUSTOMIZE_RESETBUTTONIMAGE, OnUpdateResetImage)
ON_UPDATE_COMMAND_UI_RANGE(XTP_ID_CUSTOMIZE_DEFAULTSTYLE, XTP_ID_CUSTOMIZE_TEXTONLY, OnUpdateStyle)
ON_UPDATE_COMMAND_UI(XTP_ID_CUSTOMIZE_BEGINAGROUP, OnUpdateBeginGroup)
END_MESSAGE_MAP()

CXTPCustomizeSheet::CXTPCustomizeSheet(CXTPCommandBars *pCommandBars, CWnd *pParentWnd)
    : m_pCommandBars(pCommandBars), m_pCommandsPage(std::make_unique<CXTPCustomizeCommandsPage>(this)),
      m_pToolbarsPage(std::make_unique<CXTPCustomizeToolbarsPage>(this)) {
  CommonConstruct(pParentWnd ? pParentWnd : (pCommandBars ? pCommandBars->GetSite() : nullptr), 0);
  // The title is the customise menu's own, so a language library that
  // translates the menu translates the title too.
  CMenu menu;
  if (XTPGetResourceManager()->LoadMenu(&menu, XTP_IDR_CUSTOMIZEMENU)) {
    wchar_t szTitle[128] = {};
    ::GetMenuStringW(menu.m_hMenu, 0, szTitle, 128, MF_BYPOSITION);
    m_strCaption = szTitle;
  }
  m_psh.dwFlags |= PSH_NOAPPLYNOW;
  AddPage(m_pToolbarsPage.get());
  AddPage(m_pCommandsPage.get());
}

CXTPCustomizeSheet::~CXTPCustomizeSheet() {
  if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) DestroyWindow();
  if (m_pCustomizeMenu) m_pCustomizeMenu->InternalRelease();
  if (m_pPictures) m_pPictures->InternalRelease();
}

BOOL CXTPCustomizeSheet::OnInitDialog() {
  const BOOL bResult = CPropertySheet::OnInitDialog();
  if (m_pCommandBars) {
    m_pCommandBars->SetCustomizeSheetHwnd(m_hWnd);
    m_pCommandBars->SetCustomizeMode(TRUE);
    // The bars stay usable beside the open sheet: they take the drags.
    if (HWND hWndSite = m_pCommandBars->GetSiteHwnd()) ::EnableWindow(::GetAncestor(hWndSite, GA_ROOT), TRUE);
  }
  return bResult;
}

void CXTPCustomizeSheet::OnDestroy() {
  if (m_pCustomizeMenu && m_pCustomizeMenu->IsTrackingMode()) m_pCustomizeMenu->OnTrackLost();
  if (m_pCommandBars && m_pCommandBars->GetCustomizeSheetHwnd() == m_hWnd) {
    m_pCommandBars->SetCustomizeMode(FALSE);
    m_pCommandBars->SetCustomizeSheetHwnd(nullptr);
    m_pCommandBars->RedrawCommandBars();
  }
  Default();
}

void CXTPCustomizeSheet::OnSysKeyDown(UINT /*nChar*/, UINT /*nRepCnt*/, UINT /*nFlags*/) {
  Default();
}

CXTPImageManager *CXTPCustomizeSheet::GetImageManager() const {
  return m_pCommandBars ? m_pCommandBars->GetImageManager() : XTPGetImageManager();
}

CXTPControl *CXTPCustomizeSheet::GetSelectedControl() const {
  return m_pCommandBars ? m_pCommandBars->GetDragControl() : nullptr;
}

void CXTPCustomizeSheet::LayoutControlBar(CXTPControl *pControl) const {
  CXTPCommandBar *pBar = pControl ? pControl->GetParent() : nullptr;
  if (pBar == nullptr) return;
  pBar->DelayLayout();
  pBar->OnRecalcLayout();
  if (pBar->GetSafeHwnd()) pBar->Redraw();
}

// ---------------------------------------------------------------------------
// The context menu

CXTPPopupBar *CXTPCustomizeSheet::GetCustomizeMenu() {
  if (m_pCustomizeMenu) return m_pCustomizeMenu;
  CMenu menu;
  if (!XTPGetResourceManager()->LoadMenu(&menu, XTP_IDR_CUSTOMIZEMENU)) return nullptr;
  CMenu *pSubMenu = menu.GetSubMenu(0);
  if (pSubMenu == nullptr) return nullptr;
  // The menu is not one of the customised bars: it has no command bars, so
  // it is never in customise mode itself; it draws with their theme.
  CXTPPopupBar *pMenu = CXTPPopupBar::CreatePopupBar(nullptr);
  if (m_pCommandBars && m_pCommandBars->GetPaintManager()) {
    m_pCommandBars->GetPaintManager()->InternalAddRef();
    pMenu->SetPaintManager(m_pCommandBars->GetPaintManager());
  }
  pMenu->LoadMenu(pSubMenu);
  CXTPControls *pControls = pMenu->GetControls();

  // "Name:" is an edit box with its label.
  if (CXTPControl *pName = pControls->FindControl(XTP_ID_CUSTOMIZE_NAME)) {
    const int nIndex = pName->GetIndex();
    const CString strLabel = pName->GetCaption();
    const BOOL bGroup = pName->GetBeginGroup();
    pControls->Remove(pName);
    CXTPControl *pEdit = pControls->Add(xtpControlEdit, XTP_ID_CUSTOMIZE_NAME, nullptr, nIndex);
    if (pEdit) {
      pEdit->SetCaption(strLabel);
      pEdit->SetBeginGroup(bGroup);
      if (auto *pEditControl = dynamic_cast<CXTPControlEdit *>(pEdit)) pEditControl->ShowLabel(TRUE);
    }
  }
  // The menu's one submenu is the pictures' popup: it carries its command
  // id as the other items do, and lays its pictures out in a grid.
  for (int i = 0; i < pControls->GetCount(); i++) {
    auto *pChange = dynamic_cast<CXTPControlPopup *>(pControls->GetAt(i));
    if (pChange == nullptr) continue;
    pChange->SetID(XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE);
    auto *pGrid = new CXTPCustomizePicturesPopup;
    pChange->SetCommandBar(pGrid);
    pGrid->InternalRelease();
    break;
  }
  m_pCustomizeMenu = pMenu;
  return m_pCustomizeMenu;
}

void CXTPCustomizeSheet::ContextMenu(int x, int y) {
  CXTPPopupBar *pMenu = GetCustomizeMenu();
  if (pMenu == nullptr || m_pCommandBars == nullptr) return;
  CWnd *pSite = m_pCommandBars->GetSite();
  const HWND hWndOwner = pSite ? pSite->GetSafeHwnd() : nullptr;
  UINT nFlags = 0;
  if (hWndOwner && (::GetWindowLongW(hWndOwner, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)) nFlags |= TPM_RIGHTALIGN;
  CXTPCommandBars::TrackPopupMenu(pMenu, nFlags, x, y, pSite, nullptr, this);
}

int CXTPCustomizeSheet::PictureColumns(int nCount) {
  if (nCount <= 1) return 1;
  int nColumns = static_cast<int>(std::sqrt(static_cast<double>(nCount)));
  // The square root of a perfect square may come out a hair short.
  while ((nColumns + 1) * (nColumns + 1) <= nCount) nColumns++;
  return std::max(1, nColumns);
}

CXTPImageManager *CXTPCustomizeSheet::GetPictures() {
  if (m_pPictures == nullptr && !m_bPicturesGiven) m_pPictures = XTPCreateCustomizePictures();
  return m_pPictures;
}

void CXTPCustomizeSheet::SetPictures(CXTPImageManager *pPictures) {
  if (m_pPictures) m_pPictures->InternalRelease();
  m_pPictures = pPictures;
  m_bPicturesGiven = TRUE;
}

void CXTPCustomizeSheet::FillPictureGrid(CXTPPopupBar *pPopup) {
  if (pPopup == nullptr || pPopup->GetControlCount() != 0) return;
  CXTPImageManager *pPictures = GetPictures();
  int nCount = 0;
  if (pPictures) {
    for (const auto &entry : pPictures->GetImages()) {
      (void)entry;
      CXTPControl *pButton =
          pPopup->GetControls()->Add(new CXTPCustomizeButton(pPictures), XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE);
      if (pButton == nullptr) continue;
      pButton->SetIconId(++nCount);
      pButton->SetFlags(pButton->GetFlags() | kFlagManualUpdate);
    }
  }
  if (auto *pGrid = dynamic_cast<CXTPCustomizePicturesPopup *>(pPopup))
    pGrid->SetColumns(PictureColumns(nCount));
}

BOOL CXTPCustomizeSheet::ApplyPicture(UINT nPictureId) {
  CXTPControl *pControl = GetSelectedControl();
  CXTPImageManager *pPictures = m_pPictures;
  if (pControl == nullptr || pPictures == nullptr) return FALSE;
  CXTPImageManagerIconSet *pSet = pPictures->GetIconSet(nPictureId);
  if (pSet == nullptr || pSet->GetIcons().size() != 1) return FALSE;
  CXTPImageManagerIcon *pIcon = pSet->GetIcons().begin()->second;
  if (pIcon == nullptr || pIcon->GetIcon().IsEmpty()) return FALSE;
  const UINT nID = GetImageManager()->AddIcon(pIcon->GetIcon());
  if (nID == 0) return FALSE;
  pControl->SetCustomIconId(static_cast<int>(nID));
  LayoutControlBar(pControl);
  return TRUE;
}

LRESULT CXTPCustomizeSheet::OnPopupShowing(WPARAM /*wParam*/, LPARAM lParam) {
  auto *pPopup = reinterpret_cast<CXTPPopupBar *>(lParam);
  if (pPopup == nullptr) return 0;
  CXTPControl *pOpener = pPopup->GetControlPopup();
  if (pOpener && pOpener->GetID() == XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE) FillPictureGrid(pPopup);
  return 0;
}

LRESULT CXTPCustomizeSheet::OnControlNotify(WPARAM wParam, LPARAM lParam) {
  const UINT nID = static_cast<UINT>(wParam);
  auto *pNotify = reinterpret_cast<NMXTPCONTROL *>(lParam);
  CXTPControl *pSource = pNotify ? pNotify->pControl : nullptr;
  if (nID == XTP_ID_CUSTOMIZE_NAME) {
    if (auto *pEdit = dynamic_cast<CXTPControlEdit *>(pSource)) RenameControl(pEdit->GetEditText());
    return TRUE;
  }
  if (nID == XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE) {
    if (pSource && pSource->GetIconId() > 0) ApplyPicture(static_cast<UINT>(pSource->GetIconId()));
    return TRUE;
  }
  if (nID >= XTP_ID_CUSTOMIZE_RESET && nID <= XTP_ID_CUSTOMIZE_BEGINAGROUP) return 0;
  // An application's control added to the menu: the command is the site's.
  if (m_pCustomizeMenu && m_pCustomizeMenu->IsTrackingMode()) m_pCustomizeMenu->OnTrackLost();
  const HWND hWndSite = m_pCommandBars ? m_pCommandBars->GetSiteHwnd() : nullptr;
  if (hWndSite == nullptr) return TRUE;
  if (::SendMessageW(hWndSite, kMsgControlNotify, wParam, lParam) == 0)
    ::SendMessageW(hWndSite, WM_COMMAND, wParam, 0);
  return TRUE;
}

LRESULT CXTPCustomizeSheet::OnDragControlChanged(WPARAM, LPARAM) {
  return 0;
}

// ---------------------------------------------------------------------------
// What the commands may do

BOOL CXTPCustomizeSheet::IsStyleable(CXTPControl *pControl) {
  if (pControl == nullptr) return FALSE;
  const XTPControlType type = pControl->GetType();
  return type == xtpControlButton || type == xtpControlPopup || type == xtpControlButtonPopup ||
         type == xtpControlSplitButtonPopup;
}

BOOL CXTPCustomizeSheet::HasButtonImage(CXTPControl *pControl) {
  return IsStyleable(pControl) && pControl->GetIconId() >= 1;
}

BOOL CXTPCustomizeSheet::CanReset(CXTPControl *pControl) {
  return pControl != nullptr && (pControl->GetCustomIconId() >= 1 ||
                                 !pControl->GetCustomCaption().IsEmpty() || pControl->GetStyle() != 0);
}

BOOL CXTPCustomizeSheet::CanBeginGroup(CXTPControl *pControl) {
  return pControl != nullptr && pControl->GetIndex() != 0;
}

void CXTPCustomizeSheet::OnUpdateReset(CCmdUI *pCmdUI) {
  pCmdUI->Enable(CanReset(GetSelectedControl()));
}

void CXTPCustomizeSheet::OnUpdateName(CCmdUI *pCmdUI) {
  pCmdUI->Enable(TRUE);
  CXTPControl *pControl = GetSelectedControl();
  const CString strCaption = pControl ? pControl->GetCaption() : CString();
  // The text follows the control, but never under the user's typing.
  auto *pEdit = m_pCustomizeMenu ? dynamic_cast<CXTPControlEdit *>(
                                       m_pCustomizeMenu->GetControls()->FindControl(XTP_ID_CUSTOMIZE_NAME))
                                 : nullptr;
  if (pEdit && !pEdit->IsFocused() && pEdit->GetEditText() != strCaption) pEdit->SetEditText(strCaption);
}

void CXTPCustomizeSheet::OnUpdateImage(CCmdUI *pCmdUI) {
  pCmdUI->Enable(HasButtonImage(GetSelectedControl()));
}

void CXTPCustomizeSheet::OnUpdatePasteImage(CCmdUI *pCmdUI) {
  pCmdUI->Enable(IsStyleable(GetSelectedControl()) && ::IsClipboardFormatAvailable(CF_BITMAP));
}

void CXTPCustomizeSheet::OnUpdateResetImage(CCmdUI *pCmdUI) {
  CXTPControl *pControl = GetSelectedControl();
  pCmdUI->Enable(pControl != nullptr && pControl->GetCustomIconId() > 0);
}

namespace {
int StyleOfCommand(UINT nID) {
  switch (nID) {
  case XTP_ID_CUSTOMIZE_TEXTONLY:
    return 1;
  case XTP_ID_CUSTOMIZE_IMAGEANDTEXT:
    return 3;
  default:
    return 0;
  }
}
} // namespace

void CXTPCustomizeSheet::OnUpdateStyle(CCmdUI *pCmdUI) {
  CXTPControl *pControl = GetSelectedControl();
  const BOOL bStyleable = IsStyleable(pControl);
  pCmdUI->SetCheck(bStyleable && pControl->GetStyle() == StyleOfCommand(pCmdUI->m_nID));
  pCmdUI->Enable(bStyleable);
}

void CXTPCustomizeSheet::OnUpdateBeginGroup(CCmdUI *pCmdUI) {
  CXTPControl *pControl = GetSelectedControl();
  pCmdUI->SetCheck(pControl != nullptr && pControl->GetBeginGroup());
  pCmdUI->Enable(CanBeginGroup(pControl));
}

void CXTPCustomizeSheet::OnCustomizeStyle(UINT nID) {
  SetControlStyle(StyleOfCommand(nID));
}

// ---------------------------------------------------------------------------
// The commands

BOOL CXTPCustomizeSheet::ResetControl() {
  CXTPControl *pControl = GetSelectedControl();
  if (pControl == nullptr) return FALSE;
  pControl->SetCustomIconId(0);
  pControl->SetCustomCaption(L"");
  pControl->SetStyle(0);
  pControl->SetCustomStyle(0);
  LayoutControlBar(pControl);
  return TRUE;
}

BOOL CXTPCustomizeSheet::DeleteControl() {
  CXTPControl *pControl = GetSelectedControl();
  if (pControl == nullptr) return FALSE;
  CXTPReferenceHold hold(pControl);
  CXTPCommandBar *pBar = pControl->GetParent();
  CXTPReferenceHold holdBar(pBar);
  m_pCommandBars->SetDragControl(nullptr);
  if (CXTPControls *pControls = pControl->GetControls()) pControls->Remove(pControl);
  if (pBar) {
    pBar->DelayLayout();
    pBar->OnRecalcLayout();
    if (pBar->GetSafeHwnd()) pBar->Redraw();
  }
  return TRUE;
}

BOOL CXTPCustomizeSheet::RenameControl(LPCTSTR lpszCaption) {
  CXTPControl *pControl = GetSelectedControl();
  if (pControl == nullptr) return FALSE;
  pControl->SetCustomCaption(lpszCaption);
  LayoutControlBar(pControl);
  return TRUE;
}

BOOL CXTPCustomizeSheet::SetControlStyle(int nStyle) {
  CXTPControl *pControl = GetSelectedControl();
  if (!IsStyleable(pControl)) return FALSE;
  pControl->SetCustomStyle(0);
  pControl->SetStyle(nStyle);
  LayoutControlBar(pControl);
  return TRUE;
}

BOOL CXTPCustomizeSheet::ToggleBeginGroup() {
  CXTPControl *pControl = GetSelectedControl();
  if (!CanBeginGroup(pControl)) return FALSE;
  pControl->SetBeginGroup(!pControl->GetBeginGroup());
  LayoutControlBar(pControl);
  return TRUE;
}

BOOL CXTPCustomizeSheet::ResetButtonImage() {
  CXTPControl *pControl = GetSelectedControl();
  if (pControl == nullptr) return FALSE;
  pControl->SetCustomIconId(0);
  LayoutControlBar(pControl);
  return TRUE;
}

BOOL CXTPCustomizeSheet::OpenImageEditor(const CXTPIconHandle &hIcon, CSize szIcon, CXTPIconHandle &hResult) {
  CXTPImageEditorDlg dlg(this);
  if (hIcon.IsEmpty())
    dlg.SetPictureSize(szIcon);
  else
    dlg.SetIcon(hIcon);
  if (RunImageEditor(dlg) != IDOK) return FALSE;
  dlg.GetIcon(hResult);
  return TRUE;
}

INT_PTR CXTPCustomizeSheet::RunImageEditor(CXTPImageEditorDlg &dlg) { return dlg.DoModal(); }

BOOL CXTPCustomizeSheet::EditButtonImage() {
  if (CXTPMouseManager *pMouse = XTPGetMouseManager()) pMouse->CloseTrackedBars();
  CXTPControl *pControl = GetSelectedControl();
  if (pControl == nullptr || pControl->GetIconId() == 0) return FALSE;
  CXTPCommandBar *pBar = pControl->GetParent();
  CSize szIcon = pBar ? pBar->GetIconSize() : CSize(16, 16);
  if (szIcon.cx <= 0 || szIcon.cy <= 0) szIcon = CSize(16, 16);
  CXTPImageManager *pImages = GetImageManager();
  CXTPImageManagerIcon *pImage = pImages->GetImage(static_cast<UINT>(pControl->GetIconId()), szIcon.cx);
  CXTPIconHandle hIcon(pImage ? CXTPIconHandle(pImage->GetIcon()) : CXTPIconHandle());
  CXTPIconHandle hResult;
  if (!OpenImageEditor(hIcon, szIcon, hResult) || hResult.IsEmpty()) return FALSE;
  if (pControl->GetCustomIconId() <= 0) {
    const UINT nID = pImages->AddIcon(hResult);
    if (nID == 0) return FALSE;
    pControl->SetCustomIconId(static_cast<int>(nID));
  } else {
    pImages->SetIcon(hResult, static_cast<UINT>(pControl->GetCustomIconId()), hResult.GetExtent());
  }
  LayoutControlBar(pControl);
  return TRUE;
}

#include "GalleryCommandBarsSection.h"

#include <algorithm>

#include "GalleryIcon.h"
#include "XTPCommandBar.h"
#include "XTPCommandBars.h"
#include "XTPControlButton.h"
#include "XTPControlPopup.h"
#include "XTPDefaultTheme.h"
#include "XTPDrawHelpers.h"
#include "XTPImageManager.h"
#include "XTPPopupBar.h"

namespace {

// Command ids of the gallery's pictures.
enum { kNew = 100, kOpen, kSave, kCut, kCopy, kPaste, kUndo, kFind, kPrint, kHelp };

// A bar laid out off screen: kind and position are set here.
class CGalleryBar : public CXTPCommandBar {
public:
  CGalleryBar(XTPBarType type, XTPBarPosition position) {
    m_barType = type;
    m_barPosition = position;
  }
};

// One small picture per command, drawn at the size asked for.
HICON MakeCommandIcon(int nCommand, int nSize) {
  static const COLORREF kInk[] = {RGB(250, 250, 250), RGB(240, 190, 60), RGB(60, 90, 200),  RGB(200, 60, 60),
                                  RGB(80, 160, 80),   RGB(180, 140, 90), RGB(40, 130, 200), RGB(130, 80, 170),
                                  RGB(110, 110, 110), RGB(40, 110, 220)};
  const COLORREF clr = kInk[(nCommand - kNew) % 10];
  const int m = nSize / 8, s = nSize;
  return MakeGalleryIcon(CSize(s, s), [=](HDC hDC, BOOL bMask) {
    HBRUSH hBrush = ::CreateSolidBrush(bMask ? RGB(0, 0, 0) : clr);
    HPEN hPen = ::CreatePen(PS_SOLID, 1, bMask ? RGB(0, 0, 0) : RGB(40, 40, 40));
    HGDIOBJ hOldBrush = ::SelectObject(hDC, hBrush), hOldPen = ::SelectObject(hDC, hPen);
    switch (nCommand) {
    case kNew:
    case kPrint:
      ::Rectangle(hDC, 2 * m, m, s - 2 * m, s - m);
      break;
    case kOpen:
      ::Rectangle(hDC, m, 3 * m, s - m, s - m);
      break;
    case kSave:
      ::Rectangle(hDC, m, m, s - m, s - m);
      break;
    case kCut:
    case kFind:
      ::Ellipse(hDC, m, m, s - 2 * m, s - 2 * m);
      break;
    case kUndo: {
      POINT pts[3] = {{m, s / 2}, {s - m, m}, {s - m, s - m}};
      ::Polygon(hDC, pts, 3);
      break;
    }
    default:
      ::RoundRect(hDC, m, m, s - m, s - m, 3 * m, 3 * m);
      break;
    }
    ::SelectObject(hDC, hOldBrush);
    ::SelectObject(hDC, hOldPen);
    ::DeleteObject(hBrush);
    ::DeleteObject(hPen);
  });
}

CXTPControl *AddButton(CXTPCommandBar *pBar, int nId, LPCTSTR lpszCaption, BOOL bBeginGroup = FALSE) {
  CXTPControl *pControl = pBar->GetControls()->Add(xtpControlButton, nId);
  pControl->SetCaption(lpszCaption);
  if (bBeginGroup) pControl->SetBeginGroup(TRUE);
  return pControl;
}

void DrawLabel(CDC *pDC, int x, int y, LPCTSTR lpszText) {
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
  pDC->TextOut(x, y, lpszText);
}

} // namespace

CGalleryCommandBarsSection::CGalleryCommandBarsSection() {
  m_pCommandBars = new CXTPCommandBars;
  m_pImages = new CXTPImageManager;
  m_pCommandBars->SetImageManager(m_pImages);
  m_pTheme = new CXTPDefaultTheme;
  Build();
}

CGalleryCommandBarsSection::~CGalleryCommandBarsSection() {
  for (CXTPControl *pControl : m_expandButtons)
    if (pControl) pControl->InternalRelease();
  for (CXTPCommandBar *pBar : m_bars) pBar->InternalRelease();
  m_pTheme->InternalRelease();
  m_pCommandBars->InternalRelease();
}

void CGalleryCommandBarsSection::Build() {
  for (int nCommand = kNew; nCommand <= kHelp; nCommand++)
    for (int nSize : {16, 24, 32}) {
      HICON hIcon = MakeCommandIcon(nCommand, nSize);
      m_pImages->SetIcon(CXTPIconHandle(hIcon), static_cast<UINT>(nCommand), CSize(nSize, nSize), 0);
      ::DestroyIcon(hIcon);
    }

  auto addBar = [&](XTPBarType type, XTPBarPosition position) {
    CXTPCommandBar *pBar = new CGalleryBar(type, position);
    pBar->SetCommandBars(m_pCommandBars);
    m_pTheme->InternalAddRef();
    pBar->SetPaintManager(m_pTheme);
    m_bars.push_back(pBar);
    m_expandButtons.push_back(nullptr);
    m_hiddenControls.push_back(FALSE);
    return pBar;
  };

  // Toolbars at three icon sizes: normal, hot, pressed, checked, checked and
  // hot, disabled, disabled and checked; a popup and a split button; a
  // caption button; then the chevron of what does not fit.
  for (int s = 0; s < kSizes; s++) {
    const int nSize = 16 + 8 * s;
    CXTPCommandBar *pBar = addBar(xtpBarTypeNormal, xtpBarTop);
    pBar->SetIconSize(CSize(nSize, nSize));
    pBar->SetTitle(L"Standard");
    AddButton(pBar, kNew, L"New");
    AddButton(pBar, kOpen, L"Open")->OnSetSelected(1);
    CXTPControl *pPressed = AddButton(pBar, kSave, L"Save");
    pPressed->OnSetSelected(1);
    pPressed->SetPressed(1);
    AddButton(pBar, kCut, L"Cut", TRUE)->SetChecked(TRUE);
    CXTPControl *pCheckedHot = AddButton(pBar, kCopy, L"Copy");
    pCheckedHot->SetChecked(TRUE);
    pCheckedHot->OnSetSelected(1);
    AddButton(pBar, kPaste, L"Paste")->SetEnabled(FALSE);
    CXTPControl *pDisabledChecked = AddButton(pBar, kFind, L"Find");
    pDisabledChecked->SetEnabled(FALSE);
    pDisabledChecked->SetChecked(TRUE);
    CXTPControl *pSplit = pBar->GetControls()->Add(xtpControlSplitButtonPopup, kUndo);
    pSplit->SetBeginGroup(TRUE);
    pSplit->OnSetSelected(1);
    CXTPControl *pPopup = pBar->GetControls()->Add(xtpControlPopup, 0);
    pPopup->SetCaption(L"&Tools");
    CXTPControl *pText = AddButton(pBar, kHelp, L"&Help");
    pText->SetStyle(xtpButtonIconAndCaption);
    AddButton(pBar, kPrint, L"Print", TRUE);
    AddButton(pBar, kNew, L"More");
  }

  // A popup menu with a row of each kind.
  CXTPCommandBar *pMenu = addBar(xtpBarTypePopup, xtpBarPopup);
  CXTPControl *pRow = AddButton(pMenu, kOpen, L"&Open...\tCtrl+O");
  AddButton(pMenu, kSave, L"&Save\tCtrl+S")->OnSetSelected(1);
  AddButton(pMenu, 0, L"&Word Wrap")->SetChecked(TRUE);
  AddButton(pMenu, kPaste, L"&Paste\tCtrl+V")->SetEnabled(FALSE);
  AddButton(pMenu, kPrint, L"Print Pre&view")->SetExpandedOnly(TRUE);
  CXTPControl *pSub = pMenu->GetControls()->Add(xtpControlPopup, 0);
  pSub->SetCaption(L"&Recent Files");
  pSub->SetBeginGroup(TRUE);
  CXTPControl *pSplitRow = pMenu->GetControls()->Add(xtpControlSplitButtonPopup, kUndo);
  pSplitRow->SetCaption(L"&Undo");
  pMenu->GetControls()->Add(xtpControlButton, kHelp)->SetCaption(L"&About");
  pRow->SetDefaultItem(TRUE);

  // A floating toolbar wrapped into three rows.
  CXTPCommandBar *pFloating = addBar(xtpBarTypeNormal, xtpBarFloating);
  pFloating->SetTitle(L"Formatting");
  for (int nCommand = kNew; nCommand <= kHelp; nCommand++)
    AddButton(pFloating, nCommand, L"", nCommand == kCut || nCommand == kUndo);

  // A toolbar docked at the left, with its chevron.
  CXTPCommandBar *pLeft = addBar(xtpBarTypeNormal, xtpBarLeft);
  for (int nCommand = kNew; nCommand <= kHelp; nCommand++) AddButton(pLeft, nCommand, L"", nCommand == kCut);
}

void CGalleryCommandBarsSection::Layout(CDC *pDC) {
  m_rcBars.assign(m_bars.size(), CRect());
  for (size_t i = 0; i < m_bars.size(); i++) {
    CXTPCommandBar *pBar = m_bars[i];
    CRect rcBorders = m_pTheme->GetCommandBarBorders(pBar);
    CSize szGripper = m_pTheme->DrawCommandBarGripper(pDC, pBar, FALSE);
    CSize sz;
    switch (pBar->GetPosition()) {
    case xtpBarTop: {
      // Room for the gripper in front and the chevron behind.
      CRect rcMargins(rcBorders.left + szGripper.cx + 2, rcBorders.top, rcBorders.right + 13,
                      rcBorders.bottom);
      // The largest icons get too little room: some buttons hide behind the chevron.
      const int nLength = i + 1 < kSizes ? 600 : 500;
      sz = pBar->GetControls()->CalcDynamicSize(pDC, nLength, LM_HORZDOCK | LM_HIDEWRAP | LM_COMMIT,
                                                rcMargins);
      sz.cx = nLength;
      break;
    }
    case xtpBarLeft: {
      CRect rcMargins(rcBorders.left, rcBorders.top + szGripper.cy + 2, rcBorders.right,
                      rcBorders.bottom + 13);
      sz = pBar->GetControls()->CalcDynamicSize(pDC, 170, LM_VERTDOCK | LM_HIDEWRAP | LM_COMMIT, rcMargins);
      sz.cy = 170;
      break;
    }
    case xtpBarFloating: {
      pBar->SetBarClientSize(CSize(200, 100));
      int nCaption = m_pTheme->DrawCommandBarGripper(pDC, pBar, FALSE).cy;
      CRect rcMargins(rcBorders.left + 2, rcBorders.top + nCaption + 4, rcBorders.right + 2,
                      rcBorders.bottom);
      sz = pBar->GetControls()->CalcDynamicSize(pDC, 4 * 23 + rcMargins.left + rcMargins.right,
                                                LM_HORZDOCK | LM_COMMIT, rcMargins);
      break;
    }
    default: {
      // A menu: one row under the other, a separator's height before each
      // group, every row as wide as the widest.
      const int nSeparator = m_pTheme->DrawCommandBarSeparator(pDC, pBar, nullptr, FALSE).cy;
      CXTPControls *pControls = pBar->GetControls();
      int y = rcBorders.top, nWidth = 0;
      for (int j = 0; j < pControls->GetCount(); j++) {
        CXTPControl *pControl = pControls->GetAt(j);
        if (pControl->GetBeginGroup() && j > 0) y += nSeparator;
        CSize szRow = pControl->GetSize(pDC);
        pControl->SetRect(CRect(CPoint(rcBorders.left, y), szRow));
        y += szRow.cy;
        nWidth = std::max<int>(nWidth, szRow.cx);
      }
      for (int j = 0; j < pControls->GetCount(); j++) {
        CXTPControl *pControl = pControls->GetAt(j);
        CRect rc = pControl->GetRect();
        rc.right = rc.left + nWidth;
        pControl->SetRect(rc);
      }
      sz = CSize(nWidth + rcBorders.left + rcBorders.right, y + rcBorders.bottom);
      break;
    }
    }
    pBar->SetBarClientSize(sz);
    if (pBar->GetPosition() == xtpBarTop || pBar->GetPosition() == xtpBarLeft) {
      BOOL bHidden = FALSE;
      for (int j = 0; j < pBar->GetControls()->GetCount(); j++)
        bHidden |= (pBar->GetControls()->GetAt(j)->GetHideFlags() & xtpHideWrap) != 0;
      m_hiddenControls[i] = bHidden;
      CXTPControl *pExpand = new CXTPControlButton;
      pExpand->SetParent(pBar);
      m_pTheme->DrawSpecialControl(xtpButtonExpandToolbar, pDC, pExpand, pBar, FALSE, 0);
      m_expandButtons[i] = pExpand;
    }
  }
  // Places in the body: toolbars in rows, the others below them.
  int y = 0;
  for (size_t i = 0; i < kSizes; i++) {
    m_rcBars[i] = CRect(CPoint(60, y), m_bars[i]->GetBarClientRect().Size());
    y += kToolBarRow;
  }
  m_rcBars[kSizes] = CRect(CPoint(0, kLowerTop), m_bars[kSizes]->GetBarClientRect().Size());
  m_rcBars[kSizes + 1] =
      CRect(CPoint(m_rcBars[kSizes].right + 40, kLowerTop), m_bars[kSizes + 1]->GetBarClientRect().Size());
  m_rcBars[kSizes + 2] = CRect(CPoint(m_rcBars[kSizes + 1].right + 40, kLowerTop),
                               m_bars[kSizes + 2]->GetBarClientRect().Size());
  m_bLaidOut = TRUE;
}

void CGalleryCommandBarsSection::DrawBar(CDC *pDC, size_t i, CPoint org) {
  CXTPCommandBar *pBar = m_bars[i];
  const int nSaved = pDC->SaveDC();
  pDC->OffsetViewportOrg(org.x, org.y);
  CRect rcClient = pBar->GetBarClientRect();
  pDC->IntersectClipRect(rcClient);
  m_pTheme->FillCommandBarEntry(pDC, pBar);
  m_pTheme->DrawCommandBarGripper(pDC, pBar, TRUE);
  CXTPControls *pControls = pBar->GetControls();
  for (int j = 0; j < pControls->GetCount(); j++) {
    CXTPControl *pControl = pControls->GetAt(j);
    if (!pControl->IsVisible()) continue;
    if (pControl->GetBeginGroup() && j > 0) m_pTheme->DrawCommandBarSeparator(pDC, pBar, pControl, TRUE);
    pControl->Draw(pDC);
  }
  if (CXTPControl *pExpand = m_expandButtons[i])
    m_pTheme->DrawSpecialControl(xtpButtonExpandToolbar, pDC, pExpand, pBar, TRUE, m_hiddenControls[i]);
  pDC->RestoreDC(nSaved);
}

void CGalleryCommandBarsSection::Draw(CDC *pDC, const CRect &rcBody) {
  if (!m_bLaidOut) Layout(pDC);
  const CPoint org = rcBody.TopLeft();
  static const LPCTSTR kSizeNames[kSizes] = {L"16 px", L"24 px", L"32 px"};
  for (size_t i = 0; i < m_bars.size(); i++) {
    if (i < kSizes) DrawLabel(pDC, org.x, org.y + m_rcBars[i].top + 8, kSizeNames[i]);
    DrawBar(pDC, i, org + m_rcBars[i].TopLeft());
  }
}

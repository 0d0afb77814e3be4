#include "GalleryThemesSection.h"

#include "GalleryIcon.h"
#include "Menu.h"
#include "XTPColorManager.h"
#include "XTPCommandBars.h"
#include "XTPControlPopup.h"
#include "XTPImageManager.h"
#include "XTPMenuBar.h"
#include "XTPPaintManager.h"
#include "XTPPopupBar.h"
#include "XTPToolBar.h"

namespace {

enum { kNew = 1, kOpen, kSave, kCut, kCopy, kPaste, kPrint, kWrap, kStatus, kExit, kRecent };

HMENU MakeMenu() {
  HMENU hMenu = ::CreateMenu();
  for (LPCTSTR lpszCaption : {L"&File", L"&Edit", L"&View", L"&Help"}) {
    HMENU hPopup = ::CreatePopupMenu();
    ::AppendMenuW(hPopup, MF_STRING, kNew, L"&Item");
    ::AppendMenuW(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hPopup), lpszCaption);
  }
  return hMenu;
}

CXTPControl *AddRow(CXTPPopupBar *pBar, int nId, LPCTSTR lpszCaption, LPCTSTR lpszShortcut = nullptr,
                    BOOL bGroup = FALSE) {
  CXTPControl *p = pBar->GetControls()->Add(xtpControlButton, nId);
  p->SetCaption(lpszCaption);
  if (lpszShortcut) p->SetShortcutText(lpszShortcut);
  p->SetBeginGroup(bGroup);
  p->SetFlags(8);
  return p;
}

} // namespace

const CGalleryThemesSection::ThemeRow CGalleryThemesSection::kRows[kThemes] = {
    {L"Office 2000 (classic)", xtpThemeDefault, -1},
    {L"Office XP", xtpThemeOffice, -1},
    {L"Office 2003: blue", xtpThemeOffice2003, xtpSystemThemeBlue},
    {L"Office 2003: olive", xtpThemeOffice2003, xtpSystemThemeOlive},
    {L"Office 2003: silver", xtpThemeOffice2003, xtpSystemThemeSilver},
    {L"Office 2003: no scheme", xtpThemeOffice2003, xtpSystemThemeUnknown},
    {L"Office 2003 variant: blue", xtpThemeOffice2003Variant, xtpSystemThemeBlue},
    {L"Native XP (no visual styles)", xtpThemeNativeWinXP, -1},
};

// ---------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CGalleryThemeHost, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
END_MESSAGE_MAP()

CGalleryThemeHost::CGalleryThemeHost(CXTPPaintManager *pPaintManager, CXTPImageManager *pImages) {
  m_pCommandBars = new CXTPCommandBars;
  pImages->InternalAddRef();
  m_pCommandBars->SetImageManager(pImages);
  m_pCommandBars->SetPaintManager(pPaintManager);
  m_pCommandBars->GetCommandBarsOptions()->animationType = xtpAnimateNone;
  m_pCommandBars->GetCommandBarsOptions()->bShowExpandButtonAlways = FALSE;
}

CGalleryThemeHost::~CGalleryThemeHost() {
  if (m_pMenu) {
    m_pMenu->GetControls()->RemoveAll();
    m_pMenu->InternalRelease();
  }
  for (CXTPCommandBar *pBar :
       {static_cast<CXTPCommandBar *>(m_pMenuBar), static_cast<CXTPCommandBar *>(m_pToolBar)})
    if (pBar) {
      pBar->CancelTracking();
      pBar->InternalRelease();
    }
  if (m_hWnd) DestroyWindow();
  m_pCommandBars->InternalRelease();
}

CXTPPaintManager *CGalleryThemeHost::GetPaintManager() const {
  return m_pCommandBars->GetPaintManager();
}

BOOL CGalleryThemeHost::Create(CWnd *pParent, const CRect &rc, LPCTSTR lpszTitle, UINT nID) {
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursorW(nullptr, IDC_ARROW));
  if (!CWnd::Create(lpszClass, lpszTitle,
                    WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN, rc, pParent, nID))
    return FALSE;
  BuildBars();
  return TRUE;
}

void CGalleryThemeHost::BuildBars() {
  CRect rcClient;
  GetClientRect(&rcClient);
  LPCTSTR lpszBarClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));

  m_pMenuBar = new CXTPMenuBar;
  m_pMenuBar->SetCommandBars(m_pCommandBars);
  m_pMenuBar->SetOwnerWindow(m_hWnd);
  m_pMenuBar->SetTitle(L"Menu Bar");
  // Both bars stand along the top, as in a frame.
  m_pMenuBar->StorePosition(xtpBarTop);
  CMenu menu;
  menu.Attach(MakeMenu());
  m_pMenuBar->LoadMenu(&menu);
  for (int i = 0; i < m_pMenuBar->GetControlCount(); i++) m_pMenuBar->GetControl(i)->SetFlags(8);
  CSize szMenu =
      m_pMenuBar->CalcDockedLayout(rcClient.Width(), LM_HORZ | LM_HORZDOCK | LM_COMMIT | LM_HIDEWRAP);
  if (m_pMenuBar->CreateEx(0, lpszBarClass, L"", WS_CHILD | WS_VISIBLE, CRect(CPoint(0, 0), szMenu), this, 1))
    m_pMenuBar->SetVisible(TRUE);
  // The first menu shown open, as while its menu is down.
  if (auto *pFile = dynamic_cast<CXTPControlPopup *>(m_pMenuBar->GetControl(0))) pFile->SetPopupState(TRUE);

  m_pToolBar = new CXTPToolBar;
  m_pToolBar->SetCommandBars(m_pCommandBars);
  m_pToolBar->SetOwnerWindow(m_hWnd);
  m_pToolBar->SetTitle(L"Standard");
  m_pToolBar->StorePosition(xtpBarTop);
  const UINT ids[] = {kNew, kOpen, kSave, 0, kCut, kCopy, kPaste, 0, kPrint};
  m_pToolBar->SetButtons(ids, 9);
  for (int i = 0; i < m_pToolBar->GetControlCount(); i++) m_pToolBar->GetControl(i)->SetFlags(8);
  CSize szTool =
      m_pToolBar->CalcDockedLayout(rcClient.Width(), LM_HORZ | LM_HORZDOCK | LM_COMMIT | LM_HIDEWRAP);
  if (m_pToolBar->CreateEx(0, lpszBarClass, L"", WS_CHILD | WS_VISIBLE, CRect(CPoint(0, szMenu.cy), szTool),
                           this, 2))
    m_pToolBar->SetVisible(TRUE);
  m_pToolBar->GetControls()->FindControl(kOpen)->SetChecked(TRUE);
  m_pToolBar->GetControls()->FindControl(kPaste)->SetEnabled(FALSE);
  m_pToolBar->GetControls()->FindControl(kCut)->OnSetSelected(TRUE);
  m_rcBand = CRect(0, 0, rcClient.right, szMenu.cy + szTool.cy);

  m_pMenu = CXTPPopupBar::CreatePopupBar(m_pCommandBars);
  AddRow(m_pMenu, kNew, L"&New", L"Ctrl+N");
  AddRow(m_pMenu, kOpen, L"&Open...", L"Ctrl+O");
  AddRow(m_pMenu, kSave, L"&Save", L"Ctrl+S")->SetEnabled(FALSE);
  auto *pRecent = static_cast<CXTPControlPopup *>(m_pMenu->GetControls()->Add(xtpControlPopup, kRecent));
  pRecent->SetCaption(L"&Recent Files");
  AddRow(m_pMenu, kWrap, L"&Word Wrap", nullptr, TRUE)->SetChecked(TRUE);
  AddRow(m_pMenu, kStatus, L"Status &Bar")->SetChecked(TRUE);
  AddRow(m_pMenu, kPrint, L"&Print...", L"Ctrl+P", TRUE);
  AddRow(m_pMenu, kExit, L"E&xit", L"Alt+F4", TRUE);
  m_pMenu->GetControls()->FindControl(kOpen)->OnSetSelected(TRUE);
  CSize szPopup = m_pMenu->CalcDynamicLayout(0, 0);
  m_pMenu->SetBarClientSize(szPopup);
  m_rcMenu = CRect(CPoint(2, m_rcBand.bottom + 2), szPopup);

  if (m_wndStatusBar.Create(this)) {
    LayOutStatusBar();
    static const UINT kPanes[] = {ID_SEPARATOR, ID_SEPARATOR};
    m_wndStatusBar.SetIndicators(kPanes, 2);
    m_wndStatusBar.SetPaneInfo(0, ID_SEPARATOR, SBPS_NORMAL, 60);
    m_wndStatusBar.SetPaneInfo(1, 100, SBPS_STRETCH, 0);
    m_wndStatusBar.SetPaneText(0, L"Ready");
    m_wndStatusBar.SetPaneText(1, L"12 File(s)");
    m_wndStatusBar.SetCommandBars(m_pCommandBars);
    LayOutStatusBar();
  }
}

void CGalleryThemeHost::LayOutStatusBar() {
  if (!m_wndStatusBar.m_hWnd) return;
  CRect rcClient;
  GetClientRect(&rcClient);
  CSize size = m_wndStatusBar.CalcFixedLayout(TRUE, TRUE);
  m_wndStatusBar.MoveWindow(0, rcClient.bottom - size.cy, rcClient.Width(), size.cy);
}

void CGalleryThemeHost::OnSize(UINT, int, int) {
  LayOutStatusBar();
}

BOOL CGalleryThemeHost::OnEraseBkgnd(CDC *) {
  return TRUE;
}

void CGalleryThemeHost::OnPaint() {
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  dc.FillSolidRect(&rcClient, ::GetSysColor(COLOR_APPWORKSPACE));
  {
    // The dock bars' background behind the two bars.
    const int nSaved = dc.SaveDC();
    dc.IntersectClipRect(&m_rcBand);
    GetPaintManager()->FillDockBar(&dc, this);
    dc.RestoreDC(nSaved);
  }
  if (m_pMenu) {
    const int nSaved = dc.SaveDC();
    dc.SetViewportOrg(m_rcMenu.TopLeft());
    dc.IntersectClipRect(CRect(CPoint(0, 0), m_rcMenu.Size()));
    m_pMenu->DrawCommandBar(&dc, CRect(CPoint(0, 0), m_rcMenu.Size()));
    dc.RestoreDC(nSaved);
  }
}

// ---------------------------------------------------------------------------

CXTPPaintManager *CGalleryThemesSection::MakeTheme(const ThemeRow &row) {
  CXTPColorManager *pColorManager = XTPGetColorManager();
  // The variant reads the colour manager's scheme itself: force it there
  // while the theme takes its colours, then give the choice back.
  const BOOL bForceManager = row.nScheme >= 0 && row.nTheme == xtpThemeOffice2003Variant;
  if (bForceManager) {
    pColorManager->SetSystemTheme(row.nScheme);
    pColorManager->RefreshColors();
  }
  CXTPPaintManager *pTheme = CXTPPaintManager::CreateTheme(row.nTheme);
  if (row.nScheme >= 0 && !bForceManager) {
    pTheme->SetSystemTheme(row.nScheme);
    pTheme->RefreshMetrics();
  }
  if (bForceManager) {
    pColorManager->SetSystemTheme(xtpSystemThemeAuto);
    pColorManager->RefreshColors();
  }
  return pTheme;
}

CGalleryThemesSection::CGalleryThemesSection() {
  m_pImages = new CXTPImageManager;
  const struct {
    int nId;
    COLORREF clr;
  } kIcons[] = {{kNew, RGB(250, 250, 250)},   {kOpen, RGB(240, 190, 60)},   {kSave, RGB(60, 90, 200)},
                {kCut, RGB(200, 60, 60)},     {kCopy, RGB(60, 170, 90)},    {kPaste, RGB(170, 120, 60)},
                {kPrint, RGB(110, 110, 110)}, {kStatus, RGB(120, 60, 200)}, {kExit, RGB(200, 60, 60)}};
  for (const auto &icon : kIcons) {
    HICON hIcon = MakeGallerySquareIcon(icon.clr);
    m_pImages->SetIcon(CXTPIconHandle(hIcon), static_cast<UINT>(icon.nId), CSize(16, 16), 0);
    ::DestroyIcon(hIcon);
  }
}

CGalleryThemesSection::~CGalleryThemesSection() {
  for (auto &host : m_hosts) host.reset();
  m_pImages->InternalRelease();
}

void CGalleryThemesSection::Create(CWnd *pParent, const CRect &rcBody) {
  for (int i = 0; i < kThemes; i++) {
    const int x = rcBody.left + (i % kColumns) * (kHostWidth + kGap),
              y = rcBody.top + (i / kColumns) * (kHostHeight + kGap);
    m_hosts[i] = std::make_unique<CGalleryThemeHost>(MakeTheme(kRows[i]), m_pImages);
    m_hosts[i]->Create(pParent, CRect(x, y, x + kHostWidth, y + kHostHeight), kRows[i].lpszName, 0x300 + i);
  }
}

void CGalleryThemesSection::Draw(CDC *, const CRect &) {}

#include "GalleryStatusBarSection.h"

#include "GalleryIcon.h"

namespace {

constexpr UINT kPaneTotals = 101, kPaneItem = 102, kPaneProgress = 103, kPaneDisk = 104, kPaneNetwork = 105;

HICON MakeDiskIcon() {
  const int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
  return MakeGalleryIcon(CSize(cx, cy), [cx, cy](HDC hDC, BOOL bMask) {
    RECT body = {1, 4, cx - 1, cy - 3};
    if (bMask) {
      ::FillRect(hDC, &body, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
      return;
    }
    HBRUSH hBody = ::CreateSolidBrush(RGB(170, 172, 184));
    ::FillRect(hDC, &body, hBody);
    ::DeleteObject(hBody);
    ::FrameRect(hDC, &body, static_cast<HBRUSH>(::GetStockObject(DKGRAY_BRUSH)));
    HBRUSH hLight = ::CreateSolidBrush(RGB(40, 200, 60));
    RECT led = {cx - 5, cy - 7, cx - 3, cy - 5};
    ::FillRect(hDC, &led, hLight);
    ::DeleteObject(hLight);
  });
}

} // namespace

BEGIN_MESSAGE_MAP(CGalleryStatusHost, CWnd)
ON_WM_SIZE()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CGalleryStatusHost::Create(CWnd *pParent, const CRect &rc, LPCTSTR lpszTitle, UINT nID) {
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW));
  if (!CWnd::Create(lpszClass, lpszTitle,
                    WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN, rc, pParent, nID))
    return FALSE;
  return m_wndBar.Create(this);
}

void CGalleryStatusHost::LayOutBar() {
  if (m_wndBar.m_hWnd == nullptr) return;
  CRect rc;
  GetClientRect(&rc);
  CSize size = m_wndBar.CalcFixedLayout(TRUE, TRUE);
  m_wndBar.MoveWindow(0, rc.bottom - size.cy, rc.Width(), size.cy);
}

void CGalleryStatusHost::OnSize(UINT, int, int) {
  LayOutBar();
}

BOOL CGalleryStatusHost::OnEraseBkgnd(CDC *pDC) {
  CRect rc;
  GetClientRect(&rc);
  pDC->FillSolidRect(&rc, ::GetSysColor(COLOR_WINDOW));
  return TRUE;
}

CGalleryStatusBarSection::CGalleryStatusBarSection() : m_hDisk(MakeDiskIcon()) {}

CGalleryStatusBarSection::~CGalleryStatusBarSection() {
  for (auto &host : m_hosts) host.reset();
  if (m_hDisk) ::DestroyIcon(m_hDisk);
}

void CGalleryStatusBarSection::Create(CWnd *pParent, const CRect &rcBody) {
  const LPCTSTR titles[kDemos] = {L"The program's panes", L"A search running: progress bar over a pane",
                                  L"Icon panes, the second disabled", L"Themed drawing off"};
  for (int i = 0; i < kDemos; i++) {
    const int y = rcBody.top + i * (kHostHeight + kGap);
    m_hosts[i] = std::make_unique<CGalleryStatusHost>();
    if (!m_hosts[i]->Create(pParent, CRect(rcBody.left, y, rcBody.left + kHostWidth, y + kHostHeight),
                            titles[i], 300 + i))
      continue;
    FillDemo(i);
    m_hosts[i]->LayOutBar();
  }
}

void CGalleryStatusBarSection::FillDemo(int nDemo) {
  CXTPStatusBar &bar = m_hosts[nDemo]->GetBar();
  static const UINT kPanes[] = {ID_SEPARATOR, ID_SEPARATOR, ID_SEPARATOR, ID_SEPARATOR};
  bar.SetIndicators(kPanes, 4);
  bar.SetPaneInfo(0, ID_SEPARATOR, SBPS_NORMAL, 150);
  bar.SetPaneInfo(1, kPaneTotals, SBPS_NORMAL, 200);
  bar.SetPaneInfo(2, kPaneItem, SBPS_STRETCH, 0);
  bar.SetPaneInfo(3, kPaneNetwork, SBPS_NORMAL, 30);
  bar.SetPaneText(0, L"Ready");
  bar.SetPaneText(1, L" Total 1.500 GB in 12 File(s) in 3 Folder(s)");
  bar.SetPaneText(2, L"\\Photos\\2026\\harbour.jpg");
  bar.SetPaneText(3, L"NUM");
  switch (nDemo) {
  case kProgress: {
    bar.SetPaneText(0, L"13 Entries Found");
    bar.SetPaneInfo(1, kPaneProgress, SBPS_NORMAL, 200);
    bar.SetPaneText(1, L"");
    auto *pProgress = new CProgressCtrl;
    if (pProgress->Create(WS_CHILD | WS_VISIBLE | PBS_SMOOTH, CRect(0, 0, 0, 0), &bar, 1)) {
      pProgress->SetRange32(0, 100);
      pProgress->SetPos(62);
      bar.AddControl(pProgress, kPaneProgress, TRUE);
    } else {
      delete pProgress;
    }
    break;
  }
  case kIcons: {
    bar.SetPaneInfo(0, kPaneDisk, SBPS_NORMAL, 150);
    bar.SetPaneInfo(3, kPaneNetwork, SBPS_NORMAL, 110);
    const struct {
      UINT nID;
      LPCTSTR lpszText;
      BOOL bEnabled;
    } panes[] = {{kPaneDisk, L"Drive C: (NTFS)", TRUE}, {kPaneNetwork, L"Network", FALSE}};
    for (const auto &p : panes) {
      auto *pPane = new CXTPStatusBarIconPane;
      if (!pPane->Create(p.lpszText, &bar)) {
        delete pPane;
        continue;
      }
      pPane->SetIcon(m_hDisk);
      pPane->EnableWindow(p.bEnabled);
      bar.AddControl(pPane, p.nID, TRUE);
    }
    break;
  }
  case kPlain:
    bar.EnableThemedDrawing(FALSE);
    break;
  default:
    break;
  }
}

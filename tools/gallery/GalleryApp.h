// The toolkit gallery: one window that shows every toolkit piece built so
// far, section under section, to look at them side by side and to test that
// they draw in a real window. The sections together are taller than a
// screen: the view scrolls, and tests scroll a section into view first.
#pragma once

#include "Framework.h"
#include "GallerySection.h"

class CGalleryView : public CWnd {
public:
  static const int kMargin = 8, kTitleHeight = 20, kGap = 10, kWidth = 940;

  CGalleryView();
  BOOL Create(CWnd *pParent, UINT nID);
  size_t GetSectionCount() const { return m_sections.size(); }
  CGallerySection *GetSection(size_t i) const { return m_sections[i].get(); }
  // Where a section's body lies in the view, as it is scrolled.
  CRect GetBodyRect(size_t i) const;
  // The height that shows all sections.
  int GetNeededHeight() const;
  // Scrolls the view (children move with it) and repaints it.
  void ScrollTo(int nY);
  int GetScrollY() const { return m_nScrollY; }
  // Scrolls so that the section's title and as much of its body as fits show.
  void ScrollSectionIntoView(size_t i);
  // Keeps only the sections whose title starts with the prefix (before Create).
  void KeepSections(const CString &strPrefix);

protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC *) { return TRUE; }
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar *pScrollBar);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

private:
  void UpdateScrollBar();

  std::vector<std::unique_ptr<CGallerySection>> m_sections;
  CFont m_fontTitle;
  int m_nScrollY = 0;
};

class CGalleryFrame : public CFrameWnd {
public:
  CGalleryView m_wndView;

protected:
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext *pContext) override;
};

class CGalleryApp : public CWinApp {
public:
  CGalleryApp() : CWinApp(L"Toolkit Gallery") {}
  BOOL InitInstance() override;
  CGalleryFrame *GetFrame() const { return static_cast<CGalleryFrame *>(m_pMainWnd); }
};

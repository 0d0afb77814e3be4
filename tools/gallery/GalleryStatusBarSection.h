// Status bars painted by the paint manager, each in a small sizable window:
// the program's panes, a progress bar laid over a pane, icon panes (one
// disabled), and a bar with themed drawing off for comparison.
#pragma once

#include "GallerySection.h"
#include "XTPStatusBar.h"

#include <memory>
#include <vector>

// A small sizable child window whose status bar keeps to its bottom.
class CGalleryStatusHost : public CWnd {
public:
  BOOL Create(CWnd *pParent, const CRect &rc, LPCTSTR lpszTitle, UINT nID);
  CXTPStatusBar &GetBar() { return m_wndBar; }
  void LayOutBar();

protected:
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC *pDC);
  DECLARE_MESSAGE_MAP()

private:
  CXTPStatusBar m_wndBar;
};

class CGalleryStatusBarSection : public CGallerySection {
public:
  static const int kDemos = 4, kHostWidth = 560, kHostHeight = 76, kGap = 8;
  enum { kProgram, kProgress, kIcons, kPlain };

  CGalleryStatusBarSection();
  ~CGalleryStatusBarSection() override;
  LPCTSTR GetTitle() const override {
    return L"Status bar: program panes, progress bar over a pane, icon panes, themed drawing off";
  }
  int GetHeight() const override { return kDemos * (kHostHeight + kGap); }
  void Draw(CDC *, const CRect &) override {}
  void Create(CWnd *pParent, const CRect &rcBody) override;

  CGalleryStatusHost &GetHost(int nDemo) { return *m_hosts[nDemo]; }

private:
  void FillDemo(int nDemo);

  std::unique_ptr<CGalleryStatusHost> m_hosts[kDemos];
  HICON m_hDisk = nullptr;
};

// The toolkit gallery: one window that shows every toolkit piece built so
// far, section under section, to look at them side by side and to test that
// they draw in a real window.
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
  // Where a section's body lies in the view.
  CRect GetBodyRect(size_t i) const;
  // The height that shows all sections.
  int GetNeededHeight() const;
  // Keeps only the sections whose title starts with the prefix (before Create).
  void KeepSections(const CString &strPrefix);

protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC *) { return TRUE; }
  DECLARE_MESSAGE_MAP()

private:
  std::vector<std::unique_ptr<CGallerySection>> m_sections;
  CFont m_fontTitle;
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

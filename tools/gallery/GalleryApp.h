// The toolkit gallery: one window that shows every toolkit piece built so
// far, a page per piece, to look at them and to test that they draw in a
// real window.
#pragma once

#include "Framework.h"
#include "GallerySection.h"

class CGalleryView : public CWnd {
public:
  static const int kMargin = 8, kTitleHeight = 20, kWidth = 940, kListWidth = 170;
  static const UINT kListId = 100;

  CGalleryView();
  BOOL Create(CWnd *pParent, UINT nID);
  size_t GetSectionCount() const { return m_sections.size(); }
  CGallerySection *GetSection(size_t i) const { return m_sections[i].get(); }
  // One section is shown at a time, picked from the list on the left; its
  // child windows are shown with it and hidden with it.
  void ShowSection(size_t i);
  size_t GetShownSection() const { return m_nShown; }
  // Where a section's body lies in the view when it is shown.
  CRect GetBodyRect(size_t i) const;
  // The size that shows the tallest section whole.
  CSize GetNeededSize() const;
  // The short name in the list: the title up to its first colon.
  static CString PageName(const CGallerySection &section);

protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC *) { return TRUE; }
  afx_msg void OnPageChange();
  DECLARE_MESSAGE_MAP()

private:
  std::vector<std::unique_ptr<CGallerySection>> m_sections;
  // The child windows each section made, with whether each was visible.
  std::vector<std::vector<std::pair<HWND, bool>>> m_sectionWindows;
  size_t m_nShown = 0;
  CListBox m_wndPages;
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
  // The profile keeps what pages save between runs (the customised frame).
  CGalleryApp() : CWinApp(L"Toolkit Gallery") { SetRegistryKey(L"Quendal Toolkit Gallery"); }
  // The command line may name the page to show first by its number.
  BOOL InitInstance() override;
  CGalleryFrame *GetFrame() const { return static_cast<CGalleryFrame *>(m_pMainWnd); }
};

// The tooltip context's four tip styles, each over a tool of its own board:
// standard and framed with a title, balloon with a title, and rich text.
#pragma once

#include "GallerySection.h"
#include "XTPToolTipContext.h"

#include <memory>

// A strip with one tool, served by a tooltip context of its own through the
// owner's path (the board feeds the context its messages, as bars do).
class CGalleryTipBoard : public CWnd {
public:
  CGalleryTipBoard(int nStyle, LPCTSTR lpszLabel, LPCTSTR lpszTip, LPCTSTR lpszTitle,
                   LPCTSTR lpszDescription);
  BOOL Create(CWnd *pParent, const CRect &rc, UINT nID);
  CXTPToolTipContext &GetContext() { return *m_pContext; }
  // The tool, in the board's client coordinates.
  static CRect ToolRect() { return CRect(8, 6, 200, 34); }
  static UINT_PTR ToolId() { return 1; }
  INT_PTR OnToolHitTest(CPoint point, TTTOOLINFOW *pTI) const override;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

private:
  std::unique_ptr<CXTPToolTipContext> m_pContext;
  CString m_strLabel, m_strTip, m_strTitle, m_strDescription;
};

class CGalleryToolTipsSection : public CGallerySection {
public:
  static const int kStyles = 4;
  static const int kBoardWidth = 220, kBoardHeight = 40;

  CGalleryToolTipsSection();
  LPCTSTR GetTitle() const override {
    return L"Tooltip context: standard, balloon, framed and rich-text tips (point at a tool)";
  }
  int GetHeight() const override { return kBoardHeight; }
  void Draw(CDC *, const CRect &) override {}
  void Create(CWnd *pParent, const CRect &rcBody) override;

  CGalleryTipBoard &GetBoard(int nStyle) { return *m_boards[nStyle]; }

private:
  std::unique_ptr<CGalleryTipBoard> m_boards[kStyles];
};

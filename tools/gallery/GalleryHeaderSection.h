// The column header in its three looks: the default, the flat and the shaded
// one, each over a real list, with a sort arrow in each direction and the
// log's column pictures.
#pragma once

#include "GallerySection.h"
#include "XTHeaderCtrl.h"

class CGalleryHeaderSection : public CGallerySection {
public:
  static const int kLooks = 3;
  static const int kLabelWidth = 150;
  static const int kRowHeight = 34;
  static const int kListWidth = 560;

  LPCTSTR GetTitle() const override { return L"Column header: looks, sort arrows and column pictures"; }
  int GetHeight() const override { return kLooks * kRowHeight; }
  void Draw(CDC *pDC, const CRect &rcBody) override;
  void Create(CWnd *pParent, const CRect &rcBody) override;

  CXTHeaderCtrl &GetHeader(int nLook) { return m_header[nLook]; }
  CListCtrl &GetList(int nLook) { return m_list[nLook]; }

private:
  CListCtrl m_list[kLooks];
  CXTHeaderCtrl m_header[kLooks];
};

// The button editor, hosted live in its page on a sample button picture; its
// OK puts the edited picture beside it as a toolbar would show it.
#pragma once

#include <memory>

#include "GallerySection.h"
#include "XTPImageManager.h"

class CXTPImageEditorDlg;

class CGalleryImageEditorSection : public CGallerySection {
public:
  CGalleryImageEditorSection();
  ~CGalleryImageEditorSection() override;
  LPCTSTR GetTitle() const override { return L"Button image editor"; }
  int GetHeight() const override { return 300; }
  void Draw(CDC *pDC, const CRect &rcBody) override;
  void Create(CWnd *pParent, const CRect &rcBody) override;

  CXTPImageEditorDlg *GetEditor() const { return m_pEditor.get(); }
  const CXTPIconHandle &GetStored() const { return m_hStored; }
  // What OK does: the editor's picture becomes the stored one.
  void Store();
  // The sample picture the editor opens on: a blue ball with a red stroke.
  static HICON MakeSampleIcon();

private:
  std::unique_ptr<CXTPImageEditorDlg> m_pEditor;
  CXTPIconHandle m_hStored;
  CWnd *m_pParent = nullptr;
  CRect m_rcBody;
};

#include "GalleryImageEditorSection.h"

#include <commctrl.h>

#include "XTPImageEditor.h"
#include "XTPImageEditorImage.h"

namespace {

// The editor as a child of the page: OK stores, Cancel keeps editing.
class CHostedEditor : public CXTPImageEditorDlg {
public:
  CHostedEditor(CWnd *pParent, CGalleryImageEditorSection *pSection)
      : CXTPImageEditorDlg(pParent), m_pSection(pSection) {}
  void OnOK() override { m_pSection->Store(); }
  void OnCancel() override {}

private:
  CGalleryImageEditorSection *m_pSection;
};

constexpr int kStoredLeft = 420;

} // namespace

CGalleryImageEditorSection::CGalleryImageEditorSection() = default;

CGalleryImageEditorSection::~CGalleryImageEditorSection() {
  if (m_pEditor && m_pEditor->GetSafeHwnd()) m_pEditor->DestroyWindow();
}

HICON CGalleryImageEditorSection::MakeSampleIcon() {
  CXTPImageEditorImage image(16, 16);
  image.DrawEllipse(CRect(1, 1, 15, 15), RGB(0, 0, 128));
  image.FloodFill(CPoint(7, 7), XTPImageEditorPixel(RGB(0, 128, 255)));
  image.DrawLine(CPoint(4, 11), CPoint(12, 3), RGB(255, 0, 0));
  image.SetPixel(5, 5, XTPImageEditorPixel(RGB(255, 255, 255)));
  HBITMAP hBitmap = image.CreateBitmap();
  HIMAGELIST hList = ::ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0);
  ::ImageList_AddMasked(hList, hBitmap, XTP_IMAGEEDITOR_TRANSPARENT);
  HICON hIcon = ::ImageList_GetIcon(hList, 0, ILD_NORMAL);
  ::ImageList_Destroy(hList);
  ::DeleteObject(hBitmap);
  return hIcon;
}

void CGalleryImageEditorSection::Create(CWnd *pParent, const CRect &rcBody) {
  m_pParent = pParent;
  m_rcBody = rcBody;
  m_pEditor = std::make_unique<CHostedEditor>(pParent, this);
  CXTPIconHandle hSample;
  hSample.SetIcon(MakeSampleIcon());
  m_pEditor->SetIcon(hSample);
  if (!m_pEditor->CreateHidden(pParent)) return;
  // A page child rather than a popup: it scrolls and hides with the page.
  HWND hEditor = m_pEditor->GetSafeHwnd();
  const LONG_PTR style = ::GetWindowLongPtrW(hEditor, GWL_STYLE);
  ::SetWindowLongPtrW(hEditor, GWL_STYLE, (style & ~WS_POPUP) | WS_CHILD);
  ::SetParent(hEditor, pParent->GetSafeHwnd());
  ::SetWindowPos(hEditor, nullptr, rcBody.left + 10, rcBody.top + 10, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  Store();
}

void CGalleryImageEditorSection::Store() {
  if (!m_pEditor) return;
  m_hStored.Clear();
  m_pEditor->GetIcon(m_hStored);
  if (m_pParent && m_pParent->GetSafeHwnd()) {
    CRect rc(m_rcBody.left + kStoredLeft, m_rcBody.top, m_rcBody.right, m_rcBody.bottom);
    m_pParent->InvalidateRect(&rc);
  }
}

void CGalleryImageEditorSection::Draw(CDC *pDC, const CRect &rcBody) {
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
  const int x = rcBody.left + kStoredLeft;
  pDC->TextOut(x, rcBody.top + 14, L"OK stores the picture; the button shows it:");
  CRect rcButton(x, rcBody.top + 40, x + 23, rcBody.top + 62);
  pDC->FillSolidRect(&rcButton, ::GetSysColor(COLOR_BTNFACE));
  pDC->Draw3dRect(&rcButton, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
  if (m_hStored.IsEmpty()) return;
  if (m_hStored.IsAlpha()) {
    pDC->DrawState(CPoint(rcButton.left + 3, rcButton.top + 3), CSize(16, 16), m_hStored.GetBitmap(),
                   DST_BITMAP);
  } else {
    ::DrawIconEx(pDC->GetSafeHdc(), rcButton.left + 3, rcButton.top + 3, m_hStored.GetIcon(), 16, 16, 0,
                 nullptr, DI_NORMAL);
  }
}

#include "XTPImageEditor.h"

#include <commctrl.h>
#include <commdlg.h>

#include <iterator>

#include "FileDialog.h"
#include "XTPResource.h"
#include "XTPResourceManager.h"

namespace {

constexpr UINT kToolButtons[] = {XTP_ID_BUTTON_PENCIL, XTP_ID_BUTTON_FILL,     XTP_ID_BUTTON_UNDO,
                                 XTP_ID_BUTTON_REDO,   XTP_ID_BUTTON_GETCOLOR, XTP_ID_BUTTON_LINE,
                                 XTP_ID_BUTTON_COPY,   XTP_ID_BUTTON_PASTE,    XTP_ID_BUTTON_RECTANGLE,
                                 XTP_ID_BUTTON_CIRCLE, XTP_ID_BUTTON_CLEAR,    XTP_ID_BUTTON_OPEN};
constexpr UINT kMoveButtons[] = {XTP_ID_BUTTON_MOVELEFT, XTP_ID_BUTTON_MOVEDOWN, XTP_ID_BUTTON_MOVEUP,
                                 XTP_ID_BUTTON_MOVERIGHT};

struct PaletteColor {
  COLORREF clr;
  UINT nID;
};

// Two rows of eight.
constexpr PaletteColor kPalette[CXTPImageEditorDlg::kPaletteCount] = {
    {RGB(0, 0, 0), XTP_IDS_CLR_BLACK},          {RGB(128, 128, 128), XTP_IDS_CLR_GRAY50},
    {RGB(128, 0, 0), XTP_IDS_CLR_DARK_RED},     {RGB(128, 128, 0), XTP_IDS_CLR_DARK_YELLOW},
    {RGB(0, 128, 0), XTP_IDS_CLR_GREEN},        {RGB(0, 128, 128), XTP_IDS_CLR_TEAL},
    {RGB(0, 0, 128), XTP_IDS_CLR_DARK_BLUE},    {RGB(128, 0, 128), XTP_IDS_CLR_VIOLET},
    {RGB(255, 255, 255), XTP_IDS_CLR_WHITE},    {RGB(192, 192, 192), XTP_IDS_CLR_GRAY25},
    {RGB(255, 0, 0), XTP_IDS_CLR_RED},          {RGB(255, 255, 0), XTP_IDS_CLR_YELLOW},
    {RGB(0, 255, 0), XTP_IDS_CLR_BRIGHT_GREEN}, {RGB(0, 255, 255), XTP_IDS_CLR_TURQUOISE},
    {RGB(0, 0, 255), XTP_IDS_CLR_BLUE},         {RGB(255, 0, 255), XTP_IDS_CLR_PINK},
};

HIMAGELIST LoadStrip() {
  HINSTANCE hInst = AfxGetResourceHandle();
  const BOOL bAlpha = CXTPImageManager::IsComCtl6();
  HBITMAP hStrip = static_cast<HBITMAP>(::LoadImageW(
      hInst, MAKEINTRESOURCEW(bAlpha ? XTP_IDB_IMAGEEDITOR_TOOLS_ALPHA : XTP_IDB_IMAGEEDITOR_TOOLS),
      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!hStrip) return nullptr;
  HIMAGELIST hList = ::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 16, 0);
  if (bAlpha)
    ::ImageList_Add(hList, hStrip, nullptr);
  else
    ::ImageList_AddMasked(hList, hStrip, RGB(192, 192, 192));
  ::DeleteObject(hStrip);
  return hList;
}

} // namespace

CXTPImageEditorDlg::CXTPImageEditorDlg(CWnd *pParent) {
  InitModalIndirect(XTPGetResourceManager()->LoadDialogTemplate(XTP_IDD_IMAGEEDITOR_DIALOG), pParent);
  m_wndPreview.m_pDlg = this;
}

CXTPImageEditorDlg::~CXTPImageEditorDlg() {
  if (m_hToolImages) ::ImageList_Destroy(m_hToolImages);
  if (m_hMoveImages) ::ImageList_Destroy(m_hMoveImages);
}

BOOL CXTPImageEditorDlg::CreateHidden(CWnd *pParent) {
  m_bHidden = TRUE;
  return CreateIndirect(m_lpDialogTemplate, pParent);
}

void CXTPImageEditorDlg::SetIcon(const CXTPIconHandle &hIcon) {
  ASSERT(!m_pInitial);
  if (hIcon.IsEmpty()) return;
  m_szPicture = hIcon.GetExtent();
  if (hIcon.IsAlpha()) {
    m_pInitial = CXTPImageEditorImage::FromBitmap(hIcon.GetBitmap(), TRUE);
    if (m_pInitial) m_pInitial->CleanAlpha();
  } else {
    m_pInitial = std::make_unique<CXTPImageEditorImage>(m_szPicture.cx, m_szPicture.cy);
    m_pInitial->DrawIcon(hIcon.GetIcon());
  }
}

void CXTPImageEditorDlg::GetIcon(CXTPIconHandle &hIcon) const {
  const CXTPImageEditorImage *pImage = m_bInitialised ? m_wndPicture.GetCurrent() : m_pInitial.get();
  if (!pImage) return;
  HBITMAP hBitmap = pImage->CreateBitmap();
  if (!hBitmap) return;
  if (pImage->HasAlpha()) {
    hIcon.SetAlphaBitmap(hBitmap);
  } else {
    HIMAGELIST hList = ::ImageList_Create(pImage->Width(), pImage->Height(), ILC_COLOR24 | ILC_MASK, 1, 0);
    ::ImageList_AddMasked(hList, hBitmap, XTP_IMAGEEDITOR_TRANSPARENT);
    if (::ImageList_GetImageCount(hList) == 1) hIcon.SetIcon(::ImageList_GetIcon(hList, 0, ILD_NORMAL));
    ::ImageList_Destroy(hList);
  }
  ::DeleteObject(hBitmap);
}

HWND CXTPImageEditorDlg::CreateToolBar(UINT nFrameID, const UINT *pIDs, int nCount, HIMAGELIST hImages) {
  HWND hFrame = ::GetDlgItem(m_hWnd, nFrameID);
  HWND hBar = ::CreateWindowExW(
      0, TOOLBARCLASSNAMEW, nullptr,
      0x50002012 | TBSTYLE_FLAT | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, 0, 0, 0, 0, m_hWnd,
      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kIdToolBar)), AfxGetInstanceHandle(), nullptr);
  if (!hBar) return nullptr;
  ::SendMessageW(hBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  ::SendMessageW(hBar, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 16));
  ::SendMessageW(hBar, TB_SETBUTTONSIZE, 0, MAKELPARAM(23, 23));
  ::SendMessageW(hBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(hImages));
  for (int i = 0; i < nCount; i++) {
    TBBUTTON button{};
    // The strips hold the images in the buttons' order.
    button.iBitmap = i;
    button.idCommand = static_cast<int>(pIDs[i]);
    button.fsState = TBSTATE_ENABLED | ((i % 4 == 3 && i + 1 < nCount) ? TBSTATE_WRAP : 0);
    button.fsStyle = TBSTYLE_BUTTON;
    ::SendMessageW(hBar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
  }
  RECT rcLast{};
  ::SendMessageW(hBar, TB_GETITEMRECT, nCount - 1, reinterpret_cast<LPARAM>(&rcLast));
  RECT rcFrame{};
  ::GetWindowRect(hFrame, &rcFrame);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT *>(&rcFrame), 2);
  ::SetWindowPos(hBar, nullptr, rcFrame.left - 7, rcFrame.top - 4, rcLast.right + 2, rcLast.bottom + 2,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  return hBar;
}

BOOL CXTPImageEditorDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_hToolImages = LoadStrip();
  if (m_hToolImages) {
    m_hMoveImages = ::ImageList_Duplicate(m_hToolImages);
    for (int i = 0; i < 12; i++) ::ImageList_Remove(m_hMoveImages, 0);
  }
  m_hWndTools = CreateToolBar(XTP_IDC_STATIC_TOOLS, kToolButtons, static_cast<int>(std::size(kToolButtons)),
                              m_hToolImages);
  m_hWndMove = CreateToolBar(XTP_IDC_STATIC_MOVE, kMoveButtons, static_cast<int>(std::size(kMoveButtons)),
                             m_hMoveImages);

  RECT rcColors{};
  ::GetWindowRect(::GetDlgItem(m_hWnd, XTP_IDC_STATIC_COLORS), &rcColors);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT *>(&rcColors), 2);
  for (int i = 0; i < kPaletteCount; i++) {
    const int x = rcColors.left + (i % 8) * 13, y = rcColors.top - 4 + (i / 8) * 13;
    HWND hCell = ::CreateWindowExW(0, L"Static", nullptr, 0x50000100, x, y, 11, 11, m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kPalette[i].nID)),
                                   AfxGetInstanceHandle(), nullptr);
    m_palette[i].m_clr = kPalette[i].clr;
    m_palette[i].SubclassWindow(hCell);
  }
  m_wndTransparent.m_clr = XTP_IMAGEEDITOR_TRANSPARENT;
  m_wndTransparent.SubclassDlgItem(XTP_IDC_CLR_ERASE, this);
  m_wndFreeColor.SubclassDlgItem(XTP_IDC_CLR_PICKER, this);
  m_wndPicture.Attach(this, XTP_IDC_STATIC_PICTURE);
  m_wndPreview.SubclassDlgItem(XTP_IDC_STATIC_PREVIEW, this);
  if (m_pInitial) m_wndPicture.SetCurrent(m_pInitial->Clone());
  m_bInitialised = TRUE;
  SelectPicker(&m_palette[0]);
  UpdateToolBars();
  // Giving a control the focus would activate the dialog: a hidden one leaves
  // the focus where its host has it.
  return !m_bHidden;
}

void CXTPImageEditorDlg::SelectTool(int nTool) {
  if (m_nCurrentTool != xtpToolGetColor) m_nPreviousTool = m_nCurrentTool;
  m_nCurrentTool = nTool;
  UpdateToolBars();
}

void CXTPImageEditorDlg::SelectPicker(CXTPImageEditorPicker *pPicker) {
  if (m_pActivePicker) m_pActivePicker->Select(FALSE);
  m_pActivePicker = pPicker;
  if (m_pActivePicker) m_pActivePicker->Select(TRUE);
}

void CXTPImageEditorDlg::ColorPicked(COLORREF clr) {
  m_wndFreeColor.m_clr = clr;
  SelectPicker(&m_wndFreeColor);
  m_nCurrentTool = m_nPreviousTool;
  UpdateToolBars();
}

void CXTPImageEditorDlg::PictureChanged() {
  if (m_wndPreview.GetSafeHwnd()) m_wndPreview.Invalidate(FALSE);
  UpdateToolBars();
}

void CXTPImageEditorDlg::UpdateToolBars() {
  if (!m_hWndTools) return;
  for (UINT nID : kToolButtons) {
    if (nID <= XTP_ID_BUTTON_CIRCLE)
      ::SendMessageW(m_hWndTools, TB_CHECKBUTTON, nID,
                     MAKELPARAM(static_cast<int>(nID - XTP_ID_BUTTON_PENCIL) == m_nCurrentTool, 0));
  }
  ::SendMessageW(m_hWndTools, TB_ENABLEBUTTON, XTP_ID_BUTTON_UNDO, MAKELPARAM(m_wndPicture.CanUndo(), 0));
  ::SendMessageW(m_hWndTools, TB_ENABLEBUTTON, XTP_ID_BUTTON_REDO, MAKELPARAM(m_wndPicture.CanRedo(), 0));
}

BOOL CXTPImageEditorDlg::AskImportFile(CString &strFileName) {
  CString strFilter;
  XTPGetResourceManager()->LoadString(&strFilter, XTP_IDS_IMAGEEDITOR_FILTER);
  ASSERT(!strFilter.IsEmpty());
  CFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, strFilter, this);
  if (dlg.DoModal() != IDOK) return FALSE;
  strFileName = dlg.GetPathName();
  return TRUE;
}

BOOL CXTPImageEditorDlg::AskColor(COLORREF &clr) {
  static COLORREF s_custom[16] = {};
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof(cc);
  cc.hwndOwner = m_hWnd;
  cc.rgbResult = clr;
  cc.lpCustColors = s_custom;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!::ChooseColorW(&cc)) return FALSE;
  clr = cc.rgbResult;
  return TRUE;
}

BOOL CXTPImageEditorDlg::OnCommand(UINT nID) {
  if (nID >= XTP_ID_BUTTON_PENCIL && nID <= XTP_ID_BUTTON_CIRCLE) {
    SelectTool(static_cast<int>(nID - XTP_ID_BUTTON_PENCIL));
    return TRUE;
  }
  switch (nID) {
  case XTP_ID_BUTTON_COPY:
    m_wndPicture.Copy();
    return TRUE;
  case XTP_ID_BUTTON_PASTE:
    m_wndPicture.Paste();
    return TRUE;
  case XTP_ID_BUTTON_CLEAR:
    m_wndPicture.Clear();
    return TRUE;
  case XTP_ID_BUTTON_UNDO:
    m_wndPicture.Undo();
    return TRUE;
  case XTP_ID_BUTTON_REDO:
    m_wndPicture.Redo();
    return TRUE;
  case XTP_ID_BUTTON_OPEN: {
    CString strFile;
    if (AskImportFile(strFile)) m_wndPicture.Import(strFile);
    return TRUE;
  }
  case XTP_ID_BUTTON_MOVELEFT:
    m_wndPicture.Move(-1, 0);
    return TRUE;
  case XTP_ID_BUTTON_MOVERIGHT:
    m_wndPicture.Move(1, 0);
    return TRUE;
  case XTP_ID_BUTTON_MOVEUP:
    m_wndPicture.Move(0, -1);
    return TRUE;
  case XTP_ID_BUTTON_MOVEDOWN:
    m_wndPicture.Move(0, 1);
    return TRUE;
  }
  return FALSE;
}

void CXTPImageEditorDlg::OnPickerClick(UINT nID) {
  if (nID == XTP_IDC_CLR_PICKER) {
    COLORREF clr = m_wndFreeColor.m_clr;
    if (!AskColor(clr)) return;
    m_wndFreeColor.m_clr = clr;
    SelectPicker(&m_wndFreeColor);
    return;
  }
  if (nID == XTP_IDC_CLR_ERASE) {
    SelectPicker(&m_wndTransparent);
    return;
  }
  for (int i = 0; i < kPaletteCount; i++) {
    if (kPalette[i].nID == nID) SelectPicker(&m_palette[i]);
  }
}

LRESULT CXTPImageEditorDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && OnCommand(LOWORD(wParam))) return 0;
  if (message == WM_NOTIFY) {
    NMHDR *pNM = reinterpret_cast<NMHDR *>(lParam);
    if (pNM->code == static_cast<UINT>(NM_CLICK) && pNM->idFrom != kIdToolBar) {
      OnPickerClick(static_cast<UINT>(pNM->idFrom));
      return 0;
    }
    if (pNM->code == TTN_GETDISPINFOW) {
      // The tooltip is the text after the newline of the button's string.
      NMTTDISPINFOW *pInfo = reinterpret_cast<NMTTDISPINFOW *>(lParam);
      CString strText;
      XTPGetResourceManager()->LoadString(&strText, static_cast<UINT>(pNM->idFrom));
      const int nNewLine = strText.Find(L'\n');
      strText = nNewLine >= 0 ? strText.Mid(nNewLine + 1) : CString();
      lstrcpynW(pInfo->szText, strText, 80);
      if (pNM->hwndFrom)
        ::SetWindowPos(pNM->hwndFrom, HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
      return 0;
    }
  }
  return CDialog::WindowProc(message, wParam, lParam);
}

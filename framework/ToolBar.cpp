#include "ToolBar.h"

#include "CommonControls.h"

#include "FrameWnd.h"
#include "GdiObject.h"
#include "ModuleState.h"

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

namespace {

// The grey that classic tool-bar bitmaps use for their background.
const COLORREF kBitmapBackground = RGB(192, 192, 192);
constexpr int kSeparatorWidth = 8;

WORD ReadWord(const BYTE *p) {
  return static_cast<WORD>(p[0] | (p[1] << 8));
}

// Updates one tool-bar button's state from the command handlers.
class CToolCmdUI : public CCmdUI {
public:
  void Enable(BOOL on) override {
    m_bEnableChanged = TRUE;
    Bar()->SendMessage(TB_ENABLEBUTTON, m_nID, MAKELONG(on ? TRUE : FALSE, 0));
  }
  void SetCheck(int check) override {
    Bar()->SendMessage(TB_CHECKBUTTON, m_nID, MAKELONG(check == 1 ? TRUE : FALSE, 0));
    Bar()->SendMessage(TB_INDETERMINATE, m_nID, MAKELONG(check == 2 ? TRUE : FALSE, 0));
  }
  void SetRadio(BOOL on) override { SetCheck(on ? 1 : 0); }
  void SetText(LPCTSTR) override {}

private:
  CToolBar *Bar() const { return static_cast<CToolBar *>(m_pOther); }
};

} // namespace

BOOL ParseToolBarResource(const void *data, size_t size, ToolBarTemplate &result) {
  const auto *bytes = static_cast<const BYTE *>(data);
  if (bytes == nullptr || size < 8) return FALSE;
  WORD version = ReadWord(bytes);    // 0, 2: format version, always 1
  WORD width = ReadWord(bytes + 2);  // 2, 2: image width in pixels
  WORD height = ReadWord(bytes + 4); // 4, 2: image height in pixels
  WORD count = ReadWord(bytes + 6);  // 6, 2: number of items that follow
  if (version != 1 || width == 0 || height == 0) return FALSE;
  if (size < 8 + static_cast<size_t>(count) * 2) return FALSE;
  result.width = width;
  result.height = height;
  result.ids.clear();
  for (WORD i = 0; i < count; ++i) result.ids.push_back(ReadWord(bytes + 8 + 2 * i)); // 8 + 2i, 2: command id
  return TRUE;
}

BOOL CToolBar::Create(CWnd *parent, DWORD style, UINT id) {
  return CreateEx(parent, TBSTYLE_FLAT, style,
                  CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder), id);
}

BOOL CToolBar::CreateEx(CWnd *parent, DWORD ctrlStyle, DWORD style, CRect borders, UINT id) {
  SetBorders(borders.left, borders.top, borders.right, borders.bottom);
  DWORD windowStyle =
      TakeBarStyle(style) | ctrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
  if ((m_dwStyle & CBRS_TOOLTIPS) != 0) windowStyle |= TBSTYLE_TOOLTIPS;
  if (!AfxCreateCommonControl(this, ICC_BAR_CLASSES, TOOLBARCLASSNAME, 0, windowStyle | WS_CHILD,
                              CRect(0, 0, 0, 0), parent, id))
    return FALSE;
  SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  SetSizes(m_sizeButton, m_sizeImage);
  return TRUE;
}

BOOL CToolBar::LoadToolBar(LPCTSTR resourceName) {
  HINSTANCE module = AfxFindResourceHandle(resourceName, RT_TOOLBAR);
  HRSRC found = ::FindResourceW(module, resourceName, RT_TOOLBAR);
  if (found == nullptr) return FALSE;
  HGLOBAL loaded = ::LoadResource(module, found);
  const void *data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  ToolBarTemplate bar;
  if (data == nullptr || !ParseToolBarResource(data, ::SizeofResource(module, found), bar)) return FALSE;

  // The classic button is 7 pixels wider and taller than its image.
  SetSizes(CSize(bar.width + 7, bar.height + 7), CSize(bar.width, bar.height));
  if (!SetButtons(bar.ids.data(), static_cast<int>(bar.ids.size()))) return FALSE;
  return LoadBitmap(resourceName);
}

BOOL CToolBar::LoadBitmap(LPCTSTR resourceName) {
  HINSTANCE module = AfxFindResourceHandle(resourceName, RT_BITMAP);
  HANDLE image = ::LoadImageW(module, resourceName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  if (image == nullptr) return FALSE;
  CBitmap bitmap;
  bitmap.Attach(image);
  BOOL made = m_images.Create(m_sizeImage.cx, m_sizeImage.cy, ILC_COLOR24 | ILC_MASK, 8, 8) &&
              m_images.Add(&bitmap, kBitmapBackground) >= 0;
  ::DeleteObject(bitmap.Detach());
  if (!made) return FALSE;
  if (m_hWnd != nullptr) SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_images.GetSafeHandle()));
  return TRUE;
}

BOOL CToolBar::SetButtons(const UINT *ids, int count) {
  if (m_hWnd == nullptr || count < 0) return FALSE;
  while (SendMessage(TB_BUTTONCOUNT) > 0) SendMessage(TB_DELETEBUTTON, 0);
  int image = 0;
  for (int i = 0; i < count; ++i) {
    TBBUTTON button = {};
    UINT id = ids != nullptr ? ids[i] : 0;
    button.idCommand = static_cast<int>(id);
    if (id == ID_SEPARATOR) {
      button.fsStyle = TBSTYLE_SEP;
      button.iBitmap = kSeparatorWidth;
    } else {
      button.fsStyle = TBSTYLE_BUTTON;
      button.fsState = TBSTATE_ENABLED;
      button.iBitmap = image++;
    }
    button.iString = -1;
    if (!SendMessage(TB_ADDBUTTONS, 1, reinterpret_cast<LPARAM>(&button))) return FALSE;
  }
  return TRUE;
}

void CToolBar::SetSizes(SIZE button, SIZE image) {
  m_sizeButton = CSize(button.cx, button.cy);
  m_sizeImage = CSize(image.cx, image.cy);
  if (m_hWnd == nullptr) return;
  SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(image.cx, image.cy));
  SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(button.cx, button.cy));
}

void CToolBar::SetHeight(int height) {
  m_cyBottomBorder = height - m_sizeButton.cy - m_cyTopBorder;
  if (m_cyBottomBorder < 0) m_cyBottomBorder = 0;
}

int CToolBar::GetCount() const {
  return m_hWnd != nullptr ? static_cast<int>(SendMessage(TB_BUTTONCOUNT)) : 0;
}

int CToolBar::CommandToIndex(UINT id) const {
  return m_hWnd != nullptr ? static_cast<int>(SendMessage(TB_COMMANDTOINDEX, id)) : -1;
}

BOOL CToolBar::GetButton(int index, TBBUTTON &button) const {
  button = TBBUTTON{};
  if (index < 0 || index >= GetCount()) return FALSE;
  return static_cast<BOOL>(SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button)));
}

UINT CToolBar::GetItemID(int index) const {
  TBBUTTON button;
  return GetButton(index, button) ? static_cast<UINT>(button.idCommand) : 0;
}

void CToolBar::GetItemRect(int index, LPRECT rect) const {
  ::SetRectEmpty(rect);
  if (index >= 0 && index < GetCount()) SendMessage(TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(rect));
}

// The toolbar window says "enabled"; the classic style word says "disabled".
UINT CToolBar::GetButtonStyle(int index) const {
  TBBUTTON button;
  if (!GetButton(index, button)) return 0;
  UINT state = button.fsState ^ TBSTATE_ENABLED;
  return MAKELONG(button.fsStyle, state);
}

void CToolBar::SetButtonStyle(int index, UINT style) {
  UINT id = 0, oldStyle = 0;
  int image = 0;
  GetButtonInfo(index, id, oldStyle, image);
  SetButtonInfo(index, id, style, image);
}

void CToolBar::GetButtonInfo(int index, UINT &id, UINT &style, int &image) const {
  TBBUTTON button;
  if (!GetButton(index, button)) {
    id = style = 0;
    image = 0;
    return;
  }
  id = static_cast<UINT>(button.idCommand);
  style = GetButtonStyle(index);
  image = button.iBitmap;
}

void CToolBar::SetButtonInfo(int index, UINT id, UINT style, int image) {
  TBBUTTON button;
  if (!GetButton(index, button)) return;
  TBBUTTONINFOW info = {};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_BYINDEX | TBIF_COMMAND | TBIF_STYLE | TBIF_STATE | TBIF_IMAGE;
  info.idCommand = static_cast<int>(id);
  info.fsStyle = static_cast<BYTE>(LOWORD(style));
  info.fsState = static_cast<BYTE>(HIWORD(style) ^ TBSTATE_ENABLED);
  info.iImage = image;
  if ((info.fsStyle & TBSTYLE_SEP) != 0) {
    // A separator's image field is its width.
    info.dwMask |= TBIF_SIZE;
    info.cx = static_cast<WORD>(image);
  }
  SendMessage(TB_SETBUTTONINFO, index, reinterpret_cast<LPARAM>(&info));
}

BOOL CToolBar::SetButtonText(int index, LPCTSTR text) {
  if (index < 0 || index >= GetCount()) return FALSE;
  TBBUTTONINFOW info = {};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_BYINDEX | TBIF_TEXT;
  info.pszText = const_cast<LPTSTR>(text != nullptr ? text : L"");
  return static_cast<BOOL>(SendMessage(TB_SETBUTTONINFO, index, reinterpret_cast<LPARAM>(&info)));
}

CString CToolBar::GetButtonText(int index) const {
  if (index < 0 || index >= GetCount()) return CString();
  wchar_t buffer[256] = {};
  TBBUTTONINFOW info = {};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_BYINDEX | TBIF_TEXT;
  info.pszText = buffer;
  info.cchText = static_cast<int>(sizeof(buffer) / sizeof(buffer[0]));
  SendMessage(TB_GETBUTTONINFO, index, reinterpret_cast<LPARAM>(&info));
  buffer[255] = 0;
  return CString(buffer);
}

CSize CToolBar::CalcFixedLayout(BOOL stretch, BOOL horizontal) {
  CSize size = CControlBar::CalcFixedLayout(stretch, horizontal);
  int buttonHeight = m_sizeButton.cy;
  if (m_hWnd != nullptr) {
    DWORD measured = static_cast<DWORD>(SendMessage(TB_GETBUTTONSIZE));
    if (HIWORD(measured) != 0) buttonHeight = HIWORD(measured);
  }
  size.cy = buttonHeight + m_cyTopBorder + m_cyBottomBorder;
  return size;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd *target, BOOL disableIfNoHandler) {
  CToolCmdUI state;
  state.m_pOther = this;
  int count = GetCount();
  state.m_nIndexMax = static_cast<UINT>(count);
  for (int i = 0; i < count; ++i) {
    TBBUTTON button;
    if (!GetButton(i, button) || (button.fsStyle & TBSTYLE_SEP) != 0) continue;
    state.m_nIndex = static_cast<UINT>(i);
    state.m_nID = static_cast<UINT>(button.idCommand);
    state.DoUpdate(target, disableIfNoHandler);
  }
}

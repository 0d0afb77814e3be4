#include "KindButtonStandIns.h"

#include "resource.h"

KindButtonStandIns::~KindButtonStandIns() {
  for (HICON icon : m_icons)
    if (icon != nullptr) ::DestroyIcon(icon);
}

void KindButtonStandIns::Attach(CWnd &page, const UINT (&buttonIds)[3]) {
  m_page = &page;
  const bool haveImages = m_images.Create(IDB_SEARCH_TYPE_BUTTONS, 40, 1, RGB(0x00, 0xFF, 0x00)) != FALSE;
  for (int i = 0; i < 3; ++i) {
    m_ids[i] = buttonIds[i];
    if (haveImages) m_icons[i] = m_images.ExtractIcon(i);
    if (CWnd *button = page.GetDlgItem(m_ids[i])) button->ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
  }
}

void KindButtonStandIns::ShowChosen(int kind) {
  m_chosen = kind;
  if (m_page == nullptr) return;
  for (UINT id : m_ids)
    if (CWnd *button = m_page->GetDlgItem(id)) button->Invalidate(FALSE);
}

bool KindButtonStandIns::Draw(const DRAWITEMSTRUCT &item) const {
  int kind = -1;
  for (int i = 0; i < 3; ++i)
    if (item.CtlID == m_ids[i]) kind = i;
  if (kind < 0) return false;
  HDC dc = item.hDC;
  RECT frame = item.rcItem;
  const bool pushed = kind == m_chosen || (item.itemState & ODS_SELECTED) != 0;
  ::DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));

  const int height = frame.bottom - frame.top;
  const int iconSize = height - 4 < 40 ? height - 4 : 40;
  const int shift = pushed ? 1 : 0;
  if (m_icons[kind] != nullptr && iconSize > 0)
    ::DrawIconEx(dc, frame.left + 4 + shift, frame.top + (height - iconSize) / 2 + shift, m_icons[kind],
                 iconSize, iconSize, 0, nullptr, DI_NORMAL);

  wchar_t text[128] = {};
  ::GetWindowTextW(item.hwndItem, text, 128);
  RECT textRect = {frame.left + iconSize + 12 + shift, frame.top + shift, frame.right - 4,
                   frame.bottom + shift};
  HGDIOBJ oldFont =
      ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  ::DrawTextW(dc, text, -1, &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  ::SelectObject(dc, oldFont);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = {frame.left + 3, frame.top + 3, frame.right - 3, frame.bottom - 3};
    ::DrawFocusRect(dc, &focus);
  }
  return true;
}

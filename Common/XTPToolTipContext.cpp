#include "XTPToolTipContext.h"

#include <shlwapi.h>

#include <cstdlib>
#include <cwchar>
#include <string>

#include "XTPColorManager.h"
#include "XTPDrawHelpers.h"

namespace {

CXTPToolTipContext *g_pModuleContext = nullptr;

const int kTipBackColor = COLOR_INFOBK;   // toolkit colour 24
const int kTipTextColor = COLOR_INFOTEXT; // toolkit colour 23
const UINT kRichEditId = 1;
const int kRichEditMargin = 5;
const int kCursorHeight = 21;

LPWSTR HeapCopy(LPCTSTR lpszText) {
  const size_t nSize = wcslen(lpszText) + 1;
  auto *pCopy = static_cast<LPWSTR>(calloc(nSize, sizeof(wchar_t)));
  if (pCopy != nullptr) XTPStrCpy(pCopy, nSize, lpszText);
  return pCopy;
}

bool IsEmpty(LPCTSTR lpszText) {
  return lpszText == nullptr || *lpszText == 0;
}

// RTF is 8-bit: characters past ASCII become \uN? escapes (N the signed
// 16-bit code, '?' for readers without Unicode), so no code page loses them.
std::string RtfBytes(LPCTSTR lpszText) {
  std::string bytes;
  for (const wchar_t *p = lpszText; *p != 0; p++) {
    if (*p < 0x80) {
      bytes += static_cast<char>(*p);
    } else {
      bytes += "\\u" + std::to_string(static_cast<short>(*p)) + "?";
    }
  }
  return bytes;
}

struct MemoryStream {
  const BYTE *pData;
  LONG nSize;
  LONG nPos;
};

DWORD CALLBACK ReadMemoryStream(DWORD_PTR dwCookie, LPBYTE pbBuff, LONG cb, LONG *pcb) {
  auto *pStream = reinterpret_cast<MemoryStream *>(dwCookie);
  const LONG n = std::min(cb, pStream->nSize - pStream->nPos);
  memcpy(pbBuff, pStream->pData + pStream->nPos, n);
  pStream->nPos += n;
  *pcb = n;
  return 0;
}

long StreamBytes(CRichEditCtrl &wndRichEdit, int nFormat, const void *pData, size_t nBytes) {
  MemoryStream stream = {static_cast<const BYTE *>(pData), static_cast<LONG>(nBytes), 0};
  EDITSTREAM es = {reinterpret_cast<DWORD_PTR>(&stream), 0, ReadMemoryStream};
  const long nRead = wndRichEdit.StreamIn(nFormat, es);
  return es.dwError == 0 ? nRead : 0;
}

bool SameTool(const TTTOOLINFOW &a, const TTTOOLINFOW &b) {
  return a.hwnd == b.hwnd && a.uId == b.uId;
}

} // namespace

wchar_t *XTPStrCpy(wchar_t *dest, size_t size, const wchar_t *src) {
  if (size == 0) return dest;
  size_t i = 0;
  for (; i + 1 < size && src[i] != 0; i++) dest[i] = src[i];
  dest[i] = 0;
  return dest;
}

// --- the context ---

CXTPToolTipContext::CXTPToolTipContext()
    : m_dwComCtlVersion(GetComCtlVersion()), m_nMaxTipWidth(::GetSystemMetrics(SM_CXSCREEN) / 2) {
  AfxInitCommonControls(AFX_CC_RICHEDIT);
}

CXTPToolTipContext::~CXTPToolTipContext() {
  DeleteToolTip();
  if (g_pModuleContext == this) g_pModuleContext = nullptr;
}

void CXTPToolTipContext::DeleteToolTip() {
  if (m_pToolTip != nullptr && m_pToolTip->m_hWnd != nullptr) m_pToolTip->DestroyWindow();
  m_pToolTip.reset();
  m_lastTool = {};
}

void CXTPToolTipContext::SetStyle(int nStyle) {
  if (nStyle == m_nStyle) return;
  if (nStyle == xtpToolTipBalloon && !IsBalloonSupported()) return;
  m_nStyle = nStyle;
  DeleteToolTip();
}

void CXTPToolTipContext::SetMaxTipWidth(int nWidth) {
  m_nMaxTipWidth = nWidth;
  DeleteToolTip();
}

void CXTPToolTipContext::ShowTitle(BOOL bShow, int nIcon) {
  if (m_dwComCtlVersion < 0x00050050) return;
  m_bShowTitle = bShow;
  m_nTitleIcon = nIcon;
}

void CXTPToolTipContext::SetTipColors(COLORREF clrBack, COLORREF clrText) {
  m_clrTipBack = clrBack;
  m_clrTipText = clrText;
  DeleteToolTip();
}

COLORREF CXTPToolTipContext::GetTipBkColor() const {
  return m_clrTipBack != (COLORREF)-1 ? m_clrTipBack : XTPGetColor(kTipBackColor);
}

COLORREF CXTPToolTipContext::GetTipTextColor() const {
  return m_clrTipText != (COLORREF)-1 ? m_clrTipText : XTPGetColor(kTipTextColor);
}

DWORD CXTPToolTipContext::GetComCtlVersion() {
  HMODULE hModule = ::LoadLibraryW(L"COMCTL32.DLL");
  if (hModule == nullptr) return 0;
  DWORD dwVersion = 0;
  auto pfn = reinterpret_cast<DLLGETVERSIONPROC>(
      reinterpret_cast<void (*)()>(::GetProcAddress(hModule, "DllGetVersion")));
  DLLVERSIONINFO info = {};
  info.cbSize = sizeof(info);
  if (pfn != nullptr && SUCCEEDED(pfn(&info)))
    dwVersion = (info.dwMajorVersion << 16) | (info.dwMinorVersion & 0xFFFF);
  ::FreeLibrary(hModule);
  return dwVersion;
}

void CXTPToolTipContext::FeedOwnerMessage(CWnd *pWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg = {pWnd->GetSafeHwnd(), message, wParam, lParam, 0, {}};
  ::GetCursorPos(&msg.pt);
  FilterToolTipMessage(pWnd, &msg, TRUE);
}

void CXTPToolTipContext::InstallModuleFilter() {
  AfxSetToolTipFilter(ModuleToolTipFilter);
  g_pModuleContext = this;
}

CXTPToolTipContext *CXTPToolTipContext::GetModuleToolTipContext() {
  return g_pModuleContext;
}

void CXTPToolTipContext::ModuleToolTipFilter(MSG *pMsg, CWnd *pWnd) {
  if (g_pModuleContext != nullptr)
    g_pModuleContext->FilterToolTipMessage(pWnd, pMsg, FALSE);
  else
    pWnd->FilterToolTipMessage(pMsg);
}

void CXTPToolTipContext::FillToolDetails(TTTOOLINFOW *pTI, HWND hWnd, const RECT &rect, UINT_PTR nID,
                                         LPCTSTR lpszTip, LPCTSTR lpszTitle, LPCTSTR lpszDescription) {
  if (pTI == nullptr || pTI->cbSize < TTTOOLINFOW_V1_SIZE) return;
  pTI->hwnd = hWnd;
  pTI->rect = rect;
  pTI->uId = nID;
  pTI->lpszText = HeapCopy(lpszTip != nullptr ? lpszTip : L"");
  // Only a record that has lParam carries the pair.
  if (pTI->cbSize < TTTOOLINFOW_V2_SIZE || pTI->lParam == 0) return;
  if (IsEmpty(lpszDescription) || IsEmpty(lpszTitle)) return;
  auto *pPair = reinterpret_cast<XTP_TOOLTIP_TITLE *>(pTI->lParam);
  pPair->lpszDescription = HeapCopy(lpszDescription);
  pPair->lpszTitle = HeapCopy(lpszTitle);
}

long CXTPToolTipContext::StreamText(CRichEditCtrl &wndRichEdit, LPCTSTR lpszText) {
  if (IsEmpty(lpszText)) return 0;
  const std::string rtf = RtfBytes(lpszText);
  long nRead = StreamBytes(wndRichEdit, SF_RTF, rtf.data(), rtf.size());
  if (nRead >= 1) return nRead;
  // Not RTF: the text as it stands, wide, so no character is lost.
  return StreamBytes(wndRichEdit, SF_TEXT | SF_UNICODE, lpszText, wcslen(lpszText) * sizeof(wchar_t));
}

CXTPToolTipWnd *CXTPToolTipContext::EnsureToolTip(CWnd *pParentOwner) {
  if (m_pToolTip != nullptr &&
      (m_pToolTip->m_hWnd == nullptr || ::GetWindow(m_pToolTip->m_hWnd, GW_OWNER) != pParentOwner->m_hWnd))
    DeleteToolTip();
  if (m_pToolTip != nullptr) return m_pToolTip.get();
  auto pToolTip = std::make_unique<CXTPToolTipWnd>(this);
  const DWORD dwStyle = m_nStyle == xtpToolTipBalloon ? TTS_ALWAYSTIP | TTS_BALLOON : TTS_ALWAYSTIP;
  if (!pToolTip->Create(pParentOwner, dwStyle)) return nullptr;
  pToolTip->SetMaxTipWidth(m_nMaxTipWidth);
  if (m_clrTipBack != (COLORREF)-1) pToolTip->SetTipBkColor(m_clrTipBack);
  if (m_clrTipText != (COLORREF)-1) pToolTip->SetTipTextColor(m_clrTipText);
  pToolTip->Activate(FALSE);
  m_pToolTip = std::move(pToolTip);
  return m_pToolTip.get();
}

void CXTPToolTipContext::RegisterTool(TTTOOLINFOW &hit, const XTP_TOOLTIP_TITLE &pair) {
  TTTOOLINFOW tool = hit;
  tool.uFlags &= ~(TTF_NOTBUTTON | TTF_ALWAYSTIP);
  VERIFY(m_pToolTip->AddTool(&tool));
  if (m_dwComCtlVersion < 0x00050050) return;
  if (!m_bShowTitle || IsEmpty(pair.lpszDescription) || IsEmpty(pair.lpszTitle) ||
      m_nStyle == xtpToolTipRTF) {
    m_pToolTip->SetTitle(0, nullptr);
    return;
  }
  m_pToolTip->SetTitle(m_nTitleIcon, pair.lpszTitle);
  tool.lpszText = pair.lpszDescription;
  m_pToolTip->SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CXTPToolTipContext::ActivateTool(const TTTOOLINFOW &hit, CWnd *pParentOwner) {
  // A tip for an inactive program only when the tool asks for it.
  if ((hit.uFlags & TTF_ALWAYSTIP) == 0 && ::GetActiveWindow() != pParentOwner->m_hWnd) return;
  m_pToolTip->Activate(TRUE);
  m_pToolTip->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void CXTPToolTipContext::FilterToolTipMessage(CWnd *pWndOwner, MSG *pMsg, BOOL bOwner) {
  if (pWndOwner == nullptr || pWndOwner->m_hWnd == nullptr) return;
  if (!AfxIsToolTipMouseMessage(pMsg)) {
    BOOL bKeys = FALSE;
    if (!AfxIsToolTipCancelMessage(pMsg->message, &bKeys)) return;
    if (!bOwner && AfxFindToolTipWindow(pMsg->hwnd, pWndOwner->m_hWnd) != pWndOwner) return;
    CWnd::CancelToolTips(bKeys);
    return;
  }
  if (!bOwner && AfxFindToolTipWindow(pMsg->hwnd) != pWndOwner) return;
  CWnd *pParentOwner = pWndOwner->GetTopLevelParent();
  if (EnsureToolTip(pParentOwner) == nullptr) return;

  CPoint point = pMsg->pt;
  pWndOwner->ScreenToClient(&point);
  XTP_TOOLTIP_TITLE pair = {};
  TTTOOLINFOW hit = {};
  hit.cbSize = m_bShowTitle ? TTTOOLINFOW_V2_SIZE : TTTOOLINFOW_V1_SIZE;
  hit.lParam = reinterpret_cast<LPARAM>(&pair);
  const bool bHit = pWndOwner->OnToolHitTest(point, &hit) != -1;
  if (!bHit) hit = {}; // compares as "no tool" and is never registered
  const bool bChanged = !SameTool(hit, m_lastTool);

  if (bChanged || !::EqualRect(&hit.rect, &m_lastTool.rect)) {
    // The same tool moved: the control must forget the old rectangle first.
    if (!bChanged && m_lastTool.cbSize >= TTTOOLINFOW_V1_SIZE) m_pToolTip->DelTool(&m_lastTool);
    if (!bHit) {
      m_pToolTip->Activate(FALSE);
    } else {
      RegisterTool(hit, pair);
      ActivateTool(hit, pParentOwner);
    }
    AfxRelayToolTipEvent(m_pToolTip.get(), pMsg);
    if (bChanged && m_lastTool.cbSize >= TTTOOLINFOW_V1_SIZE) m_pToolTip->DelTool(&m_lastTool);
    m_lastTool = hit;
    m_lastTool.lpszText = nullptr; // the control keeps its own copy
    m_lastTool.lParam = 0;
    if (!bHit) m_lastTool.cbSize = 0;
  } else if (bHit) {
    AfxRelayToolTipEvent(m_pToolTip.get(), pMsg);
  }

  if (bHit) AfxFreeToolTipText(hit);
  free(pair.lpszDescription);
  free(pair.lpszTitle);
}

// --- the tooltip window ---

BEGIN_MESSAGE_MAP(CXTPToolTipWnd, CToolTipCtrl)
ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
ON_NOTIFY_REFLECT(TTN_SHOW, OnShow)
ON_WM_CREATE()
END_MESSAGE_MAP()

CXTPToolTipWnd::~CXTPToolTipWnd() {
  if (m_wndRichEdit.m_hWnd != nullptr) m_wndRichEdit.DestroyWindow();
}

int CXTPToolTipWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CToolTipCtrl::OnCreate(lpCreateStruct) == -1) return -1;
  if (m_pContext->GetStyle() == xtpToolTipRTF)
    m_wndRichEdit.Create(WS_CHILD | ES_READONLY | ES_MULTILINE, CRect(0, 0, 0, 0), this, kRichEditId);
  return 0;
}

BOOL CXTPToolTipWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT *pResult) {
  auto *pNMHDR = reinterpret_cast<NMHDR *>(lParam);
  if (pNMHDR->code == EN_REQUESTRESIZE && pNMHDR->hwndFrom == m_wndRichEdit.m_hWnd) {
    const RECT &rc = reinterpret_cast<REQRESIZE *>(lParam)->rc;
    m_szRequested = CSize(rc.right - rc.left, rc.bottom - rc.top);
  }
  return CToolTipCtrl::OnNotify(wParam, lParam, pResult);
}

void CXTPToolTipWnd::OnCustomDraw(NMHDR *pNMHDR, LRESULT *pResult) {
  auto *pDraw = reinterpret_cast<NMTTCUSTOMDRAW *>(pNMHDR);
  const int nStyle = m_pContext->GetStyle();
  *pResult = CDRF_DODEFAULT;
  if (pDraw->nmcd.dwDrawStage == CDDS_PREPAINT) {
    *pResult = CDRF_NOTIFYPOSTPAINT;
    // The rich edit draws the text: the control's own goes invisible.
    if (nStyle == xtpToolTipRTF) {
      ::SetTextColor(pDraw->nmcd.hdc, m_pContext->GetTipBkColor());
      ::SetBkColor(pDraw->nmcd.hdc, m_pContext->GetTipBkColor());
    }
  } else if (pDraw->nmcd.dwDrawStage == CDDS_POSTPAINT && nStyle == xtpToolTipOffice) {
    CWindowDC dc(this);
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    rcWindow.OffsetRect(-rcWindow.left, -rcWindow.top);
    dc.Draw3dRect(&rcWindow, XTPGetColor(COLOR_BTNFACE), XTPGetColor(COLOR_BTNTEXT));
    *pResult = CDRF_SKIPDEFAULT;
  } else if (pDraw->nmcd.dwDrawStage == CDDS_POSTPAINT && nStyle == xtpToolTipRTF) {
    HDC hDC = pDraw->nmcd.hdc;
    CRect rc = pDraw->nmcd.rc;
    rc.DeflateRect(1, 1);
    const int nDpiX = ::GetDeviceCaps(hDC, LOGPIXELSX), nDpiY = ::GetDeviceCaps(hDC, LOGPIXELSY);
    FORMATRANGE fr = {};
    fr.hdc = fr.hdcTarget = hDC;
    fr.rc = {::MulDiv(rc.left, 1440, nDpiX), ::MulDiv(rc.top, 1440, nDpiY), ::MulDiv(rc.right, 1440, nDpiX),
             ::MulDiv(rc.bottom, 1440, nDpiY)};
    fr.rcPage = fr.rc;
    fr.chrg = {0, -1};
    const long nNext = m_wndRichEdit.FormatRange(&fr, TRUE);
    m_wndRichEdit.FormatRange(nullptr, FALSE);
    // A rich edit that cannot format for another device (it formats nothing
    // of a text it has) prints its own client area there instead.
    if (nNext <= 0 && m_wndRichEdit.GetTextLength() > 0) {
      POINT ptOld;
      ::OffsetViewportOrgEx(hDC, rc.left, rc.top, &ptOld);
      m_wndRichEdit.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT);
      ::SetViewportOrgEx(hDC, ptOld.x, ptOld.y, nullptr);
    }
    *pResult = CDRF_SKIPDEFAULT;
  }
}

void CXTPToolTipWnd::OnShow(NMHDR *, LRESULT *pResult) {
  *pResult = 0;
  if (m_pContext->GetStyle() != xtpToolTipRTF || m_wndRichEdit.m_hWnd == nullptr) return;
  ShowRichText();
  *pResult = TRUE;
}

void CXTPToolTipWnd::ShowRichText() {
  m_wndRichEdit.SetBackgroundColor(FALSE, m_pContext->GetTipBkColor());
  m_wndRichEdit.SetWindowText(L"");
  CHARFORMATW cf = {};
  cf.dwMask = CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_PROTECTED;
  cf.crTextColor = m_pContext->GetTipTextColor();
  m_wndRichEdit.SetDefaultCharFormat(cf);
  m_wndRichEdit.SetFont(GetFontHandle(), FALSE);
  CString strText;
  GetWindowText(strText);
  m_pContext->StreamText(m_wndRichEdit, strText);
  SetWindowText(L"");

  CSize size = GetRichEditSize() + CSize(kRichEditMargin, kRichEditMargin);
  // Right-aligned and centred paragraphs need room past their last character.
  if (strText.Find(L"\\qr") >= 0 || strText.Find(L"\\qc") >= 0) size.cx += kRichEditMargin;

  CPoint ptCursor;
  ::GetCursorPos(&ptCursor);
  CPoint pt(ptCursor.x, ptCursor.y + kCursorHeight);
  const CRect rcWork = XTPMultiMonitor::GetWorkAreaOfWindow(m_hWnd);
  if (pt.x + size.cx > rcWork.right) pt.x = std::max(rcWork.left, rcWork.right - size.cx);
  if (pt.y + size.cy > rcWork.bottom) pt.y = std::max(rcWork.top, ptCursor.y - size.cy);
  SetWindowPos(nullptr, pt.x, pt.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CXTPToolTipWnd::LayOutRichEdit(int nWidth) {
  const CRect rc(0, 0, nWidth, 1);
  m_wndRichEdit.MoveWindow(&rc, FALSE);
  m_wndRichEdit.SetRect(&rc);
  m_wndRichEdit.RequestResize();
}

CSize CXTPToolTipWnd::GetRichEditSize() {
  m_wndRichEdit.ShowWindow(SW_SHOWNA);
  m_wndRichEdit.SetEventMask(ENM_REQUESTRESIZE);
  m_szRequested = CSize(0, 0);
  int nMaxWidth = m_pContext->GetMaxTipWidth();
  if (nMaxWidth < 0) nMaxWidth = ::GetSystemMetrics(SM_CXSCREEN);
  // The first probe is at the maximum width and sets the height to keep;
  // the search then narrows the width as far as that height allows.
  int nLow = 0, nHigh = 2 * nMaxWidth, nHeight = 0;
  while (nLow < nHigh) {
    const int nMid = (nLow + nHigh) / 2;
    LayOutRichEdit(nMid);
    if (nHeight == 0) nHeight = m_szRequested.cy;
    if (m_szRequested.cy > nHeight)
      nLow = nMid + 1;
    else
      nHigh = nMid - 1;
  }
  if (m_szRequested.cy > nHeight) LayOutRichEdit(nHigh + 1);
  const CSize size = m_szRequested + CSize(2, 2);
  m_wndRichEdit.MoveWindow(0, 0, size.cx, size.cy, FALSE);
  m_wndRichEdit.ShowWindow(SW_HIDE);
  return size;
}

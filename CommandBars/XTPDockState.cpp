#include "XTPDockState.h"

#include <algorithm>
#include <climits>

#include "WinApp.h"

namespace {

// Read in place of a missing value, to tell it from any stored one.
constexpr int kMissing = INT_MIN;

CString BarSection(LPCTSTR lpszProfileName, int nIndex) {
  CString strSection;
  strSection.Format(L"%s-Bar%d", lpszProfileName, nIndex);
  return strSection;
}

} // namespace

void CXTPBarInfo::SaveState(LPCTSTR lpszProfileName, int nIndex) const {
  CWinApp *pApp = AfxGetApp();
  const CString strSection = BarSection(lpszProfileName, nIndex);
  pApp->WriteProfileString(strSection, nullptr, nullptr);
  pApp->WriteProfileInt(strSection, L"BarID", static_cast<int>(m_nBarID));
  if (!m_bVisible) pApp->WriteProfileInt(strSection, L"Visible", m_bVisible);
  if (m_bFloating) pApp->WriteProfileInt(strSection, L"Floating", m_bFloating);
  if (m_pointPos.x != -1) pApp->WriteProfileInt(strSection, L"XPos", m_pointPos.x);
  if (m_pointPos.y != -1) pApp->WriteProfileInt(strSection, L"YPos", m_pointPos.y);
  if (m_nMRUWidth != 32767) pApp->WriteProfileInt(strSection, L"MRUWidth", m_nMRUWidth);
  pApp->WriteProfileInt(strSection, L"MRUDockID", static_cast<int>(m_uMRUDockID));
  pApp->WriteProfileInt(strSection, L"MRUDockLeftPos", m_rectMRUDockPos.left);
  pApp->WriteProfileInt(strSection, L"MRUDockTopPos", m_rectMRUDockPos.top);
  pApp->WriteProfileInt(strSection, L"MRUDockRightPos", m_rectMRUDockPos.right);
  pApp->WriteProfileInt(strSection, L"MRUDockBottomPos", m_rectMRUDockPos.bottom);
  pApp->WriteProfileInt(strSection, L"MRUFloatXPos", m_ptMRUFloatPos.x);
  pApp->WriteProfileInt(strSection, L"MRUFloatYPos", m_ptMRUFloatPos.y);
  pApp->WriteProfileInt(strSection, L"DialogBar", m_bDialogBar);
  if (m_bDialogBar) {
    pApp->WriteProfileInt(strSection, L"DialogBarDockingClientCx", m_szDockingClient.cx);
    pApp->WriteProfileInt(strSection, L"DialogBarDockingClientCy", m_szDockingClient.cy);
    pApp->WriteProfileInt(strSection, L"DialogBarFloatingClientCx", m_szFloatingClient.cx);
    pApp->WriteProfileInt(strSection, L"DialogBarFloatingClientCy", m_szFloatingClient.cy);
  }
}

BOOL CXTPBarInfo::LoadState(LPCTSTR lpszProfileName, int nIndex, const CXTPDockState *pDockState) {
  CWinApp *pApp = AfxGetApp();
  const CString strSection = BarSection(lpszProfileName, nIndex);
  auto get = [&](LPCTSTR lpszEntry, int nDefault) {
    return static_cast<int>(pApp->GetProfileInt(strSection, lpszEntry, nDefault));
  };
  const int nBarID = get(L"BarID", kMissing);
  if (nBarID == kMissing) return FALSE;
  m_nBarID = static_cast<UINT>(nBarID);
  m_bVisible = get(L"Visible", TRUE);
  m_bFloating = get(L"Floating", FALSE);
  m_pointPos = CPoint(get(L"XPos", -1), get(L"YPos", -1));
  m_nMRUWidth = get(L"MRUWidth", 32767);
  m_uMRUDockID = static_cast<UINT>(get(L"MRUDockID", 0));
  m_rectMRUDockPos = CRect(get(L"MRUDockLeftPos", 0), get(L"MRUDockTopPos", 0), get(L"MRUDockRightPos", 0),
                           get(L"MRUDockBottomPos", 0));
  m_ptMRUFloatPos = CPoint(get(L"MRUFloatXPos", 0), get(L"MRUFloatYPos", 0));
  m_bDialogBar = get(L"DialogBar", FALSE);
  if (m_bDialogBar) {
    m_szDockingClient = CSize(get(L"DialogBarDockingClientCx", m_szDockingClient.cx),
                              get(L"DialogBarDockingClientCy", m_szDockingClient.cy));
    m_szFloatingClient = CSize(get(L"DialogBarFloatingClientCx", m_szFloatingClient.cx),
                               get(L"DialogBarFloatingClientCy", m_szFloatingClient.cy));
  }
  pDockState->ScalePoint(m_pointPos);
  pDockState->ScalePoint(m_ptMRUFloatPos);
  pDockState->ScaleRectPos(m_rectMRUDockPos);
  // Only a floating bar's point and the floating point are screen points;
  // a docked bar's point is inside its dock bar.
  if (m_bFloating) CXTPDockState::BringOntoMonitor(m_pointPos);
  if (m_ptMRUFloatPos != CPoint(0, 0)) CXTPDockState::BringOntoMonitor(m_ptMRUFloatPos);
  return TRUE;
}

CXTPDockState::CXTPDockState() {
  SetScreenSizes(CSize(0, 0), CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)));
}

void CXTPDockState::SetScreenSizes(CSize szStored, CSize szCurrent) {
  m_rectScreen.SetRect(0, 0, szCurrent.cx, szCurrent.cy);
  m_rectClip = m_rectScreen;
  m_rectClip.right -= ::GetSystemMetrics(SM_CXICON);
  m_rectClip.bottom -= ::GetSystemMetrics(SM_CYICON);
  m_sizeStoredScreen = szStored;
  m_bScaleNeeded = szStored != szCurrent;
}

CXTPBarInfo *CXTPDockState::Add() {
  m_arrBarInfo.push_back(std::make_unique<CXTPBarInfo>());
  return m_arrBarInfo.back().get();
}

void CXTPDockState::ScalePoint(CPoint &point) const {
  if (m_bScaleNeeded) {
    point.x = ::MulDiv(point.x, m_rectScreen.Width(), m_sizeStoredScreen.cx);
    point.y = ::MulDiv(point.y, m_rectScreen.Height(), m_sizeStoredScreen.cy);
  }
  if (point.x > m_rectClip.right) point.x = m_rectClip.right;
  if (point.y > m_rectClip.bottom) point.y = m_rectClip.bottom;
}

void CXTPDockState::ScaleRectPos(CRect &rect) const {
  if (m_bScaleNeeded) {
    CPoint ptTopLeft(::MulDiv(rect.left, m_rectScreen.Width(), m_sizeStoredScreen.cx),
                     ::MulDiv(rect.top, m_rectScreen.Height(), m_sizeStoredScreen.cy));
    rect.OffsetRect(ptTopLeft - rect.TopLeft());
  }
  if (rect.left > m_rectClip.right) rect.OffsetRect(-(rect.left - m_rectClip.right), 0);
  if (rect.top > m_rectClip.bottom) rect.OffsetRect(0, -(rect.top - m_rectClip.bottom));
}

void CXTPDockState::BringOntoMonitor(CPoint &point) {
  if (::MonitorFromPoint(point, MONITOR_DEFAULTTONULL) != nullptr) return;
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!::GetMonitorInfoW(::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info)) return;
  const CRect rcWork(info.rcWork);
  point.x = std::max(rcWork.left, std::min(point.x, rcWork.right - 1));
  point.y = std::max(rcWork.top, std::min(point.y, rcWork.bottom - 1));
}

void CXTPDockState::SaveState(LPCTSTR lpszProfileName) const {
  CWinApp *pApp = AfxGetApp();
  int nSaved = 0;
  for (const auto &pInfo : m_arrBarInfo) pInfo->SaveState(lpszProfileName, nSaved++);
  CString strSection;
  strSection.Format(L"%s-Summary", lpszProfileName);
  pApp->WriteProfileInt(strSection, L"Bars", nSaved);
  pApp->WriteProfileInt(strSection, L"ScreenCX", m_rectScreen.Width());
  pApp->WriteProfileInt(strSection, L"ScreenCY", m_rectScreen.Height());
}

void CXTPDockState::LoadState(LPCTSTR lpszProfileName) {
  CWinApp *pApp = AfxGetApp();
  CString strSection;
  strSection.Format(L"%s-Summary", lpszProfileName);
  const int nBars = static_cast<int>(pApp->GetProfileInt(strSection, L"Bars", 0));
  const CSize szStored(static_cast<int>(pApp->GetProfileInt(strSection, L"ScreenCX", 0)),
                       static_cast<int>(pApp->GetProfileInt(strSection, L"ScreenCY", 0)));
  SetScreenSizes(szStored, m_rectScreen.Size());
  for (int i = 0; i < nBars && i < kMaxStoredBars; i++) {
    auto pInfo = std::make_unique<CXTPBarInfo>();
    // The count says more than was stored: the rest is missing, not empty.
    if (!pInfo->LoadState(lpszProfileName, i, this)) break;
    m_arrBarInfo.push_back(std::move(pInfo));
  }
}

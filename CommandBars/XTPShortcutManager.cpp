#include "XTPShortcutManager.h"

#include <vector>

#include "FrameWnd.h"
#include "WinThread.h"

namespace {

struct KeyName {
  UINT nVirtKey;
  LPCWSTR lpszName;
};

// Names for keys the system does not name (and for Ctrl+Break, whose system
// name is only "Break"). Letters and digits are their own names.
const KeyName kKeyNames[] = {
    {1, L"Left Button"},  {2, L"Right Button"}, {3, L"Ctrl+Break"},    {4, L"Middle Button"},
    {8, L"Back"},         {9, L"Tab"},          {12, L"Clear"},        {13, L"Enter"},
    {16, L"Shift"},       {17, L"Ctrl"},        {18, L"Alt"},          {19, L"Pause"},
    {20, L"Caps Lock"},   {27, L"Esc"},         {32, L"Space"},        {33, L"Page Up"},
    {34, L"Page Down"},   {35, L"End"},         {36, L"Home"},         {37, L"Left Arrow"},
    {38, L"Up Arrow"},    {39, L"Right Arrow"}, {40, L"Down Arrow"},   {41, L"Select"},
    {42, L"Print"},       {43, L"Execute"},     {44, L"Snapshot"},     {45, L"Ins"},
    {46, L"Del"},         {47, L"Help"},        {91, L"Left Windows"}, {92, L"Right Windows"},
    {93, L"Application"}, {106, L"Num *"},      {107, L"Num +"},       {108, L"Separator"},
    {109, L"Num -"},      {110, L"Num ."},      {111, L"Num /"},       {144, L"Num Lock"},
    {145, L"Scrl Lock"},  {246, L"Attn"},       {247, L"Crsel"},       {248, L"Exsel"},
    {249, L"Ereof"},      {250, L"Play"},       {251, L"Zoom"},        {252, L"No Name"},
    {253, L"Pa1"},        {254, L"Oem Clear"},
};

const int kKeyNameChars = 50;

// The frame's own choice of table (a frame may override it), which the
// framework keeps for frames and their kin.
struct FrameAccelerator : CFrameWnd {
  static HACCEL Of(CFrameWnd *pFrame) {
    HACCEL (CFrameWnd::*pfnGet)() = &FrameAccelerator::GetDefaultAccelerator;
    return (pFrame->*pfnGet)();
  }
};

} // namespace

int CXTPShortcutManagerAccel::GetModifierSortKey() const {
  if (m_pAccel->fVirt & FCONTROL) return 3;
  if (m_pAccel->fVirt & FALT) return 2;
  if (m_pAccel->fVirt & FSHIFT) return 1;
  return 4;
}

void CXTPShortcutManagerAccel::FormatAccelerator(CString &strText) const {
  strText.Empty();
  const WORD key = m_pAccel->key;
  if (key != VK_CANCEL) {
    if (m_pAccel->fVirt & FCONTROL) strText += m_pManager->GetKeyName(VK_CONTROL) + L"+";
    if (m_pAccel->fVirt & FSHIFT) strText += m_pManager->GetKeyName(VK_SHIFT) + L"+";
    if (m_pAccel->fVirt & FALT) strText += m_pManager->GetKeyName(VK_MENU) + L"+";
  }
  // A key of 0, or Esc as a character, shows the modifiers alone: drop the
  // "+" that was to join them to the key (there is none without modifiers).
  const bool bModifiersOnly = key == 0 || (!(m_pAccel->fVirt & FVIRTKEY) && key == VK_ESCAPE);
  if (bModifiersOnly) {
    if (!strText.IsEmpty()) strText = strText.Left(strText.GetLength() - 1);
  } else if (!(m_pAccel->fVirt & FVIRTKEY)) {
    strText += static_cast<wchar_t>(key);
  } else {
    strText += m_pManager->GetKeyName(key);
  }
}

CString CXTPShortcutManager::Format(const ACCEL *pAccel, int *pnSortKey) {
  CXTPShortcutManagerAccel accel(this, pAccel);
  if (pnSortKey != nullptr) *pnSortKey = accel.GetModifierSortKey();
  CString strText;
  accel.FormatAccelerator(strText);
  return strText;
}

CString CXTPShortcutManager::GetKeyNameFromTable(UINT nVirtKey) {
  CString strName;
  if ((nVirtKey >= '0' && nVirtKey <= '9') || (nVirtKey >= 'A' && nVirtKey <= 'Z')) {
    strName += static_cast<wchar_t>(nVirtKey);
  } else if (nVirtKey >= VK_NUMPAD0 && nVirtKey <= VK_NUMPAD9) {
    strName.Format(L"Num %u", nVirtKey - VK_NUMPAD0);
  } else if (nVirtKey >= VK_F1 && nVirtKey <= VK_F12) {
    strName.Format(L"F%u", nVirtKey - VK_F1 + 1);
  } else {
    for (const KeyName &entry : kKeyNames)
      if (entry.nVirtKey == nVirtKey) strName = entry.lpszName;
  }
  return strName;
}

CString CXTPShortcutManager::GetKeyName(UINT nVirtKey) {
  CString strName;
  if (nVirtKey != VK_CANCEL) {
    UINT nScanCode = ::MapVirtualKeyExW(nVirtKey, MAPVK_VK_TO_VSC, ::GetKeyboardLayout(0));
    LONG lKeyData = static_cast<LONG>(nScanCode << 16) | 1;
    // Page Up to Help sit on the extended keys; without the bit the system
    // names their number-pad twins.
    if (nVirtKey >= VK_PRIOR && nVirtKey <= VK_HELP) lKeyData |= 0x1000000;
    wchar_t szName[kKeyNameChars] = {};
    if (nScanCode != 0 && ::GetKeyNameTextW(lKeyData, szName, kKeyNameChars) > 0) {
      ::CharLowerW(szName);
      for (wchar_t *p = szName; *p != 0; ++p) {
        if (::IsCharLowerW(*p)) {
          *p = ToUpperChar(*p);
          break;
        }
      }
      strName = szName;
    }
  }
  if (strName.IsEmpty()) strName = GetKeyNameFromTable(nVirtKey);
  return strName;
}

wchar_t CXTPShortcutManager::ToUpperChar(wchar_t ch) {
  wchar_t sz[2] = {ch, 0};
  ::CharUpperBuffW(sz, 1);
  return sz[0];
}

BOOL CXTPShortcutManager::FindDefaultAccelerator(UINT nCmd, CString &strShortcut, BOOL bActiveFrame) {
  CWnd *pWnd = bActiveFrame ? (m_pFrameSite != nullptr ? m_pFrameSite->GetActiveShortcutFrame() : nullptr)
                            : AfxGetMainWnd();
  CFrameWnd *pFrame =
      pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd *>(pWnd) : nullptr;
  HACCEL hAccel = pFrame != nullptr ? FrameAccelerator::Of(pFrame) : nullptr;
  if (hAccel == nullptr) return FALSE;

  int nCount = ::CopyAcceleratorTableW(hAccel, nullptr, 0);
  if (nCount <= 0) return FALSE;
  std::vector<ACCEL> table(static_cast<size_t>(nCount));
  nCount = ::CopyAcceleratorTableW(hAccel, table.data(), nCount);

  CString strBest;
  int nBestKey = 0;
  BOOL bFound = FALSE;
  for (int i = 0; i < nCount; ++i) {
    if (table[i].cmd != nCmd) continue;
    int nSortKey = 0;
    CString strText = Format(&table[i], &nSortKey);
    if (!strShortcut.IsEmpty() && strText == strShortcut) return TRUE;
    if (!bFound || nSortKey > nBestKey) {
      strBest = strText;
      nBestKey = nSortKey;
    }
    bFound = TRUE;
  }
  strShortcut = strBest;
  return bFound;
}

CXTPShortcutManager *XTPGetShortcutManager() {
  static thread_local CXTPShortcutManager manager;
  return &manager;
}

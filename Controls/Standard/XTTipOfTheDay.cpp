#include "XTTipOfTheDay.h"

#include <sys/stat.h>

#include "DataExchange.h"
#include "ModuleState.h"
#include "WindowDc.h"
#include "XTGlobal.h"
#include "XTPColorManager.h"
#include "XTPResource.h"
#include "XTPResourceManager.h"
#include "XTRegistryManager.h"

namespace {

constexpr wchar_t kSection[] = L"Tip";
constexpr int kSidebarRight = 65;
constexpr int kRuleY = 60;

CString DecodeLine(const char *pszLine) {
  const int nBytes = static_cast<int>(strlen(pszLine));
  if (nBytes == 0) return CString();
  UINT nCodePage = CP_UTF8;
  int nChars = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, pszLine, nBytes, nullptr, 0);
  if (nChars == 0) {
    nCodePage = CP_ACP;
    nChars = ::MultiByteToWideChar(CP_ACP, 0, pszLine, nBytes, nullptr, 0);
  }
  CString strLine;
  LPWSTR pBuffer = strLine.GetBuffer(nChars);
  ::MultiByteToWideChar(nCodePage, nCodePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0, pszLine, nBytes, pBuffer,
                        nChars);
  strLine.ReleaseBuffer(nChars);
  return strLine;
}

BOOL IsTipLine(const char *pszLine) {
  const char ch = pszLine[0];
  return ch != '\0' && ch != ' ' && ch != '\t' && ch != '\n' && ch != '\r' && ch != ';';
}

} // namespace

BEGIN_MESSAGE_MAP(CXTTipOfTheDay, CDialog)
ON_WM_PAINT()
ON_COMMAND(XT_IDC_BTN_DAYTIP_NEXT, OnAdvanceTip)
END_MESSAGE_MAP()

CXTTipOfTheDay::CXTTipOfTheDay(LPCTSTR lpszTipFile, CWnd *pParentWnd) {
  m_pParentWnd = pParentWnd;
  InitModalIndirect(XTPGetResourceManager()->LoadDialogTemplate(XT_IDD_TIPOFTHEDAY), pParentWnd);
  SetTipFile(lpszTipFile);
  VERIFY(XTPGetResourceManager()->LoadString(&m_strHeading, XT_IDS_DIDYOUKNOW));

  CXTRegistryManager registry;
  m_bStartup = !registry.GetProfileInt(kSection, L"StartUp", 0);
  long nFilePos = registry.GetProfileInt(kSection, L"FilePos", 0);

  // Bytes, so the stored position is the file's own offset whatever its line ends.
  m_pStream = _wfopen(m_strTipsFile, L"rb");
  if (m_pStream == nullptr) {
    XTPGetResourceManager()->LoadString(&m_strTipText, XT_IDS_FILE_ABSENT);
    return;
  }
  struct _stat64 info = {};
  const int nTime = _wstat64(m_strTipsFile, &info) == 0 ? static_cast<int>(info.st_mtime) : 0;
  if (nTime != registry.GetProfileInt(kSection, L"TimeStampLong", 0)) {
    nFilePos = 0;
    registry.WriteProfileInt(kSection, L"TimeStampLong", nTime);
  }
  if (nFilePos < 0 || fseek(m_pStream, nFilePos, SEEK_SET) != 0) {
    XTPGetResourceManager()->ShowMessageBox(XT_IDS_FILE_CORRUPT);
    return;
  }
  ReadNextTip(m_strTipText);
}

CXTTipOfTheDay::~CXTTipOfTheDay() {
  if (m_pStream == nullptr) return;
  CXTRegistryManager registry;
  registry.WriteProfileInt(kSection, L"FilePos", static_cast<int>(ftell(m_pStream)));
  fclose(m_pStream);
}

void CXTTipOfTheDay::SetTipFile(LPCTSTR lpszTipFile) {
  if (lpszTipFile != nullptr && ::GetFileAttributesW(lpszTipFile) != INVALID_FILE_ATTRIBUTES)
    m_strTipsFile = lpszTipFile;
  else
    m_strTipsFile = L"tips.txt";
}

void CXTTipOfTheDay::ReadNextTip(CString &strNext) {
  strNext.Empty();
  if (m_pStream == nullptr) return;
  char szLine[kMaxLine + 1];
  // One rewind at most: a file without a tip line ends with an empty tip
  // rather than being read round for ever.
  BOOL bRewound = FALSE;
  for (;;) {
    const long nLineStart = ftell(m_pStream);
    if (fgets(szLine, sizeof(szLine), m_pStream) == nullptr) {
      if (bRewound || fseek(m_pStream, 0, SEEK_SET) != 0) {
        if (!bRewound) XTPGetResourceManager()->ShowMessageBox(XT_IDS_FILE_CORRUPT);
        return;
      }
      bRewound = TRUE;
      continue;
    }
    const char *pszLine = szLine;
    // The byte-order mark of a UTF-8 file is not part of its first line.
    if (nLineStart == 0 && strncmp(pszLine, "\xEF\xBB\xBF", 3) == 0) pszLine += 3;
    if (!IsTipLine(pszLine)) continue;
    strNext = DecodeLine(pszLine);
    // The line keeps its end, as a text-mode read gives it: one line feed.
    strNext.Replace(L"\r\n", L"\n");
    return;
  }
}

void CXTTipOfTheDay::SelectTipFonts(CFont *pFontTitle, CFont *pFontTip) {
  m_pFontTitle = pFontTitle;
  m_pFontTip = pFontTip;
}

void CXTTipOfTheDay::DoDataExchange(CDataExchange *pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Check(pDX, XT_IDC_CHK_DAYTIP_SHOW, m_bStartup);
}

BOOL CXTTipOfTheDay::OnInitDialog() {
  CDialog::OnInitDialog();
  m_fontBig.CreateFont(22, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0x20, L"Times");
  m_fontSmall.CreateFont(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0x20, L"Arial");
  SelectTipFonts(&m_fontBig, &m_fontSmall);
  if (CWnd *pNext = GetDlgItem(XT_IDC_BTN_DAYTIP_NEXT)) pNext->EnableWindow(m_pStream != nullptr);

  if (CWnd *pBorder = GetDlgItem(XT_IDC_BTN_DAYTIP_BORDER)) {
    pBorder->GetWindowRect(&m_rcBorder);
    ScreenToClient(&m_rcBorder);
  }
  m_rcBorder.bottom -= 1;
  m_rcSidebar = m_rcBorder;
  m_rcSidebar.DeflateRect(1, 1);
  m_rcSidebar.right = kSidebarRight;
  m_rcTipArea = m_rcBorder;
  m_rcTipArea.DeflateRect(1, 1);
  m_rcTipArea.left = kSidebarRight;
  m_rcTipText.SetRect(70, 72, m_rcTipArea.right - 5, m_rcTipArea.bottom - 5);

  const UINT buttons[] = {IDOK, XT_IDC_CHK_DAYTIP_SHOW, XT_IDC_BTN_DAYTIP_NEXT};
  for (UINT nID : buttons)
    if (CWnd *pButton = GetDlgItem(nID)) pButton->SetFont(&XTGetAuxData().font);
  return TRUE;
}

void CXTTipOfTheDay::OnOK() {
  UpdateData(TRUE);
  CXTRegistryManager registry;
  registry.WriteProfileInt(kSection, L"StartUp", !m_bStartup);
  CDialog::OnOK();
}

void CXTTipOfTheDay::OnAdvanceTip() {
  const BOOL bWindow = m_hWnd != nullptr;
  if (bWindow) UpdateData(TRUE);
  ReadNextTip(m_strTipText);
  if (!bWindow) return;
  InvalidateRect(&m_rcTipText);
  UpdateData(FALSE);
}

void CXTTipOfTheDay::OnPaint() {
  CPaintDC dc(this);
  DrawTip(&dc);
}

void CXTTipOfTheDay::DrawTip(CDC *pDC) {
  CDC &dc = *pDC;
  const COLORREF clrShadow = XTPGetColor(COLOR_3DSHADOW);
  const COLORREF clrWindow = XTPGetColor(COLOR_WINDOW);
  dc.Draw3dRect(&m_rcBorder, clrShadow, clrWindow);
  dc.FillSolidRect(&m_rcSidebar, clrShadow);
  dc.FillSolidRect(&m_rcTipArea, clrWindow);
  dc.FillSolidRect(kSidebarRight, kRuleY, m_rcTipArea.right - kSidebarRight, 1, clrShadow);

  // A language library carries the dialog's texts, not its picture: the
  // picture comes from wherever the resource lookup finds it, the program
  // itself when the library has none.
  LPCWSTR lpszBulb = MAKEINTRESOURCEW(XT_IDB_LIGHTBULB);
  HBITMAP hBulb = static_cast<HBITMAP>(
      ::LoadImageW(AfxFindResourceHandle(lpszBulb, RT_BITMAP), lpszBulb, IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
  ASSERT(hBulb != nullptr);
  if (hBulb != nullptr) {
    dc.DrawState(CPoint(25, 34), CSize(26, 26), hBulb, DST_BITMAP | DSS_NORMAL);
    ::DeleteObject(hBulb);
  }
  dc.SetBkMode(TRANSPARENT);
  CFont *pOld = m_pFontTitle ? dc.SelectObject(m_pFontTitle) : nullptr;
  dc.TextOut(71, 30, m_strHeading);
  if (m_pFontTip) dc.SelectObject(m_pFontTip);
  CRect rcText = m_rcTipText;
  dc.DrawText(m_strTipText, &rcText, DT_WORDBREAK | DT_END_ELLIPSIS);
  if (pOld) dc.SelectObject(pOld);
}

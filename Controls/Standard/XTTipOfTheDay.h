// CXTTipOfTheDay: the modal "Tip of the Day" dialog. It shows one line at a
// time from a plain text file, remembers in the settings where it stopped,
// starts over when the file has changed, and keeps whether tips show at
// start-up.
//
// The file is read as bytes: a line that is valid UTF-8 is taken as UTF-8
// (a byte-order mark at the start is skipped), any other line in the
// system's ANSI code page. Lines that start with a blank, a tab, a line end
// or ';' are comments or spacing and never shown.
#pragma once

#include <cstdio>

#include "Button.h"
#include "Dialog.h"
#include "GdiObject.h"
#include "XTPManageState.h"

class CXTTipOfTheDay : public CDialog {
public:
  // The longest line read at once.
  static constexpr int kMaxLine = 1000;

  explicit CXTTipOfTheDay(LPCTSTR lpszTipFile = nullptr, CWnd *pParentWnd = nullptr);
  ~CXTTipOfTheDay() override;

  virtual void SelectTipFonts(CFont *pFontTitle, CFont *pFontTip);
  // The next tip after the file's position, going round to the start at
  // the end; an empty text when no line of the file is a tip.
  virtual void ReadNextTip(CString &strNext);
  virtual void SetHeadingText(LPCTSTR lpszHeading) { m_strHeading = lpszHeading; }
  virtual void SetTipFile(LPCTSTR lpszTipFile);

  const CString &GetTipText() const { return m_strTipText; }
  const CString &GetTipFile() const { return m_strTipsFile; }
  BOOL IsStartup() const { return m_bStartup; }
  BOOL IsFileOpen() const { return m_pStream != nullptr; }

  afx_msg void OnAdvanceTip();

protected:
  void DoDataExchange(CDataExchange *pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  afx_msg void OnPaint();
  // The tip area, the bulb and the texts, as the dialog paints them.
  void DrawTip(CDC *pDC);
  DECLARE_MESSAGE_MAP()

  CXTPManageState m_manageState;
  int m_bStartup = TRUE;
  FILE *m_pStream = nullptr;
  CRect m_rcBorder, m_rcSidebar, m_rcTipArea, m_rcTipText;
  CFont m_fontBig, m_fontSmall;
  CFont *m_pFontTitle = nullptr;
  CFont *m_pFontTip = nullptr;
  CString m_strHeading;
  CString m_strTipText;
  CString m_strTipsFile;
};

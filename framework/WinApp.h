// CWinApp: the program's one application object. It starts the program
// (InitInstance), runs the message loop, keeps the document templates, and
// reads and writes the per-user profile under
// HKEY_CURRENT_USER\Software\<registry key>\<profile name>\<section>.
#pragma once

#include <memory>
#include <vector>

#include "CString.h"
#include "WinThread.h"

class CDocTemplate;
class CDocument;

class CCommandLineInfo : public CObject {
public:
  enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister, FileNothing = -1 };

  CCommandLineInfo() = default;
  ~CCommandLineInfo() override = default;
  // Called for each argument; flags are the ones that start with '-' or '/'.
  virtual void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast);

  int m_nShellCommand = FileNew;
  BOOL m_bShowSplash = TRUE;
  BOOL m_bRunEmbedded = FALSE;
  BOOL m_bRunAutomated = FALSE;
  CString m_strFileName;
};

class CRecentFileList;

class CWinApp : public CWinThread {
  DECLARE_DYNAMIC(CWinApp)
public:
  explicit CWinApp(LPCTSTR lpszAppName = nullptr);
  ~CWinApp() override;

  LPCTSTR m_pszAppName = nullptr;
  LPCTSTR m_pszExeName = nullptr;
  LPCTSTR m_pszProfileName = nullptr;
  LPCTSTR m_pszRegistryKey = nullptr;
  LPCTSTR m_pszHelpFilePath = nullptr;
  HINSTANCE m_hInstance = nullptr;
  HINSTANCE m_hPrevInstance = nullptr;
  LPTSTR m_lpCmdLine = nullptr;
  int m_nCmdShow = SW_SHOWNORMAL;
  // The most recently used files, owned by the application; null without.
  CRecentFileList *m_pRecentFileList = nullptr;

  virtual BOOL InitApplication() { return TRUE; }
  BOOL InitInstance() override { return TRUE; }
  int ExitInstance() override;
  BOOL OnIdle(LONG lCount) override;

  // Switches the profile from an INI file to the registry under this key.
  void SetRegistryKey(LPCTSTR lpszRegistryKey);
  void SetRegistryKey(UINT nIDRegistryKey);
  // Open keys the caller closes; null when the registry is not in use or fails.
  HKEY GetAppRegistryKey();
  HKEY GetSectionKey(LPCTSTR lpszSection);

  UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
  BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
  CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
  // A null entry removes the whole section; a null value removes the entry.
  BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
  // *ppData is allocated with new[]; the caller deletes it with delete[].
  BOOL GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE *ppData, UINT *pBytes);
  BOOL WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes);
  void LoadStdProfileSettings(UINT nMaxMRU = 4) { m_nMaxMRU = nMaxMRU; }

  LPCTSTR GetMessageBoxCaption() const override;
  HICON LoadIcon(UINT nIDResource) const;
  HICON LoadIcon(LPCTSTR lpszResourceName) const;
  HICON LoadStandardIcon(LPCTSTR lpszIconName) const { return ::LoadIcon(nullptr, lpszIconName); }
  HCURSOR LoadCursor(UINT nIDResource) const;
  HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const { return ::LoadCursor(nullptr, lpszCursorName); }

  void AddDocTemplate(CDocTemplate *pTemplate);
  int GetDocTemplateCount() const { return (int)m_templates.size(); }
  CDocTemplate *GetDocTemplate(int nIndex) const { return m_templates[(size_t)nIndex].get(); }
  virtual CDocument *OpenDocumentFile(LPCTSTR lpszFileName);

  void ParseCommandLine(CCommandLineInfo &rCmdInfo);
  BOOL ProcessShellCommand(CCommandLineInfo &rCmdInfo);

  virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);
  void Enable3dControls() {}
  void Enable3dControlsStatic() {}

  afx_msg void OnFileNew();
  afx_msg void OnFileOpen() {}
  afx_msg void OnAppExit();

private:
  CString m_strAppName, m_strExeName, m_strProfileName, m_strRegistryKey;
  std::vector<std::unique_ptr<CDocTemplate>> m_templates;
  UINT m_nMaxMRU = 0;

  friend BOOL AfxWinInit(HINSTANCE, HINSTANCE, LPTSTR, int);
  void SetNames();

  DECLARE_MESSAGE_MAP()
};

CWinApp *AfxGetApp();
LPCTSTR AfxGetAppName();
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
// The framework's program body: initialise, InitInstance, Run.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
inline void AfxEnableControlContainer() {}

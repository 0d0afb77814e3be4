// CXTPFrameWndBase<TBase>: a frame window bound to its command bars. The
// frame holds one reference to its CXTPCommandBars (made by InitCommandBars
// while the frame is created, with the four dock bars), lets them see its
// messages and keys first, lays its dock bars out with its other control bars
// and routes the notifications the bars' controls send it
// (XTP_TBN_COMMAND_NOTIFY) through its own command handling, so that
// ON_NOTIFY entries of the frame, its view or its application answer them.
#pragma once

#include "Framework.h"
#include "XTPCommandBars.h"
#include "XTPControl.h"
#include "XTPToolBar.h"

// The id of the registered window message "XTPNotificationSinkMTOnEvent";
// registered once, before the program's first window.
UINT XTPNotificationSinkMessage();

// What every frame bound to command bars answers, whatever frame class it is
// made over: code that holds only the window finds the frame's bars.
class CXTPCommandBarsFrameHook {
public:
  virtual CXTPCommandBars *GetCommandBars() const = 0;

protected:
  ~CXTPCommandBarsFrameHook() = default;
};
// The command bars of a frame; NULL for a window that has none.
CXTPCommandBars *XTPGetFrameCommandBars(CWnd *pFrame);

template <class TBase> class CXTPFrameWndBase : public TBase, public CXTPCommandBarsFrameHook {
public:
  CXTPFrameWndBase() = default;
  ~CXTPFrameWndBase() override {
    if (m_pCommandBars != nullptr) m_pCommandBars->InternalRelease();
  }

  CXTPCommandBars *GetCommandBars() const override { return m_pCommandBars; }

  // Makes the frame's command bars (of the given class, which may derive
  // from CXTPCommandBars), makes the frame their site and, once the frame
  // has its window, their dock bars. FALSE when the object cannot be made
  // or the frame already has bars.
  virtual BOOL InitCommandBars(CRuntimeClass *pCommandBarsClass = RUNTIME_CLASS(CXTPCommandBars)) {
    if (m_pCommandBars != nullptr || pCommandBarsClass == nullptr) return FALSE;
    CObject *pObject = pCommandBarsClass->CreateObject();
    m_pCommandBars = DYNAMIC_DOWNCAST(CXTPCommandBars, pObject);
    if (m_pCommandBars == nullptr) {
      delete pObject;
      return FALSE;
    }
    m_pCommandBars->SetSite(this);
    if (this->GetSafeHwnd() != nullptr) m_pCommandBars->EnableDocking();
    return TRUE;
  }

  // Keys typed into a command-bar edit reach the edit, not the frame's
  // accelerators (Enter, Tab and Escape still go through the frame); the
  // command bars come after the frame's own translation.
  BOOL PreTranslateMessage(MSG *pMsg) override {
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYFIRST + 8 && pMsg->wParam != VK_RETURN &&
        pMsg->wParam != VK_TAB && pMsg->wParam != VK_ESCAPE && XTPIsCommandBarEditFocused())
      return FALSE;
    if (TBase::PreTranslateMessage(pMsg)) return TRUE;
    return m_pCommandBars != nullptr && m_pCommandBars->PreTranslateFrameMessage(pMsg);
  }

  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) override {
    if (m_pCommandBars != nullptr) {
      // A message may end the frame, which lets go of its bars.
      CXTPReferenceHold hold(m_pCommandBars);
      if (m_pCommandBars->OnFrameWndMsg(message, wParam, lParam, pResult)) return TRUE;
    }
    return TBase::OnWndMsg(message, wParam, lParam, pResult);
  }

  // Bars take their strips in the order of the frame's children, the first
  // made first: the status bar goes first, so it keeps the frame's last strip
  // below the bottom dock bar whenever it was made.
  void RecalcLayout(BOOL bNotify = TRUE) override {
    const HWND hWnd = this->GetSafeHwnd();
    const HWND hStatus = hWnd != nullptr ? ::GetDlgItem(hWnd, AFX_IDW_STATUS_BAR) : nullptr;
    if (hStatus != nullptr && ::GetTopWindow(hWnd) != hStatus)
      ::SetWindowPos(hStatus, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    TBase::RecalcLayout(bNotify);
  }

  // The menu bar owns the frame's menu: the frame never puts a window menu
  // back while there is one.
  void OnUpdateFrameMenu(HMENU hMenuAlt) override {
    if (m_pCommandBars != nullptr && m_pCommandBars->GetMenuBar() != nullptr) return;
    TBase::OnUpdateFrameMenu(hMenuAlt);
  }

  // Print preview hides every toolbar; leaving it shows those that were shown.
  void OnSetPreviewMode(BOOL bPreview) {
    if (m_pCommandBars == nullptr) return;
    for (int i = 0; i < m_pCommandBars->GetCount(); i++)
      if (auto *pToolBar = dynamic_cast<CXTPToolBar *>(m_pCommandBars->GetAt(i)))
        pToolBar->OnSetPreviewMode(bPreview);
    m_pCommandBars->RecalcFrameLayout(FALSE);
  }

  // A control's notification as WM_NOTIFY through the frame's command
  // routing: the handler's result is the answer (nonzero: handled, so the
  // control sends no WM_COMMAND); 0 when no handler takes it.
  afx_msg LRESULT OnControlNotify(WPARAM, LPARAM lParam) {
    auto *pNMHDR = reinterpret_cast<NMHDR *>(lParam);
    if (pNMHDR == nullptr) return 0;
    LRESULT lResult = 0;
    AFX_NOTIFY notify = {&lResult, pNMHDR};
    const int nCode = static_cast<int>(MAKELONG(static_cast<WORD>(pNMHDR->code), WM_NOTIFY));
    if (!this->OnCmdMsg(static_cast<UINT>(pNMHDR->idFrom), nCode, &notify, nullptr)) return 0;
    return lResult;
  }

protected:
  CXTPCommandBars *m_pCommandBars = nullptr;

  DECLARE_MESSAGE_MAP()
};

BEGIN_TEMPLATE_MESSAGE_MAP(CXTPFrameWndBase, TBase, TBase)
ON_MESSAGE(XTP_TBN_COMMAND_NOTIFY, OnControlNotify)
END_MESSAGE_MAP()

using CXTPFrameWnd = CXTPFrameWndBase<CFrameWnd>;

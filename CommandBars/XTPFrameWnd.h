// CXTPFrameWndBase<TBase>: a frame window bound to its command bars. The
// frame holds one reference to its CXTPCommandBars (made by InitCommandBars
// while the frame is created) and routes the notifications the bars' controls
// send it (XTP_TBN_COMMAND_NOTIFY) through its own command handling, so that
// ON_NOTIFY entries of the frame, its view or its application answer them.
#pragma once

#include "Framework.h"
#include "XTPCommandBars.h"
#include "XTPControl.h"

// The id of the registered window message "XTPNotificationSinkMTOnEvent";
// registered once, before the program's first window.
UINT XTPNotificationSinkMessage();

template <class TBase> class CXTPFrameWndBase : public TBase {
public:
  CXTPFrameWndBase() = default;
  ~CXTPFrameWndBase() override {
    if (m_pCommandBars != nullptr) m_pCommandBars->InternalRelease();
  }

  CXTPCommandBars *GetCommandBars() const { return m_pCommandBars; }

  // Makes the frame's command bars (of the given class, which may derive
  // from CXTPCommandBars) and makes the frame their site. FALSE when the
  // object cannot be made or the frame already has bars.
  virtual BOOL InitCommandBars(CRuntimeClass *pCommandBarsClass = RUNTIME_CLASS(CXTPCommandBars)) {
    if (m_pCommandBars != nullptr || pCommandBarsClass == nullptr) return FALSE;
    CObject *pObject = pCommandBarsClass->CreateObject();
    m_pCommandBars = DYNAMIC_DOWNCAST(CXTPCommandBars, pObject);
    if (m_pCommandBars == nullptr) {
      delete pObject;
      return FALSE;
    }
    m_pCommandBars->SetSite(this);
    return TRUE;
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

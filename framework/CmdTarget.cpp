#include "CmdTarget.h"

#include "CmdUI.h"
#include "WinThread.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP *CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP *CCmdTarget::GetMessageMap() const {
  return GetThisMessageMap();
}

DWORD CCmdTarget::InternalRelease() {
  if (m_dwRef == 0) return 0;
  LONG lResult = --m_dwRef;
  if (lResult == 0) OnFinalRelease();
  return (DWORD)lResult;
}

const AFX_MSGMAP_ENTRY *CCmdTarget::FindMessageEntry(const AFX_MSGMAP_ENTRY *pEntry, UINT nMsg, UINT nCode,
                                                     UINT nID) {
  for (; pEntry->pfn != nullptr; ++pEntry) {
    if (pEntry->nMessage == nMsg && pEntry->nCode == nCode && nID >= pEntry->nID && nID <= pEntry->nLastID)
      return pEntry;
  }
  return nullptr;
}

BOOL AfxDispatchCmdMsg(CCmdTarget *pTarget, UINT nID, int nCode, AFX_THUNK pfn, void *pExtra) {
  AFX_DISPATCH d;
  d.message = WM_COMMAND;
  d.nID = nID;
  d.nCode = (UINT)nCode;
  d.pExtra = pExtra;
  if ((UINT)nCode == CN_UPDATE_COMMAND_UI) {
    // An update handler may pass the request on to the next target of the route.
    auto *pCmdUI = static_cast<CCmdUI *>(pExtra);
    pCmdUI->m_bContinueRouting = FALSE;
    pfn(pTarget, d);
    return !pCmdUI->m_bContinueRouting;
  }
  return pfn(pTarget, d);
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void *pExtra, AFX_CMDHANDLERINFO *pHandlerInfo) {
  // nCode packs the message (high word, 0 for WM_COMMAND) and the code (low word).
  UINT nMsg = WM_COMMAND;
  UINT nCodeOnly = (UINT)nCode;
  if ((UINT)nCode != CN_UPDATE_COMMAND_UI) {
    nMsg = HIWORD((UINT)nCode);
    nCodeOnly = LOWORD((UINT)nCode);
    if (nMsg == 0) nMsg = WM_COMMAND;
  }
  for (const AFX_MSGMAP *pMap = GetMessageMap(); pMap != nullptr;
       pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
    const AFX_MSGMAP_ENTRY *pEntry = FindMessageEntry(pMap->lpEntries, nMsg, nCodeOnly, nID);
    if (pEntry == nullptr) continue;
    if (pHandlerInfo != nullptr) {
      pHandlerInfo->pTarget = this;
      pHandlerInfo->pfn = pEntry->pfn;
      return TRUE;
    }
    return AfxDispatchCmdMsg(this, nID, (UINT)nCode == CN_UPDATE_COMMAND_UI ? nCode : (int)nCodeOnly,
                             pEntry->pfn, pExtra);
  }
  return FALSE;
}

// The hourglass is counted by the interface thread's object (the application
// object on the main thread), so windows work without an application object.
void CCmdTarget::BeginWaitCursor() {
  if (CWinThread *pThread = AfxGetThread()) pThread->DoWaitCursor(1);
}

void CCmdTarget::EndWaitCursor() {
  if (CWinThread *pThread = AfxGetThread()) pThread->DoWaitCursor(-1);
}

void CCmdTarget::RestoreWaitCursor() {
  if (CWinThread *pThread = AfxGetThread()) pThread->DoWaitCursor(0);
}

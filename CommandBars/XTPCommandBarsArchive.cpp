// The tree of bars and controls that a customisable frame keeps between
// runs: every bar and control names its own settings, the command bars pick
// the bars worth storing, and loading builds new bars that then replace the
// built-in ones or join them.
#include <exception>
#include <memory>

#include "WinApp.h"
#include "XTPCommandBarList.h"
#include "XTPCommandBars.h"
#include "XTPControlComboBox.h"
#include "XTPControlPopup.h"
#include "XTPMenuBar.h"
#include "XTPPopupBar.h"
#include "XTPPropExchange.h"
#include "XTPResource.h"
#include "XTPResourceManager.h"
#include "XTPToolBar.h"

namespace {

// Ids given to popup bars while storing, beyond any id a program gives.
constexpr UINT kFirstStoredPopupId = 0x1000000;
// Where a loaded toolbar of the user's may dock when it names no sides.
constexpr DWORD kLoadedToolBarDockFlags = 0x3F;

CXTPCommandBarsExchangeParam &RequireParam(CXTPPropExchange *pPX) {
  CXTPCommandBarsExchangeParam *pParam = CXTPCommandBarsExchangeParam::FromExchange(pPX);
  if (pParam == nullptr) AfxThrowArchiveException(CArchiveException::genericException);
  return *pParam;
}

// An object of the stored class under "Class", created when loading; a
// class of another family makes the archive unreadable.
CObject *ExchangeInstance(CXTPPropExchange *pPX, CObject *pObject, CRuntimeClass *pBaseClass) {
  if (!pPX->ExchangeObjectInstance(pObject, pBaseClass) || pObject == nullptr)
    AfxThrowArchiveException(CArchiveException::badClass);
  return pObject;
}

} // namespace

namespace {

// Temporary controls belong to the moment (expand buttons, list entries), and
// a control whose class cannot be created by name could not come back.
BOOL IsStoredControl(CXTPControl *pControl) {
  return !pControl->GetTemporary() && pControl->GetRuntimeClass()->m_wSchema != 0xFFFF;
}

} // namespace

// --- List and parameters ----------------------------------------------------

CXTPCommandBarsExchangeParam *CXTPCommandBarsExchangeParam::FromExchange(CXTPPropExchange *pPX) {
  return reinterpret_cast<CXTPCommandBarsExchangeParam *>(pPX->m_dwData);
}

BOOL CXTPCommandBarList::Lookup(const CXTPCommandBar *pBar) const {
  for (CXTPCommandBar *p : m_bars)
    if (p == pBar) return TRUE;
  return FALSE;
}

CXTPCommandBar *CXTPCommandBarList::FindCommandBar(int nBarID) const {
  for (CXTPCommandBar *p : m_bars)
    if (p->GetBarID() == nBarID) return p;
  return nullptr;
}

void CXTPCommandBarList::Add(CXTPCommandBar *pBar) {
  pBar->InternalAddRef();
  m_bars.push_back(pBar);
}

void CXTPCommandBarList::RemoveAll() {
  std::vector<CXTPCommandBar *> bars;
  bars.swap(m_bars);
  for (CXTPCommandBar *pBar : bars) pBar->InternalRelease();
}

// --- Controls ---------------------------------------------------------------

void CXTPControls::DoPropExchange(CXTPPropExchange *pPX) {
  CXTPCommandBarsExchangeParam *pParam = CXTPCommandBarsExchangeParam::FromExchange(pPX);
  std::unique_ptr<CXTPPropExchangeEnumerator> pEnumerator(pPX->GetEnumerator(L"Control"));
  if (pPX->IsStoring()) {
    DWORD nCount = 0;
    for (CXTPControl *pControl : m_arrControls)
      if (IsStoredControl(pControl)) nCount++;
    POSITION pos = pEnumerator->GetPosition(nCount);
    for (CXTPControl *pControl : m_arrControls) {
      if (!IsStoredControl(pControl)) continue;
      std::unique_ptr<CXTPPropExchange> pSection(pEnumerator->GetNext(pos));
      ExchangeInstance(pSection.get(), pControl, RUNTIME_CLASS(CXTPControl));
      pControl->DoPropExchange(pSection.get());
    }
    BOOL bOriginal = m_pOriginalControls != nullptr && (pParam == nullptr || pParam->bSaveOriginalControls);
    PX_Bool(pPX, L"OriginalControls", bOriginal, FALSE);
    if (bOriginal) {
      std::unique_ptr<CXTPPropExchange> pSection(pPX->GetSection(L"OriginalControls"));
      m_pOriginalControls->DoPropExchange(pSection.get());
    }
    BOOL bCustomized = FALSE;
    PX_Bool(pPX, L"CustomizedControls", bCustomized, FALSE);
    return;
  }

  RemoveAll();
  POSITION pos = pEnumerator->GetPosition(0);
  while (pos != nullptr) {
    std::unique_ptr<CXTPPropExchange> pSection(pEnumerator->GetNext(pos));
    auto *pControl =
        static_cast<CXTPControl *>(ExchangeInstance(pSection.get(), nullptr, RUNTIME_CLASS(CXTPControl)));
    // Listed before its own keys are read, so a damaged archive that fails
    // there leaves nothing behind.
    m_arrControls.push_back(pControl);
    pControl->m_pControls = this;
    pControl->DoPropExchange(pSection.get());
  }
  RefreshIndexes();
  if (pPX->m_nSchema <= 2) return;
  ExchangeNestedControls(pPX, pParam);
}

void CXTPControls::ExchangeNestedControls(CXTPPropExchange *pPX, CXTPCommandBarsExchangeParam *pParam) {
  for (LPCTSTR lpszName : {L"OriginalControls", L"CustomizedControls"}) {
    BOOL bPresent = FALSE;
    PX_Bool(pPX, lpszName, bPresent, FALSE);
    if (!bPresent) continue;
    // This program never stores a set inside a stored set: such nesting is
    // damage, and following it would only deepen the recursion.
    if (pParam != nullptr && pParam->nOriginalDepth > 0)
      AfxThrowArchiveException(CArchiveException::badIndex);
    auto *pNested = new CXTPControls;
    pNested->SetCommandBars(pParam && pParam->pCommandBars ? pParam->pCommandBars : GetCommandBars());
    try {
      std::unique_ptr<CXTPPropExchange> pSection(pPX->GetSection(lpszName));
      if (pParam) pParam->nOriginalDepth++;
      pNested->DoPropExchange(pSection.get());
      if (pParam) pParam->nOriginalDepth--;
    } catch (...) {
      if (pParam) pParam->nOriginalDepth = 0;
      pNested->InternalRelease();
      throw;
    }
    if (wcscmp(lpszName, L"OriginalControls") == 0)
      SetOriginalControls(pNested);
    else
      pNested->InternalRelease(); // read only to get past it
  }
}

void CXTPControlPopup::DoPropExchange(CXTPPropExchange *pPX) {
  CXTPControl::DoPropExchange(pPX);
  long lBarID = 0;
  if (pPX->IsStoring() && m_pCommandBar != nullptr) lBarID = m_pCommandBar->GetBarID();
  PX_Long(pPX, L"CommandBarId", lBarID, 0);
  if (pPX->IsLoading()) m_nPendingBarID = static_cast<int>(lBarID);
  if (pPX->m_nSchema > 4) PX_Int(pPX, L"Style", m_buttonStyle, 0);
}

// --- Bars -------------------------------------------------------------------

void CXTPCommandBar::DoPropExchange(CXTPPropExchange *pPX) {
  const XTPBarType typeOfClass = m_barType;
  int nType = m_barType, nPosition = m_barPosition;
  long lBarID = m_nBarID, lFlags = static_cast<long>(m_dwFlags), lStyle = static_cast<long>(m_dwStyle);
  PX_Int(pPX, L"Type", nType, xtpBarTypeNormal);
  PX_Int(pPX, L"Position", nPosition, xtpBarTop);
  PX_Long(pPX, L"BarID", lBarID, 0);
  PX_Long(pPX, L"Flags", lFlags, 0);
  PX_Long(pPX, L"Style", lStyle, 0);
  PX_String(pPX, L"Title", m_strTitle, L"");
  PX_Bool(pPX, L"Customizable", m_bCustomizable, TRUE);
  PX_Int(pPX, L"MRUWidth", m_nMRUWidth, 0);
  if (pPX->m_nSchema > 2) PX_Size(pPX, L"IconSize", m_szIcons, CSize(0, 0));
  if (pPX->IsLoading()) {
    // The bar's type and class go together (code casts by the type), and
    // the position names one of the places a bar can be.
    if (nType != typeOfClass || nPosition < xtpBarTop || nPosition > xtpBarNone)
      AfxThrowArchiveException(CArchiveException::badClass);
    m_barPosition = static_cast<XTPBarPosition>(nPosition);
    m_nBarID = static_cast<int>(lBarID);
    m_dwFlags = static_cast<DWORD>(lFlags);
    m_dwStyle = static_cast<DWORD>(lStyle);
    SetCommandBars(RequireParam(pPX).pCommandBars);
  }
  std::unique_ptr<CXTPPropExchange> pSection(pPX->GetSection(L"Controls"));
  m_pControls->DoPropExchange(pSection.get());
}

void CXTPToolBar::DoPropExchange(CXTPPropExchange *pPX) {
  CXTPCommandBar::DoPropExchange(pPX);
  PX_Bool(pPX, L"BuiltIn", m_bBuiltIn, TRUE);
  PX_Bool(pPX, L"TearOff", m_bTearOff, FALSE);
  if (pPX->m_nSchema > 6) PX_Bool(pPX, L"Closeable", m_bCloseable, TRUE);
  if (pPX->m_nSchema > 7) PX_Bool(pPX, L"ContextMenuPresent", m_bContextMenuPresent, TRUE);
}

void CXTPPopupBar::DoPropExchange(CXTPPropExchange *pPX) {
  CXTPCommandBar::DoPropExchange(pPX);
  long lTearOffId = m_nTearOffId;
  PX_Bool(pPX, L"TearOffPopup", m_bTearOffPopup, FALSE);
  PX_String(pPX, L"TearOffCaption", m_strTearOffCaption, L"");
  PX_Long(pPX, L"TearOffId", lTearOffId, 0);
  PX_Int(pPX, L"TearOffWidth", m_nTearOffWidth, 0);
  if (pPX->IsLoading()) m_nTearOffId = static_cast<int>(lTearOffId);
  if (pPX->m_nSchema > 3) {
    PX_Rect(pPX, L"Borders", m_rcBorders, CRect(2, 4, 2, 4));
    PX_Bool(pPX, L"ShowShadow", m_bShowShadow, TRUE);
  }
}

void CXTPMenuBar::DoPropExchange(CXTPPropExchange *pPX) {
  if (pPX->IsStoring() && !m_mapTemplates.empty()) PrepareForStore();
  CXTPToolBar::DoPropExchange(pPX);
  long lResourceId = static_cast<long>(m_nIDResource);
  PX_Long(pPX, L"ResourceId", lResourceId, 0);
  if (pPX->IsLoading()) m_nIDResource = static_cast<UINT>(lResourceId);
  if (pPX->IsStoring()) {
    pPX->WriteCount(static_cast<DWORD>(m_mapTemplates.size()));
    int k = 0;
    for (auto &entry : m_mapTemplates) {
      CString strSection;
      strSection.Format(L"%s%i", L"MDIMenu", k++);
      std::unique_ptr<CXTPPropExchange> pSection(pPX->GetSection(strSection));
      long lId = static_cast<long>(entry.first);
      PX_Long(pSection.get(), L"Id", lId, 0);
      entry.second->DoPropExchange(pSection.get());
    }
    return;
  }
  if (pPX->m_nSchema <= 4) return;
  const DWORD nCount = pPX->ReadCount();
  for (DWORD k = 0; k < nCount; k++) {
    CString strSection;
    strSection.Format(L"%s%i", L"MDIMenu", static_cast<int>(k));
    std::unique_ptr<CXTPPropExchange> pSection(pPX->GetSection(strSection));
    long lId = 0;
    PX_Long(pSection.get(), L"Id", lId, 0);
    auto *pControls = new CXTPControls;
    pControls->SetCommandBars(m_pCommandBars);
    // In the map before it is read, so a failure there releases it with the bar.
    auto it = m_mapTemplates.find(static_cast<UINT>(lId));
    if (it != m_mapTemplates.end()) {
      it->second->RemoveAll();
      it->second->InternalRelease();
      it->second = pControls;
    } else {
      m_mapTemplates[static_cast<UINT>(lId)] = pControls;
    }
    pControls->DoPropExchange(pSection.get());
  }
}

// --- Which bars are stored ----------------------------------------------------

void CXTPCommandBar::AddControlBarsToStoreList(CXTPControls *pControls, UINT &nNextID,
                                               CXTPCommandBarList *pList,
                                               const CXTPCommandBarsExchangeParam &param) {
  if (pControls == nullptr) return;
  for (int i = 0; i < pControls->GetCount(); i++) {
    CXTPControl *pControl = pControls->GetAt(i);
    // A combo box's list is part of the combo and stored with it.
    if (pControl->GetTemporary() || pControl->IsKindOf(RUNTIME_CLASS(CXTPControlComboBox))) continue;
    if (CXTPCommandBar *pBar = pControl->GetCommandBar()) pBar->BuildStoreList(nNextID, pList, param);
  }
}

void CXTPCommandBar::BuildStoreList(UINT &nNextID, CXTPCommandBarList *pList,
                                    const CXTPCommandBarsExchangeParam &param) {
  if (pList->Lookup(this)) return;
  if (IsKindOf(RUNTIME_CLASS(CXTPToolBar))) {
    // Loading finds the bar to replace by its id: without one it could
    // only come back as a second bar.
    if (m_nBarID == 0) return;
  } else if (m_nBarID == 0 || static_cast<UINT>(m_nBarID) >= kFirstStoredPopupId) {
    m_nBarID = static_cast<int>(nNextID++);
  }
  pList->Add(this);
  AddControlBarsToStoreList(m_pControls, nNextID, pList, param);
  if (param.bSaveOriginalControls)
    AddControlBarsToStoreList(m_pControls->GetOriginalControls(), nNextID, pList, param);
}

void CXTPMenuBar::BuildStoreList(UINT &nNextID, CXTPCommandBarList *pList,
                                 const CXTPCommandBarsExchangeParam &param) {
  if (pList->Lookup(this)) return;
  CXTPCommandBar::BuildStoreList(nNextID, pList, param);
  for (auto &entry : m_mapTemplates) AddControlBarsToStoreList(entry.second, nNextID, pList, param);
}

void CXTPCommandBars::BuildStoreList(UINT &nNextID, CXTPCommandBarList *pList,
                                     const CXTPCommandBarsExchangeParam &param) {
  for (CXTPCommandBar *pBar : m_arrBars) {
    auto *pToolBar = dynamic_cast<CXTPToolBar *>(pBar);
    if (param.bOnlyCustomized && pToolBar != nullptr && pToolBar->IsBuiltIn()) {
      if (!pBar->IsCustomizable()) continue;
      BOOL bTemplateMenus = FALSE;
      if (auto *pMenuBar = dynamic_cast<CXTPMenuBar *>(pBar)) {
        pMenuBar->PrepareForStore();
        bTemplateMenus = !pMenuBar->GetTemplateMenus().empty();
      }
      CXTPControls *pControls = pBar->GetControls();
      if (!bTemplateMenus && pControls->GetOriginalControls() != nullptr && !pControls->IsChanged()) continue;
    }
    pBar->BuildStoreList(nNextID, pList, param);
  }
}

// --- Linking loaded popups to their bars -------------------------------------

void CXTPCommandBar::RelinkControls(CXTPControls *pControls, CXTPCommandBarList *pList,
                                    std::set<CXTPCommandBar *> &linked, int nDepth) {
  if (pControls == nullptr) return;
  for (int i = 0; i < pControls->GetCount(); i++) {
    auto *pPopup = dynamic_cast<CXTPControlPopup *>(pControls->GetAt(i));
    if (pPopup == nullptr || pPopup->GetPendingBarID() == 0) continue;
    CXTPCommandBar *pBar = pList->FindCommandBar(pPopup->GetPendingBarID());
    pPopup->SetPendingBarID(0);
    // A popup bar opens from one popup control only. Refusing a bar that is
    // already taken (which includes every bar above this one) keeps a
    // damaged archive from making a menu contain itself.
    if (pBar == nullptr || !pBar->IsKindOf(RUNTIME_CLASS(CXTPPopupBar)) || linked.count(pBar) != 0) continue;
    linked.insert(pBar);
    pPopup->SetCommandBar(pBar);
    pBar->RelinkLoadedPopups(pList, linked, nDepth + 1);
  }
}

void CXTPCommandBar::RelinkLoadedPopups(CXTPCommandBarList *pList, std::set<CXTPCommandBar *> &linked,
                                        int nDepth) {
  // Menus are never this deep; a chain from a damaged archive stops here.
  if (nDepth >= CXTPCommandBars::kMaxMenuDepth) return;
  linked.insert(this);
  RelinkControls(m_pControls, pList, linked, nDepth);
  RelinkControls(m_pControls->GetOriginalControls(), pList, linked, nDepth);
}

void CXTPMenuBar::RelinkLoadedPopups(CXTPCommandBarList *pList, std::set<CXTPCommandBar *> &linked,
                                     int nDepth) {
  CXTPCommandBar::RelinkLoadedPopups(pList, linked, nDepth);
  for (auto &entry : m_mapTemplates) RelinkControls(entry.second, pList, linked, nDepth);
}

// --- The list through an exchange ---------------------------------------------

BOOL CXTPCommandBars::SaveCommandBarList(CXTPPropExchange *pPX, CXTPCommandBarList *pList) {
  try {
    std::unique_ptr<CXTPPropExchange> pSection(pPX->GetSection(L"CommandBars"));
    std::unique_ptr<CXTPPropExchangeEnumerator> pEnumerator(pSection->GetEnumerator(L"CommandBar"));
    POSITION pos = pEnumerator->GetPosition(static_cast<DWORD>(pList->GetCount()));
    for (int i = 0; i < pList->GetCount(); i++) {
      std::unique_ptr<CXTPPropExchange> pBarSection(pEnumerator->GetNext(pos));
      CXTPCommandBar *pBar = pList->GetAt(i);
      ExchangeInstance(pBarSection.get(), pBar, RUNTIME_CLASS(CXTPCommandBar));
      pBar->DoPropExchange(pBarSection.get());
    }
  } catch (CArchiveException *e) {
    TRACE(L"CXTPCommandBars::SaveCommandBarList. Archive exception\r\n");
    e->Delete();
    return FALSE;
  } catch (COleException *e) {
    TRACE(L"CXTPCommandBars::SaveCommandBarList. OLE exception: %x\r\n", static_cast<unsigned>(e->m_sc));
    e->Delete();
    return FALSE;
  }
  return TRUE;
}

BOOL CXTPCommandBars::LoadCommandBarList(CXTPPropExchange *pPX, CXTPCommandBarList *pList) {
  try {
    std::unique_ptr<CXTPPropExchange> pSection(pPX->GetSection(L"CommandBars"));
    std::unique_ptr<CXTPPropExchangeEnumerator> pEnumerator(pSection->GetEnumerator(L"CommandBar"));
    POSITION pos = pEnumerator->GetPosition(0);
    while (pos != nullptr) {
      std::unique_ptr<CXTPPropExchange> pBarSection(pEnumerator->GetNext(pos));
      CObject *pObject = nullptr;
      if (!pBarSection->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CXTPCommandBar)) || pObject == nullptr)
        return FALSE;
      auto *pBar = static_cast<CXTPCommandBar *>(pObject);
      pList->AddOwned(pBar);
      pBar->DoPropExchange(pBarSection.get());
      pBar->GetControls()->SetCommandBars(this);
    }
  } catch (CArchiveException *e) {
    TRACE(L"CXTPCommandBars::LoadCommandBarList. Archive exception\r\n");
    e->Delete();
    return FALSE;
  } catch (COleException *e) {
    TRACE(L"CXTPCommandBars::LoadCommandBarList. OLE exception: %x\r\n", static_cast<unsigned>(e->m_sc));
    e->Delete();
    return FALSE;
  } catch (CException *e) {
    // A damaged archive may also run out of memory or name a bad index
    // (an icon whose bitmap cannot be made): the bars stay as the program
    // made them rather than the program failing to start.
    TRACE(L"CXTPCommandBars::LoadCommandBarList. Exception\r\n");
    e->Delete();
    return FALSE;
  } catch (const std::exception &) {
    TRACE(L"CXTPCommandBars::LoadCommandBarList. Exception\r\n");
    return FALSE;
  }
  return TRUE;
}

// --- Loaded bars join the frame ------------------------------------------------

void CXTPCommandBars::AdoptLoadedBars(CXTPCommandBarList *pList, BOOL bSilent) {
  std::set<CXTPCommandBar *> linked;
  for (int i = 0; i < pList->GetCount(); i++) {
    if (auto *pLoaded = dynamic_cast<CXTPToolBar *>(pList->GetAt(i)))
      AdoptLoadedBar(pLoaded, pList, linked, bSilent);
  }
}

void CXTPCommandBars::AdoptLoadedBar(CXTPToolBar *pLoaded, CXTPCommandBarList *pList,
                                     std::set<CXTPCommandBar *> &linked, BOOL bSilent) {
  // A toolbar that some loaded popup already opens is not a frame's bar.
  if (linked.count(pLoaded) != 0) return;
  CXTPToolBar *pExisting = GetToolBar(static_cast<UINT>(pLoaded->GetBarID()));
  pLoaded->RelinkLoadedPopups(pList, linked);
  if (pExisting == nullptr) {
    // A toolbar the user made: placed as a new bar is; the dock state that
    // follows moves it to where it was.
    pLoaded->SetSite(this);
    pLoaded->EnableDocking(pLoaded->GetFlags() ? pLoaded->GetFlags() : kLoadedToolBarDockFlags);
    XTPBarPosition position = pLoaded->GetPosition();
    if (position > xtpBarFloating) position = xtpBarTop;
    if (!pLoaded->SetPosition(position)) return;
    AddBar(pLoaded);
    pLoaded->GetControls()->RefreshIndexes();
    pLoaded->SetVisible(TRUE);
    OnToolBarAdded(pLoaded);
    return;
  }
  if (pExisting == pLoaded) return;
  CXTPControls *pExistingOriginal = pExisting->GetControls()->GetOriginalControls();
  CXTPControls *pLoadedOriginal = pLoaded->GetControls()->GetOriginalControls();
  BOOL bKeepOriginal = pLoadedOriginal == nullptr;
  if (pExistingOriginal != nullptr && pLoadedOriginal != nullptr &&
      !pExistingOriginal->Compare(pLoadedOriginal)) {
    // The program's own bar changed since the state was saved.
    if (bSilent || pLoaded->GetControls()->Compare(pLoadedOriginal)) return;
    CString strFormat, strPrompt;
    XTPGetResourceManager()->LoadString(&strFormat, XTP_IDS_CONFIRM_UPDATE);
    strPrompt.Format(strFormat, static_cast<LPCTSTR>(pExisting->GetTitle()));
    if (AfxMessageBox(strPrompt, MB_YESNO | MB_ICONQUESTION, 0) != IDNO) return;
    bKeepOriginal = TRUE;
  }
  CXTPControls *pHeldOriginal = bKeepOriginal ? pExistingOriginal : nullptr;
  if (pHeldOriginal) pHeldOriginal->InternalAddRef();
  // The bar keeps its place: the dock state that follows puts it where it was.
  const XTPBarPosition position = pExisting->GetPosition();
  pExisting->Copy(pLoaded, TRUE);
  pExisting->SetPosition(position);
  // Takes over the reference held above.
  if (pHeldOriginal) pExisting->GetControls()->SetOriginalControls(pHeldOriginal);
  pExisting->OnRecalcLayout();
}

// --- The archive in the profile ------------------------------------------------

namespace {

CString ControlsSection(LPCTSTR lpszProfileName) {
  CString strSection;
  strSection.Format(L"%s-Controls", lpszProfileName);
  return strSection;
}

} // namespace

namespace {

// Archives larger than this go to a file of their own.
const UINT kLargestProfileArchive = 16000;

// Writes the bytes to a new hidden file; FALSE, and no file left behind,
// when it cannot be made or written in full.
BOOL WriteStateFile(const CString &strPath, const BYTE *pData, UINT nBytes) {
  HANDLE hFile =
      ::CreateFileW(strPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (hFile == INVALID_HANDLE_VALUE) return FALSE;
  DWORD dwWritten = 0;
  const BOOL bWritten = ::WriteFile(hFile, pData, nBytes, &dwWritten, nullptr) && dwWritten == nBytes;
  ::CloseHandle(hFile);
  if (!bWritten) {
    TRACE(L"CXTPCommandBars::SaveBarState. File exception\r\n");
    ::DeleteFileW(strPath);
    return FALSE;
  }
  ::SetFileAttributesW(strPath, FILE_ATTRIBUTE_HIDDEN);
  return TRUE;
}

} // namespace

void CXTPCommandBars::SaveControlsArchive(LPCTSTR lpszProfileName, BOOL bOnlyCustomized) {
  CWinApp *pApp = AfxGetApp();
  const CString strSection = ControlsSection(lpszProfileName);
  CXTPCommandBarsExchangeParam param;
  param.bOnlyCustomized = bOnlyCustomized;
  param.pCommandBars = this;
  CXTPCommandBarList list;
  UINT nNextID = kFirstStoredPopupId;
  BuildStoreList(nNextID, &list, param);

  CMemFile file(1024);
  BOOL bSaved = FALSE;
  {
    CArchive ar(&file, CArchive::store, 4096);
    CXTPPropExchangeArchive px(ar);
    px.m_dwData = reinterpret_cast<DWORD_PTR>(&param);
    bSaved = SaveCommandBarList(&px, &list);
    if (bSaved)
      ar.Close();
    else
      ar.Abort();
  }
  if (!bSaved) {
    pApp->WriteProfileString(strSection, nullptr, nullptr);
    return;
  }
  const UINT nBytes = static_cast<UINT>(file.GetLength());
  BYTE *pData = file.Detach();
  const CString strPath = GetStateFilePath(lpszProfileName);
  if (!strPath.IsEmpty()) ::DeleteFileW(strPath); // an older one; a missing file is no error
  BOOL bInFile = FALSE;
  if (nBytes > kLargestProfileArchive && !strPath.IsEmpty()) bInFile = WriteStateFile(strPath, pData, nBytes);
  if (bInFile) {
    pApp->WriteProfileString(strSection, L"Controls", strPath);
    pApp->WriteProfileInt(strSection, L"LoadFromFile", 1);
  } else {
    // Small, or the file could not be written (a program folder the user
    // may not write to): the profile keeps the bytes, so nothing is lost.
    pApp->WriteProfileBinary(strSection, L"Controls", pData, nBytes);
    pApp->WriteProfileInt(strSection, L"LoadFromFile", 0);
  }
  free(pData); // grown by the memory file
}

CString CXTPCommandBars::GetStateFilePath(LPCTSTR lpszProfileName) const {
  if (!m_strStateFileName.IsEmpty()) return m_strStateFileName;
  wchar_t szModule[MAX_PATH] = {};
  if (::GetModuleFileNameW(nullptr, szModule, MAX_PATH) == 0) return CString();
  CString strPath;
  strPath.Format(L"%s-%s", szModule, lpszProfileName);
  return strPath;
}

void CXTPCommandBars::LoadControlsArchive(LPCTSTR lpszProfileName, BOOL bSilent) {
  CWinApp *pApp = AfxGetApp();
  const CString strSection = ControlsSection(lpszProfileName);
  if (pApp->GetProfileInt(strSection, L"LoadFromFile", 0) == 0) {
    BYTE *pData = nullptr;
    UINT nBytes = 0;
    if (!pApp->GetProfileBinary(strSection, L"Controls", &pData, &nBytes)) return;
    std::unique_ptr<BYTE[]> pHold(pData);
    CMemFile file(pData, nBytes);
    LoadControlsFrom(&file, bSilent);
    file.Detach(); // the bytes stay with pHold
    return;
  }
  // Too large for the profile: the hidden file it names.
  const CString strPath = pApp->GetProfileString(strSection, L"Controls", L"");
  CFile file;
  if (strPath.IsEmpty() || !file.Open(strPath, CFile::modeRead | CFile::shareDenyWrite)) return;
  LoadControlsFrom(&file, bSilent);
}

BOOL CXTPCommandBars::LoadControlsFrom(CFile *pFile, BOOL bSilent) {
  CXTPCommandBarsExchangeParam param;
  param.bLoadSilent = bSilent;
  param.pCommandBars = this;
  CXTPCommandBarList list;
  BOOL bLoaded = FALSE;
  {
    CArchive ar(pFile, CArchive::load, 4096);
    CXTPPropExchangeArchive px(ar);
    px.m_dwData = reinterpret_cast<DWORD_PTR>(&param);
    bLoaded = LoadCommandBarList(&px, &list);
    ar.Abort();
  }
  if (!bLoaded) return FALSE;
  AdoptLoadedBars(&list, bSilent);
  if (auto *pMenuBar = dynamic_cast<CXTPMenuBar *>(GetToolBar(1))) m_pMenuBar = pMenuBar;
  return TRUE;
}

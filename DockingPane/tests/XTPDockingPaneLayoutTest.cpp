// A docking layout's saved form: what a fresh layout and the program's
// arrangement save, a round trip through an archive with several panes,
// tabbed and split, and a table of hostile saved layouts that each load must
// refuse, leaving the layout empty and no object alive.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "Archive.h"
#include "File.h"
#include "FrameWnd.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneAutoHidePanel.h"
#include "XTPDockingPaneLayout.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPaneSplitterContainer.h"
#include "XTPDockingPaneTabbedContainer.h"
#include "XTPPropExchange.h"

namespace {

// Named values in nested sections, kept in one map by their path
// ("Pane-3/Type"); a stand-in for the registry that a test can fill with
// anything.
class MapExchange : public CXTPPropExchange {
public:
  MapExchange(std::map<std::wstring, std::wstring> &values, BOOL bLoading, std::wstring strPath = L"")
      : m_values(values), m_strPath(std::move(strPath)) {
    m_bLoading = bLoading;
  }
  BOOL ExchangeProp(LPCTSTR pszPropName, VARTYPE vtProp, void *pvProp, const void *pvDefault) override {
    const std::wstring strKey = m_strPath + pszPropName;
    if (IsStoring()) {
      if (vtProp == VT_LPSTR)
        m_values[strKey] = static_cast<LPCTSTR>(*static_cast<CString *>(pvProp));
      else
        m_values[strKey] = std::to_wstring(*static_cast<long *>(pvProp));
      return TRUE;
    }
    auto it = m_values.find(strKey);
    if (it == m_values.end()) {
      if (pvDefault == nullptr) return FALSE;
      if (vtProp == VT_LPSTR)
        *static_cast<CString *>(pvProp) = static_cast<LPCTSTR>(pvDefault);
      else
        *static_cast<long *>(pvProp) = *static_cast<const long *>(pvDefault);
      return TRUE;
    }
    if (vtProp == VT_LPSTR)
      *static_cast<CString *>(pvProp) = it->second.c_str();
    else
      *static_cast<long *>(pvProp) = std::stol(it->second);
    return TRUE;
  }
  CXTPPropExchange *GetSection(LPCTSTR pszSection) override {
    auto *pSection = new MapExchange(m_values, m_bLoading, m_strPath + pszSection + L"/");
    InitSection(pSection);
    return pSection;
  }

private:
  std::map<std::wstring, std::wstring> &m_values;
  std::wstring m_strPath;
};

int g_nLiveObjects = 0;

template <class TBase> class Counted : public TBase {
public:
  explicit Counted(CXTPDockingPaneLayout *pLayout) : TBase(pLayout) { g_nLiveObjects++; }
  ~Counted() override { g_nLiveObjects--; }
};

class CountedClient : public CXTPDockingPaneBase {
public:
  explicit CountedClient(CXTPDockingPaneLayout *pLayout) : CXTPDockingPaneBase(xtpPaneTypeClient, pLayout) {
    g_nLiveObjects++;
  }
  ~CountedClient() override { g_nLiveObjects--; }
};

// A manager whose objects count themselves, so that a test sees every one
// that is left alive.
class CountingManager : public CXTPDockingPaneManager {
public:
  CXTPDockingPaneBase *OnCreatePane(int type, CXTPDockingPaneLayout *pLayout) override {
    switch (type) {
    case xtpPaneTypeDockingPane:
      return new Counted<CXTPDockingPane>(pLayout);
    case xtpPaneTypeTabbedContainer:
      return new Counted<CXTPDockingPaneTabbedContainer>(pLayout);
    case xtpPaneTypeSplitterContainer:
      return new Counted<CXTPDockingPaneSplitterContainer>(pLayout);
    case xtpPaneTypeClient:
      return new CountedClient(pLayout);
    case xtpPaneTypeAutoHidePanel:
      return new Counted<CXTPDockingPaneAutoHidePanel>(pLayout);
    default:
      return nullptr;
    }
  }
};

// The tree under an object: C the client area, P<id> a pane, T[...] a tabbed
// container, H[...] or V[...] a horizontal or vertical splitter.
std::string Describe(const CXTPDockingPaneBase *pObject) {
  switch (pObject->GetType()) {
  case xtpPaneTypeClient:
    return "C";
  case xtpPaneTypeDockingPane:
    return "P" + std::to_string(static_cast<const CXTPDockingPane *>(pObject)->GetID());
  case xtpPaneTypeTabbedContainer: {
    std::string str = "T[";
    for (CXTPDockingPane *pPane : static_cast<const CXTPDockingPaneTabbedContainer *>(pObject)->GetPanes())
      str +=
          Describe(pPane) +
          (pPane == static_cast<const CXTPDockingPaneTabbedContainer *>(pObject)->GetSelected() ? "*" : "") +
          ",";
    return str + "]";
  }
  case xtpPaneTypeSplitterContainer: {
    auto *pSplitter = static_cast<const CXTPDockingPaneSplitterContainer *>(pObject);
    std::string str = pSplitter->IsHoriz() ? "H[" : "V[";
    for (CXTPDockingPaneBase *pChild : pSplitter->GetPanes()) str += Describe(pChild) + ",";
    return str + "]";
  }
  default:
    return "?";
  }
}

class DockingLayout : public ::testing::Test {
protected:
  void SetUp() override {
    g_nLiveObjects = 0;
    m_pFrame = new CFrameWnd; // deletes itself with its window
    ASSERT_TRUE(m_pFrame->CreateEx(0, AfxRegisterWndClass(0), L"layout test",
                                   WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 600, 400,
                                   nullptr, nullptr));
    m_pManager = new CountingManager;
    m_pManager->InstallInFrame(m_pFrame);
  }
  void TearDown() override {
    delete m_pManager;
    if (::IsWindow(m_hFrame())) m_pFrame->DestroyWindow();
    EXPECT_EQ(0, g_nLiveObjects);
  }
  HWND m_hFrame() const { return m_pFrame->GetSafeHwnd(); }

  std::map<std::wstring, std::wstring> Save(CXTPDockingPaneLayout *pLayout) {
    std::map<std::wstring, std::wstring> values;
    MapExchange px(values, FALSE);
    pLayout->Save(&px);
    return values;
  }

  CFrameWnd *m_pFrame = nullptr;
  CountingManager *m_pManager = nullptr;
};

TEST_F(DockingLayout, AFreshLayoutSavesTheClientAndTheTopContainer) {
  auto values = Save(m_pManager->GetLayout());
  EXPECT_EQ(L"2", values[L"Summary/Panes"]);
  EXPECT_EQ(L"4", values[L"Pane-1/Type"]);
  EXPECT_EQ(L"2", values[L"Pane-2/Type"]);
  EXPECT_EQ(L"1", values[L"Pane-2/Horiz"]);
  EXPECT_EQ(L"1", values[L"Pane-2/Pane-1"]);
  EXPECT_EQ(L"2", values[L"Summary/TopContainer"]);
  EXPECT_EQ(L"1", values[L"Summary/Client"]);
}

TEST_F(DockingLayout, OnePaneAtTheBottomSavesFiveObjectsInCreationOrder) {
  m_pManager->CreatePane(101, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  EXPECT_EQ("V[H[C,],T[P101*,],]", Describe(m_pManager->GetTopPane()));
  auto values = Save(m_pManager->GetLayout());
  EXPECT_EQ(L"5", values[L"Summary/Panes"]);
  const wchar_t *kTypes[] = {L"4", L"2", L"0", L"1", L"2"};
  for (int i = 0; i < 5; i++) EXPECT_EQ(kTypes[i], values[L"Pane-" + std::to_wstring(i + 1) + L"/Type"]) << i;
  EXPECT_EQ(L"5", values[L"Summary/TopContainer"]);
  EXPECT_EQ(L"150", values[L"Pane-3/DockingCY"]);
  EXPECT_EQ(L"4", values[L"Pane-3/DockingHolder"]);
}

TEST_F(DockingLayout, SeveralPanesTabbedAndSplitComeBackThroughAnArchive) {
  CXTPDockingPane *pBottom = m_pManager->CreatePane(101, CRect(0, 0, 150, 120), xtpPaneDockBottom);
  m_pManager->CreatePane(102, CRect(0, 0, 180, 150), xtpPaneDockRight);
  CXTPDockingPane *pTabbed = m_pManager->CreatePane(103, CRect(0, 0, 150, 120), xtpPaneDockLeft, pBottom);
  m_pManager->AttachPane(m_pManager->CreatePane(104, CRect(0, 0, 100, 100), xtpPaneDockTop), pTabbed);
  m_pFrame->RecalcLayout();
  // Pane 104 came in on top and then joined 103's tabs: its container, left
  // empty, is dropped by the save.
  EXPECT_EQ("V[T[],H[V[H[C,],H[T[P103,P104*,],T[P101*,],],],T[P102*,],],]",
            Describe(m_pManager->GetTopPane()));
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    m_pManager->GetLayout()->Serialize(ar);
  }
  const std::string strSaved = Describe(m_pManager->GetTopPane());
  EXPECT_EQ("V[H[V[H[C,],H[T[P103,P104*,],T[P101*,],],],T[P102*,],],]", strSaved);
  file.SeekToBegin();
  CXTPDockingPaneLayout *pLoaded = m_pManager->CreateLayout();
  {
    CArchive ar(&file, CArchive::load);
    CXTPPropExchangeArchive px(ar);
    ASSERT_TRUE(pLoaded->Load(&px));
  }
  EXPECT_EQ(strSaved, Describe(pLoaded->GetTopContainer()));
  EXPECT_EQ(4u, pLoaded->GetPaneList().size());
  EXPECT_EQ(xtpPaneTypeClient, pLoaded->GetClientPane()->GetType());
  pLoaded->InternalRelease();
}

TEST_F(DockingLayout, SavingDropsContainersThatNothingUses) {
  CXTPDockingPane *pFirst = m_pManager->CreatePane(101, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  CXTPDockingPane *pSecond = m_pManager->CreatePane(102, CRect(0, 0, 150, 150), xtpPaneDockRight, pFirst);
  // The second pane joins the first one's tabs: its own container is left empty.
  m_pManager->AttachPane(pSecond, pFirst);
  EXPECT_EQ("V[H[C,],H[T[P101,P102*,],T[],],]", Describe(m_pManager->GetTopPane()));
  auto values = Save(m_pManager->GetLayout());
  EXPECT_EQ("V[H[C,],H[T[P101,P102*,],],]", Describe(m_pManager->GetTopPane()));
  EXPECT_EQ(L"7", values[L"Summary/Panes"]);
}

// A sound layout: the client area above one pane in a tabbed container.
std::map<std::wstring, std::wstring> SoundLayout() {
  return {
      {L"Summary/Panes", L"5"},        {L"Summary/TopContainer", L"5"}, {L"Summary/Client", L"1"},
      {L"Pane-1/Type", L"4"},          {L"Pane-2/Type", L"2"},          {L"Pane-3/Type", L"0"},
      {L"Pane-4/Type", L"1"},          {L"Pane-5/Type", L"2"},          {L"Pane-2/Horiz", L"1"},
      {L"Pane-2/Panes", L"1"},         {L"Pane-2/Pane-1", L"1"},        {L"Pane-3/ID", L"101"},
      {L"Pane-3/DockingHolder", L"4"}, {L"Pane-4/Panes", L"1"},         {L"Pane-4/Pane-1", L"3"},
      {L"Pane-4/Selected", L"3"},      {L"Pane-5/Panes", L"2"},         {L"Pane-5/Pane-1", L"2"},
      {L"Pane-5/Pane-2", L"4"},
  };
}

struct HostileCase {
  const char *pszName;
  std::map<std::wstring, std::wstring> changes; // an empty value removes the key
};

const HostileCase kHostileCases[] = {
    {"fewer than two objects", {{L"Summary/Panes", L"1"}}},
    {"more objects than a saved layout may hold", {{L"Summary/Panes", L"70000"}}},
    {"an object of an unknown type", {{L"Pane-3/Type", L"9"}}},
    {"a floating frame, which this manager does not make", {{L"Pane-3/Type", L"3"}}},
    {"a pane id of 0", {{L"Pane-3/ID", L"0"}}},
    {"a child index past the last object", {{L"Pane-5/Pane-2", L"6"}}},
    {"a child index of 0", {{L"Pane-5/Pane-2", L"0"}}},
    {"a negative child index", {{L"Pane-5/Pane-2", L"-3"}}},
    {"a splitter with no children", {{L"Pane-2/Panes", L"0"}}},
    {"a splitter that holds itself", {{L"Pane-2/Pane-1", L"2"}}},
    {"two splitters that hold each other", {{L"Pane-2/Panes", L"2"}, {L"Pane-2/Pane-2", L"5"}}},
    {"a child listed twice", {{L"Pane-5/Pane-2", L"2"}}},
    {"a splitter that lists a pane", {{L"Pane-5/Pane-2", L"3"}}},
    {"a tabbed container that lists a splitter", {{L"Pane-4/Pane-1", L"2"}}},
    {"a holder that is not a tabbed container", {{L"Pane-3/DockingHolder", L"2"}}},
    {"a holder index past the end", {{L"Pane-3/LastHolder", L"99"}}},
    {"a missing top container", {{L"Summary/TopContainer", L""}}},
    {"a top container that is a child", {{L"Summary/TopContainer", L"2"}}},
    {"a top container that is not a splitter", {{L"Summary/TopContainer", L"4"}}},
    {"a client that is not the placeholder", {{L"Summary/Client", L"3"}}},
    {"a missing client", {{L"Summary/Client", L""}}},
    {"an auto-hide panel on no side",
     {{L"Summary/Panes", L"6"},
      {L"Pane-6/Type", L"5"},
      {L"Pane-6/Direction", L"4"},
      {L"Pane-6/Panes", L"0"}}},
    {"an auto-hide panel without its side", {{L"Summary/Panes", L"6"}, {L"Pane-6/Type", L"5"}}},
    {"an auto-hide panel with a negative count",
     {{L"Summary/Panes", L"6"},
      {L"Pane-6/Type", L"5"},
      {L"Pane-6/Direction", L"0"},
      {L"Pane-6/Panes", L"-1"}}},
    {"an auto-hide panel that lists a splitter",
     {{L"Summary/Panes", L"6"},
      {L"Pane-6/Type", L"5"},
      {L"Pane-6/Direction", L"0"},
      {L"Pane-6/Panes", L"1"},
      {L"Pane-6/Pane-1", L"5"}}},
    {"an auto-hide panel that lists itself",
     {{L"Summary/Panes", L"6"},
      {L"Pane-6/Type", L"5"},
      {L"Pane-6/Direction", L"0"},
      {L"Pane-6/Panes", L"1"},
      {L"Pane-6/Pane-1", L"6"}}},
    {"two auto-hide panels on one side",
     {{L"Summary/Panes", L"7"},
      {L"Pane-6/Type", L"5"},
      {L"Pane-6/Direction", L"3"},
      {L"Pane-6/Panes", L"0"},
      {L"Pane-7/Type", L"5"},
      {L"Pane-7/Direction", L"3"},
      {L"Pane-7/Panes", L"0"}}},
};

TEST_F(DockingLayout, HostileLayoutsAreRefusedAndLeaveNothingBehind) {
  {
    auto values = SoundLayout();
    MapExchange px(values, TRUE);
    CXTPDockingPaneLayout *pLayout = m_pManager->CreateLayout();
    ASSERT_TRUE(pLayout->Load(&px));
    EXPECT_EQ("V[H[C,],T[P101*,],]", Describe(pLayout->GetTopContainer()));
    pLayout->InternalRelease();
  }
  const int nBaseline = g_nLiveObjects; // the working layout's
  for (const HostileCase &c : kHostileCases) {
    auto values = SoundLayout();
    for (const auto &change : c.changes) {
      if (change.second.empty())
        values.erase(change.first);
      else
        values[change.first] = change.second;
    }
    MapExchange px(values, TRUE);
    CXTPDockingPaneLayout *pLayout = m_pManager->CreateLayout();
    EXPECT_FALSE(pLayout->Load(&px)) << c.pszName;
    EXPECT_TRUE(pLayout->GetObjects().empty()) << c.pszName;
    EXPECT_TRUE(pLayout->GetPaneList().empty()) << c.pszName;
    EXPECT_EQ(nullptr, pLayout->GetTopContainer()) << c.pszName;
    EXPECT_EQ(nBaseline, g_nLiveObjects) << c.pszName;
    pLayout->InternalRelease();
  }
}

TEST_F(DockingLayout, AnAutoHidePanelBecomesThePanelOfItsSide) {
  // A second pane in a tabbed container of its own, hidden at the bottom.
  auto values = SoundLayout();
  for (const auto &entry : std::map<std::wstring, std::wstring>{{L"Summary/Panes", L"8"},
                                                                {L"Pane-6/Type", L"5"},
                                                                {L"Pane-6/Direction", L"3"},
                                                                {L"Pane-6/Panes", L"1"},
                                                                {L"Pane-6/Pane-1", L"8"},
                                                                {L"Pane-7/Type", L"0"},
                                                                {L"Pane-7/ID", L"102"},
                                                                {L"Pane-8/Type", L"1"},
                                                                {L"Pane-8/Panes", L"1"},
                                                                {L"Pane-8/Pane-1", L"7"},
                                                                {L"Pane-8/Selected", L"7"}})
    values[entry.first] = entry.second;
  MapExchange px(values, TRUE);
  CXTPDockingPaneLayout *pLayout = m_pManager->CreateLayout();
  ASSERT_TRUE(pLayout->Load(&px));
  CXTPDockingPaneAutoHidePanel *pPanel = pLayout->GetAutoHidePanel(xtpPaneDockBottom);
  ASSERT_TRUE(pPanel != nullptr);
  EXPECT_EQ(pLayout->GetObjects()[5], pPanel);
  ASSERT_EQ(1u, pPanel->GetContainers().size());
  EXPECT_EQ("T[P102*,]", Describe(pPanel->GetContainers().front()));
  EXPECT_TRUE(pPanel->GetContainers().front()->IsAutoHidden());
  for (int i : {0, 1, 2})
    EXPECT_EQ(nullptr, pLayout->GetAutoHidePanel(static_cast<XTPDockingPaneDirection>(i)));
  pLayout->InternalRelease();
}

} // namespace

#include "XTThemeManager.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CXTThemeManagerStyleFactory, CObject)

CXTThemeManager *XTGetThemeManager() {
  static CXTThemeManager manager;
  return &manager;
}

CXTThemeManagerStyleFactory::CXTThemeManagerStyleFactory() {
  XTGetThemeManager()->AddFactory(this);
}

CXTThemeManagerStyleFactory::~CXTThemeManagerStyleFactory() {
  delete m_pTheme;
  XTGetThemeManager()->RemoveFactory(this);
}

CXTThemeManagerStyle *CXTThemeManagerStyleFactory::CreateTheme(int) {
  return new CXTThemeManagerStyle;
}

void CXTThemeManagerStyleFactory::InstallStyle(CXTThemeManagerStyle *pStyle) {
  ASSERT(pStyle);
  if (!pStyle || pStyle == m_pTheme) return;
  delete m_pTheme;
  m_pTheme = pStyle;
  m_pTheme->m_pFactory = this;
  m_pTheme->RefreshMetrics();
}

void CXTThemeManagerStyleFactory::SetThemeStyle(CXTThemeManagerStyle *pStyle) {
  InstallStyle(pStyle);
  // A host may leave the list while it reacts: walk a copy.
  std::vector<CXTThemeManagerStyleHost *> hosts = m_hosts;
  for (CXTThemeManagerStyleHost *pHost : hosts) pHost->OnThemeChanged();
}

CXTThemeManagerStyle *CXTThemeManagerStyleFactory::GetSafeTheme() {
  if (!m_pTheme) InstallStyle(CreateTheme(XTGetThemeManager()->GetTheme()));
  return m_pTheme;
}

void CXTThemeManagerStyleFactory::RefreshMetrics() {
  if (m_pTheme) m_pTheme->RefreshMetrics();
}

void CXTThemeManagerStyleFactory::AddHost(CXTThemeManagerStyleHost *pHost) {
  m_hosts.push_back(pHost);
}

void CXTThemeManagerStyleFactory::RemoveHost(CXTThemeManagerStyleHost *pHost) {
  m_hosts.erase(std::remove(m_hosts.begin(), m_hosts.end(), pHost), m_hosts.end());
}

CXTThemeManager::~CXTThemeManager() {
  for (auto &entry : m_map) delete entry.second;
  m_map.clear();
}

void CXTThemeManager::SetTheme(int nThemeId) {
  if (nThemeId == m_nTheme) return;
  m_nTheme = nThemeId;
  for (auto &entry : m_map) entry.second->SetTheme(nThemeId);
}

CXTThemeManagerStyleFactory *CXTThemeManager::FindFactory(CRuntimeClass *pFactoryClass) {
  auto it = m_map.find(pFactoryClass);
  if (it != m_map.end()) return it->second;
  ASSERT(pFactoryClass->IsDerivedFrom(RUNTIME_CLASS(CXTThemeManagerStyleFactory)));
  auto *pFactory = static_cast<CXTThemeManagerStyleFactory *>(pFactoryClass->CreateObject());
  if (pFactory) m_map[pFactoryClass] = pFactory;
  return pFactory;
}

void CXTThemeManager::RemoveFactory(CXTThemeManagerStyleFactory *pFactory) {
  m_factories.erase(std::remove(m_factories.begin(), m_factories.end(), pFactory), m_factories.end());
}

CXTThemeManagerStyleHost::CXTThemeManagerStyleHost(CRuntimeClass *pThemeFactoryClass)
    : m_pThemeFactoryClass(pThemeFactoryClass),
      m_pSharedFactory(XTGetThemeManager()->FindFactory(pThemeFactoryClass)) {
  GetSuitableFactory()->AddHost(this);
}

CXTThemeManagerStyleHost::~CXTThemeManagerStyleHost() {
  GetSuitableFactory()->RemoveHost(this);
  DeletePrivateFactory();
}

CXTThemeManagerStyleFactory *CXTThemeManagerStyleHost::CreateThemeFactory() {
  return static_cast<CXTThemeManagerStyleFactory *>(m_pThemeFactoryClass->CreateObject());
}

void CXTThemeManagerStyleHost::DeletePrivateFactory() {
  if (m_bOwnFactory) delete m_pPrivateFactory;
  m_pPrivateFactory = nullptr;
  m_bOwnFactory = FALSE;
}

void CXTThemeManagerStyleHost::SetTheme(CXTThemeManagerStyle *pTheme) {
  if (!m_pPrivateFactory && !pTheme) return;
  GetSuitableFactory()->RemoveHost(this);
  DeletePrivateFactory();
  if (pTheme) {
    m_pPrivateFactory = CreateThemeFactory();
    m_bOwnFactory = TRUE;
    m_pPrivateFactory->SetThemeStyle(pTheme);
  }
  OnThemeChanged();
  GetSuitableFactory()->AddHost(this);
}

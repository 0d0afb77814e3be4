// The theme manager: one theme id for the process picks, for each control
// family, the style object that draws it. A family's factory makes its styles
// and tells the controls (hosts) that draw with it when the style changes; a
// single control may carry a style of its own in a private factory.
#pragma once

#include "FrameworkCore.h"

#include <map>
#include <vector>

class CXTThemeManagerStyleFactory;
class CXTThemeManagerStyleHost;

class CXTThemeManagerStyle {
public:
  virtual ~CXTThemeManagerStyle() = default;
  virtual void RefreshMetrics() {}

  CXTThemeManagerStyleFactory *m_pFactory = nullptr;
};

class CXTThemeManagerStyleFactory : public CObject {
  DECLARE_DYNAMIC(CXTThemeManagerStyleFactory)
public:
  CXTThemeManagerStyleFactory();
  ~CXTThemeManagerStyleFactory() override;

  // A new style for the theme id; each control family overrides it.
  virtual CXTThemeManagerStyle *CreateTheme(int nThemeId);

  void SetTheme(int nThemeId) { SetThemeStyle(CreateTheme(nThemeId)); }
  // Takes ownership; the style must not be null.
  void SetThemeStyle(CXTThemeManagerStyle *pStyle);
  // The style, made for the manager's current theme on first use.
  CXTThemeManagerStyle *GetSafeTheme();
  void RefreshMetrics();

  void AddHost(CXTThemeManagerStyleHost *pHost);
  void RemoveHost(CXTThemeManagerStyleHost *pHost);

private:
  void InstallStyle(CXTThemeManagerStyle *pStyle);

  CXTThemeManagerStyle *m_pTheme = nullptr;
  std::vector<CXTThemeManagerStyleHost *> m_hosts;
};

class CXTThemeManager {
public:
  CXTThemeManager() = default;
  ~CXTThemeManager();
  CXTThemeManager(const CXTThemeManager &) = delete;
  CXTThemeManager &operator=(const CXTThemeManager &) = delete;

  // Nothing when unchanged; else every shared factory switches to it.
  void SetTheme(int nThemeId);
  int GetTheme() const { return m_nTheme; }
  // The shared factory of a family, made on first use.
  CXTThemeManagerStyleFactory *FindFactory(CRuntimeClass *pFactoryClass);

  void AddFactory(CXTThemeManagerStyleFactory *pFactory) { m_factories.push_back(pFactory); }
  void RemoveFactory(CXTThemeManagerStyleFactory *pFactory);
  size_t GetFactoryCount() const { return m_factories.size(); }

private:
  std::map<CRuntimeClass *, CXTThemeManagerStyleFactory *> m_map; // owned
  int m_nTheme = 0;
  std::vector<CXTThemeManagerStyleFactory *> m_factories; // every live one
};

CXTThemeManager *XTGetThemeManager();

// A secondary base of themed controls.
class CXTThemeManagerStyleHost {
public:
  explicit CXTThemeManagerStyleHost(CRuntimeClass *pThemeFactoryClass);
  virtual ~CXTThemeManagerStyleHost();
  CXTThemeManagerStyleHost(const CXTThemeManagerStyleHost &) = delete;
  CXTThemeManagerStyleHost &operator=(const CXTThemeManagerStyleHost &) = delete;

  virtual CXTThemeManagerStyleFactory *CreateThemeFactory();
  virtual void OnThemeChanged() {}

  CXTThemeManagerStyleFactory *GetSuitableFactory() const {
    return m_pPrivateFactory ? m_pPrivateFactory : m_pSharedFactory;
  }
  CXTThemeManagerStyle *GetSuitableTheme() const { return GetSuitableFactory()->GetSafeTheme(); }
  // A style of this control's own (taking ownership); null follows the
  // process-wide theme again.
  void SetTheme(CXTThemeManagerStyle *pTheme);

private:
  void DeletePrivateFactory();

  BOOL m_bOwnFactory = FALSE;
  CRuntimeClass *m_pThemeFactoryClass;
  CXTThemeManagerStyleFactory *m_pPrivateFactory = nullptr;
  CXTThemeManagerStyleFactory *m_pSharedFactory;
};

// The bars that go into, or come out of, the saved tree of bars and
// controls, and the parameters every exchange body of that tree reads.
#pragma once

#include <vector>

#include "FrameworkCore.h"

class CXTPCommandBar;
class CXTPCommandBars;
class CXTPPropExchange;

// Handed to the exchange through its data word.
struct CXTPCommandBarsExchangeParam {
  BOOL bSerializeControls = FALSE;
  BOOL bOnlyCustomized = TRUE;
  BOOL bLoadSilent = FALSE;
  BOOL bSaveOriginalControls = TRUE;
  BOOL bReserved5 = FALSE;
  BOOL bReserved6 = FALSE;
  BOOL bReserved7 = TRUE;
  BOOL bReserved8 = FALSE;
  CXTPCommandBars *pCommandBars = nullptr;
  // How many original sets are being read inside each other: a stored
  // original set never holds one of its own.
  int nOriginalDepth = 0;

  // The parameters an exchange points to, or null.
  static CXTPCommandBarsExchangeParam *FromExchange(CXTPPropExchange *pPX);
};

// Each listed bar is held with one reference.
class CXTPCommandBarList {
public:
  CXTPCommandBarList() = default;
  ~CXTPCommandBarList() { RemoveAll(); }
  CXTPCommandBarList(const CXTPCommandBarList &) = delete;
  CXTPCommandBarList &operator=(const CXTPCommandBarList &) = delete;

  int GetCount() const { return static_cast<int>(m_bars.size()); }
  CXTPCommandBar *GetAt(int nIndex) const { return m_bars[static_cast<size_t>(nIndex)]; }
  BOOL Lookup(const CXTPCommandBar *pBar) const;
  // The first listed bar with that id, or null.
  CXTPCommandBar *FindCommandBar(int nBarID) const;
  // Takes a new reference on the bar.
  void Add(CXTPCommandBar *pBar);
  // Takes over the caller's reference.
  void AddOwned(CXTPCommandBar *pBar) { m_bars.push_back(pBar); }
  void RemoveAll();

private:
  std::vector<CXTPCommandBar *> m_bars;
};

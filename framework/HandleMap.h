// CTempHandleMap: the temporary wrappers that FromHandle hands out for handles
// owned elsewhere (GDI objects, menus, image lists, DCs). A wrapper is made the
// first time a handle is asked for and lives until the thread's idle time
// frees the map; it never owns its handle, so freeing it deletes nothing else.
#pragma once

#include <map>
#include <memory>
#include <utility>

template <class TKey, class TObject> class CTempHandleMap {
public:
  // The wrapper of key, made as a TWrapper (TObject or a class derived from
  // it) and given its handle by attach(TWrapper &) the first time.
  template <class TWrapper = TObject, class TAttach> TWrapper *Lookup(const TKey &key, TAttach attach) {
    std::unique_ptr<TObject> &slot = m_wrappers[key];
    if (!slot) {
      auto wrapper = std::make_unique<TWrapper>();
      attach(*wrapper);
      slot = std::move(wrapper);
    }
    return static_cast<TWrapper *>(slot.get());
  }
  TObject *Find(const TKey &key) const {
    auto it = m_wrappers.find(key);
    return it == m_wrappers.end() ? nullptr : it->second.get();
  }
  size_t GetCount() const { return m_wrappers.size(); }
  void DeleteAll() { m_wrappers.clear(); }

private:
  std::map<TKey, std::unique_ptr<TObject>> m_wrappers;
};

// This thread's map of one kind of wrapper.
template <class TKey, class TObject> CTempHandleMap<TKey, TObject> &AfxThreadTempMap() {
  thread_local CTempHandleMap<TKey, TObject> map;
  return map;
}

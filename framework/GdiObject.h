// Wrappers of GDI objects: pens, brushes, fonts, bitmaps, regions and palettes.
//
// A wrapper deletes its handle only when it made it (Create..., Load...).
// A handle given to Attach, a stock object and the temporary wrapper that
// FromHandle returns belong to someone else and are never deleted here.
#pragma once

#include <windows.h>
// The message crackers define CopyRgn as a macro; include them once here and
// drop that name so the member function below keeps it.
#include <windowsx.h>
#undef CopyRgn

#include <typeindex>
#include <utility>

#include "Object.h"
#include "Geometry.h"
#include "HandleMap.h"

class CDC;

class CGdiObject;
// The handle of a wrapper that may be missing: NULL for none.
HGDIOBJ AfxGetSafeHandle(const CGdiObject *object);

class CGdiObject : public CObject {
  DECLARE_DYNAMIC(CGdiObject)
public:
  CGdiObject() = default;
  ~CGdiObject() override;
  CGdiObject(const CGdiObject &) = delete;
  CGdiObject &operator=(const CGdiObject &) = delete;

  HGDIOBJ m_hObject = nullptr;

  operator HGDIOBJ() const { return m_hObject; }
  // Classic callers ask this of a pointer that may be NULL; that gives NULL.
  HGDIOBJ GetSafeHandle() const;

  // Wraps a handle owned elsewhere; the wrapper will not delete it.
  BOOL Attach(HGDIOBJ hObject);
  // Gives up the handle without deleting it, whoever owns it.
  HGDIOBJ Detach();
  // Deletes the handle when this wrapper owns it; an attached handle is only let go.
  BOOL DeleteObject();

  BOOL CreateStockObject(int index);
  BOOL UnrealizeObject();
  int GetObject(int count, LPVOID buffer) const;
  UINT GetObjectType() const;
  bool IsOwned() const { return m_bOwned; }

  // A temporary, non-owning wrapper that lives until DeleteTempMap.
  static CGdiObject *FromHandle(HGDIOBJ hObject);
  // Frees the temporary wrappers of this thread (called when the program is idle).
  static void DeleteTempMap();

protected:
  // Takes a handle this wrapper has just made; FALSE (and nothing kept) for NULL.
  BOOL AttachOwned(HGDIOBJ hObject);

  template <class T> static T *TempWrapper(HGDIOBJ hObject) {
    if (hObject == nullptr) return nullptr;
    // Keyed by class too: one handle may be asked for as a CGdiObject and as a CBitmap.
    return TempMap().Lookup<T>(TempKey(hObject, std::type_index(typeid(T))),
                               [hObject](T &wrapper) { wrapper.m_hObject = hObject; });
  }

private:
  using TempKey = std::pair<HGDIOBJ, std::type_index>;
  static CTempHandleMap<TempKey, CGdiObject> &TempMap();

  bool m_bOwned = false;
};

class CPen : public CGdiObject {
  DECLARE_DYNAMIC(CPen)
public:
  CPen() = default;
  CPen(int penStyle, int width, COLORREF color) { CreatePen(penStyle, width, color); }

  static CPen *FromHandle(HPEN hPen) { return TempWrapper<CPen>(hPen); }
  operator HPEN() const { return static_cast<HPEN>(m_hObject); }

  BOOL CreatePen(int penStyle, int width, COLORREF color);
  BOOL CreatePen(int penStyle, int width, const LOGBRUSH *logBrush, int styleCount = 0,
                 const DWORD *styles = nullptr);
  BOOL CreatePenIndirect(LPLOGPEN logPen);
  int GetLogPen(LOGPEN *logPen) const;
  int GetExtLogPen(EXTLOGPEN *logPen) const;
};

class CBitmap;

class CBrush : public CGdiObject {
  DECLARE_DYNAMIC(CBrush)
public:
  CBrush() = default;
  explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
  CBrush(int hatchIndex, COLORREF color) { CreateHatchBrush(hatchIndex, color); }
  explicit CBrush(CBitmap *bitmap) { CreatePatternBrush(bitmap); }

  static CBrush *FromHandle(HBRUSH hBrush) { return TempWrapper<CBrush>(hBrush); }
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }

  BOOL CreateSolidBrush(COLORREF color);
  BOOL CreateHatchBrush(int hatchIndex, COLORREF color);
  BOOL CreateBrushIndirect(const LOGBRUSH *logBrush);
  BOOL CreatePatternBrush(CBitmap *bitmap);
  BOOL CreateDIBPatternBrush(const void *packedDib, UINT usage);
  // The system's colour brush is shared and is never deleted, so it is held attached.
  BOOL CreateSysColorBrush(int index);
  int GetLogBrush(LOGBRUSH *logBrush) const;
};

class CFont : public CGdiObject {
  DECLARE_DYNAMIC(CFont)
public:
  static CFont *FromHandle(HFONT hFont) { return TempWrapper<CFont>(hFont); }
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }

  BOOL CreateFontIndirect(const LOGFONT *logFont);
  BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                  BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                  BYTE quality, BYTE pitchAndFamily, LPCTSTR faceName);
  // Size in tenths of a point, converted for the device (the screen when NULL).
  BOOL CreatePointFont(int pointSize, LPCTSTR faceName, CDC *dc = nullptr);
  // Height of the LOGFONT in tenths of a point.
  BOOL CreatePointFontIndirect(const LOGFONT *logFont, CDC *dc = nullptr);
  int GetLogFont(LOGFONT *logFont) const;
};

class CBitmap : public CGdiObject {
  DECLARE_DYNAMIC(CBitmap)
public:
  static CBitmap *FromHandle(HBITMAP hBitmap) { return TempWrapper<CBitmap>(hBitmap); }
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }

  // From the resource modules (the language library first, then the program).
  BOOL LoadBitmap(LPCTSTR resourceName);
  BOOL LoadBitmap(UINT resourceId) { return LoadBitmap(MAKEINTRESOURCE(resourceId)); }
  BOOL LoadOEMBitmap(UINT bitmapId);
  BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void *bits);
  BOOL CreateBitmapIndirect(LPBITMAP bitmap);
  BOOL CreateCompatibleBitmap(CDC *dc, int width, int height);
  BOOL CreateDiscardableBitmap(CDC *dc, int width, int height) {
    return CreateCompatibleBitmap(dc, width, height);
  }
  int GetBitmap(BITMAP *bitmap) const;
  DWORD SetBitmapBits(DWORD count, const void *bits);
  DWORD GetBitmapBits(DWORD count, LPVOID bits) const;
  CSize GetBitmapDimension() const;
};

class CRgn : public CGdiObject {
  DECLARE_DYNAMIC(CRgn)
public:
  static CRgn *FromHandle(HRGN hRgn) { return TempWrapper<CRgn>(hRgn); }
  operator HRGN() const { return static_cast<HRGN>(m_hObject); }

  BOOL CreateRectRgn(int x1, int y1, int x2, int y2);
  BOOL CreateRectRgnIndirect(LPCRECT rect);
  BOOL CreateEllipticRgn(int x1, int y1, int x2, int y2);
  BOOL CreateEllipticRgnIndirect(LPCRECT rect);
  BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3);
  BOOL CreatePolygonRgn(const POINT *points, int count, int fillMode);

  // This region must exist already; it receives the result.
  int CombineRgn(const CRgn *source1, const CRgn *source2, int combineMode);
  int CopyRgn(const CRgn *source);
  BOOL EqualRgn(const CRgn *other) const;
  int OffsetRgn(int x, int y);
  int OffsetRgn(POINT point) { return OffsetRgn(point.x, point.y); }
  void SetRectRgn(int x1, int y1, int x2, int y2);
  void SetRectRgn(LPCRECT rect) { SetRectRgn(rect->left, rect->top, rect->right, rect->bottom); }
  int GetRgnBox(LPRECT rect) const;
  BOOL PtInRegion(int x, int y) const;
  BOOL PtInRegion(POINT point) const { return PtInRegion(point.x, point.y); }
  BOOL RectInRegion(LPCRECT rect) const;
};

class CPalette : public CGdiObject {
  DECLARE_DYNAMIC(CPalette)
public:
  static CPalette *FromHandle(HPALETTE hPalette) { return TempWrapper<CPalette>(hPalette); }
  operator HPALETTE() const { return static_cast<HPALETTE>(m_hObject); }

  BOOL CreatePalette(LPLOGPALETTE logPalette);
  BOOL CreateHalftonePalette(CDC *dc);
  int GetEntryCount() const;
  UINT GetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY entries) const;
  UINT SetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY entries);
};

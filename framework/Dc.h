// A device context wrapper. It deletes its DC only when it made it
// (CreateCompatibleDC, CreateDC); an attached or temporary DC is left alone.
#pragma once

#include <windows.h>

#include "CString.h"
#include "GdiObject.h"
#include "Geometry.h"
#include "Object.h"

class CDC;
// The handle of a wrapper that may be missing: NULL for none.
HDC AfxGetSafeHdc(const CDC *dc);

class CDC : public CObject {
  DECLARE_DYNAMIC(CDC)
public:
  CDC() = default;
  ~CDC() override;
  CDC(const CDC &) = delete;
  CDC &operator=(const CDC &) = delete;

  HDC m_hDC = nullptr;
  HDC m_hAttribDC = nullptr;

  operator HDC() const { return m_hDC; }
  // Classic callers ask this of a pointer that may be NULL; that gives NULL.
  HDC GetSafeHdc() const;

  BOOL Attach(HDC hDC);
  HDC Detach();
  BOOL DeleteDC();
  BOOL CreateCompatibleDC(CDC *dc);
  BOOL CreateDC(LPCTSTR driver, LPCTSTR device, LPCTSTR output, const DEVMODE *initData);
  bool IsOwned() const { return m_bOwned; }

  // A temporary, non-owning wrapper that lives until DeleteTempMap.
  static CDC *FromHandle(HDC hDC);
  static void DeleteTempMap();

  // Selection: each returns the wrapper of the object it replaced.
  CPen *SelectObject(CPen *pen);
  CBrush *SelectObject(CBrush *brush);
  CFont *SelectObject(CFont *font);
  CBitmap *SelectObject(CBitmap *bitmap);
  CGdiObject *SelectObject(CGdiObject *object);
  int SelectObject(CRgn *region);
  HGDIOBJ SelectObject(HGDIOBJ hObject);
  CGdiObject *SelectStockObject(int index);
  CPalette *SelectPalette(CPalette *palette, BOOL forceBackground);
  UINT RealizePalette();
  CPen *GetCurrentPen() const;
  CBrush *GetCurrentBrush() const;
  CFont *GetCurrentFont() const;
  CBitmap *GetCurrentBitmap() const;

  int SaveDC();
  BOOL RestoreDC(int savedDC);

  // Attributes.
  COLORREF SetTextColor(COLORREF color);
  COLORREF GetTextColor() const;
  COLORREF SetBkColor(COLORREF color);
  COLORREF GetBkColor() const;
  int SetBkMode(int mode);
  int GetBkMode() const;
  int SetROP2(int drawMode);
  int GetROP2() const;
  UINT SetTextAlign(UINT flags);
  int SetStretchBltMode(int mode);
  CPoint SetBrushOrg(int x, int y);
  CPoint SetBrushOrg(POINT point) { return SetBrushOrg(point.x, point.y); }
  int GetDeviceCaps(int index) const;

  // Coordinates.
  int SetMapMode(int mapMode);
  int GetMapMode() const;
  CPoint SetViewportOrg(int x, int y);
  CPoint SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }
  CPoint OffsetViewportOrg(int dx, int dy);
  CPoint GetViewportOrg() const;
  CPoint SetWindowOrg(int x, int y);
  CPoint SetWindowOrg(POINT point) { return SetWindowOrg(point.x, point.y); }
  CPoint OffsetWindowOrg(int dx, int dy);
  CPoint GetWindowOrg() const;
  void LPtoDP(LPPOINT points, int count = 1) const;
  void LPtoDP(LPRECT rect) const;
  void LPtoDP(LPSIZE size) const;
  void DPtoLP(LPPOINT points, int count = 1) const;
  void DPtoLP(LPRECT rect) const;
  void DPtoLP(LPSIZE size) const;

  // Clipping.
  int IntersectClipRect(int x1, int y1, int x2, int y2);
  int IntersectClipRect(LPCRECT rect) {
    return IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom);
  }
  int ExcludeClipRect(int x1, int y1, int x2, int y2);
  int ExcludeClipRect(LPCRECT rect) {
    return ExcludeClipRect(rect->left, rect->top, rect->right, rect->bottom);
  }
  int SelectClipRgn(CRgn *region);
  int SelectClipRgn(CRgn *region, int mode);
  int GetClipBox(LPRECT rect) const;
  BOOL PtVisible(int x, int y) const;
  BOOL RectVisible(LPCRECT rect) const;

  // Filling and frames.
  void FillRect(LPCRECT rect, CBrush *brush);
  void FrameRect(LPCRECT rect, CBrush *brush);
  void InvertRect(LPCRECT rect);
  // Leaves the background colour set to the fill colour, as callers expect.
  void FillSolidRect(LPCRECT rect, COLORREF color);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
  void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
  void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
  BOOL DrawEdge(LPRECT rect, UINT edge, UINT flags);
  void DrawFocusRect(LPCRECT rect);
  BOOL DrawFrameControl(LPRECT rect, UINT type, UINT state);
  BOOL PatBlt(int x, int y, int width, int height, DWORD rop);

  // Lines and shapes.
  CPoint MoveTo(int x, int y);
  CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
  BOOL LineTo(int x, int y);
  BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }
  CPoint GetCurrentPosition() const;
  BOOL Rectangle(int x1, int y1, int x2, int y2);
  BOOL Rectangle(LPCRECT rect) { return Rectangle(rect->left, rect->top, rect->right, rect->bottom); }
  BOOL RoundRect(int x1, int y1, int x2, int y2, int width, int height);
  BOOL Ellipse(int x1, int y1, int x2, int y2);
  BOOL Ellipse(LPCRECT rect) { return Ellipse(rect->left, rect->top, rect->right, rect->bottom); }
  BOOL Polygon(const POINT *points, int count);
  BOOL Polyline(const POINT *points, int count);
  COLORREF SetPixel(int x, int y, COLORREF color);
  COLORREF SetPixel(POINT point, COLORREF color) { return SetPixel(point.x, point.y, color); }
  COLORREF GetPixel(int x, int y) const;
  COLORREF GetPixel(POINT point) const { return GetPixel(point.x, point.y); }

  // Text. The strings are the caller's, so DrawText never writes into them.
  int DrawText(LPCTSTR text, int count, LPRECT rect, UINT format);
  int DrawText(const CString &text, LPRECT rect, UINT format);
  BOOL TextOut(int x, int y, LPCTSTR text, int count);
  BOOL TextOut(int x, int y, const CString &text);
  BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCTSTR text, UINT count, LPINT widths);
  BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, const CString &text, LPINT widths);
  CSize GetTextExtent(LPCTSTR text, int count) const;
  CSize GetTextExtent(const CString &text) const;
  CSize GetOutputTextExtent(const CString &text) const { return GetTextExtent(text); }
  BOOL GetTextMetrics(LPTEXTMETRIC metrics) const;
  int GetTextFace(int count, LPTSTR faceName) const;

  // Images.
  BOOL BitBlt(int x, int y, int width, int height, CDC *source, int xSource, int ySource, DWORD rop);
  BOOL StretchBlt(int x, int y, int width, int height, CDC *source, int xSource, int ySource, int sourceWidth,
                  int sourceHeight, DWORD rop);
  BOOL DrawIcon(int x, int y, HICON icon);
  BOOL DrawIcon(POINT point, HICON icon) { return DrawIcon(point.x, point.y, icon); }
  BOOL DrawState(CPoint point, CSize size, HICON icon, UINT flags, HBRUSH brush = nullptr);
  BOOL DrawState(CPoint point, CSize size, HBITMAP bitmap, UINT flags, HBRUSH brush = nullptr);

private:
  bool m_bOwned = false;
};

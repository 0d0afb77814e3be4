#include "GdiObject.h"

#include "Dc.h"
#include "ModuleState.h"

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)

namespace {

HDC ScreenOr(CDC *dc) {
  return dc != nullptr ? dc->GetSafeHdc() : nullptr;
}

} // namespace

HGDIOBJ AfxGetSafeHandle(const CGdiObject *object) {
  return object != nullptr ? object->m_hObject : nullptr;
}

HGDIOBJ CGdiObject::GetSafeHandle() const {
  return AfxGetSafeHandle(this);
}

CGdiObject::~CGdiObject() {
  DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
  if (hObject == nullptr) return FALSE;
  DeleteObject();
  m_hObject = hObject;
  m_bOwned = false;
  return TRUE;
}

BOOL CGdiObject::AttachOwned(HGDIOBJ hObject) {
  if (hObject == nullptr) return FALSE;
  DeleteObject();
  m_hObject = hObject;
  m_bOwned = true;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ hObject = m_hObject;
  m_hObject = nullptr;
  m_bOwned = false;
  return hObject;
}

BOOL CGdiObject::DeleteObject() {
  if (m_hObject == nullptr) return FALSE;
  bool owned = m_bOwned;
  HGDIOBJ hObject = Detach();
  return owned ? ::DeleteObject(hObject) : TRUE;
}

BOOL CGdiObject::CreateStockObject(int index) {
  return Attach(::GetStockObject(index));
}

BOOL CGdiObject::UnrealizeObject() {
  return ::UnrealizeObject(m_hObject);
}

int CGdiObject::GetObject(int count, LPVOID buffer) const {
  return ::GetObjectW(m_hObject, count, buffer);
}

UINT CGdiObject::GetObjectType() const {
  return ::GetObjectType(m_hObject);
}

CGdiObject *CGdiObject::FromHandle(HGDIOBJ hObject) {
  return TempWrapper<CGdiObject>(hObject);
}

void CGdiObject::DeleteTempMap() {
  TempMap().DeleteAll();
}

CTempHandleMap<CGdiObject::TempKey, CGdiObject> &CGdiObject::TempMap() {
  return AfxThreadTempMap<TempKey, CGdiObject>();
}

// ---- CPen

BOOL CPen::CreatePen(int penStyle, int width, COLORREF color) {
  return AttachOwned(::CreatePen(penStyle, width, color));
}

BOOL CPen::CreatePen(int penStyle, int width, const LOGBRUSH *logBrush, int styleCount, const DWORD *styles) {
  return AttachOwned(::ExtCreatePen(penStyle, width, logBrush, styleCount, styles));
}

BOOL CPen::CreatePenIndirect(LPLOGPEN logPen) {
  return AttachOwned(::CreatePenIndirect(logPen));
}

int CPen::GetLogPen(LOGPEN *logPen) const {
  return GetObject(sizeof(LOGPEN), logPen);
}

int CPen::GetExtLogPen(EXTLOGPEN *logPen) const {
  return GetObject(sizeof(EXTLOGPEN), logPen);
}

// ---- CBrush

BOOL CBrush::CreateSolidBrush(COLORREF color) {
  return AttachOwned(::CreateSolidBrush(color));
}

BOOL CBrush::CreateHatchBrush(int hatchIndex, COLORREF color) {
  return AttachOwned(::CreateHatchBrush(hatchIndex, color));
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH *logBrush) {
  return AttachOwned(::CreateBrushIndirect(logBrush));
}

BOOL CBrush::CreatePatternBrush(CBitmap *bitmap) {
  if (bitmap == nullptr) return FALSE;
  return AttachOwned(::CreatePatternBrush(static_cast<HBITMAP>(bitmap->GetSafeHandle())));
}

BOOL CBrush::CreateDIBPatternBrush(const void *packedDib, UINT usage) {
  return AttachOwned(::CreateDIBPatternBrushPt(packedDib, usage));
}

BOOL CBrush::CreateSysColorBrush(int index) {
  return Attach(::GetSysColorBrush(index));
}

int CBrush::GetLogBrush(LOGBRUSH *logBrush) const {
  return GetObject(sizeof(LOGBRUSH), logBrush);
}

// ---- CFont

BOOL CFont::CreateFontIndirect(const LOGFONT *logFont) {
  return AttachOwned(::CreateFontIndirectW(logFont));
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, LPCTSTR faceName) {
  return AttachOwned(::CreateFontW(height, width, escapement, orientation, weight, italic, underline,
                                   strikeOut, charSet, outPrecision, clipPrecision, quality, pitchAndFamily,
                                   faceName));
}

BOOL CFont::CreatePointFont(int pointSize, LPCTSTR faceName, CDC *dc) {
  LOGFONT logFont = {};
  logFont.lfCharSet = DEFAULT_CHARSET;
  logFont.lfHeight = pointSize;
  if (faceName != nullptr) lstrcpynW(logFont.lfFaceName, faceName, LF_FACESIZE);
  return CreatePointFontIndirect(&logFont, dc);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT *logFont, CDC *dc) {
  HDC hDC = ScreenOr(dc);
  HDC screen = hDC == nullptr ? ::GetDC(nullptr) : nullptr;
  HDC target = hDC != nullptr ? hDC : screen;

  // Tenths of a point to device pixels, then to the DC's logical units.
  LOGFONT scaled = *logFont;
  POINT height = {0, ::MulDiv(::GetDeviceCaps(target, LOGPIXELSY), logFont->lfHeight, 720)};
  POINT origin = {0, 0};
  ::DPtoLP(target, &height, 1);
  ::DPtoLP(target, &origin, 1);
  scaled.lfHeight = -abs(height.y - origin.y);

  if (screen != nullptr) ::ReleaseDC(nullptr, screen);
  return CreateFontIndirect(&scaled);
}

int CFont::GetLogFont(LOGFONT *logFont) const {
  return GetObject(sizeof(LOGFONT), logFont);
}

// ---- CBitmap

BOOL CBitmap::LoadBitmap(LPCTSTR resourceName) {
  HINSTANCE module = AfxFindResourceHandle(resourceName, RT_BITMAP);
  return AttachOwned(::LoadBitmapW(module, resourceName));
}

BOOL CBitmap::LoadOEMBitmap(UINT bitmapId) {
  return AttachOwned(::LoadBitmapW(nullptr, MAKEINTRESOURCE(bitmapId)));
}

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void *bits) {
  return AttachOwned(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}

BOOL CBitmap::CreateBitmapIndirect(LPBITMAP bitmap) {
  return AttachOwned(::CreateBitmapIndirect(bitmap));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC *dc, int width, int height) {
  HDC hDC = ScreenOr(dc);
  HDC screen = hDC == nullptr ? ::GetDC(nullptr) : nullptr;
  BOOL made = AttachOwned(::CreateCompatibleBitmap(hDC != nullptr ? hDC : screen, width, height));
  if (screen != nullptr) ::ReleaseDC(nullptr, screen);
  return made;
}

int CBitmap::GetBitmap(BITMAP *bitmap) const {
  return GetObject(sizeof(BITMAP), bitmap);
}

DWORD CBitmap::SetBitmapBits(DWORD count, const void *bits) {
  return ::SetBitmapBits(static_cast<HBITMAP>(m_hObject), count, bits);
}

DWORD CBitmap::GetBitmapBits(DWORD count, LPVOID bits) const {
  return ::GetBitmapBits(static_cast<HBITMAP>(m_hObject), count, bits);
}

CSize CBitmap::GetBitmapDimension() const {
  SIZE size = {0, 0};
  ::GetBitmapDimensionEx(static_cast<HBITMAP>(m_hObject), &size);
  return CSize(size.cx, size.cy);
}

// ---- CRgn

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) {
  return AttachOwned(::CreateRectRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateRectRgnIndirect(LPCRECT rect) {
  return AttachOwned(::CreateRectRgnIndirect(rect));
}

BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2) {
  return AttachOwned(::CreateEllipticRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT rect) {
  return AttachOwned(::CreateEllipticRgnIndirect(rect));
}

BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3) {
  return AttachOwned(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
}

BOOL CRgn::CreatePolygonRgn(const POINT *points, int count, int fillMode) {
  return AttachOwned(::CreatePolygonRgn(points, count, fillMode));
}

int CRgn::CombineRgn(const CRgn *source1, const CRgn *source2, int combineMode) {
  if (m_hObject == nullptr || source1 == nullptr) return ERROR;
  HRGN second = source2 != nullptr ? static_cast<HRGN>(source2->m_hObject) : nullptr;
  return ::CombineRgn(*this, static_cast<HRGN>(source1->m_hObject), second, combineMode);
}

int CRgn::CopyRgn(const CRgn *source) {
  return CombineRgn(source, nullptr, RGN_COPY);
}

BOOL CRgn::EqualRgn(const CRgn *other) const {
  return other != nullptr && ::EqualRgn(*this, static_cast<HRGN>(other->m_hObject));
}

int CRgn::OffsetRgn(int x, int y) {
  return ::OffsetRgn(*this, x, y);
}

void CRgn::SetRectRgn(int x1, int y1, int x2, int y2) {
  ::SetRectRgn(*this, x1, y1, x2, y2);
}

int CRgn::GetRgnBox(LPRECT rect) const {
  return ::GetRgnBox(*this, rect);
}

BOOL CRgn::PtInRegion(int x, int y) const {
  return ::PtInRegion(*this, x, y);
}

BOOL CRgn::RectInRegion(LPCRECT rect) const {
  return ::RectInRegion(*this, rect);
}

// ---- CPalette

BOOL CPalette::CreatePalette(LPLOGPALETTE logPalette) {
  return AttachOwned(::CreatePalette(logPalette));
}

BOOL CPalette::CreateHalftonePalette(CDC *dc) {
  return AttachOwned(::CreateHalftonePalette(ScreenOr(dc)));
}

int CPalette::GetEntryCount() const {
  WORD count = 0;
  return GetObject(sizeof(count), &count) != 0 ? count : 0;
}

UINT CPalette::GetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY entries) const {
  return ::GetPaletteEntries(*this, start, count, entries);
}

UINT CPalette::SetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY entries) {
  return ::SetPaletteEntries(*this, start, count, entries);
}

#include "Dc.h"

#include "HandleMap.h"

IMPLEMENT_DYNAMIC(CDC, CObject)

namespace {

CTempHandleMap<HDC, CDC> &TempMap() {
  return AfxThreadTempMap<HDC, CDC>();
}

HDC HandleOf(const CDC *dc) {
  return dc != nullptr ? dc->m_hDC : nullptr;
}

// DrawText may append an ellipsis to the string with DT_MODIFYSTRING; the
// strings handed to us are read-only, so that flag is never passed on.
UINT ReadOnlyFormat(UINT format) {
  return format & ~static_cast<UINT>(DT_MODIFYSTRING);
}

} // namespace

HDC AfxGetSafeHdc(const CDC *dc) {
  return dc != nullptr ? dc->m_hDC : nullptr;
}

HDC CDC::GetSafeHdc() const {
  return AfxGetSafeHdc(this);
}

CDC::~CDC() {
  DeleteDC();
}

BOOL CDC::Attach(HDC hDC) {
  if (hDC == nullptr) return FALSE;
  DeleteDC();
  m_hDC = m_hAttribDC = hDC;
  m_bOwned = false;
  return TRUE;
}

HDC CDC::Detach() {
  HDC hDC = m_hDC;
  m_hDC = m_hAttribDC = nullptr;
  m_bOwned = false;
  return hDC;
}

BOOL CDC::DeleteDC() {
  if (m_hDC == nullptr) return FALSE;
  bool owned = m_bOwned;
  HDC hDC = Detach();
  return owned ? ::DeleteDC(hDC) : TRUE;
}

BOOL CDC::CreateCompatibleDC(CDC *dc) {
  HDC made = ::CreateCompatibleDC(HandleOf(dc));
  if (made == nullptr) return FALSE;
  DeleteDC();
  m_hDC = m_hAttribDC = made;
  m_bOwned = true;
  return TRUE;
}

BOOL CDC::CreateDC(LPCTSTR driver, LPCTSTR device, LPCTSTR output, const DEVMODE *initData) {
  HDC made = ::CreateDCW(driver, device, output, initData);
  if (made == nullptr) return FALSE;
  DeleteDC();
  m_hDC = m_hAttribDC = made;
  m_bOwned = true;
  return TRUE;
}

CDC *CDC::FromHandle(HDC hDC) {
  if (hDC == nullptr) return nullptr;
  return TempMap().Lookup(hDC, [hDC](CDC &dc) { dc.m_hDC = dc.m_hAttribDC = hDC; });
}

void CDC::DeleteTempMap() {
  TempMap().DeleteAll();
}

// ---- Selection

CPen *CDC::SelectObject(CPen *pen) {
  if (pen == nullptr) return nullptr;
  return CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, pen->m_hObject)));
}

CBrush *CDC::SelectObject(CBrush *brush) {
  if (brush == nullptr) return nullptr;
  return CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, brush->m_hObject)));
}

CFont *CDC::SelectObject(CFont *font) {
  if (font == nullptr) return nullptr;
  return CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, font->m_hObject)));
}

CBitmap *CDC::SelectObject(CBitmap *bitmap) {
  if (bitmap == nullptr) return nullptr;
  return CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, bitmap->m_hObject)));
}

CGdiObject *CDC::SelectObject(CGdiObject *object) {
  if (object == nullptr) return nullptr;
  return CGdiObject::FromHandle(::SelectObject(m_hDC, object->m_hObject));
}

int CDC::SelectObject(CRgn *region) {
  if (region == nullptr) return ERROR;
  return static_cast<int>(reinterpret_cast<INT_PTR>(::SelectObject(m_hDC, region->m_hObject)));
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) {
  return hObject == nullptr ? nullptr : ::SelectObject(m_hDC, hObject);
}

CGdiObject *CDC::SelectStockObject(int index) {
  HGDIOBJ stock = ::GetStockObject(index);
  return stock == nullptr ? nullptr : CGdiObject::FromHandle(::SelectObject(m_hDC, stock));
}

CPalette *CDC::SelectPalette(CPalette *palette, BOOL forceBackground) {
  if (palette == nullptr) return nullptr;
  return CPalette::FromHandle(::SelectPalette(m_hDC, *palette, forceBackground));
}

UINT CDC::RealizePalette() {
  return ::RealizePalette(m_hDC);
}

CPen *CDC::GetCurrentPen() const {
  return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN)));
}

CBrush *CDC::GetCurrentBrush() const {
  return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}

CFont *CDC::GetCurrentFont() const {
  return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}

CBitmap *CDC::GetCurrentBitmap() const {
  return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

int CDC::SaveDC() {
  return ::SaveDC(m_hDC);
}

BOOL CDC::RestoreDC(int savedDC) {
  return ::RestoreDC(m_hDC, savedDC);
}

// ---- Attributes

COLORREF CDC::SetTextColor(COLORREF color) {
  return ::SetTextColor(m_hDC, color);
}
COLORREF CDC::GetTextColor() const {
  return ::GetTextColor(m_hDC);
}
COLORREF CDC::SetBkColor(COLORREF color) {
  return ::SetBkColor(m_hDC, color);
}
COLORREF CDC::GetBkColor() const {
  return ::GetBkColor(m_hDC);
}
int CDC::SetBkMode(int mode) {
  return ::SetBkMode(m_hDC, mode);
}
int CDC::GetBkMode() const {
  return ::GetBkMode(m_hDC);
}
int CDC::SetROP2(int drawMode) {
  return ::SetROP2(m_hDC, drawMode);
}
int CDC::GetROP2() const {
  return ::GetROP2(m_hDC);
}
UINT CDC::SetTextAlign(UINT flags) {
  return ::SetTextAlign(m_hDC, flags);
}
int CDC::SetStretchBltMode(int mode) {
  return ::SetStretchBltMode(m_hDC, mode);
}
int CDC::GetDeviceCaps(int index) const {
  return ::GetDeviceCaps(m_hDC, index);
}

CPoint CDC::SetBrushOrg(int x, int y) {
  POINT old = {0, 0};
  ::SetBrushOrgEx(m_hDC, x, y, &old);
  return CPoint(old.x, old.y);
}

// ---- Coordinates

int CDC::SetMapMode(int mapMode) {
  return ::SetMapMode(m_hDC, mapMode);
}
int CDC::GetMapMode() const {
  return ::GetMapMode(m_hDC);
}

CPoint CDC::SetViewportOrg(int x, int y) {
  POINT old = {0, 0};
  ::SetViewportOrgEx(m_hDC, x, y, &old);
  return CPoint(old.x, old.y);
}

CPoint CDC::OffsetViewportOrg(int dx, int dy) {
  POINT old = {0, 0};
  ::OffsetViewportOrgEx(m_hDC, dx, dy, &old);
  return CPoint(old.x, old.y);
}

CPoint CDC::GetViewportOrg() const {
  POINT origin = {0, 0};
  ::GetViewportOrgEx(m_hDC, &origin);
  return CPoint(origin.x, origin.y);
}

CPoint CDC::SetWindowOrg(int x, int y) {
  POINT old = {0, 0};
  ::SetWindowOrgEx(m_hDC, x, y, &old);
  return CPoint(old.x, old.y);
}

CPoint CDC::OffsetWindowOrg(int dx, int dy) {
  POINT old = {0, 0};
  ::OffsetWindowOrgEx(m_hDC, dx, dy, &old);
  return CPoint(old.x, old.y);
}

CPoint CDC::GetWindowOrg() const {
  POINT origin = {0, 0};
  ::GetWindowOrgEx(m_hDC, &origin);
  return CPoint(origin.x, origin.y);
}

void CDC::LPtoDP(LPPOINT points, int count) const {
  ::LPtoDP(m_hDC, points, count);
}
void CDC::LPtoDP(LPRECT rect) const {
  ::LPtoDP(m_hDC, reinterpret_cast<LPPOINT>(rect), 2);
}
void CDC::DPtoLP(LPPOINT points, int count) const {
  ::DPtoLP(m_hDC, points, count);
}
void CDC::DPtoLP(LPRECT rect) const {
  ::DPtoLP(m_hDC, reinterpret_cast<LPPOINT>(rect), 2);
}

// A size is a distance, so it is converted as the difference of two points.
void CDC::LPtoDP(LPSIZE size) const {
  POINT points[2] = {{0, 0}, {size->cx, size->cy}};
  ::LPtoDP(m_hDC, points, 2);
  size->cx = points[1].x - points[0].x;
  size->cy = points[1].y - points[0].y;
}

void CDC::DPtoLP(LPSIZE size) const {
  POINT points[2] = {{0, 0}, {size->cx, size->cy}};
  ::DPtoLP(m_hDC, points, 2);
  size->cx = points[1].x - points[0].x;
  size->cy = points[1].y - points[0].y;
}

// ---- Clipping

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2) {
  return ::IntersectClipRect(m_hDC, x1, y1, x2, y2);
}
int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2) {
  return ::ExcludeClipRect(m_hDC, x1, y1, x2, y2);
}

int CDC::SelectClipRgn(CRgn *region) {
  return ::SelectClipRgn(m_hDC, region != nullptr ? static_cast<HRGN>(region->m_hObject) : nullptr);
}

int CDC::SelectClipRgn(CRgn *region, int mode) {
  return ::ExtSelectClipRgn(m_hDC, region != nullptr ? static_cast<HRGN>(region->m_hObject) : nullptr, mode);
}

int CDC::GetClipBox(LPRECT rect) const {
  return ::GetClipBox(m_hDC, rect);
}
BOOL CDC::PtVisible(int x, int y) const {
  return ::PtVisible(m_hDC, x, y);
}
BOOL CDC::RectVisible(LPCRECT rect) const {
  return ::RectVisible(m_hDC, rect);
}

// ---- Filling and frames

void CDC::FillRect(LPCRECT rect, CBrush *brush) {
  if (brush != nullptr) ::FillRect(m_hDC, rect, *brush);
}

void CDC::FrameRect(LPCRECT rect, CBrush *brush) {
  if (brush != nullptr) ::FrameRect(m_hDC, rect, *brush);
}

void CDC::InvertRect(LPCRECT rect) {
  ::InvertRect(m_hDC, rect);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
  ::SetBkColor(m_hDC, color);
  ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
  RECT rect = {x, y, x + cx, y + cy};
  FillSolidRect(&rect, color);
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight) {
  Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
  FillSolidRect(x, y, cx - 1, 1, topLeft);
  FillSolidRect(x, y, 1, cy - 1, topLeft);
  FillSolidRect(x + cx - 1, y, 1, cy, bottomRight);
  FillSolidRect(x, y + cy - 1, cx, 1, bottomRight);
}

BOOL CDC::DrawEdge(LPRECT rect, UINT edge, UINT flags) {
  return ::DrawEdge(m_hDC, rect, edge, flags);
}
void CDC::DrawFocusRect(LPCRECT rect) {
  ::DrawFocusRect(m_hDC, rect);
}
BOOL CDC::DrawFrameControl(LPRECT rect, UINT type, UINT state) {
  return ::DrawFrameControl(m_hDC, rect, type, state);
}
BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop) {
  return ::PatBlt(m_hDC, x, y, width, height, rop);
}

// ---- Lines and shapes

CPoint CDC::MoveTo(int x, int y) {
  POINT old = {0, 0};
  ::MoveToEx(m_hDC, x, y, &old);
  return CPoint(old.x, old.y);
}

BOOL CDC::LineTo(int x, int y) {
  return ::LineTo(m_hDC, x, y);
}

CPoint CDC::GetCurrentPosition() const {
  POINT position = {0, 0};
  ::GetCurrentPositionEx(m_hDC, &position);
  return CPoint(position.x, position.y);
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) {
  return ::Rectangle(m_hDC, x1, y1, x2, y2);
}
BOOL CDC::RoundRect(int x1, int y1, int x2, int y2, int width, int height) {
  return ::RoundRect(m_hDC, x1, y1, x2, y2, width, height);
}
BOOL CDC::Ellipse(int x1, int y1, int x2, int y2) {
  return ::Ellipse(m_hDC, x1, y1, x2, y2);
}
BOOL CDC::Polygon(const POINT *points, int count) {
  return ::Polygon(m_hDC, points, count);
}
BOOL CDC::Polyline(const POINT *points, int count) {
  return ::Polyline(m_hDC, points, count);
}
COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
  return ::SetPixel(m_hDC, x, y, color);
}
COLORREF CDC::GetPixel(int x, int y) const {
  return ::GetPixel(m_hDC, x, y);
}

// ---- Text

int CDC::DrawText(LPCTSTR text, int count, LPRECT rect, UINT format) {
  return ::DrawTextW(m_hDC, text, count, rect, ReadOnlyFormat(format));
}

int CDC::DrawText(const CString &text, LPRECT rect, UINT format) {
  return DrawText(static_cast<LPCTSTR>(text), text.GetLength(), rect, format);
}

BOOL CDC::TextOut(int x, int y, LPCTSTR text, int count) {
  return ::TextOutW(m_hDC, x, y, text, count);
}

BOOL CDC::TextOut(int x, int y, const CString &text) {
  return TextOut(x, y, static_cast<LPCTSTR>(text), text.GetLength());
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCTSTR text, UINT count, LPINT widths) {
  return ::ExtTextOutW(m_hDC, x, y, options, rect, text, count, widths);
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, const CString &text, LPINT widths) {
  return ExtTextOut(x, y, options, rect, static_cast<LPCTSTR>(text), text.GetLength(), widths);
}

CSize CDC::GetTextExtent(LPCTSTR text, int count) const {
  SIZE size = {0, 0};
  ::GetTextExtentPoint32W(m_hAttribDC, text, count, &size);
  return CSize(size.cx, size.cy);
}

CSize CDC::GetTextExtent(const CString &text) const {
  return GetTextExtent(static_cast<LPCTSTR>(text), text.GetLength());
}

BOOL CDC::GetTextMetrics(LPTEXTMETRIC metrics) const {
  return ::GetTextMetricsW(m_hAttribDC, metrics);
}

int CDC::GetTextFace(int count, LPTSTR faceName) const {
  return ::GetTextFaceW(m_hAttribDC, count, faceName);
}

// ---- Images

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC *source, int xSource, int ySource, DWORD rop) {
  return ::BitBlt(m_hDC, x, y, width, height, HandleOf(source), xSource, ySource, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC *source, int xSource, int ySource,
                     int sourceWidth, int sourceHeight, DWORD rop) {
  return ::StretchBlt(m_hDC, x, y, width, height, HandleOf(source), xSource, ySource, sourceWidth,
                      sourceHeight, rop);
}

BOOL CDC::DrawIcon(int x, int y, HICON icon) {
  return ::DrawIcon(m_hDC, x, y, icon);
}

BOOL CDC::DrawState(CPoint point, CSize size, HICON icon, UINT flags, HBRUSH brush) {
  return ::DrawStateW(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(icon), 0, point.x, point.y, size.cx,
                      size.cy, flags | DST_ICON);
}

BOOL CDC::DrawState(CPoint point, CSize size, HBITMAP bitmap, UINT flags, HBRUSH brush) {
  return ::DrawStateW(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, point.x, point.y, size.cx,
                      size.cy, flags | DST_BITMAP);
}

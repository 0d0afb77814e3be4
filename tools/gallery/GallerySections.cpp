#include "GallerySections.h"
#include "GalleryTabsSection.h"

#include "GalleryBarWindowSection.h"
#include "GalleryCommandBarsSection.h"
#include "GalleryDockBarsSection.h"
#include "GalleryDockingPanesSection.h"
#include "GalleryDockingSchemesSection.h"
#include "GalleryDockingThemesSection.h"
#include "GalleryIcon.h"
#include "GalleryPopupMenusSection.h"
#include "GalleryToolTipSection.h"
#include "GalleryToolBarDragSection.h"
#include "GalleryDialogBarSection.h"
#include "GalleryToolBarSection.h"
#include "GalleryHeaderSection.h"
#include "GalleryListSection.h"
#include "GalleryStatusBarSection.h"
#include "GalleryCommandBarsFrameSection.h"
#include "GalleryBarStateSection.h"
#include "GalleryImageEditorSection.h"
#include "GalleryMenuBarSection.h"
#include "GalleryThemesSection.h"
#include "GalleryMdiSection.h"
#include "GalleryTabbedMdiSection.h"

#include "XTGlobal.h"
#include "XTPDrawHelpers.h"
#include "XTPResource.h"
#include "XTPResourceManager.h"

namespace {

const LPCTSTR kSchemeNames[CGalleryColoursSection::kSchemes] = {L"Classic", L"Blue", L"Olive", L"Silver"};

void DrawLabel(CDC *pDC, int x, int y, LPCTSTR lpszText) {
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
  pDC->TextOut(x, y, lpszText);
}

// Paints a shape in its colours, or all of it in black for the icon's mask.
struct IconInk {
  HDC hDC;
  bool bMask;
  void Shape(COLORREF clrFill, COLORREF clrLine, int nLine, BOOL(WINAPI *pfn)(HDC, int, int, int, int), int l,
             int t, int r, int b) const {
    HBRUSH hBrush = ::CreateSolidBrush(bMask ? 0 : clrFill);
    HPEN hPen = ::CreatePen(PS_SOLID, nLine, bMask ? 0 : clrLine);
    HGDIOBJ hOldBrush = ::SelectObject(hDC, hBrush), hOldPen = ::SelectObject(hDC, hPen);
    pfn(hDC, l, t, r, b);
    ::SelectObject(hDC, hOldBrush);
    ::SelectObject(hDC, hOldPen);
    ::DeleteObject(hBrush);
    ::DeleteObject(hPen);
  }
  void Line(COLORREF clr, int nWidth, int x0, int y0, int x1, int y1) const {
    HPEN hPen = ::CreatePen(PS_SOLID, nWidth, bMask ? 0 : clr);
    HGDIOBJ hOld = ::SelectObject(hDC, hPen);
    ::MoveToEx(hDC, x0, y0, nullptr);
    ::LineTo(hDC, x1, y1);
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hPen);
  }
};

BOOL WINAPI RoundBox(HDC hDC, int l, int t, int r, int b) {
  return ::RoundRect(hDC, l, t, r, b, 6, 6);
}

void PaintDisk(const IconInk &ink) {
  ink.Shape(RGB(170, 172, 184), RGB(60, 60, 72), 1, RoundBox, 2, 9, 30, 25);
  ink.Line(RGB(110, 110, 124), 1, 5, 20, 18, 20);
  ink.Shape(RGB(40, 200, 60), RGB(20, 100, 30), 1, ::Ellipse, 22, 15, 27, 20);
}

void PaintFolder(const IconInk &ink) {
  ink.Shape(RGB(220, 170, 40), RGB(120, 80, 10), 1, ::Rectangle, 2, 6, 14, 11);
  ink.Shape(RGB(250, 210, 80), RGB(120, 80, 10), 1, ::Rectangle, 2, 9, 30, 27);
}

void PaintMagnifier(const IconInk &ink) {
  ink.Line(RGB(110, 70, 30), 5, 19, 19, 28, 28);
  ink.Shape(RGB(190, 225, 255), RGB(30, 60, 140), 3, ::Ellipse, 3, 3, 22, 22);
}

HICON MakeIcon(void (*pfnPaint)(const IconInk &)) {
  const int n = CGalleryImagesSection::kSize;
  return MakeGalleryIcon(CSize(n, n), [pfnPaint](HDC hDC, BOOL bMask) {
    pfnPaint(IconInk{hDC, bMask != FALSE});
  });
}

// A ball whose edge fades out: straight alpha, so the image manager draws it
// through its alpha path.
HBITMAP MakeAlphaBall() {
  const int n = CGalleryImagesSection::kSize;
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
  bmi.bmiHeader.biWidth = n;
  bmi.bmiHeader.biHeight = n;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  void *pBits = nullptr;
  HBITMAP hBitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
  if (!hBitmap) return nullptr;
  auto *pPixels = static_cast<RGBQUAD *>(pBits);
  const double c = (n - 1) / 2.0;
  for (int y = 0; y < n; y++) {
    for (int x = 0; x < n; x++) {
      double d = ((x - c) * (x - c) + (y - c) * (y - c)) / (c * c);
      double a = d >= 1 ? 0 : 1 - d * d;
      RGBQUAD &p = pPixels[y * n + x];
      p.rgbRed = 230;
      p.rgbGreen = static_cast<BYTE>(80 + 120 * (1 - d > 0 ? 1 - d : 0));
      p.rgbBlue = 40;
      p.rgbReserved = static_cast<BYTE>(255 * a);
    }
  }
  return hBitmap;
}

} // namespace

std::vector<std::unique_ptr<CGallerySection>> MakeGallerySections() {
  std::vector<std::unique_ptr<CGallerySection>> sections;
  sections.push_back(std::make_unique<CGalleryColoursSection>());
  sections.push_back(std::make_unique<CGalleryDrawingSection>());
  sections.push_back(std::make_unique<CGalleryCursorsSection>());
  sections.push_back(std::make_unique<CGalleryImagesSection>());
  sections.push_back(std::make_unique<CGalleryResourcesSection>());
  sections.push_back(std::make_unique<CGalleryCommandBarsSection>());
  sections.push_back(std::make_unique<CGalleryPopupMenusSection>());
  sections.push_back(std::make_unique<CGalleryBarWindowSection>());
  sections.push_back(std::make_unique<CGalleryToolBarSection>());
  sections.push_back(std::make_unique<CGalleryMenuBarSection>());
  sections.push_back(std::make_unique<CGalleryMdiSection>());
  sections.push_back(std::make_unique<CGalleryToolTipsSection>());
  sections.push_back(std::make_unique<CGalleryButtonsSection>());
  sections.push_back(std::make_unique<CGalleryHeaderSection>());
  sections.push_back(std::make_unique<CGalleryListSection>());
  sections.push_back(std::make_unique<CGalleryTabsSection>());
  sections.push_back(std::make_unique<CGalleryDockBarsSection>());
  sections.push_back(std::make_unique<CGalleryToolBarDragSection>());
  sections.push_back(std::make_unique<CGalleryDialogBarSection>());
  sections.push_back(std::make_unique<CGalleryStatusBarSection>());
  sections.push_back(std::make_unique<CGalleryThemesSection>());
  sections.push_back(std::make_unique<CGalleryDockingPanesSection>());
  sections.push_back(std::make_unique<CGalleryDockingThemesSection>());
  sections.push_back(std::make_unique<CGalleryCommandBarsFrameSection>());
  sections.push_back(std::make_unique<CGalleryTabbedMdiSection>());
  sections.push_back(std::make_unique<CGalleryBarStateSection>());
  sections.push_back(std::make_unique<CGalleryImageEditorSection>());
  sections.push_back(std::make_unique<CGalleryDockingSchemesSection>());
  return sections;
}

// --- colours ---

CGalleryColoursSection::CGalleryColoursSection() {
  // A private manager, so the gallery's own windows keep the detected scheme.
  CXTPColorManager manager;
  for (int s = 0; s < kSchemes; s++) {
    manager.SetSystemTheme(s);
    manager.RefreshColors();
    for (int i = XPCOLOR_BASE; i < XPCOLOR_COUNT; i++) m_clr[s][i - XPCOLOR_BASE] = manager.GetColor(i);
    for (int g = 0; g < 4; g++) m_grc[s][g] = manager.GetGradient(g);
  }
}

CRect CGalleryColoursSection::SwatchRect(int nScheme, int nIndex) {
  int x = kLabelWidth + (nIndex - XPCOLOR_BASE) * (kSwatch + 2);
  int y = 16 + nScheme * (kSwatch + 4);
  return CRect(x, y, x + kSwatch, y + kSwatch);
}

void CGalleryColoursSection::Draw(CDC *pDC, const CRect &rcBody) {
  const CPoint org = rcBody.TopLeft();
  for (int i = XPCOLOR_BASE; i < XPCOLOR_COUNT; i += 5) {
    CString strIndex;
    strIndex.Format(L"%d", i);
    DrawLabel(pDC, org.x + SwatchRect(0, i).left, org.y, strIndex);
  }
  const int xGradients = SwatchRect(0, XPCOLOR_LAST).right + 10;
  DrawLabel(pDC, org.x + xGradients, org.y, L"gradients 0-3");
  for (int s = 0; s < kSchemes; s++) {
    DrawLabel(pDC, org.x, org.y + SwatchRect(s, XPCOLOR_BASE).top + 3, kSchemeNames[s]);
    for (int i = XPCOLOR_BASE; i < XPCOLOR_COUNT; i++) {
      CRect rc = SwatchRect(s, i) + org;
      pDC->FillSolidRect(&rc, GetColor(s, i));
      pDC->Draw3dRect(&rc, RGB(96, 96, 96), RGB(96, 96, 96));
    }
    for (int g = 0; g < 4; g++) {
      CRect rc = SwatchRect(s, XPCOLOR_BASE) + org;
      rc.left = org.x + xGradients + g * 44;
      rc.right = rc.left + 40;
      XTPDrawHelpers()->GradientFillPair(pDC, &rc, m_grc[s][g], FALSE);
    }
  }
}

// --- drawing ---

CGalleryDrawingSection::CGalleryDrawingSection() {
  m_fontMarlett.CreateFont(-20, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SYMBOL_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Marlett");
}

void CGalleryDrawingSection::Draw(CDC *pDC, const CRect &rcBody) {
  const CPoint org = rcBody.TopLeft();
  CXTPDrawHelpers *pHelpers = XTPDrawHelpers();
  pHelpers->GradientFill(pDC, GradientRect() + org, kFrom, kTo, TRUE);
  DrawCheckedPattern(pDC, CheckedRect() + org);
  pHelpers->GradientFill(pDC, CRect(130, 0, 160, 62) + org, kFrom, kTo, FALSE);

  // Arrows of the four directions, black and coloured.
  for (int row = 0; row < 2; row++) {
    const COLORREF clr = row ? RGB(200, 40, 40) : RGB(0, 0, 0);
    const int y = org.y + 14 + row * 34, x = org.x + 180;
    CXTPDrawHelpers::Triangle(pDC, CPoint(x, y), CPoint(x + 10, y - 10), CPoint(x + 10, y + 10), clr);
    CXTPDrawHelpers::Triangle(pDC, CPoint(x + 40, y), CPoint(x + 30, y - 10), CPoint(x + 30, y + 10), clr);
    CXTPDrawHelpers::Triangle(pDC, CPoint(x + 60, y + 5), CPoint(x + 80, y + 5), CPoint(x + 70, y - 5), clr);
    CXTPDrawHelpers::Triangle(pDC, CPoint(x + 100, y - 5), CPoint(x + 120, y - 5), CPoint(x + 110, y + 5),
                              clr);
  }

  // BlendColors from one end to the other, in tenths.
  for (int i = 0; i <= 10; i++) {
    CRect rc(340 + i * 15, 0, 340 + i * 15 + 14, 28);
    pDC->FillSolidRect(rc + org, CXTPDrawHelpers::BlendColors(kTo, kFrom, i / 10.0));
  }
  DrawLabel(pDC, org.x + 340, org.y + 38, StripMnemonics(L"&Blends in tenths"));

  // The caption buttons (0 1 2 r), the four arrows (3 to 6), the check (a)
  // and a few more marks. Marlett has no space: one glyph at a time.
  const wchar_t kGlyphs[] = L"012r3456ahi89";
  pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
  pDC->SetBkMode(TRANSPARENT);
  CFont *pOld = pDC->SelectObject(&m_fontMarlett);
  for (int i = 0; kGlyphs[i]; i++)
    pDC->TextOut(org.x + GlyphRect().left + i * 28, org.y + GlyphRect().top + 4, &kGlyphs[i], 1);
  // The display data's own symbol font, at the size menus use.
  pDC->SelectObject(&XTGetAuxData().fontMarlett);
  for (int i = 0; kGlyphs[i]; i++)
    pDC->TextOut(org.x + GlyphRect().left + i * 28, org.y + GlyphRect().bottom + 6, &kGlyphs[i], 1);
  pDC->SelectObject(pOld);
}

// --- cursors ---

void CGalleryCursorsSection::Draw(CDC *pDC, const CRect &rcBody) {
  CXTAuxData &data = XTGetAuxData();
  const HCURSOR cursors[] = {data.hcurDragCopy,
                             data.hcurDragMove,
                             data.hcurDragNone,
                             data.hcurHand,
                             data.hcurHandNone,
                             data.hcurHSplitBar,
                             data.hcurVSplitBar,
                             data.hcurMove,
                             ::LoadCursorW(data.hInstance, MAKEINTRESOURCEW(XTP_IDC_SIZECONTROL))};
  int x = rcBody.left;
  for (HCURSOR hCursor : cursors) {
    pDC->FillSolidRect(x, rcBody.top, 36, 36, RGB(160, 200, 160));
    if (hCursor) ::DrawIconEx(pDC->m_hDC, x + 2, rcBody.top + 2, hCursor, 32, 32, 0, nullptr, DI_NORMAL);
    x += 44;
  }
}

// --- images ---

CGalleryImagesSection::CGalleryImagesSection() {
  void (*const painters[])(const IconInk &) = {PaintDisk, PaintFolder, PaintMagnifier};
  int nIcon = 0;
  for (auto pfn : painters) {
    HICON hIcon = MakeIcon(pfn);
    m_images.SetIcon(CXTPIconHandle(hIcon), CommandOf(nIcon++));
    ::DestroyIcon(hIcon);
  }
  HBITMAP hBall = MakeAlphaBall();
  m_images.SetIcon(CXTPIconHandle(hBall), CommandOf(nIcon));
  ::DeleteObject(hBall);
}

CRect CGalleryImagesSection::CellRect(int nIcon, int nState) {
  int x = nIcon * (4 * kCell + 16) + nState * kCell;
  return CRect(x, 16, x + kCell, 16 + kCell);
}

void CGalleryImagesSection::Draw(CDC *pDC, const CRect &rcBody) {
  const LPCTSTR states[] = {L"normal", L"faded", L"shadow", L"disabled"};
  for (int nIcon = 0; nIcon < kIcons; nIcon++) {
    CXTPImageManagerIcon *pIcon = m_images.GetImage(CommandOf(nIcon), kSize);
    for (int nState = 0; nState < 4; nState++) {
      CRect rc = CellRect(nIcon, nState) + rcBody.TopLeft();
      if (nIcon == 0) DrawLabel(pDC, rc.left, rcBody.top, states[nState]);
      pDC->FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
      if (!pIcon) continue;
      CXTPIconHandle *images[] = {&pIcon->GetIcon(), &pIcon->GetFadedIcon(), &pIcon->GetShadowIcon(),
                                  &pIcon->GetDisabledIcon()};
      pIcon->Draw(pDC, CPoint(rc.left + (kCell - kSize) / 2, rc.top + (kCell - kSize) / 2), *images[nState]);
    }
  }
}

// --- the toolkit's resources

namespace {

HBITMAP LoadToolkitBitmap(UINT nID, UINT nFlags = 0) {
  LPCTSTR lpszName = MAKEINTRESOURCE(nID);
  return static_cast<HBITMAP>(
      ::LoadImageW(AfxFindResourceHandle(lpszName, RT_BITMAP), lpszName, IMAGE_BITMAP, 0, 0, nFlags));
}

// Copies a part of a sheet, its pure green left out as the stickers are.
void DrawPart(HDC hDC, HDC hSheet, CPoint pt, const CRect &rcSource) {
  ::TransparentBlt(hDC, pt.x, pt.y, rcSource.Width(), rcSource.Height(), hSheet, rcSource.left, rcSource.top,
                   rcSource.Width(), rcSource.Height(), RGB(0, 255, 0));
}

} // namespace

CGalleryResourcesSection::CGalleryResourcesSection() {
  m_images.SetIcons(XT_IDR_TBAR_HDR);
  const UINT sysButtons[] = {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE};
  m_images.SetIconsFromBitmap(XTP_IDB_MENUBAR_SYSBUTTONS, sysButtons, 4, CSize(16, 16));
  UINT editor[16], editorAlpha[16];
  for (UINT i = 0; i < 16; i++) {
    editor[i] = kEditorIds + i;
    editorAlpha[i] = kEditorAlphaIds + i;
  }
  m_images.m_clrMask = RGB(192, 192, 192); // the light grey the button editor masks with
  m_images.SetIconsFromBitmap(XTP_IDB_IMAGEEDITOR_TOOLS, editor, 16, CSize(16, 16));
  m_images.SetIconsFromBitmap(XTP_IDB_IMAGEEDITOR_TOOLS_ALPHA, editorAlpha, 16, CSize(16, 16));
  m_hBulb = LoadToolkitBitmap(XT_IDB_LIGHTBULB, LR_LOADMAP3DCOLORS);
  const UINT sheets[3] = {XTP_IDB_DOCKINGPANE_STICKERS, XTP_IDB_DOCKINGPANE_STICKERS_OLIVE,
                          XTP_IDB_DOCKINGPANE_STICKERS_SILVER};
  for (int i = 0; i < 3; i++) m_hSheets[i] = LoadToolkitBitmap(sheets[i]);
  m_hBack = LoadToolkitBitmap(XTP_IDB_DOCKINGPANE_STICKERS_BACK);
}

CGalleryResourcesSection::~CGalleryResourcesSection() {
  for (HBITMAP hBitmap : {m_hBulb, m_hSheets[0], m_hSheets[1], m_hSheets[2], m_hBack})
    if (hBitmap) ::DeleteObject(hBitmap);
}

void CGalleryResourcesSection::Draw(CDC *pDC, const CRect &rcBody) {
  const CPoint org = rcBody.TopLeft();
  DrawLabel(pDC, org.x, org.y, L"header 9015");
  for (int i = 0; i < 5; i++)
    if (CXTPImageManagerIcon *pIcon = m_images.GetImage(XT_IDC_SORTASC + i, 16))
      pIcon->Draw(pDC, HeaderCell(i).TopLeft() + org);

  DrawLabel(pDC, org.x + 110, org.y, L"MDI 9407");
  const UINT sysButtons[] = {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE};
  for (int i = 0; i < 4; i++)
    if (CXTPImageManagerIcon *pIcon = m_images.GetImage(sysButtons[i], 16))
      pIcon->Draw(pDC, CPoint(org.x + 110 + i * kCell, org.y + kIconRow));

  // The bulb stands on the tip dialog's shadow-coloured side bar.
  DrawLabel(pDC, org.x + 200, org.y, L"bulb 9003");
  pDC->FillSolidRect(org.x + 200, org.y + kIconRow, 40, 40, ::GetSysColor(COLOR_3DSHADOW));
  if (m_hBulb) {
    HDC hMem = ::CreateCompatibleDC(pDC->m_hDC);
    HGDIOBJ hOld = ::SelectObject(hMem, m_hBulb);
    ::BitBlt(pDC->m_hDC, org.x + 207, org.y + kIconRow + 7, 26, 26, hMem, 0, 0, SRCCOPY);
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
  }

  DrawLabel(pDC, org.x + 280, org.y, L"button editor 9352 (masked), 9353 (alpha)");
  for (UINT i = 0; i < 16; i++) {
    for (UINT nRow = 0; nRow < 2; nRow++)
      if (CXTPImageManagerIcon *pIcon = m_images.GetImage((nRow ? kEditorAlphaIds : kEditorIds) + i, 16))
        pIcon->Draw(pDC, CPoint(org.x + 280 + i * kCell, org.y + kIconRow + nRow * kCell));
  }

  DrawStickers(pDC, org);

  DrawLabel(pDC, org.x + 580, org.y + kStickerRow - 16, L"cursors 9301-9303, 9375-9378");
  const UINT cursors[] = {XTP_IDC_COMMANDBARS_DRAGCOPY,   XTP_IDC_COMMANDBARS_DRAGMOVE,
                          XTP_IDC_COMMANDBARS_DRAGDELETE, XTP_IDC_CURSOR_LINE,
                          XTP_IDC_CURSOR_PICKCOLOR,       XTP_IDC_CURSOR_FILL,
                          XTP_IDC_CURSOR_PENCIL};
  int x = org.x + 580;
  for (UINT nID : cursors) {
    pDC->FillSolidRect(x, org.y + kStickerRow, 36, 36, RGB(160, 200, 160));
    HCURSOR hCursor = ::LoadCursorW(XTGetAuxData().hInstance, MAKEINTRESOURCEW(nID));
    if (hCursor)
      ::DrawIconEx(pDC->m_hDC, x + 2, org.y + kStickerRow + 2, hCursor, 32, 32, 0, nullptr, DI_NORMAL);
    x += 44;
  }
}

void CGalleryResourcesSection::DrawStickers(CDC *pDC, CPoint org) {
  const LPCTSTR names[3] = {L"stickers 9904", L"olive 9905", L"silver 9906"};
  HDC hMem = ::CreateCompatibleDC(pDC->m_hDC);
  HGDIOBJ hOld = ::SelectObject(hMem, m_hSheets[0]);
  for (int i = 0; i < 3; i++) {
    CRect rc = SheetRect(i) + org;
    DrawLabel(pDC, rc.left, rc.top - 16, names[i]);
    if (!m_hSheets[i]) continue;
    ::SelectObject(hMem, m_hSheets[i]);
    DrawPart(pDC->m_hDC, hMem, rc.TopLeft(), CRect(0, 0, 120, 109));
  }
  // The cross sticker as the drag context puts it together: the background,
  // then each part at its point (top, left, bottom, right, centre).
  CRect rcCross = CrossRect() + org;
  DrawLabel(pDC, rcCross.left, rcCross.top - 16, L"cross, back 9903");
  if (m_hBack) {
    ::SelectObject(hMem, m_hBack);
    DrawPart(pDC->m_hDC, hMem, rcCross.TopLeft() + CPoint(25, 25), CRect(0, 0, 43, 43));
  }
  if (m_hSheets[0]) {
    ::SelectObject(hMem, m_hSheets[0]);
    const struct {
      CPoint pt;
      CRect rcSource;
    } parts[] = {{CPoint(25, 0), CRect(0, 0, 43, 30)},
                 {CPoint(0, 25), CRect(30, 33, 60, 76)},
                 {CPoint(25, 63), CRect(43, 0, 86, 30)},
                 {CPoint(63, 25), CRect(0, 33, 30, 76)},
                 {CPoint(30, 30), CRect(86, 0, 119, 33)}};
    for (const auto &part : parts) DrawPart(pDC->m_hDC, hMem, rcCross.TopLeft() + part.pt, part.rcSource);
  }
  ::SelectObject(hMem, hOld);
  ::DeleteDC(hMem);
}

// --- buttons ---

namespace {

struct ButtonRow {
  LPCTSTR name;
  DWORD dwxStyle;
  // A theme of the row's own on top of what the bits choose, or null.
  CXTButtonTheme *(*pfnTheme)();
};

const ButtonRow kButtonRows[CGalleryButtonsSection::kRows] = {
    {L"Classic", 0, [] { return new CXTButtonTheme; }},
    {L"Flat", xtButtonFlat, nullptr},
    {L"Semi-flat", xtButtonSemiFlat, nullptr},
    {L"Hatched", xtButtonFlat | xtButtonHatchPushed, nullptr},
    {L"Office", xtButtonOffice, nullptr},
    {L"Office framed", xtButtonSemiFlat | xtButtonShowFocus,
     []() -> CXTButtonTheme * { return new CXTButtonThemeOffice(TRUE); }},
    {L"Highlight", 0, []() -> CXTButtonTheme * { return new CXTButtonThemeOfficeHighlight(FALSE); }},
};

} // namespace

CGalleryButtonsSection::CGalleryButtonsSection() : m_hIcon(MakeIcon(PaintMagnifier)) {}

CGalleryButtonsSection::~CGalleryButtonsSection() {
  m_buttons.clear();
  if (m_hIcon) ::DestroyIcon(m_hIcon);
}

LPCTSTR CGalleryButtonsSection::RowName(int nRow) {
  return kButtonRows[nRow].name;
}

CRect CGalleryButtonsSection::ButtonRect(int nRow, int nState) {
  const int x = kLabelWidth + nState * (kButtonWidth + 8);
  const int y = 16 + nRow * kRowHeight;
  return CRect(x, y, x + kButtonWidth, y + kButtonHeight);
}

void CGalleryButtonsSection::Create(CWnd *pParent, const CRect &rcBody) {
  // The view paints its sections' labels: it must leave the buttons alone.
  pParent->ModifyStyle(0, WS_CLIPCHILDREN);
  const LPCTSTR texts[kStates] = {L"&Normal", L"&Hot", L"&Pressed", L"&Disabled", L"&Checked"};
  for (int nRow = 0; nRow < kRows; nRow++) {
    for (int nState = 0; nState < kStates; nState++) {
      auto pButton = std::make_unique<CGalleryStateButton>();
      const CRect rc = ButtonRect(nRow, nState) + rcBody.TopLeft();
      const UINT nID = 1000 + nRow * kStates + nState;
      if (!pButton->Create(texts[nState], WS_CHILD | WS_VISIBLE | BS_LEFT, rc, pParent, nID)) continue;
      pButton->SetButtonStyleBits(kButtonRows[nRow].dwxStyle, FALSE);
      if (kButtonRows[nRow].pfnTheme) pButton->SetTheme(kButtonRows[nRow].pfnTheme());
      if (m_hIcon) pButton->SetIcon(CSize(24, 24), m_hIcon, nullptr, FALSE);
      switch (nState) {
      case kHot:
        pButton->ShowHot();
        break;
      case kPressed:
        pButton->SetState(TRUE);
        break;
      case kDisabled:
        pButton->EnableWindow(FALSE);
        break;
      case kChecked:
        pButton->SetChecked(TRUE);
        break;
      default:
        break;
      }
      m_buttons.push_back(std::move(pButton));
    }
  }
}

void CGalleryButtonsSection::Draw(CDC *pDC, const CRect &rcBody) {
  const LPCTSTR states[kStates] = {L"normal", L"hot", L"pressed", L"disabled", L"checked"};
  for (int nState = 0; nState < kStates; nState++)
    DrawLabel(pDC, rcBody.left + ButtonRect(0, nState).left, rcBody.top, states[nState]);
  for (int nRow = 0; nRow < kRows; nRow++)
    DrawLabel(pDC, rcBody.left, rcBody.top + ButtonRect(nRow, 0).top + 9, RowName(nRow));
}

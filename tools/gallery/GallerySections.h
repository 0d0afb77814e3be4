// The sections of the toolkit pieces built so far: the colour manager's
// colours under each scheme, the draw helpers, the toolkit cursors, and the
// image manager's derived images.
#pragma once

#include "GallerySection.h"
#include "XTPColorManager.h"
#include "XTPImageManager.h"
#include "XTButton.h"

#include <memory>
#include <vector>

// Colours 30 to 57 and the four gradient pairs, one row per forced scheme.
class CGalleryColoursSection : public CGallerySection {
public:
  static const int kSchemes = 4; // classic, blue, olive, silver
  static const int kSwatch = 22;
  static const int kLabelWidth = 70;

  CGalleryColoursSection();
  LPCTSTR GetTitle() const override { return L"Colour manager: colours 30-57 and gradients per scheme"; }
  int GetHeight() const override { return 16 + kSchemes * (kSwatch + 4); }
  void Draw(CDC *pDC, const CRect &rcBody) override;

  COLORREF GetColor(int nScheme, int nIndex) const { return m_clr[nScheme][nIndex - XPCOLOR_BASE]; }
  // Where the swatch of a colour lies, relative to the body's top-left.
  static CRect SwatchRect(int nScheme, int nIndex);

private:
  COLORREF m_clr[kSchemes][XPCOLOR_COUNT - XPCOLOR_BASE];
  CXTPPaintManagerColorGradient m_grc[kSchemes][4];
};

// Gradients, triangles, blends, the checked pattern and Marlett glyphs.
class CGalleryDrawingSection : public CGallerySection {
public:
  CGalleryDrawingSection();
  LPCTSTR GetTitle() const override {
    return L"Draw helpers: gradients, triangles, blends, checked pattern, Marlett";
  }
  int GetHeight() const override { return 64; }
  void Draw(CDC *pDC, const CRect &rcBody) override;

  // Relative to the body's top-left.
  static CRect GradientRect() { return CRect(0, 0, 120, 28); }
  static CRect CheckedRect() { return CRect(0, 34, 120, 62); }
  static CRect GlyphRect() { return CRect(520, 0, 900, 30); }
  static const COLORREF kFrom = RGB(0, 64, 160), kTo = RGB(255, 220, 120);

private:
  CFont m_fontMarlett;
};

// The toolkit cursors and the system's size-all cursor.
class CGalleryCursorsSection : public CGallerySection {
public:
  LPCTSTR GetTitle() const override {
    return L"Cursors: drag copy, move, none, hand, hand none, splitters, move, control size";
  }
  int GetHeight() const override { return 40; }
  void Draw(CDC *pDC, const CRect &rcBody) override;
};

// A few icons drawn here, each as normal, faded, shadow and disabled image.
class CGalleryImagesSection : public CGallerySection {
public:
  static const int kIcons = 4;
  static const int kSize = 32;
  static const int kCell = 52;

  CGalleryImagesSection();
  LPCTSTR GetTitle() const override { return L"Image manager: normal, faded, shadow, disabled"; }
  int GetHeight() const override { return kCell + 16; }
  void Draw(CDC *pDC, const CRect &rcBody) override;

  CXTPImageManager &GetImageManager() { return m_images; }
  static UINT CommandOf(int nIcon) { return 100 + nIcon; }
  // The cell of an icon's image in a state (0 normal, 1 faded, 2 shadow, 3
  // disabled), relative to the body's top-left.
  static CRect CellRect(int nIcon, int nState);

private:
  CXTPImageManager m_images;
};

// The toolkit's own pictures as its classes load them: the header menu's
// toolbar, the maximised child's buttons, the tip of the day's bulb and the
// button editor's tools (light-grey masked and alpha), the docking stickers
// of each colour theme with a cross put together from their parts, and the
// cursors of customising and of the button editor.
class CGalleryResourcesSection : public CGallerySection {
public:
  static const int kCell = 20;
  static const int kIconRow = 16, kStickerRow = 76;

  CGalleryResourcesSection();
  ~CGalleryResourcesSection() override;
  LPCTSTR GetTitle() const override {
    return L"Toolkit resources: header toolbar, MDI buttons, tip bulb, editor tools, docking stickers, "
           L"cursors";
  }
  int GetHeight() const override { return kStickerRow + 112; }
  void Draw(CDC *pDC, const CRect &rcBody) override;

  CXTPImageManager &GetImageManager() { return m_images; }
  // Relative to the body's top-left: the cell of header image i (0 sort
  // ascending ... 4 align right), a sticker sheet (0 default, 1 olive, 2
  // silver), and the cross put together from the default sheet.
  static CRect HeaderCell(int i) { return CRect(i * kCell, kIconRow, i * kCell + 16, kIconRow + 16); }
  static CRect SheetRect(int nSheet) {
    return CRect(nSheet * 128, kStickerRow, nSheet * 128 + 120, kStickerRow + 109);
  }
  static CRect CrossRect() { return CRect(400, kStickerRow, 493, kStickerRow + 93); }
  // First ids the editor's two strips are stored under.
  static const UINT kEditorIds = 1000, kEditorAlphaIds = 1100;

private:
  void DrawStickers(CDC *pDC, CPoint org);

  CXTPImageManager m_images;
  HBITMAP m_hBulb = nullptr;
  HBITMAP m_hSheets[3] = {};
  HBITMAP m_hBack = nullptr;
};

// A button of the gallery held in one state: the hot state is the one a
// real mouse makes, shown here without one.
class CGalleryStateButton : public CXTButton {
public:
  void ShowHot() { HoldHotState(); }
};

// The themed button in each style and theme, in each of its states.
class CGalleryButtonsSection : public CGallerySection {
public:
  enum { kNormal, kHot, kPressed, kDisabled, kChecked, kStates };
  static const int kRows = 7;
  static const int kLabelWidth = 110, kButtonWidth = 150, kButtonHeight = 34, kRowHeight = 40;

  CGalleryButtonsSection();
  ~CGalleryButtonsSection() override;
  LPCTSTR GetTitle() const override {
    return L"Button: classic, flat, semi-flat, hatched, Office, framed, highlight; each state";
  }
  int GetHeight() const override { return 16 + kRows * kRowHeight; }
  void Draw(CDC *pDC, const CRect &rcBody) override;
  void Create(CWnd *pParent, const CRect &rcBody) override;

  CXTButton *GetButton(int nRow, int nState) const { return m_buttons[nRow * kStates + nState].get(); }
  // Relative to the body's top-left.
  static CRect ButtonRect(int nRow, int nState);
  static LPCTSTR RowName(int nRow);

private:
  std::vector<std::unique_ptr<CGalleryStateButton>> m_buttons;
  HICON m_hIcon = nullptr;
};

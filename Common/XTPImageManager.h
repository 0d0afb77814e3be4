// The image manager: for each command id an icon set, one icon per width,
// each icon holding its state images (normal, hot, checked, disabled) and
// three images derived on first use (faded, shadow, automatic disabled).
// Images are icons or 32-bit bitmaps with straight alpha.
#pragma once

#include "FrameworkCore.h"
#include "CmdTarget.h"
#include "Dc.h"
#include "OleDataObject.h"

#include <map>
#include <memory>
#include <vector>

class CXTPImageManager;
class CXTPImageManagerIconSet;
class CXTPPropExchange;
class CArchive;
struct IDataObject;

// One image: an icon handle or a 32-bit alpha bitmap, and the premultiplied
// copy that alpha drawing makes on first use.
class CXTPIconHandle {
public:
  CXTPIconHandle() = default;
  CXTPIconHandle(HICON hIcon) : m_hIcon(hIcon) {}         // not owned
  CXTPIconHandle(HBITMAP hBitmap) : m_hBitmap(hBitmap) {} // not owned
  // Shares the source's handles without owning them. The premultiplied copy
  // stays with the source, which deletes it when cleared.
  CXTPIconHandle(const CXTPIconHandle &other) : m_hIcon(other.m_hIcon), m_hBitmap(other.m_hBitmap) {}
  // Owned duplicates of the source's images.
  CXTPIconHandle &operator=(const CXTPIconHandle &other);
  ~CXTPIconHandle() { Clear(); }

  BOOL IsEmpty() const { return !m_hIcon && !m_hBitmap; }
  BOOL IsAlpha() const { return m_hBitmap != nullptr; }
  HICON GetIcon() const { return m_hIcon; }
  HBITMAP GetBitmap() const { return m_hBitmap; }
  operator HICON() const { return m_hIcon; }
  // Bitmap size, or icon size (a monochrome icon's mask is twice its height).
  CSize GetExtent() const;
  static CSize GetExtent(HICON hIcon);

  // Takes ownership of the icon.
  void SetIcon(HICON hIcon);
  // Stores an owned copy of a 32-bit bitmap.
  void SetAlphaBitmap(HBITMAP hBitmap);
  void Clear();

  // The premultiplied copy, made on first use.
  HBITMAP PreMultiply();
  BOOL HasPreMultiplied() const { return m_hPreMultiplied != nullptr; }

private:
  HICON m_hIcon = nullptr;
  HBITMAP m_hBitmap = nullptr;
  HBITMAP m_hPreMultiplied = nullptr;
  BOOL m_bOwned = FALSE;
};

enum XTPImageState { xtpImageNormal = 0, xtpImageDisabled = 1, xtpImageHot = 2, xtpImageChecked = 3 };

class CXTPImageManagerIcon : public CCmdTarget {
public:
  CXTPImageManagerIcon(UINT nID, int nWidth, int nHeight, CXTPImageManagerIconSet *pIconSet = nullptr);

  CXTPIconHandle &GetIcon() { return m_hIcon; }
  CXTPIconHandle &GetFadedIcon();
  CXTPIconHandle &GetShadowIcon();
  CXTPIconHandle &GetHotIcon() { return m_hHotIcon.IsEmpty() ? m_hIcon : m_hHotIcon; }
  CXTPIconHandle &GetCheckedIcon() { return m_hCheckedIcon.IsEmpty() ? GetHotIcon() : m_hCheckedIcon; }
  CXTPIconHandle &GetDisabledIcon();

  // The normal image clears every other image; the others only the derived.
  void SetIcon(const CXTPIconHandle &hIcon);
  void SetHotIcon(const CXTPIconHandle &hIcon);
  void SetCheckedIcon(const CXTPIconHandle &hIcon);
  void SetDisabledIcon(const CXTPIconHandle &hIcon);
  void Refresh(); // drops the derived images

  BOOL IsAlpha() const { return m_hIcon.IsAlpha(); }
  BOOL IsScaled() const { return m_bScaled; }
  CSize GetExtent() const { return CSize(m_nWidth, m_nHeight); }
  int GetWidth() const { return m_nWidth; }
  int GetHeight() const { return m_nHeight; }
  UINT GetID() const { return m_nID; }

  // A zero size takes the icon's (height scaled with the width).
  void Draw(CDC *pDC, CPoint pt, CXTPIconHandle &hIcon, CSize szIcon = CSize(0, 0));
  void Draw(CDC *pDC, CPoint pt, CSize szIcon = CSize(0, 0)) { Draw(pDC, pt, GetIcon(), szIcon); }
  void DrawMono(CDC *pDC, CPoint pt, CXTPIconHandle &hIcon, CSize szIcon, COLORREF clrBrush);

  // Height, schema, then the normal, disabled, hot and checked images.
  virtual void Serialize(CArchive &ar);
  // One image: two counts 0 when empty; an alpha bitmap and a count 0; or an
  // icon's colour and mask bitmaps.
  static void SerializeHandle(CArchive &ar, CXTPIconHandle &hIcon);

private:
  friend class CXTPImageManagerIconSet;
  friend class CXTPImageManager;
  CXTPImageManager *GetImageManager() const;
  void ClearAll();

  UINT m_nID;
  int m_nWidth;
  int m_nHeight;
  CXTPIconHandle m_hIcon, m_hFaded, m_hShadow, m_hHotIcon, m_hCheckedIcon, m_hDisabledIcon, m_hDisabledAuto;
  BOOL m_bScaled = FALSE;
  CXTPImageManagerIconSet *m_pIconSet;
};

class CXTPImageManagerIconSet : public CCmdTarget {
public:
  CXTPImageManagerIconSet(UINT nID, CXTPImageManager *pImageManager);
  ~CXTPImageManagerIconSet() override;

  // The icon of the width, made empty (height 15) when missing.
  CXTPImageManagerIcon *GetIcon(UINT nWidth);
  // The exact or nearest width; a scaled copy for a non-alpha icon.
  CXTPImageManagerIcon *GetIcon(UINT nWidth, BOOL bScaled);
  void SetIcon(const CXTPIconHandle &hIcon, UINT nWidth);
  void SetDisabledIcon(const CXTPIconHandle &hIcon, UINT nWidth);
  void SetHotIcon(const CXTPIconHandle &hIcon, UINT nWidth);
  void SetCheckedIcon(const CXTPIconHandle &hIcon, UINT nWidth);
  void RemoveAll();
  // Drops the scaled icons and every icon's derived images.
  void RefreshAll();
  const std::map<UINT, CXTPImageManagerIcon *> &GetIcons() const { return m_mapIcons; }
  UINT GetID() const { return m_nID; }
  void DoPropExchange(CXTPPropExchange *pPX);
  CXTPImageManager *GetImageManager() const { return m_pImageManager; }

private:
  CXTPImageManagerIcon *MakeScaled(CXTPImageManagerIcon *pSource, UINT nWidth);

  std::map<UINT, CXTPImageManagerIcon *> m_mapIcons; // owned
  UINT m_nID;
  CXTPImageManager *m_pImageManager;
};

class CXTPImageManager : public CCmdTarget {
public:
  CXTPImageManager();
  ~CXTPImageManager() override;

  // One image for a command at a width (0: the image's own) and state. A new
  // command takes only the normal state.
  BOOL SetIcon(const CXTPIconHandle &hIcon, UINT nIDCommand, CSize szIcon = CSize(0, 0),
               int imageState = xtpImageNormal);
  // Stores an image under a new custom id and returns it (0 on failure).
  UINT AddIcon(const CXTPIconHandle &hIcon);
  UINT SetIcon(const CXTPIconHandle &hIcon) { return AddIcon(hIcon); }
  // The icons of an image list for an id array (image i to id i without
  // one; a zero id is skipped when the counts differ).
  BOOL SetIcons(HIMAGELIST hImageList, const UINT *pCommands, int nCount, CSize szIcon = CSize(0, 0),
                int imageState = xtpImageNormal);
  // A toolbar resource's command ids with the images of the bitmap of the
  // same (or another) id.
  BOOL SetIcons(UINT nIDResource, int imageState = xtpImageNormal) {
    return SetIcons(nIDResource, nIDResource, imageState);
  }
  BOOL SetIcons(UINT nIDToolBar, UINT nIDBitmap, int imageState);
  // A bitmap resource cut into images for an id array; a zero size is the
  // bitmap's width / count by its height.
  BOOL SetIconsFromBitmap(UINT nIDBitmap, const UINT *pCommands, int nCount, CSize szIcon,
                          int imageState = xtpImageNormal);
  // The command ids of a toolbar resource (type 241: 16-bit version, button
  // width and height, count, then the ids with 0 for a separator); the
  // separators are left out.
  static BOOL ParseToolBarResource(const BYTE *pData, size_t cbData, std::vector<UINT> &ids);
  // Cuts a 32-bit strip into images for an id array.
  BOOL SetIconsFromAlphaStrip(HBITMAP hStrip, const UINT *pCommands, int nCount, CSize szIcon,
                              int imageState = xtpImageNormal);

  CXTPImageManagerIcon *GetImage(UINT nCommand, int nWidth = 16);
  CXTPImageManagerIconSet *GetIconSet(UINT nCommand) const;
  const std::map<UINT, CXTPImageManagerIconSet *> &GetImages() const { return m_mapImages; }
  void RemoveAll();
  void RefreshAll();

  // Command images through a property exchange or an archive.
  void DoPropExchange(CXTPPropExchange *pPX);
  // One command's icon set: stored empty when the command has none; loaded
  // into a new set that takes the command's place only when it was read
  // whole and holds an icon, so a damaged one leaves the old set. Ids the
  // manager never hands out itself are read but not taken (FALSE): they are
  // the program's own command pictures.
  BOOL ExchangeCustomIconSet(UINT nCommand, CXTPPropExchange *pPX);
  // Images added without a command id get ids above this one.
  static const UINT kCustomIdBase = 68266;
  virtual void Serialize(CArchive &ar);
  // The command's icon set onto the open clipboard; FALSE without one.
  BOOL CopyToClipboard(UINT nCommand);
  // An icon set from clipboard data (or the open clipboard) under a new
  // custom id; 0 when there is none or it is damaged.
  UINT PasteFromClipboard(HGLOBAL hData);
  UINT PasteFromClipboard();
  UINT PasteFromClipboard(COleDataObject &data);
  // The same from a data object's block of the format (as a drop or the
  // OLE clipboard gives it); 0 when it has none.
  UINT PasteFromClipboard(IDataObject *pDataObject);

  BOOL IsAlphaIconsAvailable() const { return m_pfnAlphaBlend != nullptr; }
  static BOOL IsComCtl6();
  void SetDrawMirrored(BOOL bMirrored) { m_bDrawReverted = bMirrored; }
  BOOL IsDrawMirrored() const { return m_bDrawReverted; }

  // Loaders over files and resources, and the pure parses under them.
  static BOOL IsAlphaBitmapFile(LPCTSTR pszFileName);
  static BOOL IsAlphaBitmapResource(UINT nIDResource);
  static HBITMAP LoadAlphaBitmap(UINT nIDResource);
  static HBITMAP LoadIconFile(LPCTSTR lpszFileName, int nWidth);
  static HBITMAP LoadIconFile(LPCTSTR lpszFileName) { return LoadIconFile(lpszFileName, 16); }
  // Icons go to a printer through an image list of the drawing size.
  static BOOL IsPrinterDC(HDC hDC);
  static BOOL DrawIconThroughImageList(HDC hDC, CPoint pt, HICON hIcon, CSize szIcon);
  // A copy of a 32-bit bitmap as a new top-down DIB section.
  static HBITMAP CopyAlphaBitmap(HBITMAP hBitmap);
  // A packed 32-bit DIB (header, optional masks, pixels) as a DIB section;
  // null unless every size it names lies inside the bytes given.
  static HBITMAP AlphaBitmapFromPackedDib(const BYTE *pData, size_t cbData);
  // The 32-bit image of the given width (0: any) of an .ico file's bytes.
  static HBITMAP AlphaBitmapFromIconFile(const BYTE *pData, size_t cbData, int nWidth);

  COLORREF m_clrMask = static_cast<COLORREF>(-1);
  UINT m_nCustomID = kCustomIdBase;

private:
  friend class CXTPImageManagerIcon;
  typedef BOOL(WINAPI *AlphaBlendProc)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);

  std::map<UINT, CXTPImageManagerIconSet *> m_mapImages; // owned
  HMODULE m_hMsImg32 = nullptr;
  AlphaBlendProc m_pfnAlphaBlend = nullptr;
  BOOL m_bDrawReverted = FALSE;
};

CXTPImageManager *XTPGetImageManager();
inline CXTPImageManager *XTPImageManager() {
  return XTPGetImageManager();
}

// Registered clipboard formats.
UINT XTPClipboardFormatToolBarImage(); // "Pallux ToolBar Image"
UINT XTPClipboardFormatAlphaBitmap();  // "Alpha Bitmap Image"

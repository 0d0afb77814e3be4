// CXTPCustomizeSheet: the customise dialog of a frame's command bars. While
// it is open the bars are in customise mode: controls are dragged between
// bars (and from the Commands page onto them), and a right click on a control
// opens the sheet's context menu, whose commands change that control: reset,
// delete, rename, style, group, and its button image (copied to and pasted
// from the clipboard, picked from a grid of pictures, or edited).
//
// CXTPCustomizeButton: one picture of that grid.
#pragma once

#include <memory>

#include "PropertySheet.h"
#include "XTPControlButton.h"
#include "XTPImageManager.h"

class CXTPImageEditorDlg;

class CXTPCommandBars;
class CXTPControl;
class CXTPPopupBar;
class CXTPCustomizeCommandsPage;
class CXTPCustomizeToolbarsPage;

// A picture of the "Change Button Image" grid: it draws as a toolbar button
// showing its picture, and its click reaches the sheet as a command.
class CXTPCustomizeButton : public CXTPControlButton {
public:
  explicit CXTPCustomizeButton(CXTPImageManager *pPictures = nullptr);
  ~CXTPCustomizeButton() override;

  void OnExecute() override;
  CSize GetSize(CDC *pDC) override;
  void Draw(CDC *pDC) override;
  CXTPImageManagerIcon *GetImage(int nWidth = 16) override;

private:
  CXTPImageManager *m_pPictures; // referenced
};

class CXTPCustomizeSheet : public CPropertySheet {
  DECLARE_DYNAMIC(CXTPCustomizeSheet)
public:
  // The width of the pictures of the grid.
  static constexpr int kPictureWidth = 16;

  explicit CXTPCustomizeSheet(CXTPCommandBars *pCommandBars, CWnd *pParentWnd = nullptr);
  ~CXTPCustomizeSheet() override;

  CXTPCommandBars *GetCommandBars() const { return m_pCommandBars; }
  CXTPCustomizeCommandsPage *GetCommandsPage() const { return m_pCommandsPage.get(); }
  CXTPCustomizeToolbarsPage *GetToolbarsPage() const { return m_pToolbarsPage.get(); }

  // The context menu of the command bars' selected control at a screen
  // point. Right-aligned when the site lays out right to left.
  void ContextMenu(int x, int y);
  // The menu, built from its resource the first time (null when the
  // resource cannot be loaded).
  CXTPPopupBar *GetCustomizeMenu();

  // The pictures of the "Change Button Image" grid: ids 1..n, each one image
  // of kPictureWidth. Drawn here the first time unless a set was given
  // (taken over; null gives an empty grid).
  CXTPImageManager *GetPictures();
  void SetPictures(CXTPImageManager *pPictures);
  // The grid's column count for a number of pictures: the whole part of the
  // square root, and at least one.
  static int PictureColumns(int nCount);
  // Fills the grid popup when it opens empty.
  void FillPictureGrid(CXTPPopupBar *pPopup);
  // A picture of the grid chosen: its image becomes the selected control's
  // custom image. FALSE (nothing changes) when the set of that id is absent
  // or holds other than exactly one width.
  BOOL ApplyPicture(UINT nPictureId);

  // The menu's commands on the selected control; each does nothing without
  // one (FALSE).
  BOOL ResetControl();
  BOOL DeleteControl();
  BOOL RenameControl(LPCTSTR lpszCaption);
  BOOL SetControlStyle(int nStyle);
  BOOL ToggleBeginGroup();
  BOOL CopyButtonImage();
  BOOL PasteButtonImage();
  BOOL ResetButtonImage();
  BOOL EditButtonImage();

  // What the menu's update handlers decide for a control (null: none).
  static BOOL CanReset(CXTPControl *pControl);
  static BOOL HasButtonImage(CXTPControl *pControl);
  static BOOL IsStyleable(CXTPControl *pControl);
  static BOOL CanBeginGroup(CXTPControl *pControl);

  // The control the menu's commands act on.
  CXTPControl *GetSelectedControl() const;

  BOOL OnInitDialog() override;

protected:
  // Opens the button image editor on an image, or on an empty picture of a
  // size; TRUE with the edited image in hResult when the user ends it with OK.
  virtual BOOL OpenImageEditor(const CXTPIconHandle &hIcon, CSize szIcon, CXTPIconHandle &hResult);
  // Runs the editor once it holds the picture: IDOK or IDCANCEL.
  virtual INT_PTR RunImageEditor(CXTPImageEditorDlg &dlg);

  CXTPImageManager *GetImageManager() const;
  void LayoutControlBar(CXTPControl *pControl) const;
  // The image the copy puts on the clipboard: a copy of an alpha bitmap,
  // else the icon drawn on the button face.
  virtual HBITMAP MakeClipboardBitmap(CXTPImageManagerIcon *pImage, BOOL &bAlpha);

  afx_msg LRESULT OnPopupShowing(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnControlNotify(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDragControlChanged(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDestroy();
  // System keys go to the default procedure, so they act on the sheet
  // window itself (Alt+F4 closes it, Alt+Space opens its window menu).
  afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnCustomizeReset() { ResetControl(); }
  afx_msg void OnCustomizeDelete() { DeleteControl(); }
  afx_msg void OnCustomizeCopyImage() { CopyButtonImage(); }
  afx_msg void OnCustomizePasteImage() { PasteButtonImage(); }
  afx_msg void OnCustomizeResetImage() { ResetButtonImage(); }
  afx_msg void OnCustomizeEditImage() { EditButtonImage(); }
  afx_msg void OnCustomizeStyle(UINT nID);
  afx_msg void OnCustomizeBeginGroup() { ToggleBeginGroup(); }
  afx_msg void OnUpdateReset(CCmdUI *pCmdUI);
  afx_msg void OnUpdateName(CCmdUI *pCmdUI);
  afx_msg void OnUpdateImage(CCmdUI *pCmdUI);
  afx_msg void OnUpdatePasteImage(CCmdUI *pCmdUI);
  afx_msg void OnUpdateResetImage(CCmdUI *pCmdUI);
  afx_msg void OnUpdateStyle(CCmdUI *pCmdUI);
  afx_msg void OnUpdateBeginGroup(CCmdUI *pCmdUI);
  DECLARE_MESSAGE_MAP()

  CXTPCommandBars *m_pCommandBars;
  CXTPPopupBar *m_pCustomizeMenu = nullptr; // referenced
  CXTPImageManager *m_pPictures = nullptr;  // referenced
  BOOL m_bPicturesGiven = FALSE;
  std::unique_ptr<CXTPCustomizeCommandsPage> m_pCommandsPage;
  std::unique_ptr<CXTPCustomizeToolbarsPage> m_pToolbarsPage;
};

// The pictures the grid offers when no other set is given, drawn in code.
CXTPImageManager *XTPCreateCustomizePictures();

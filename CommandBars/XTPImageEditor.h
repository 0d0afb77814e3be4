// The Button Editor: a modal dialog in which the user paints a toolbar
// button's picture pixel by pixel on a zoomed grid, with drawing tools, a
// palette, shift arrows, a life-size preview, undo and redo, the clipboard
// and import from a picture file.
//
// CXTPImageEditorPicture is the grid, CXTPImageEditorPicker one colour cell,
// CXTPImageEditorPreview the life-size view, CXTPImageEditorDlg the dialog.
#pragma once

#include <deque>
#include <memory>

#include "Dialog.h"
#include "Framework.h"
#include "XTPImageEditorImage.h"
#include "XTPImageManager.h"

class CXTPImageEditorDlg;

// Tools, numbered from the pencil's command.
enum XTPImageEditorTool {
  xtpToolPencil = 0,
  xtpToolFill = 1,
  xtpToolGetColor = 2,
  xtpToolLine = 3,
  xtpToolRectangle = 4,
  xtpToolCircle = 5,
};

class CXTPImageEditorPicture : public CWnd {
public:
  // Undo keeps this many steps.
  static constexpr size_t kUndoSteps = 16;

  CXTPImageEditorPicture();
  ~CXTPImageEditorPicture() override;

  // Takes over the dialog's static and sizes it to whole cells.
  BOOL Attach(CXTPImageEditorDlg *pDlg, UINT nID);
  CSize GetCellSize() const { return m_szCell; }
  CSize GetPictureSize() const { return m_szPicture; }

  // The picture shown, or null for an empty one.
  const CXTPImageEditorImage *GetCurrent() const { return m_pCurrent.get(); }
  // Replaces the picture without an undo step (loading before the run).
  void SetCurrent(std::unique_ptr<CXTPImageEditorImage> pImage);

  BOOL CanUndo() const { return !m_undo.empty(); }
  BOOL CanRedo() const { return !m_redo.empty(); }
  void Undo();
  void Redo();
  void Clear();
  void Move(int dx, int dy);
  BOOL Copy();
  BOOL Paste();
  // Loads a picture file into the picture size; FALSE leaves all as it was.
  BOOL Import(LPCTSTR pszFileName);

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void OnPaint();
  void OnLButtonDown(CPoint pt);
  void OnMouseMove(CPoint pt);
  void EndTracking();
  // The current picture becomes the stroke's base; the next commit files it.
  void BeginStep();
  void Commit(std::unique_ptr<CXTPImageEditorImage> pNew);
  void Changed();
  std::unique_ptr<CXTPImageEditorImage> CopyOfCurrent() const;
  HCURSOR ToolCursor() const;

  CSize m_szPicture{16, 16};
  CSize m_szCell{1, 1};
  CXTPImageEditorDlg *m_pDlg = nullptr;
  // The picture before the step in progress (null: the empty picture).
  std::unique_ptr<CXTPImageEditorImage> m_pStrokeStart;
  BOOL m_bStepPending = FALSE;
  std::unique_ptr<CXTPImageEditorImage> m_pCurrent;
  using History = std::deque<std::unique_ptr<CXTPImageEditorImage>>;
  void StepBack(History &from, History &to);
  History m_undo;
  History m_redo;
  CPoint m_ptStart;
  CPoint m_ptLast;
  BOOL m_bTracking = FALSE;
  HCURSOR m_hCursorLine = nullptr;
  HCURSOR m_hCursorFill = nullptr;
  HCURSOR m_hCursorPencil = nullptr;
  HCURSOR m_hCursorPickColor = nullptr;
};

class CXTPImageEditorPicker : public CWnd {
public:
  COLORREF m_clr = 0;
  BOOL m_bSelected = FALSE;

  void Select(BOOL bSelected);

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void OnPaint();
};

class CXTPImageEditorPreview : public CWnd {
public:
  CXTPImageEditorDlg *m_pDlg = nullptr;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void OnPaint();
};

class CXTPImageEditorDlg : public CDialog {
public:
  static constexpr UINT kIdToolBar = 59392;
  static constexpr int kPaletteCount = 16;

  explicit CXTPImageEditorDlg(CWnd *pParent = nullptr);
  ~CXTPImageEditorDlg() override;

  // Before the run: the size of an empty picture, or the picture to edit.
  void SetPictureSize(CSize sz) { m_szPicture = sz; }
  void SetIcon(const CXTPIconHandle &hIcon);
  // After OK: the picture as an icon or an alpha bitmap; empty when there is none.
  void GetIcon(CXTPIconHandle &hIcon) const;

  // Creates the dialog without showing it (tests, and callers that host it).
  BOOL CreateHidden(CWnd *pParent);

  CSize GetPictureSize() const { return m_szPicture; }
  int GetCurrentTool() const { return m_nCurrentTool; }
  COLORREF GetDrawColor() const { return m_pActivePicker ? m_pActivePicker->m_clr : 0; }
  CXTPImageEditorPicture &GetPicture() { return m_wndPicture; }
  CXTPImageEditorPicker &GetPalette(int nIndex) { return m_palette[nIndex]; }
  CXTPImageEditorPicker &GetTransparentPicker() { return m_wndTransparent; }
  CXTPImageEditorPicker &GetFreePicker() { return m_wndFreeColor; }
  HWND GetToolsBar() const { return m_hWndTools; }
  HWND GetMoveBar() const { return m_hWndMove; }

  void SelectTool(int nTool);
  void SelectPicker(CXTPImageEditorPicker *pPicker);
  // The pick-colour tool's result: into the free picker, and back to the previous tool.
  void ColorPicked(COLORREF clr);
  void PictureChanged();
  // Tool buttons pressed and Undo, Redo enabled as things stand.
  void UpdateToolBars();

  // Asks for a picture file; FALSE when the user cancels.
  virtual BOOL AskImportFile(CString &strFileName);
  // Asks for the free colour; FALSE when the user cancels.
  virtual BOOL AskColor(COLORREF &clr);

  CXTPImageEditorPreview m_wndPreview;

protected:
  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  BOOL OnCommand(UINT nID);
  void OnPickerClick(UINT nID);
  HWND CreateToolBar(UINT nFrameID, const UINT *pIDs, int nCount, HIMAGELIST hImages);

  // The picture given before the run; the grid holds the edited one once the dialog is made.
  std::unique_ptr<CXTPImageEditorImage> m_pInitial;
  BOOL m_bInitialised = FALSE;
  BOOL m_bHidden = FALSE;
  CSize m_szPicture{16, 16};
  HWND m_hWndTools = nullptr;
  HWND m_hWndMove = nullptr;
  HIMAGELIST m_hToolImages = nullptr;
  HIMAGELIST m_hMoveImages = nullptr;
  CXTPImageEditorPicker m_palette[kPaletteCount];
  CXTPImageEditorPicker m_wndFreeColor;
  CXTPImageEditorPicker m_wndTransparent;
  CXTPImageEditorPicture m_wndPicture;
  CXTPImageEditorPicker *m_pActivePicker = nullptr;
  int m_nCurrentTool = xtpToolPencil;
  int m_nPreviousTool = xtpToolPencil;
};

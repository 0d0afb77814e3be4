// The report list of file signatures: a click on a row's first column
// toggles its check box (through the owner), a click on its size column
// opens an edit over the cell, and a header click sorts by that column.
#pragma once

#include "Framework.h"
#include "EditItem.h"
#include "MyHeaderCtrl.h"

// The list's three columns.
enum EditListColumn { kSignatureName = 0, kSignatureExtension = 1, kSignatureSize = 2 };

// What the owner made of a size typed into a row's size cell.
enum class SizeEditAnswer {
  Taken,    // the record has the size; the cell shows it
  Invalid,  // the record cannot hold it: the list says the size is invalid
  Declined, // not taken, and the owner has told the user why
};

// What the list asks of the page or dialog that shows it.
class EditListOwner {
public:
  virtual ~EditListOwner() = default;
  // A click on the row's first column, at the point in list coordinates.
  virtual void ToggleHeaderCheck(int row, CPoint point) = 0;
  // A valid size typed into the row's size cell (kilobytes, not 0). Unless
  // taken, the cell keeps its text.
  virtual SizeEditAnswer SizeEdited(int row, uint64_t kilobytes) = 0;
};

class CEditList : public CListCtrl {
public:
  void SetOwner(EditListOwner *owner) { m_owner = owner; }
  // The row the user clicked last (-1: none yet).
  int LastClickedRow() const { return m_lastClicked; }

  // Opens the in-place edit over the cell; the made edit (owned by itself).
  CEditItem *EditSubLabel(int row, int column);
  // Sorts the rows on a header click: every click flips the direction.
  void SortListColumn(int column);
  void SortByText(int column, bool ascending, int first = 0, int last = -1);
  void SortByNumber(int column, bool ascending, int first = 0, int last = -1);
  void SortByName() { SortByText(kSignatureName, true); }
  const CMyHeaderCtrl &SortHeader() const { return m_header; }

  // Whether the size text is one the size column takes (all digits, not 0);
  // its value in kilobytes.
  static bool ParseSizeText(const CString &text, uint64_t &kilobytes);

  afx_msg void OnClick(NMHDR *header, LRESULT *result);
  afx_msg void OnEndLabelEdit(NMHDR *header, LRESULT *result);
  afx_msg void OnColumnClick(NMHDR *header, LRESULT *result);

protected:
  // The list's own header is drawn by the list's header member.
  void PreSubclassWindow() override;

private:
  CMyHeaderCtrl m_header;
  EditListOwner *m_owner = nullptr;
  int m_lastClicked = -1;
  bool m_ascending = true;

  void SortRows(int column, bool ascending, int first, int last, bool numbers);

  DECLARE_MESSAGE_MAP()
};

// The drive tree of the wizard's drive page: "My Computer", its disks with
// their logical drives, and the removable and floppy groups, each drive (or,
// for a disk scan, each disk) with a check box; one box at most is checked.
// Every item with a box carries the position of its record in the drive
// list as its item data, so the choice never depends on the item's text.
#pragma once

#include "DriveRecord.h"
#include "Framework.h"

#include <functional>
#include <string>
#include <vector>

// The string-table texts the tree shows.
struct DriveTreeTexts {
  std::wstring myComputer = L"My Computer";
  std::wstring disk = L"Disk";
  std::wstring bootDrive = L"Boot Drive";
  std::wstring removableDisk = L"Removable Disk";
  std::wstring floppyDisk = L"Floppy Disk";
  std::wstring sizeUnknown = L"size unknown";
};

// Images of the tree's normal image list.
enum DriveTreeImage { kImageFixedDrive = 0, kImageMyComputer, kImageRemovable, kImageDisk, kImageFloppy };

// One item of the drive tree, in insertion order.
struct DriveTreeItem {
  int parent = -1; // position of the parent item; -1 for the top item
  std::wstring text;
  int image = kImageFixedDrive;
  bool hasBox = false;
  int record = -1; // position in the drive list of the item's drive or disk; -1 for none
  bool expanded = false;
};

// The items of the tree for a drive list. systemRoot: the root ("C:\") of
// the drive that holds the system, marked as the boot drive; ntFamily: disk
// items show the disk's model and firmware.
std::vector<DriveTreeItem> BuildDriveTree(const std::vector<DriveRecord> &drives, bool physicalDiskScan,
                                          const std::wstring &systemRoot, bool ntFamily,
                                          const DriveTreeTexts &texts);

class CMyTreeCtrl : public CTreeCtrl {
public:
  // Called after every click with the record of the checked box (-1: none).
  using ChoiceHandler = std::function<void(int checkedRecord)>;

  // Makes the control (with its image lists) as a child of the page.
  BOOL CreateDriveTree(CWnd *parent, const RECT &rect, UINT id);
  void FillDriveTree(const std::vector<DriveRecord> &drives, bool physicalDiskScan);
  void SetChoiceHandler(ChoiceHandler handler) { m_onChoice = std::move(handler); }

  // The record of the item whose box is checked; -1 when none is.
  int CheckedRecord() const;
  // The position in the drive list of the drive last chosen (0 when none).
  int ChosenIndex() const { return m_chosenIndex; }
  // Checks the item's box and clears every other; unchecks it when it was checked.
  void ToggleBox(HTREEITEM item);
  bool HasBox(HTREEITEM item) const;

  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);

private:
  // Calls fn for every item of the tree, depth first.
  void ForEachItem(const std::function<void(HTREEITEM)> &fn) const;

  CImageList m_normalImages;
  CImageList m_stateImages;
  int m_chosenIndex = 0;
  ChoiceHandler m_onChoice;

  DECLARE_MESSAGE_MAP()
};

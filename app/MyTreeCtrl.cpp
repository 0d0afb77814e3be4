#include "MyTreeCtrl.h"
#include "AppText.h"
#include "CheckBoxHit.h"
#include "DriveList.h"

#include "ShownText.h"
#include "resource.h"

#include <shlobj.h>

#include <algorithm>
#include <set>

namespace {

std::wstring FromCodePage(const std::string &text) {
  if (text.empty()) return {};
  int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(std::max(length, 0)), L'\0');
  if (length > 0)
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), length);
  return out;
}

bool IsFloppyName(const std::u16string &name) {
  return name == u"A:\\" || name == u"B:\\";
}

bool IsRemovable(const DriveRecord &drive) {
  return drive.m_typeText == u"REMOVABLE";
}

// "C: (Boot Drive)   ( NTFS,  9.998 GB )"
std::wstring DriveText(const DriveRecord &drive, const std::wstring &systemRoot,
                       const DriveTreeTexts &texts) {
  std::wstring text = Wide(drive.m_name.substr(0, 2));
  const std::wstring name = Wide(drive.m_name);
  if (!name.empty() && systemRoot.size() >= 3 && _wcsnicmp(systemRoot.c_str(), name.c_str(), 3) == 0)
    text += L" (" + texts.bootDrive + L")";
  text += L"   ( " + WideString(drive.m_fileSystem) + L",  " +
          Wide(ShownSizeText(drive.m_sizeText, ActiveShownWords())) + L" )";
  return text;
}

// "Disk 1   ( QEMU HARDDISK, 2.5+ ) ". A disk of the disk scan the system
// gave no identity for shows its size instead, and one it gave no size says
// so, rather than an empty "( , )".
std::wstring DiskText(int number, const DriveRecord *identity, bool ntFamily, bool withSize,
                      const DriveTreeTexts &texts) {
  std::wstring text = texts.disk + L" " + std::to_wstring(number) + L"   ( ";
  const bool known =
      identity != nullptr && (!identity->m_model.empty() || !identity->m_firmwareRevision.empty());
  if (ntFamily && known)
    text += FromCodePage(identity->m_model) + L", " + FromCodePage(identity->m_firmwareRevision);
  if (withSize && identity != nullptr) {
    const bool shown = ntFamily && known;
    if (identity->m_sectors == 0)
      text += (shown ? L", " : L"") + texts.sizeUnknown;
    else if (!shown)
      text += Wide(FormatSizeText(identity->m_sectors * 512));
  }
  return text + L" ) ";
}

int AddItem(std::vector<DriveTreeItem> &items, int parent, std::wstring text, int image, bool hasBox,
            int record, bool expanded) {
  items.push_back({parent, std::move(text), image, hasBox, record, expanded});
  return static_cast<int>(items.size()) - 1;
}

} // namespace

std::vector<DriveTreeItem> BuildDriveTree(const std::vector<DriveRecord> &drives, bool physicalDiskScan,
                                          const std::wstring &systemRoot, bool ntFamily,
                                          const DriveTreeTexts &texts) {
  std::vector<DriveTreeItem> items;
  const int root = AddItem(items, -1, texts.myComputer, kImageMyComputer, false, -1, true);
  const int count = static_cast<int>(drives.size());

  if (physicalDiskScan) {
    for (int i = 0; i < count; ++i)
      if (drives[i].m_biosDiskCode >= 0x80)
        AddItem(items, root, DiskText(drives[i].m_biosDiskCode - 0x7F, &drives[i], ntFamily, true, texts),
                kImageDisk, true, i, false);
  } else {
    // One item per disk that holds a listed drive, numbered by the disk
    // itself, whatever the order of the drive letters.
    std::set<uint8_t> disks;
    for (const DriveRecord &drive : drives)
      if (drive.m_biosDiskCode >= 0x80) disks.insert(drive.m_biosDiskCode);
    for (uint8_t code : disks) {
      const auto first = std::find_if(drives.begin(), drives.end(),
                                      [code](const DriveRecord &d) { return d.m_biosDiskCode == code; });
      const int disk = AddItem(items, root, DiskText(code - 0x7F, &*first, ntFamily, false, texts),
                               kImageDisk, false, -1, true);
      for (int i = 0; i < count; ++i)
        if (drives[i].m_biosDiskCode == code)
          AddItem(items, disk, DriveText(drives[i], systemRoot, texts), kImageFixedDrive, true, i, false);
    }
    // Drives whose disk could not be found (the system would not say) are
    // still offered, directly under the top item.
    for (int i = 0; i < count; ++i)
      if (drives[i].m_biosDiskCode < 0x80 && !IsRemovable(drives[i]))
        AddItem(items, root, DriveText(drives[i], systemRoot, texts), kImageFixedDrive, true, i, false);
  }

  const bool anyRemovable = std::any_of(drives.begin(), drives.end(), [](const DriveRecord &d) {
    return IsRemovable(d) && !IsFloppyName(d.m_name);
  });
  const bool anyFloppy = std::any_of(drives.begin(), drives.end(), [](const DriveRecord &d) {
    return IsRemovable(d) && IsFloppyName(d.m_name);
  });
  if (anyRemovable) {
    const int group = AddItem(items, root, texts.removableDisk, kImageDisk, false, -1, true);
    for (int i = 0; i < count && !physicalDiskScan; ++i)
      if (IsRemovable(drives[i]) && !IsFloppyName(drives[i].m_name))
        AddItem(items, group, DriveText(drives[i], systemRoot, texts), kImageRemovable, true, i, false);
  }
  if (anyFloppy) {
    const int group = AddItem(items, root, texts.floppyDisk, kImageDisk, false, -1, true);
    for (int i = 0; i < count && !physicalDiskScan; ++i)
      if (IsRemovable(drives[i]) && IsFloppyName(drives[i].m_name))
        AddItem(items, group, DriveText(drives[i], systemRoot, texts), kImageFloppy, true, i, false);
  }
  return items;
}

BEGIN_MESSAGE_MAP(CMyTreeCtrl, CTreeCtrl)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

BOOL CMyTreeCtrl::CreateDriveTree(CWnd *parent, const RECT &rect, UINT id) {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT;
  if (!Create(style, rect, parent, id)) return FALSE;
  m_normalImages.Create(16, 16, ILC_COLOR32 | ILC_MASK, 5, 5);
  for (UINT bitmapId : {IDB_FIXED_DRIVE, IDB_MY_COMPUTER, IDB_REMOVABLE_DRIVE, IDB_DISK, IDB_FLOPPY_DRIVE}) {
    CBitmap bitmap;
    bitmap.LoadBitmap(bitmapId);
    m_normalImages.Add(&bitmap, RGB(0xFF, 0xFF, 0xFF));
  }
  m_stateImages.Create(IDB_CHECK_STATES, 14, 2, RGB(0xFF, 0xFF, 0xFF));
  SetImageList(&m_normalImages, TVSIL_NORMAL);
  SetImageList(&m_stateImages, TVSIL_STATE);
  return TRUE;
}

void CMyTreeCtrl::FillDriveTree(const std::vector<DriveRecord> &drives, bool physicalDiskScan) {
  DeleteAllItems();
  m_chosenIndex = 0;
  DriveTreeTexts texts;
  for (auto [id, text] : {std::pair{IDS_MY_COMPUTER, &texts.myComputer},
                          {IDS_DISK, &texts.disk},
                          {IDS_BOOT_DRIVE, &texts.bootDrive},
                          {IDS_REMOVABLE_DISK, &texts.removableDisk},
                          {IDS_FLOPPY_DISK, &texts.floppyDisk},
                          {IDS_DISK_SIZE_UNKNOWN, &texts.sizeUnknown}}) {
    CString loaded;
    if (loaded.LoadString(id)) *text = loaded.GetString();
  }
  wchar_t systemPath[MAX_PATH] = {};
  ::SHGetSpecialFolderPathW(nullptr, systemPath, 34, FALSE);
  const bool ntFamily = (::GetVersion() & 0x80000000u) == 0;

  const std::vector<DriveTreeItem> items =
      BuildDriveTree(drives, physicalDiskScan, systemPath, ntFamily, texts);
  std::vector<HTREEITEM> handles;
  for (const DriveTreeItem &item : items) {
    HTREEITEM parent = item.parent < 0 ? TVI_ROOT : handles[static_cast<size_t>(item.parent)];
    const UINT state = item.hasBox ? INDEXTOSTATEIMAGEMASK(1) : 0;
    handles.push_back(InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_PARAM,
                                 item.text.c_str(), item.image, item.image, state, TVIS_STATEIMAGEMASK,
                                 static_cast<LPARAM>(item.record), parent, TVI_LAST));
  }
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].expanded) Expand(handles[i], TVE_EXPAND);
}

void CMyTreeCtrl::ForEachItem(const std::function<void(HTREEITEM)> &fn) const {
  std::vector<HTREEITEM> pending;
  for (HTREEITEM item = GetRootItem(); item != nullptr; item = GetNextSiblingItem(item))
    pending.push_back(item);
  while (!pending.empty()) {
    HTREEITEM item = pending.back();
    pending.pop_back();
    fn(item);
    for (HTREEITEM child = GetChildItem(item); child != nullptr; child = GetNextSiblingItem(child))
      pending.push_back(child);
  }
}

bool CMyTreeCtrl::HasBox(HTREEITEM item) const {
  return item != nullptr && (GetItemState(item, TVIS_STATEIMAGEMASK) & TVIS_STATEIMAGEMASK) != 0;
}

int CMyTreeCtrl::CheckedRecord() const {
  int record = -1;
  ForEachItem([&](HTREEITEM item) {
    if (HasBox(item) && GetCheck(item)) record = static_cast<int>(GetItemData(item));
  });
  return record;
}

void CMyTreeCtrl::ToggleBox(HTREEITEM item) {
  if (!HasBox(item)) return;
  if (GetCheck(item)) {
    SetCheck(item, FALSE);
    return;
  }
  ForEachItem([&](HTREEITEM other) {
    if (other != item && HasBox(other)) SetCheck(other, FALSE);
  });
  SetCheck(item, TRUE);
}

void CMyTreeCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
  UINT hit = 0;
  HTREEITEM item = HitTest(point, &hit);
  if (item != nullptr && IsTreeCheckBoxHit(hit)) ToggleBox(item);
  const int checked = CheckedRecord();
  m_chosenIndex = checked >= 0 ? checked : 0;
  if (m_onChoice) m_onChoice(checked);
  CTreeCtrl::OnLButtonDown(nFlags, point);
}

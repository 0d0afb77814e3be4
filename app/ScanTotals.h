// The totals text of status pane 1: what a search found so far, with the
// byte total in GB, MB or KB to three decimals, or in bytes below 1 KB.
#pragma once

#include <cstdint>
#include <string>

// The words of the text, from the active language's string table.
struct TotalsWords {
  std::wstring total;   // "Total"
  std::wstring bytes;   // "Bytes"
  std::wstring in;      // "in"
  std::wstring files;   // "File(s)"
  std::wstring folders; // "Folder(s)"
  std::wstring gigabytes = L"GB", megabytes = L"MB", kilobytes = L"KB";
};

std::wstring FormatTotalsText(uint64_t bytes, uint32_t files, uint32_t folders, const TotalsWords &words);

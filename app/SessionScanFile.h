// A session's scan-information file: which kind a file holds and where it
// was searched (read from its header before anything of the current results
// is let go), the session that reads it again, and the writer and loader of
// the session's kind.
#pragma once

#include "ScanSession.h"
#include "TreeEntryNode.h"

#include <memory>
#include <string>

struct ScanFileHeaderInfo {
  bool m_opened = false;     // the file could be read at all
  bool m_recognised = false; // its header is one of ours and describes a drive
  ScanKind m_kind = ScanKind::FatVolume;
  ScanSession::Target m_target;
};

// Reads and checks the header only; the file is closed again.
ScanFileHeaderInfo InspectScanFile(const std::u16string &path);
// The sectors of the drive the header names (0: its size is unknown); the
// device is opened, nothing is read from it.
uint64_t DriveSectorsOf(const ScanFileHeaderInfo &info, DeviceLayer &devices);
// True when the volume the header describes lies inside that drive.
bool ScanFileFitsItsDrive(const ScanFileHeaderInfo &info, DeviceLayer &devices);
// The session of the file's kind, bound to the drive its header names.
std::unique_ptr<ScanSession> MakeScanFileSession(const ScanFileHeaderInfo &info, EngineServices &services,
                                                 DeviceLayer &devices);
// Rebuilds the tree through the services from the file; false when the
// loader refused it (after its log line and message).
bool LoadSessionScanFile(ScanSession &session, EngineServices &services, const std::u16string &path);
// Writes the session's scan information with the tree's entries; true only
// when the file is completely in place.
bool SaveSessionScanFile(ScanSession &session, EngineServices &services, const std::u16string &path,
                         const EntryNodeList &entries);

#pragma once
// The records exchanged with the P2P server program by WM_COPYDATA (wParam
// 0, little-endian), one definition for the MV window and the MV web
// control. Records that arrive from the server are taken only through the
// Decode functions, which check the payload's size and that the path in it
// ends inside its field.
#include <cstddef>
#include <cstdint>
#include <string>

#include "shared/SignPair.h"

namespace p2pwire {

// The server's window class.
constexpr const char* kServerWindowClass = "ZuDiverUdoziz";

// dwData of the four records.
constexpr unsigned long kCodeRequest = 1;  // to the server
constexpr unsigned long kCodeCancel = 2;   // to the server
constexpr unsigned long kCodeStatus = 3;   // from the server
constexpr unsigned long kCodeLookup = 4;   // from the server

// Status record events.
constexpr uint32_t kEventDone = 4;  // completed (100 %) or failed
constexpr uint32_t kEventProgress = 5;
constexpr uint32_t kEventNoPeer = 9;
constexpr uint32_t kEventNetworkError = 11;

constexpr size_t kReplyWindowBytes = 64;
constexpr size_t kSourcePathBytes = 260;

struct P2PRequestRecord {
  SignPair sign;
  uint32_t reserved;                    // 0
  char replyWindow[kReplyWindowBytes];  // title and class of the requester's reply window
};
static_assert(sizeof(P2PRequestRecord) == 76, "request record size");
static_assert(offsetof(P2PRequestRecord, reserved) == 8 && offsetof(P2PRequestRecord, replyWindow) == 12,
              "request record layout");

// The cancel record is the pair itself.
static_assert(sizeof(SignPair) == 8, "cancel record size");

struct P2PStatusRecord {
  SignPair sign;
  uint32_t event;
  uint32_t usablePercent;    // of the 16 KB blocks, readable from the start
  uint32_t downloadPercent;  // 100: complete
  uint32_t rate;             // bytes per second
  uint32_t unused1;
  uint32_t unused2;
  uint32_t totalSize;
  char sourcePath[kSourcePathBytes];  // the server's file
};
static_assert(sizeof(P2PStatusRecord) == 296, "status record size");
static_assert(offsetof(P2PStatusRecord, event) == 8 && offsetof(P2PStatusRecord, usablePercent) == 12 &&
                  offsetof(P2PStatusRecord, downloadPercent) == 16 && offsetof(P2PStatusRecord, rate) == 20 &&
                  offsetof(P2PStatusRecord, unused1) == 24 && offsetof(P2PStatusRecord, unused2) == 28 &&
                  offsetof(P2PStatusRecord, totalSize) == 32 && offsetof(P2PStatusRecord, sourcePath) == 36,
              "status record layout");

struct P2PLookupRecord {
  SignPair sign;
  char sourcePath[kSourcePathBytes];  // empty: not found yet
  uint32_t percent;                   // 100: the file is complete on this machine
};
static_assert(sizeof(P2PLookupRecord) == 272, "lookup record size");
static_assert(offsetof(P2PLookupRecord, sourcePath) == 8 && offsetof(P2PLookupRecord, percent) == 268,
              "lookup record layout");

// The request for `sign`, answered to the window named `replyWindow` (cut to
// 63 bytes, never inside a double-byte character).
P2PRequestRecord MakeRequestRecord(SignPair sign, const char* replyWindow);

// A record from the server: false unless `size` is the record's size and
// its sourcePath ends (NUL) inside its field. `path` gets that path.
bool DecodeStatusRecord(const void* data, size_t size, P2PStatusRecord& out, std::string& path);
bool DecodeLookupRecord(const void* data, size_t size, P2PLookupRecord& out, std::string& path);

}  // namespace p2pwire

#pragma once
// Two words naming one P2P resource (an MV, an artist's picture show, the
// FLV decoder installer). A pair whose first word is 0 names nothing. The
// engine's records, the MV window messages and the P2P server records all
// carry it.
#include <cstddef>
#include <cstdint>

struct SignPair {
  uint32_t first;
  uint32_t second;
};
static_assert(sizeof(SignPair) == 8 && offsetof(SignPair, second) == 4, "SignPair layout");

inline bool operator==(const SignPair& a, const SignPair& b) { return a.first == b.first && a.second == b.second; }
inline bool operator!=(const SignPair& a, const SignPair& b) { return !(a == b); }

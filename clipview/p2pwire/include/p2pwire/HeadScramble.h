#pragma once
// The P2P server keeps the first 16384 bytes of every media file (not of
// "exe" resources) in a transformed form. The transformation is a byte
// substitution keyed with two constant texts; it does not depend on a
// byte's position, so a copy may restore any part of the head on its own.
#include <cstddef>

namespace p2pwire {

constexpr size_t kScrambledHeadBytes = 16384;

// In place over n bytes: the server's form to the original, and back.
void UnscrambleHead(unsigned char* data, size_t n);
void ScrambleHead(unsigned char* data, size_t n);

}  // namespace p2pwire

// Brightening and darkening of a texel: byte-wise saturating arithmetic on the
// whole 32-bit word, all four bytes alike, done in one general-purpose register
// (SWAR). Each result equals the four separate byte operations exactly.
#pragma once
#include <cstdint>

// The magnitude M spread over the four bytes, kept to 32 bits (every byte is M
// for M from 0 to 255; larger M overlap as the OR gives them).
inline uint32_t spread_to_bytes(uint32_t m) {
  return m | (m << 8) | (m << 16) | (m << 24);
}

// Every byte: min(a + b, 255).
inline uint32_t add_bytes_saturated(uint32_t a, uint32_t b) {
  constexpr uint32_t HIGH = 0x80808080u;
  // The low seven bits of each byte add without reaching the next byte; their
  // carry lands in bit 7, where the top bits are then added by XOR.
  const uint32_t low = (a & ~HIGH) + (b & ~HIGH);
  const uint32_t sum = low ^ ((a ^ b) & HIGH);
  const uint32_t carry = ((a & b) | (low & (a | b))) & HIGH;  // carry out of each byte
  return sum | ((carry >> 7) * 0xFFu);
}

// Every byte: max(a - b, 0).
inline uint32_t subtract_bytes_saturated(uint32_t a, uint32_t b) {
  constexpr uint32_t HIGH = 0x80808080u;
  // With bit 7 of each minuend byte set, the low seven bits subtract without
  // borrowing from the next byte; bit 7 then tells whether they borrowed.
  const uint32_t low = (a | HIGH) - (b & ~HIGH);
  const uint32_t difference = low ^ (~(a ^ b) & HIGH);
  const uint32_t borrow = ((~a & b) | (~(a ^ b) & ~low)) & HIGH;  // a < b in each byte
  return difference & ~((borrow >> 7) * 0xFFu);
}

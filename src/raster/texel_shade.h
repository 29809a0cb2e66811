// Brightening and darkening of a texel: byte-wise saturating arithmetic on the
// whole 32-bit word, all four bytes alike, done in one general-purpose register
// (SWAR). Each result equals the four separate byte operations exactly.
#pragma once
#include <cstdint>

// The magnitude M spread over the four bytes, kept to 32 bits (every byte is M
// for M from 0 to 255; larger M overlap as the OR gives them).
inline uint32_t SPREAD_TO_BYTES(uint32_t M) {
  return M | (M << 8) | (M << 16) | (M << 24);
}

// Every byte: min(a + b, 255).
inline uint32_t ADD_BYTES_SATURATED(uint32_t A, uint32_t B) {
  constexpr uint32_t HIGH = 0x80808080u;
  // The low seven bits of each byte add without reaching the next byte; their
  // carry lands in bit 7, where the top bits are then added by XOR.
  const uint32_t LOW = (A & ~HIGH) + (B & ~HIGH);
  const uint32_t SUM = LOW ^ ((A ^ B) & HIGH);
  const uint32_t CARRY = ((A & B) | (LOW & (A | B))) & HIGH;  // carry out of each byte
  return SUM | ((CARRY >> 7) * 0xFFu);
}

// Every byte: max(a - b, 0).
inline uint32_t SUBTRACT_BYTES_SATURATED(uint32_t A, uint32_t B) {
  constexpr uint32_t HIGH = 0x80808080u;
  // With bit 7 of each minuend byte set, the low seven bits subtract without
  // borrowing from the next byte; bit 7 then tells whether they borrowed.
  const uint32_t LOW = (A | HIGH) - (B & ~HIGH);
  const uint32_t DIFFERENCE = LOW ^ (~(A ^ B) & HIGH);
  const uint32_t BORROW = ((~A & B) | (~(A ^ B) & ~LOW)) & HIGH;  // a < b in each byte
  return DIFFERENCE & ~((BORROW >> 7) * 0xFFu);
}

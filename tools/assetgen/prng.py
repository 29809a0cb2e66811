"""A tiny xorshift64* generator, so the data files never depend on the host's random module."""

MASK64 = (1 << 64) - 1


class Prng:
    def __init__(self, seed):
        self.state = (seed & MASK64) or 0x9E3779B97F4A7C15

    def next32(self):
        x = self.state
        x ^= x >> 12
        x ^= (x << 25) & MASK64
        x ^= x >> 27
        self.state = x
        return ((x * 0x2545F4914F6CDD1D) & MASK64) >> 32

    def unit(self):
        """Uniform in [0, 1)."""
        return self.next32() / 4294967296.0

    def below(self, n):
        return self.next32() % n

    def signed(self):
        """Uniform in [-1, 1)."""
        return self.unit() * 2.0 - 1.0

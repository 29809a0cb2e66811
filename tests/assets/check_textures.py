#!/usr/bin/env python3
"""Checks that the three textures are 256 x 256, 24-bit, uncompressed, bottom-up BMP files."""

import os
import struct
import unittest

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TEXTURES = ["sand.bmp", "wall.bmp", "ufouvmap.bmp"]


class Textures(unittest.TestCase):
    def test_headers(self):
        for name in TEXTURES:
            with self.subTest(texture=name):
                with open(os.path.join(REPO, "res", "texture", name), "rb") as f:
                    data = f.read()
                magic, size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
                header, width, height, planes, bits, compression, image_size = struct.unpack_from("<IiiHHII", data, 14)
                self.assertEqual(magic, b"BM")
                self.assertEqual((header, offset), (40, 54))
                self.assertEqual((width, height), (256, 256))  # positive height: rows stored bottom-up
                self.assertEqual((planes, bits, compression), (1, 24, 0))
                self.assertEqual(image_size, 256 * 256 * 3)
                self.assertEqual(size, len(data))
                self.assertEqual(len(data), 54 + 256 * 256 * 3)

    def test_pictures_are_not_flat(self):
        for name in TEXTURES:
            with open(os.path.join(REPO, "res", "texture", name), "rb") as f:
                pixels = f.read()[54:]
            with self.subTest(texture=name):
                self.assertGreater(len(set(pixels[i:i + 3] for i in range(0, len(pixels), 3))), 64)


if __name__ == "__main__":
    unittest.main()

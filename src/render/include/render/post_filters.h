// Bringing the back buffer to the screen: 2 x 2 averaging and 2 x 2 doubling.
// Each filter runs in bands of rows on a renderer's drawing threads; the forms
// without a renderer use the default one.
#pragma once
#include <cstdint>

#include "base/image.h"
#include "raster/raster_target.h"
#include "render/renderer.h"

// Writes the 2 x 2 box average of INBUFF to OUTBUFF (an image, or
// SCREEN_TARGET for the screen page). Each byte of a pixel is
// ((tl/2 + bl/2)/2) + ((tr/2 + br/2)/2) with truncating halvings, so four
// bytes of 255 give 254. The output is floor(W/2) x floor(H/2) pixels, cut to
// the target. Does nothing for a null image or one that image_is_usable
// refuses (BPP other than 4, say). Returns 0.
int32_t ANTIALIAS4X(Renderer& renderer, const IMAGE* inbuff, IMAGE* outbuff);
int32_t ANTIALIAS4X(const IMAGE* inbuff, IMAGE* outbuff);

// Writes SRC doubled in both directions to DST (an image, or null or
// SCREEN_TARGET for the screen page), each pixel as a 2 x 2 block, cut to the
// target. A target of odd width or height gets its last column or row from
// the next source column or row, where SRC has one, as 1 x 2, 2 x 1 or 1 x 1
// blocks.
void SCALE2(Renderer& renderer, IMAGE* dst, const IMAGE* src);
void SCALE2(IMAGE* dst, const IMAGE* src);

// ANTIALIAS4X(IN, HALF) and then SCALE2(DST, HALF), in one pass where the
// doubling reads exactly the pixels the averaging writes: the same pixels in
// HALF and in DST.
void average_and_double(Renderer& renderer, const IMAGE* in, IMAGE* half, IMAGE* dst);
void average_and_double(const IMAGE* in, IMAGE* half, IMAGE* dst);

// Brings BACKBUFFER to the screen page as the two quality switches say: averaged
// and doubled, doubled, averaged, or copied as it is. A failed copy stops the
// program with its error number.
void bring_to_screen(Renderer& renderer);

// The frame's clears, BUFFER_RENDER and bring_to_screen, with the same
// result: where the drawing goes band by band, each band is brought to the
// screen by the thread that drew it, just after drawing it.
void draw_to_screen(Renderer& renderer, int32_t& fcnt);

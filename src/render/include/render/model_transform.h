// The per-model stage of the render pipeline: carries a model's vertices to
// the screen, culls whole triangles against the view volume, drops back faces
// and triangles beyond the far limit, gives each remaining triangle one flat
// light value and appends it to the render queue RBUFFER. It draws nothing.
#pragma once
#include <cstdint>

#include "math/nmathf.h"
#include "model/model.h"
#include "base/image.h"
#include "render/model_chunks.h"
#include "render/renderer.h"

// One call per entity per frame. M is the entity's view x model matrix,
// LIGHT_POSITION the light in view space. Every visible, front-facing
// triangle is written to RBUFFER(FCNT) and FCNT grows by one; the queue grows
// to hold them (a negative FCNT writes nothing and counts the triangles in
// RENDERER's dropped_triangles()). COLOR_MULT is not read. A non-null TEXTURE
// replaces the triangles' own textures; TCOORD is added to every corner's
// texture coordinate.
//
// The model's per-frame arrays are rewritten: TVERTICES, RVERTICES and
// PVERTICES, MAX_RVERTS and MAX_RTRIS (to MAX_VERTICES and MAX_TRIANGLES)
// and every triangle's CULLED; a triangle's NTCOORD carries over to the next
// call. Triangles that cross the near plane are cut there: their pieces, new
// corners included, live in RENDERER's scratch and are queued after the
// triangles drawn whole, in place of the crossing triangle. RTRIANGLES is not
// used.
void MODEL_TRANSFORM(Renderer& renderer, MODEL_STRUCT* model, const NMATHF::MATRIX& m,
                     int32_t& fcnt, const NMATHF::VEC3F& light_position, float& color_mult,
                     const float& depth_offset, int32_t use_tex, const IMAGE* texture,
                     const NMATHF::VEC2F& tcoord);
// The same with the default renderer.
void MODEL_TRANSFORM(MODEL_STRUCT* model, const NMATHF::MATRIX& m, int32_t& fcnt,
                     const NMATHF::VEC3F& light_position, float& color_mult,
                     const float& depth_offset, int32_t use_tex, const IMAGE* texture,
                     const NMATHF::VEC2F& tcoord);

// The renderer's path for a large model: MODEL_TRANSFORM with the chunks of
// CHUNKS (made from MODEL by make_model_chunks) whose box lies wholly outside
// the view volume skipped before their vertices are transformed, the rest
// carried on RENDERER's drawing threads. With the renderer's occlusion
// culling on (and outlines off), the chunks nearest the eye are carried
// first and the chunks they hide are skipped too, as are the single
// triangles of the rest that they hide: those draw no pixel. What is queued
// is what MODEL_TRANSFORM queues, in the same order and to the bit, less the
// hidden triangles. The triangles of a skipped chunk
// keep their CULLED and NTCOORD from before (a chunk is skipped as hidden
// only once carrying it would change no NTCOORD: CHUNKS.settled); the
// model's per-frame vertex arrays are not written. One chunk, or chunks made
// for other counts than the model's, fall back to the whole model.
void transform_in_chunks(Renderer& renderer, MODEL_STRUCT* model, ModelChunks& chunks,
                         const NMATHF::MATRIX& m, int32_t& fcnt,
                         const NMATHF::VEC3F& light_position, const float& depth_offset,
                         int32_t use_tex, const IMAGE* texture, const NMATHF::VEC2F& tcoord);

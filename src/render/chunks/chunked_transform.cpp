// The renderer's path for a large model: the chunks in view carried through
// the transform as jobs on the drawing threads, each job into scratch of its
// own, then queued in chunk order: the whole model's queue, to the bit. With
// occlusion culling the nearest chunks go first, their depth is drawn, and
// the chunks it hides are skipped.
#include <algorithm>
#include <cmath>

#include "chunk_scratch.h"
#include "chunk_view_test.h"
#include "render/model_transform.h"
#include "render/render_globals.h"

namespace {

// COUNT entries appended to the render queue at FCNT as COUNT single appends
// would append them: the queue grown to hold them, those at or past its hard
// limit (or all, for a negative FCNT) counted in DROPPED.
void append_to_queue(const SORT_STRUCT* entries, uint32_t count, int32_t& fcnt,
                     int64_t& dropped) {
  if (count == 0) return;
  const int64_t room = fcnt < 0 ? 0 : int64_t(RBUFFER_MAX) - fcnt;
  const uint32_t n = uint32_t(std::clamp<int64_t>(room, 0, count));
  if (n > 0 && queue_slot(fcnt + int32_t(n) - 1) != nullptr) {
    std::copy(entries, entries + n, RBUFFER.data() + fcnt);
    fcnt += int32_t(n);
  } else {
    dropped += n;
  }
  dropped += count - n;
}

// The places FIRST to LAST - 1 of PLACES cut into at most JOBS runs of about
// equal numbers of triangles; their starts (and LAST) go to STARTS.
void cut_into_jobs(const ModelChunks& chunks, const ChunkScratch& s,
                   const std::vector<uint32_t>& places, uint32_t first, uint32_t last,
                   int32_t jobs, std::vector<uint32_t>& starts) {
  starts.clear();
  uint64_t total = 0;
  for (uint32_t p = first; p < last; ++p) {
    const ModelChunk& c = chunks.chunks[s.kept[places[p]]];
    total += c.last_triangle - c.first_triangle;
  }
  uint64_t sum = 0;
  int32_t job = 0;
  for (uint32_t p = first; p < last; ++p) {
    if (p == first || sum * uint64_t(jobs) >= total * uint64_t(job)) {
      starts.push_back(p);
      ++job;
    }
    const ModelChunk& c = chunks.chunks[s.kept[places[p]]];
    sum += c.last_triangle - c.first_triangle;
  }
  starts.push_back(last);
}

// One job: the chunks of its run of places carried into its own scratch (a
// hidden one only as far as its texture coordinates).
struct CarryJob {
  MODEL_STRUCT& model;
  ModelChunks& chunks;
  const ChunkFrame& frame;
  ChunkScratch& scratch;
  const std::vector<uint32_t>& places;
  uint32_t first_job;

  void operator()(int32_t band) const {
    const uint32_t job = first_job + uint32_t(band);
    ChunkJobOutput& out = scratch.jobs[job];
    out.clear();
    for (uint32_t p = scratch.job_starts[size_t(band)]; p < scratch.job_starts[size_t(band) + 1];
         ++p) {
      const uint32_t place = places[p], chunk = scratch.kept[place];
      if (scratch.hidden[place]) {
        refresh_hidden_chunk(model, chunks, chunk, frame, out);
        scratch.entries[place] = ChunkEntries{NO_JOB, 0, 0, 0, 0};
      } else {
        ChunkEntries e = transform_chunk(model, chunks, chunk, frame, out);
        e.job = job;
        scratch.entries[place] = e;
      }
      // The records are in the cache now: a chunk settles once.
      if (!chunks.settled[chunk])
        chunks.settled[chunk] = texture_coords_settled(model, chunks.chunks[chunk]);
    }
  }
};

// The kept chunks at PLACES FIRST to LAST - 1 carried through the transform
// on the drawing threads, in jobs numbered from FIRST_JOB on; returns the
// number after the last.
uint32_t carry_chunks(Renderer& renderer, MODEL_STRUCT& model, ModelChunks& chunks,
                      const ChunkFrame& frame, const std::vector<uint32_t>& places,
                      uint32_t first, uint32_t last, uint32_t first_job) {
  ChunkScratch& s = renderer.chunk_scratch();
  DrawWorkers& workers = renderer.workers();
  cut_into_jobs(chunks, s, places, first, last, workers.work_shares(), s.job_starts);
  const int32_t jobs = int32_t(s.job_starts.size()) - 1;
  if (s.jobs.size() < first_job + size_t(jobs)) s.jobs.resize(first_job + size_t(jobs));
  workers.for_each_band(jobs, CarryJob{model, chunks, frame, s, places, first_job});
  return first_job + uint32_t(jobs);
}

// The entries of the chunks at places FIRST to LAST - 1 of S.places, all
// carried by the job that wrote OUT, less those the occlusion map hides:
// kept in order, each chunk's range moved to match.
void leave_out_hidden(ChunkScratch& s, ChunkJobOutput& out, uint32_t first, uint32_t last) {
  uint32_t kept = 0;
  for (uint32_t n = first; n < last; ++n) {
    ChunkEntries& e = s.entries[s.places[n]];
    const uint32_t whole_first = kept;
    for (uint32_t i = e.whole_first; i < e.whole_end; ++i) {
      const NMATHF::VEC3F* v = out.whole[i].VEC.data();  // X, Y and the view distance
      const float w[3] = {v[0].Z, v[1].Z, v[2].Z};
      if (s.occlusion.hides(v, w)) {
        ++out.hidden;
        continue;
      }
      out.whole[kept++] = out.whole[i];
    }
    e.whole_first = whole_first;
    e.whole_end = kept;
  }
  out.whole.resize(kept);
}

// The most triangles the occluders may have: the nearest chunks, carried
// first, their depth drawn once more. At most a share of those in view.
constexpr uint64_t OCCLUDER_TRIANGLES = 8192;
constexpr uint64_t OCCLUDER_SHARE = 4;

// Carries the kept chunks, nearest first: the nearest up to the occluders'
// triangles (at least one chunk), then those their depth does not hide. The
// hidden ones get no entries (job NO_JOB). Returns the number of jobs run.
uint32_t carry_unhidden(Renderer& renderer, MODEL_STRUCT& model, ModelChunks& chunks,
                        const ChunkFrame& frame, const PixelTarget& picture) {
  ChunkScratch& s = renderer.chunk_scratch();
  const uint32_t kept = uint32_t(s.kept.size());
  // Nearest first; a chunk at the near plane before all.
  auto nearness = [&](uint32_t p) {
    const ChunkReach& r = s.reach[s.kept[p]];
    return r.before_near ? -INFINITY : r.nearest_w;
  };
  std::sort(s.places.begin(), s.places.end(), [&](uint32_t a, uint32_t b) {
    return nearness(a) < nearness(b) || (nearness(a) == nearness(b) && a < b);
  });
  uint64_t in_view = 0;
  for (const uint32_t chunk : s.kept)
    in_view += chunks.chunks[chunk].last_triangle - chunks.chunks[chunk].first_triangle;
  const uint64_t budget = std::min(OCCLUDER_TRIANGLES, in_view / OCCLUDER_SHARE);
  uint32_t occluders = 0;
  for (uint64_t triangles = 0; occluders < kept && (occluders == 0 || triangles < budget);
       ++occluders) {
    const ModelChunk& c = chunks.chunks[s.kept[s.places[occluders]]];
    triangles += c.last_triangle - c.first_triangle;
  }
  uint32_t jobs = carry_chunks(renderer, model, chunks, frame, s.places, 0, occluders, 0);

  s.occluder_runs.clear();
  for (uint32_t n = 0; n < occluders; ++n) {
    const ChunkEntries& e = s.entries[s.places[n]];
    const ChunkJobOutput& out = s.jobs[e.job];
    s.occluder_runs.push_back({out.whole.data() + e.whole_first, e.whole_end - e.whole_first});
    s.occluder_runs.push_back({out.cut.data() + e.cut_first, e.cut_end - e.cut_first});
  }
  s.occlusion.draw(renderer.workers(), picture.width, picture.height, s.occluder_runs);
  // The occluders' own entries that the others hide go too, job by job.
  renderer.workers().for_each_band(int32_t(jobs), [&](int32_t job) {
    leave_out_hidden(s, s.jobs[size_t(job)], s.job_starts[size_t(job)],
                     s.job_starts[size_t(job) + 1]);
  });

  // The rest: hidden ones are skipped (or, until their texture coordinates
  // have settled, carried for those alone), the others carried.
  Renderer::TransformCounts& counts = renderer.transform_counts();
  uint32_t carried = occluders;
  for (uint32_t n = occluders; n < kept; ++n) {
    const uint32_t place = s.places[n], chunk = s.kept[place];
    const ModelChunk& c = chunks.chunks[chunk];
    s.hidden[place] = s.occlusion.hides(s.reach[chunk]);
    if (s.hidden[place]) {
      s.entries[place] = ChunkEntries{NO_JOB, 0, 0, 0, 0};
      counts.occluded += c.last_triangle - c.first_triangle;
    }
    if (!s.hidden[place] || !chunks.settled[chunk]) s.places[carried++] = place;
  }
  ChunkFrame frame_behind = frame;
  frame_behind.occlusion = &s.occlusion;
  return carry_chunks(renderer, model, chunks, frame_behind, s.places, occluders, carried, jobs);
}

}  // namespace

void transform_in_chunks(Renderer& renderer, MODEL_STRUCT* model, ModelChunks& chunks,
                         const NMATHF::MATRIX& m, int32_t& fcnt,
                         const NMATHF::VEC3F& light_position, const float& depth_offset,
                         int32_t use_tex, const IMAGE* texture, const NMATHF::VEC2F& tcoord) {
  MODEL_STRUCT& md = *model;
  if (chunks.triangles != md.MAX_TRIANGLES || chunks.vertices != md.MAX_VERTICES ||
      chunks.chunks.size() <= 1 || chunks.corner_slots.size() != 3 * size_t(md.MAX_TRIANGLES) ||
      chunks.settled.size() != chunks.chunks.size()) {
    float color_mult = 0.0f;
    MODEL_TRANSFORM(renderer, model, m, fcnt, light_position, color_mult, depth_offset, use_tex,
                    texture, tcoord);
    return;
  }
  const NMATHF::VEC4F l4 = light_position * m.INVERSE();
  const ChunkFrame frame{m.M,
                         PROJECTION_MATRIX.M,
                         make_viewport(TSCRW, TSCRH, TOP, ZNEAR, ZFAR),
                         ZNEAR,
                         NMATHF::VEC3F(l4.X, l4.Y, l4.Z),
                         QueueRequest{ZFAR, depth_offset, use_tex, texture, tcoord},
                         nullptr};
  md.MAX_RTRIS = md.MAX_TRIANGLES;
  md.MAX_RVERTS = md.MAX_VERTICES;
  Renderer::TransformCounts& counts = renderer.transform_counts();
  ChunkScratch& s = renderer.chunk_scratch();

  // Outlines show every queued triangle, hidden or not.
  PixelTarget picture;
  const bool find_hidden = renderer.occlusion_culling() && WIRE_FRAME == 0 &&
                           resolve_target(BACKBUFFER, picture);

  // The chunks in view (and, to find hidden ones, where each reaches), on the
  // drawing threads; those wholly outside it are skipped before their
  // vertices are transformed.
  const uint32_t chunk_count = uint32_t(chunks.chunks.size());
  s.in_view.resize(chunk_count);
  if (find_hidden) s.reach.resize(chunk_count);
  DrawWorkers& workers = renderer.workers();
  workers.for_each_row_band(
      int32_t(chunk_count), workers.work_shares(), [&](int32_t first, int32_t end) {
        for (size_t i = size_t(first); i < size_t(end); ++i) {
          const ModelChunk& c = chunks.chunks[i];
          s.in_view[i] = !chunk_outside_view(c, frame.view, frame.projection, frame.near_w);
          if (find_hidden && s.in_view[i])
            s.reach[i] = chunk_reach(c, frame.view, frame.projection, frame.vp, frame.near_w);
        }
      });
  s.kept.clear();
  for (uint32_t i = 0; i < chunk_count; ++i) {
    const ModelChunk& c = chunks.chunks[i];
    if (s.in_view[i])
      s.kept.push_back(i);
    else
      counts.culled_by_chunk += c.last_triangle - c.first_triangle;
  }
  const uint32_t kept = uint32_t(s.kept.size());
  s.entries.resize(kept);
  s.hidden.assign(kept, 0);
  s.places.resize(kept);
  for (uint32_t p = 0; p < kept; ++p) s.places[p] = p;
  const uint32_t jobs = find_hidden
                            ? carry_unhidden(renderer, md, chunks, frame, picture)
                            : carry_chunks(renderer, md, chunks, frame, s.places, 0, kept, 0);

  // Queued in chunk order: every chunk's whole triangles, then every chunk's
  // near-cut pieces, as the whole model queues them.
  int64_t& dropped = renderer.dropped_triangles();
  for (const ChunkEntries& e : s.entries) {
    if (e.job == NO_JOB) continue;
    const ChunkJobOutput& out = s.jobs[e.job];
    append_to_queue(out.whole.data() + e.whole_first, e.whole_end - e.whole_first, fcnt, dropped);
  }
  for (const ChunkEntries& e : s.entries) {
    if (e.job == NO_JOB) continue;
    const ChunkJobOutput& out = s.jobs[e.job];
    append_to_queue(out.cut.data() + e.cut_first, e.cut_end - e.cut_first, fcnt, dropped);
  }
  for (uint32_t j = 0; j < jobs; ++j) {
    counts.near_pieces += s.jobs[j].pieces_made;
    counts.occluded += s.jobs[j].hidden;
  }
  counts.submitted += md.MAX_TRIANGLES;
}

// What the chunked transform keeps beside the model from call to call: the
// chunks it carries this call and, per job, the scratch the job writes.
#pragma once
#include <cstdint>
#include <vector>

#include "chunk_transform.h"
#include "chunk_view_test.h"
#include "occlusion_map.h"

struct ChunkScratch {
  std::vector<uint8_t> in_view;        // per chunk: not wholly outside the view volume
  std::vector<uint32_t> kept;          // chunks carried this call, in chunk order
  std::vector<ChunkEntries> entries;   // per kept chunk, where its entries lie
  std::vector<uint32_t> places;        // places in kept, in the order they are carried
  std::vector<uint32_t> job_starts;    // the jobs' first places in places (one more at the end)
  std::vector<ChunkJobOutput> jobs;

  // Finding hidden chunks: per chunk in view its reach, the occluders'
  // entries, and the picture of their depth.
  std::vector<ChunkReach> reach;
  std::vector<uint8_t> hidden;  // per kept chunk: hidden, carried only for its NTCOORD
  std::vector<EntryRun> occluder_runs;
  OcclusionMap occlusion;
};

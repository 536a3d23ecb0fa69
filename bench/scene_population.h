// Flyer populations for the benchmarks: the real spawn, then each flyer
// carried a random share of the way along its own path, so that the table
// looks like a saver that has been running for a while (some flyers in the
// middle of the view, some near its edges, some already out of sight).
#pragma once

// Empties the slot table and fills slots 0 to count-1; the same count always
// gives the same population.
void PopulateScene(int count);
// Frees every flyer in the table.
void ClearScene();

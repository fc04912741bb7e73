#pragma once
// The system's random numbers, on the runtime's rand(): RandomRange, and the
// one seeding of the sequence at program start.

// Seeds the calling thread's sequence from the time, the process id and the
// performance counter, so that programs started on several machines, or
// twice on one in the same second, draw different numbers (game ids among
// them). The program calls it once, on its main thread, before anything
// draws.
void SeedRandomSequence();

// A float in [lo, hi], both ends included.
float RandomRange(float lo, float hi);

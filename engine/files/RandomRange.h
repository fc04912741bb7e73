#pragma once
// The system's one random-number function, on the runtime's unseeded rand():
// a float in [lo, hi], both ends included.

float RandomRange(float lo, float hi);

// The retained frame against the exact one: an aquarium run frame by frame at
// 60 frames a second, with the pointer sweeping through it (creatures flee)
// and bursts of bubbles, drawn both ways; each frame's PSNR of the retained
// picture against the exact picture of the same aquarium state.
#pragma once

#include <vector>

struct FidelityRun {
  int theme = 1;
  int width = 1920;
  int height = 1080;
  int creatures = 60;
  int frames = 600;
  float poseTolerance = -1;  // pixels; below 0: the retained scene's own
  // Above 0: the frames reach the screen through this many buffers that take
  // turns (a Wayland surface's), each brought up to date with only what it
  // lacks; the buffer shown is what is measured, and one that does not hold
  // the frame drawn to the bit scores 0.
  int swapBuffers = 0;
  // The aquarium drawn this many times larger than its own pixels (a monitor's
  // scale factor): simulated at width x height divided by it.
  float scale = 1;
};

// One PSNR (dB, over red, green and blue) per frame.
std::vector<double> RetainedFidelity(const FidelityRun& run);

// The PSNR of two same-sized premultiplied 32-bit pictures (99 when equal).
double Psnr(const std::vector<unsigned>& a, const std::vector<unsigned>& b);

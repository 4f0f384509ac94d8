// What the benchmarks share: a photograph-like picture and the start of a benchmark program that
// needs Qt's GUI classes (offscreen).
#pragma once

#include <QImage>

namespace bench {

// Smooth shading with some detail, so that its JPEG is of a usual size; variants differ in their
// colours.
QImage photoImage(int width, int height, int variant = 0);

// Runs the benchmarks of the program as the program itself would start: freed memory kept for
// reuse, an offscreen QGuiApplication.
int runOffscreen(int argc, char** argv);

} // namespace bench

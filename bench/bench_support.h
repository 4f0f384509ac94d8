// What the benchmarks share: a photograph-like picture and the start of a benchmark program that
// needs Qt's GUI classes (offscreen).
#pragma once

#include <QImage>
#include <QString>

namespace bench {

// Smooth shading with some detail, so that its JPEG is of a usual size; variants differ in their
// colours.
QImage photoImage(int width, int height, int variant = 0);

// Creates the card table at path with `cards` cards spread evenly over levels 0 to levels - 1
// (level of card i: i % levels), importances 0 to 2, review counts 0 to 10, next reviews over 28
// days, no pictures, no marks: the shape of a large imported course.
void fillCardTable(const QString& path, int cards, int levels);

// Runs the benchmarks of the program as the program itself would start: freed memory kept for
// reuse, an offscreen QGuiApplication.
int runOffscreen(int argc, char** argv);

} // namespace bench

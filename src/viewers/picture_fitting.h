// Fitting a picture box into its frame (see viewers/picture_fit.h for the arithmetic).
#pragma once

class PictureBox;

// Places target in the box (width W, height H, left L, top T of target's parent area) at the
// size of source's picture, shrunk proportionally when it is larger than the box and centred;
// target stretches its picture to the geometry it gets. source and target may be the same box.
void AdaptaImagen(int W, int H, int L, int T, const PictureBox& source, PictureBox& target);

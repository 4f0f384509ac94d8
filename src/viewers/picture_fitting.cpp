#include "viewers/picture_fitting.h"

#include "platform/picture/picture_box.h"
#include "viewers/picture_fit.h"

void AdaptaImagen(int W, int H, int L, int T, const PictureBox& source, PictureBox& target) {
    const int pictureWidth = source.picture().width();
    const int pictureHeight = source.picture().height();
    target.setStretch(true);
    target.setGeometry(AdaptaImagen(W, H, L, T, pictureWidth, pictureHeight));
}

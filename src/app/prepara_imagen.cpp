#include "app/prepara_imagen.h"

#include "app/program.h"
#include "platform/ui/picture_box.h"
#include "viewers/picture_fit.h"

#include <string>

void AdaptaImagen(int W, int H, int L, int T, const PictureBox& source, PictureBox& target) {
    const int pictureWidth = source.picture().width();
    const int pictureHeight = source.picture().height();
    target.setStretch(true);
    target.setGeometry(AdaptaImagen(W, H, L, T, pictureWidth, pictureHeight));
}

void Prepara_Imagen(Program& program, int number) {
    if (number < 1 || number > 11)
        throw UnknownPictureNumber("Número de imagen desconocido: " + std::to_string(number));
    const Program::PictureSlot* target = program.pictureSlot(number);
    if (target == nullptr)
        return; // a picture of a screen that is not part of the program
    const Program::PictureSlot* source = program.pictureSlot(sizeSourceForPicture(number));
    const PictureBox& sizeSource = source != nullptr ? *source->box : *target->box;
    if (target->fitArea) {
        const QRect area = target->fitArea();
        AdaptaImagen(area.width(), area.height(), area.left(), area.top(), sizeSource,
                     *target->box);
        return;
    }
    const FitBox box = fitBoxForPicture(number);
    AdaptaImagen(box.width, box.height, box.left, box.top, sizeSource, *target->box);
}

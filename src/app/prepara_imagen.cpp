#include "app/prepara_imagen.h"

#include "app/program.h"
#include "app/ui/panta_inicio.h"
#include "platform/ui/picture_box.h"
#include "review/ui/repasar.h"
#include "studyfile/ui/crea_fiche.h"
#include "viewers/picture_fit.h"
#include "viewers/ui/imag_zoom.h"

#include <stdexcept>
#include <string>

void AdaptaImagen(int W, int H, int L, int T, const PictureBox& source, PictureBox& target) {
    const int pictureWidth = source.picture().width();
    const int pictureHeight = source.picture().height();
    target.setStretch(true);
    target.setGeometry(AdaptaImagen(W, H, L, T, pictureWidth, pictureHeight));
}

void Prepara_Imagen(Program& program, int number) {
    if (number < 1 || number > 11)
        throw std::out_of_range("Número de imagen desconocido: " + std::to_string(number));
    RunState& state = program.state();
    if (state.takeSkipNextActivation())
        return;
    TPanta_Inicio_& main = program.mainScreen();
    PictureBox* target = nullptr;
    switch (number) {
    case picture_number::mainPage1:
        target = main.Image1;
        break;
    case picture_number::mainPage2:
        target = main.Image2;
        break;
    case picture_number::mainPage3:
        target = main.Image3;
        break;
    case picture_number::reviewQuestion:
        target = program.repasar().Image1;
        break;
    case picture_number::reviewAnswerBesideText:
    case picture_number::reviewAnswerAlone:
        target = program.repasar().Image2;
        break;
    case picture_number::imageZoom:
        // The zoom window's own area is the box.
        program.imag_Zoom().Ajusta_Imagen();
        return;
    case picture_number::creation:
        target = program.crea_Fiche().Image1;
        break;
    default:
        // The card editor and information screens place their pictures
        // here once they are part of the program.
        return;
    }
    const PictureBox* source =
        sizeSourceForPicture(number) == picture_number::mainPage1 ? main.Image1 : target;
    const FitBox box = fitBoxForPicture(number);
    AdaptaImagen(box.width, box.height, box.left, box.top, *source, *target);
}

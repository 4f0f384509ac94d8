#include "app/prepara_imagen.h"

#include "app/panta_inicio.h"
#include "app/program.h"
#include "platform/picture/picture_box.h"
#include "studyfile/crea_fiche.h"
#include "viewers/picture_fit.h"
#include "viewers/picture_fitting.h"

#include <stdexcept>
#include <string>

void Prepara_Imagen(Program& program, int number) {
    if (number < 1 || number > 11)
        throw std::out_of_range("Número de imagen desconocido: " + std::to_string(number));
    RunState& state = program.state();
    if (state.skipNextActivation) {
        state.skipNextActivation = false;
        return;
    }
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
    case picture_number::creation:
        target = program.crea_Fiche().Image1;
        break;
    default:
        // The review, card editor, information and zoom screens place their pictures
        // here once they are part of the program.
        return;
    }
    const PictureBox* source =
        sizeSourceForPicture(number) == picture_number::mainPage1 ? main.Image1 : target;
    const FitBox box = fitBoxForPicture(number);
    AdaptaImagen(box.width, box.height, box.left, box.top, *source, *target);
}

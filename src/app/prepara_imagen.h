// Placing the program's pictures in their boxes.
#pragma once

class Program;
class PictureBox;

// Places target in the box (width W, height H, left L, top T of target's parent area) at the
// size of source's picture, shrunk proportionally when it is larger than the box and centred;
// target stretches its picture to the geometry it gets. source and target may be the same box.
void AdaptaImagen(int W, int H, int L, int T, const PictureBox& source, PictureBox& target);

// Fits the picture of `number` (1..11) into its box: a picture larger than the box shrinks
// proportionally, a smaller one keeps its size, and it is centred. Pictures 2 and 3 (main screen
// pages 2 and 3) take their size from the page-1 picture. The skip-next-activation flag plays no
// part: a picture is always placed, and the flag stays. Numbers of screens that do not exist in the
// program (no screen registered a box for them) place nothing; any number outside 1..11 throws
// UnknownPictureNumber.
void Prepara_Imagen(Program& program, int number);

// The information screen: the open study file's design options, its card counts, the reviews
// made, the cards per level in lines and in a bar chart, its description and its picture. It only
// reads: nothing is written to the study file, and the card table keeps its filter and its card.
#pragma once

#include "app/screen_kit.h"
#include "studyfile/study_file_info.h"

#include <array>

namespace picture {
class Picture;
}
class LevelChart;
class PictureBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QTextEdit;

class TVer_Info_ : public ProgramDialog {
    Q_OBJECT
public:
    explicit TVer_Info_(Program& program);

    // Each opening: the description of the open study file, copied from the main screen.
    void FormShow() override;
    // Each activation (also after a zoom closes): the window state of the main screen, every
    // text and the chart counted afresh, the focus on "&Salir".
    void FormActivate() override;

    void Button4Click(); // "&Zoom": the description in the read-only text zoom
    void Image1Click();  // the picture in the image zoom
    void Button3Click(); // "&Ayuda"
    void Button1Click(); // "&Salir"

    // The study file's picture (a copy) on view, to be fitted with its picture number; or none.
    void showStudyFilePicture(const picture::Picture& picture);
    void hideStudyFilePicture();

    // The counts shown by the last activation.
    const studyfile::StudyFileCounts& counts() const { return counts_; }
    // The level lines Label6, Label9 ... Label14, in level order.
    std::array<QLabel*, studyfile::kLevelLines> levelLabels() const;

    QWidget* Panel1; // the 1024 x 768 design area
    QLabel* Label8;  // name of the study file
    QTableWidget* SG;
    QLabel* Label7;       // total reviews
    QGroupBox* GroupBox2; // cards per level
    QLabel *Label6, *Label9, *Label10, *Label11, *Label12, *Label13, *Label14;
    QLabel* Label15; // "(o mayor)"
    LevelChart* Chart;
    QGroupBox* GroupBox1; // description
    QTextEdit* RichEdit1;
    QPushButton* Button4;
    QGroupBox* GroupBox3; // picture
    PictureBox* Image1;
    QPushButton* Button3;
    QPushButton* Button1;

private:
    studyfile::StudyFileCounts counts_;
};

#include "studyfile/study_file_info.h"

#include "platform/table/table.h"

namespace studyfile {

namespace {

// The filters of the counts, as the information screen has always written them.
const QString kLevel0Filter = QStringLiteral("nive_fich = 0");
const QString kPackedFilter = QStringLiteral("Ficha_Comp_Encr = 'S'");
const QString kPlainFilter = QStringLiteral("Ficha_Comp_Encr = 'N'");
const QString kReviewsField = QStringLiteral("Total_Repa");

QString levelFilter(int line) {
    return line < kLevelLines - 1 ? QStringLiteral("nive_fich = %1").arg(line)
                                  : QStringLiteral("nive_fich >= %1").arg(line);
}

QString yesNo(bool on) {
    return on ? QStringLiteral(" SI") : QStringLiteral(" NO");
}

QString value(qint64 n) {
    return QLatin1Char(' ') + QString::number(n);
}

} // namespace

StudyFileCounts countStudyFile(const table::Table& cards, bool packedContent) {
    StudyFileCounts c;
    c.total = cards.countMatching(QString());
    c.level0 = cards.countMatching(kLevel0Filter);
    if (packedContent) {
        c.packed = cards.countMatching(kPackedFilter);
        c.plain = cards.countMatching(kPlainFilter);
    } else {
        c.packed = 0;
        c.plain = c.total;
    }
    c.reviews = cards.sumWhere(kReviewsField, QString());
    // Level 0 was counted with the same filter already.
    c.levels[0] = c.level0;
    for (int line = 1; line < kLevelLines; ++line)
        c.levels[std::size_t(line)] = cards.countMatching(levelFilter(line));
    return c;
}

int levelPercentage(qint64 count, qint64 total) {
    if (total <= 0)
        return 0;
    const qint64 scaled = 100 * count;
    qint64 q = scaled / total;
    const qint64 r = scaled % total;
    // Above a half rounds up; exactly a half goes to the even neighbour.
    if (2 * r > total || (2 * r == total && q % 2 != 0))
        ++q;
    return int(q);
}

QString levelBar(qint64 count, qint64 total) {
    if (count == 0)
        return QStringLiteral(" ");
    const int p = levelPercentage(count, total);
    // One letter for every whole number from 1 to p that is not a multiple of 6.
    return QString(p - p / 6, QLatin1Char('l'));
}

QString levelLine(int level, qint64 count, qint64 total) {
    return QStringLiteral("Nivel %1: ").arg(level) + levelBar(count, total) +
           QStringLiteral("   ") + QString::number(count) + QStringLiteral("      (") +
           QString::number(levelPercentage(count, total)) + QStringLiteral(" %)");
}

QString levelsFrameTitle(const QString& designCaption, qint64 total) {
    return designCaption + QStringLiteral("  ( Total: %1 fichas ) ").arg(total);
}

QStringList infoScreenTexts(const QString& studyFileName, const DesignOptions& design,
                            const StudyFileCounts& counts) {
    const QString empty;
    const std::array<std::pair<QString, QString>, info_text::kGridRows> grid{{
        {QStringLiteral(" Tamaño de la Pregunta: "), value(design.questionSize)},
        {QStringLiteral(" Imagen en la Pregunta:"), yesNo(design.questionImage)},
        {QStringLiteral(" Tamaño de la Respuesta:"),
         design.shortAnswerSize == 0 ? yesNo(false) : value(design.shortAnswerSize)},
        {QStringLiteral(" Imagen en la Respuesta:"), yesNo(design.answerImage)},
        {QStringLiteral(" Texto Largo en Respuesta:"), yesNo(design.longAnswerText)},
        {empty, empty},
        {QStringLiteral(" Nivel de Importancia:"), yesNo(design.importanceLevel)},
        {QStringLiteral(" Clave para Seleccionar:"), yesNo(design.cardKey)},
        {empty, empty},
        {QStringLiteral(" Comprimido:"), yesNo(design.compressed)},
        {QStringLiteral(" Con Contraseña:"), yesNo(design.enciphered)},
        {empty, empty},
        {QStringLiteral(" Puede ser Exportado:"), yesNo(design.exportable)},
        {QStringLiteral(" Modificar o Borrar Fichas:"), yesNo(design.modifiable)},
        {QStringLiteral(" Puede ser Imprimido:"), yesNo(design.printable)},
        {empty, empty},
        {QStringLiteral(" Nº total de Fichas:"), value(counts.total)},
        {QStringLiteral(" Fichas en Nivel 0:"), value(counts.level0)},
        {QStringLiteral(" Con Compresión/Contraseña:"), value(counts.packed)},
        {QStringLiteral(" Sin Comprimir ni Contraseña:"), value(counts.plain)},
    }};

    QStringList texts;
    texts.reserve(info_text::kCount);
    texts << QStringLiteral(" Nombre del Fichero:    ") + studyFileName;
    for (const auto& [label, cell] : grid)
        texts << label << cell;
    texts << QStringLiteral(" Las fichas de este fichero se han repasado un total de %1 veces.  ")
                 .arg(counts.reviews);
    texts << levelsFrameTitle(kLevelsFrameCaption, counts.total);
    for (int line = 0; line < kLevelLines; ++line)
        texts << levelLine(line, counts.levels[std::size_t(line)], counts.total);
    return texts;
}

} // namespace studyfile

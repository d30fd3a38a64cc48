#include "app/Translate.h"

#include "base/SceneFile.h"
#include "scene/EditorState.h"
#include "vrml/TextLines.h"

#include <QStringDecoder>
#include <array>

namespace modulino {

namespace {

constexpr int LineCount = 72;
// Lines after those: a file without them, or with them empty, keeps their built-in texts.
constexpr int OptionalLineCount = 27;
constexpr char EndOfFile = 26; // Ctrl+Z

// A file that is valid UTF-8 is read as UTF-8 (a byte-order mark at its start dropped); anything
// else is taken as Windows-1250, the code page of the built-in texts.
QString decodeLanguageText(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? decode1250(bytes) : text;
}

// The file's lines: LF or CR LF ends a line, a lone CR is dropped, Ctrl+Z ends the file.
QStringList languageLines(QByteArrayView bytes) {
    if (const qsizetype end = bytes.indexOf(EndOfFile); end >= 0)
        bytes.truncate(end);
    QStringList lines = decodeLanguageText(bytes).split(QLatin1Char('\n'));
    for (QString& line : lines)
        line.remove(QLatin1Char('\r'));
    return lines;
}

// What each line of the file replaces, in file order; line 27 replaces nothing. Lines 13 to 18
// are the warnings' second lines, completed once the whole file is read.
std::array<QString*, LineCount + OptionalLineCount> lineTargets(EditorState& s) {
    auto& m = s.texts.MessageTexts;
    auto& st = s.texts.ShapeTexts;
    Notices& n = s.texts.notices;
    Captions& c = s.captions;
    s.Tvar.items.resize(7);
    QStringList& items = s.Tvar.items;
    // clang-format off
    return {
        &m[0], &m[1], &m[2], &m[3], &m[4], &m[5],                   // lines 1-6
        &m[6], &m[7], &m[8], &m[9], &m[10], &m[11],                 // lines 7-12
        &st[0], &st[1], &st[2], &st[3], &st[4], &st[5],             // lines 13-18
        &st[6],                                                     // line 19
        &st[7], &st[8], &st[9], &st[10], &st[11], &st[12], &st[13], // lines 20-26
        nullptr,                                                    // line 27
        &s.texts.YesText,                                           // line 28
        &s.texts.NoText,                                            // line 29
        &c.Modulino,                                                // line 30
        &c.bezvoleb,                                                // line 31
        &c.CBovl,                                                   // line 32
        &c.CBSkryt,                                                 // line 33
        &c.Del,                                                     // line 34
        &c.Dlekmodulino1,                                           // line 35
        &s.jmeno,                                                   // line 36
        &c.Konec1,                                                  // line 37
        &c.Label1,                                                  // line 38
        &c.Label10,                                                 // line 39
        &c.Label11,                                                 // line 40
        &c.Label12,                                                 // line 41
        &c.Label13,                                                 // line 42
        &c.Label14,                                                 // line 43
        &c.Label24,                                                 // line 44
        &c.Label3,                                                  // line 45
        &c.Label4,                                                  // line 46
        &c.Label5,                                                  // line 47
        &c.Label6,                                                  // line 48
        &c.Label7,                                                  // line 49
        &c.Label8,                                                  // line 50
        &c.Label9,                                                  // line 51
        &c.Nahled,                                                  // line 52
        &c.Nast1,                                                   // line 53
        &c.Nov1,                                                    // line 54
        &c.Npovda1,                                                 // line 55
        &c.Pidat1,                                                  // line 56
        &c.Preview1,                                                // line 57
        &c.Pridej,                                                  // line 58
        &c.Scna1,                                                   // line 59
        &c.Smazat1,                                                 // line 60
        &items[0],                                                  // line 61, also the shown text
        &items[1], &items[2], &items[3], &items[4], &items[5], &items[6], // lines 62-67
        &c.Uloit1,                                                  // line 68
        &c.Uloitjako1,                                              // line 69
        &c.volby,                                                   // line 70
        &c.Zobrazit1,                                               // line 71
        &c.Zobrazituloenou1,                                        // line 72
        &c.Upravy1,                                                 // line 73
        &c.Zpet1,                                                   // line 74
        &c.Znovu1,                                                  // line 75
        &c.Duplikovat1,                                             // line 76
        &n.RecoveryOffer, &n.ChangedOnDisk, &n.ReloadChanged,       // lines 77-79
        &n.ReloadLosing, &n.OpenElsewhere,                          // lines 80-81
        &c.NahledSleduje1, &c.UkazatDilek1,                         // lines 82-83
        &c.Vyjmout1, &c.Kopirovat1, &c.Vlozit1, &c.VybratVse1,      // lines 84-87
        &c.VybratTvar1, &c.VybratBarvu1, &c.Pole1, &c.Pripojit1,    // lines 88-91
        &n.NothingPasted, &n.ArrayTitle, &n.ArrayCount,             // lines 92-94
        &n.ArrayOffset, &n.ArrayClamped,                            // lines 95-96
        &c.Exportovat1, &n.Exporting, &n.ExportFailed,              // lines 97-99
    };
    // clang-format on
}

} // namespace

QString Translate(EditorState& s, const QString& fileName) {
    const FileRead read = readWholeFile(fileName, TextFileSizeLimit);
    if (!read.ok())
        return read.error;
    TranslateText(s, read.bytes);
    return QString();
}

void TranslateText(EditorState& s, QByteArrayView bytes) {
    const QStringList lines = languageLines(bytes);
    const auto targets = lineTargets(s);
    for (int i = 0; i < LineCount; ++i)
        if (targets[i])
            *targets[i] = lines.value(i);
    for (int i = LineCount; i < LineCount + OptionalLineCount; ++i)
        if (!lines.value(i).isEmpty())
            *targets[i] = lines[i];

    auto& shapeTexts = s.texts.ShapeTexts;
    for (int i = 0; i < 6; ++i)
        shapeTexts[i] = shapeTexts[6] + QStringLiteral("\r\n") + shapeTexts[i];
    s.Tvar.text = s.Tvar.items[0];
}

} // namespace modulino

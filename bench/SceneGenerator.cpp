#include "SceneGenerator.h"

#include "vrml/Libraries.h"
#include "vrml/SceneWriter.h"

#include <random>

namespace modulino::bench {

namespace {

QByteArray tenths(int value) {
    QByteArray text = value < 0 ? "-" : "";
    value = std::abs(value);
    return text + QByteArray::number(value / 10) + '.' + QByteArray::number(value % 10);
}

QByteArray hundredths(int value) {
    return QByteArray::number(value / 100) + '.' +
           QByteArray::number(value % 100).rightJustified(2, '0');
}

} // namespace

QByteArray generateScene(int pieces, std::uint32_t seed) {
    static const char* const shapes[] = {"krychle", "kvadr",  "valec", "kuzel",
                                         "koule",   "jehlan", "hranol"};
    std::mt19937 random(seed);
    auto between = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };

    QByteArray scene;
    scene.reserve(16 * 1024 + qsizetype(pieces) * 100);
    for (const QByteArray& line : frontCornerLibrary())
        scene += line + "\r\n";
    scene += backgroundLine(DefaultBackground) + "\r\n";
    for (int i = 0; i < pieces; ++i) {
        scene += "Dilek { velikost " + tenths(between(1, 100)) + ' ' + tenths(between(1, 100)) +
                 ' ' + tenths(between(1, 100)) + " poloha " + tenths(between(-200, 200)) + ' ' +
                 tenths(between(-200, 200)) + ' ' + tenths(between(-200, 200)) + " tvar \"" +
                 shapes[between(0, 6)] + "\" povrch " + hundredths(between(0, 100)) + ' ' +
                 hundredths(between(0, 100)) + ' ' + hundredths(between(0, 100)) + " ovltransp " +
                 QByteArray::number(between(0, 1)) + " }\r\n";
    }
    return scene;
}

} // namespace modulino::bench

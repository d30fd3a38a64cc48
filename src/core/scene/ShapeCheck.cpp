#include "scene/ShapeCheck.h"

#include "base/TextTables.h"

namespace modulino {

ShapeVerdict checkShape(const TextTables& texts, int axisOrder, int rx, int ry, int rz, int k,
                        const QString* cellShape) {
    const bool allEqual = rx == ry && rx == rz && ry == rz;
    const QString* const names = &texts.ShapeTexts[0];
    ShapeVerdict verdict;
    if (allEqual && cellShape && *cellShape == names[8]) {
        verdict.rename = &names[7];
        verdict.message = names[0];
    }
    const bool ellipticBase = axisOrder == 0 ? rx != rz : rx != ry;
    if (ellipticBase) {
        if (k == 2)
            verdict.message = names[1];
        else if (k == 3)
            verdict.message = names[2];
        else if (k == 5)
            verdict.message = names[3];
    }
    if (!allEqual) {
        if (k == 0) {
            verdict.message = names[4];
            if (cellShape)
                verdict.rename = &names[8];
        } else if (k == 4) {
            verdict.message = names[5];
        }
    }
    return verdict;
}

} // namespace modulino

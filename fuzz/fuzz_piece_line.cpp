// ParsePieceLine on arbitrary bytes: every field is a run of the line or its default text.
#include "vrml/SceneReader.h"

#include <cstdint>
#include <cstdlib>

using namespace modulino;

namespace {

bool isNumberText(QByteArrayView field) {
    if (field.isEmpty())
        return false;
    for (char c : field)
        if (!(c == '+' || c == '-' || c == '.' || (c >= '0' && c <= '9')))
            return false;
    return true;
}

bool withinOrDefault(QByteArrayView field, QByteArrayView line, QByteArrayView defaultText) {
    const bool within =
        field.data() >= line.data() && field.data() + field.size() <= line.data() + line.size();
    return within || field == defaultText;
}

// A shape name holds no quote but one behind a backslash: the quote that ends it is never in it.
bool quotesEscaped(QByteArrayView name) {
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name[i] == '\\')
            ++i;
        else if (name[i] == '"')
            return false;
    }
    return true;
}

void require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView line(reinterpret_cast<const char*>(data), qsizetype(size));
    const PieceFields f = ParsePieceLine(line);
    for (QByteArrayView field : {f.S1, f.S2, f.S3})
        require(isNumberText(field) && withinOrDefault(field, line, "1"));
    for (QByteArrayView field : {f.P1, f.P2, f.P3})
        require(isNumberText(field) && withinOrDefault(field, line, "0"));
    for (QByteArrayView field : {f.C1, f.C2, f.C3})
        require(isNumberText(field) && withinOrDefault(field, line, "1"));
    require(isNumberText(f.O) && withinOrDefault(f.O, line, "0"));
    require(!f.T.isEmpty() && quotesEscaped(f.T) && withinOrDefault(f.T, line, "krychle"));
    return 0;
}

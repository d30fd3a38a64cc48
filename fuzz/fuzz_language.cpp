// The language file on arbitrary bytes: every text stays one line, the warnings keep their common
// first line, and a piece of every translated shape can still be written.
#include "app/Translate.h"
#include "base/TextTables.h"
#include "scene/EditorState.h"
#include "vrml/SceneWriter.h"

#include <cstdint>
#include <cstdlib>

using namespace modulino;

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

bool oneLine(const QString& text) {
    return !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    EditorState s;
    s.texts = TextTables::builtIn();
    TranslateText(s, QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));

    const TextTables& t = s.texts;
    for (const QString& text : t.MessageTexts)
        require(oneLine(text));
    require(oneLine(t.YesText) && oneLine(t.NoText) && oneLine(s.jmeno));
    for (int i = 0; i < 6; ++i)
        require(t.ShapeTexts[std::size_t(i)].startsWith(t.ShapeTexts[6] + QStringLiteral("\r\n")));
    require(s.Tvar.items.size() == 7 && s.Tvar.text == s.Tvar.items[0]);

    PieceTable table;
    for (int k = 0; k < 7; ++k) {
        PieceRow row;
        row[PieceTable::ShapeColumn] = t.shapeName(k).toString();
        row[PieceTable::ControlsColumn] = k % 2 ? t.YesText : t.NoText;
        table.appendRow(row);
    }
    QByteArray out;
    WritePieces(SceneParts{{}, 0, table, t, 0, false}, out);
    require(out.count("Dilek {") >= 7 && out.endsWith("}\r\n"));
    return 0;
}

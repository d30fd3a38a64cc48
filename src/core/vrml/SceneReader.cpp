#include "vrml/SceneReader.h"

#include "scene/EditorState.h"
#include "scene/Numbers.h"
#include "scene/PieceEditing.h"
#include "vrml/AxisOrder.h"
#include "vrml/TextLines.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace modulino {

namespace {

constexpr bool isNumberChar(char c) {
    return c == '+' || c == '-' || c == '.' || (c >= '0' && c <= '9');
}

// Moves through one line as the piece-line scanner does. `pos` counts from 0; past the last
// character there is none, and every loop stops there.
class LineScanner {
public:
    explicit LineScanner(QByteArrayView line)
        : line(line) {}

    // Forward to the next number character, but never beyond the line's last character.
    void seek() {
        while (pos + 1 < line.size() && !isNumberChar(line[pos]))
            ++pos;
    }
    // The run of number characters that starts here (empty when none does).
    QByteArrayView take() {
        const qsizetype start = pos;
        while (pos < line.size() && isNumberChar(line[pos]))
            ++pos;
        return line.sliced(start, pos - start);
    }
    // Over spaces only: a tab ends a field.
    void skip() {
        while (pos < line.size() && line[pos] == ' ')
            ++pos;
    }
    void takeTriple(QByteArrayView& a, QByteArrayView& b, QByteArrayView& c) {
        a = take();
        skip();
        b = take();
        skip();
        c = take();
    }
    // Passes over the character right after the position without looking at it, then up to and
    // past the next double quote. False when the line ends before one.
    bool passOpeningQuote() {
        ++pos;
        while (pos < line.size() && line[pos] != '"')
            ++pos;
        if (pos >= line.size())
            return false;
        ++pos;
        return true;
    }
    // The shape name up to the closing quote, a quote behind a backslash included; the line's last
    // character never belongs to it.
    QByteArrayView name() {
        const qsizetype start = pos;
        while (pos + 1 < line.size() && line[pos] != '"')
            pos += line[pos] == '\\' && pos + 2 < line.size() ? 2 : 1;
        return line.sliced(start, pos - start);
    }

private:
    QByteArrayView line;
    qsizetype pos = 0;
};

void orDefault(QByteArrayView& field, QByteArrayView text) {
    if (field.isEmpty())
        field = text;
}

// A VRML string's text: a backslash stands for the character after it.
QByteArray unescaped(QByteArrayView name) {
    QByteArray text;
    text.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 1 < name.size())
            ++i;
        text += name[i];
    }
    return text;
}

// The keywords of the file's `tvar` field, in the order of ShapeTexts 7..13.
constexpr const char* ShapeKeywords[] = {"krychle", "kvadr",  "valec", "kuzel",
                                         "koule",   "jehlan", "hranol"};

// Remembers the values made from recently seen keys, one slot per hash value, the newest key
// winning its slot. Equal texts that follow each other in a file thus share one value, while the
// memory stays fixed however large the file.
template <typename Key, typename Value> class RecentValues {
public:
    template <typename Make> const Value& get(Key key, Make make) {
        Slot& slot = entries[hashOf(key) % entries.size()];
        if (!slot.filled || slot.key != key) {
            slot.value = make(key);
            slot.key = key;
            slot.filled = true;
        }
        return slot.value;
    }

private:
    static std::size_t hashOf(QByteArrayView bytes) {
        std::size_t h = 14695981039346656037u; // FNV-1a: cheap for the short texts of a scene
        for (char c : bytes)
            h = (h ^ static_cast<unsigned char>(c)) * 1099511628211u;
        return h;
    }
    static std::size_t hashOf(Colour colour) { return colour * 2654435761u; }

    struct Slot {
        Key key{};
        Value value{};
        bool filled = false;
    };
    std::vector<Slot> entries = std::vector<Slot>(1024);
};

// A `povrch` field's text as a cell holds it, and the colour byte it gives (nothing when it is not
// a number).
struct Fraction {
    QString text;
    std::optional<int> channel;
};

// The cell texts of one read. Keys are views into the file's bytes or the default texts, both of
// which outlive the read.
class CellTexts {
public:
    explicit CellTexts(const TextTables& texts)
        : texts(texts) {}

    QString text(QByteArrayView bytes) {
        return textsSeen.get(bytes, [](QByteArrayView b) { return decode1250(b); });
    }

    Fraction fraction(QByteArrayView bytes) {
        return fractions.get(bytes, [](QByteArrayView b) {
            Fraction made{decode1250(b), std::nullopt};
            // MakeColor rounds each channel on its own, so one fraction gives one byte.
            if (const auto value = parseNumber(made.text))
                made.channel = int(MakeColor(*value, 0, 0));
            return made;
        });
    }

    // The keyword mapped to a display name. The comparisons run one after another on the current
    // value, so a display name that equals a later keyword is mapped again.
    QString shape(QByteArrayView keyword) {
        int k = 0;
        while (k < 7 && keyword != QByteArrayView(ShapeKeywords[k]))
            ++k;
        if (k == 7)
            return keyword.contains('\\') ? decode1250(unescaped(keyword)) : text(keyword);
        QString name = texts.ShapeTexts[std::size_t(7 + k)];
        for (++k; k < 7; ++k)
            if (name == QLatin1StringView(ShapeKeywords[k]))
                name = texts.ShapeTexts[std::size_t(7 + k)];
        return name;
    }

    QString colour(Colour value) {
        return colours.get(value, [](Colour c) { return colourText(c); });
    }

private:
    const TextTables& texts;
    RecentValues<QByteArrayView, QString> textsSeen;
    RecentValues<QByteArrayView, Fraction> fractions;
    RecentValues<Colour, QString> colours;
};

// One piece line to one table row, or nothing when a colour value is not a number.
std::optional<PieceRow> pieceRow(QByteArrayView line, CellTexts& cells, const TextTables& texts,
                                 unsigned axisOrder) {
    PieceFields f = ParsePieceLine(line);
    SwapAxesText(f.S1, f.S2, f.S3, axisOrder, 0);
    SwapAxesText(f.P1, f.P2, f.P3, axisOrder, 0);

    PieceRow row;
    std::optional<int> channels[3];
    const QByteArrayView colourFields[3] = {f.C1, f.C2, f.C3};
    for (int i = 0; i < 3; ++i) {
        const Fraction fraction = cells.fraction(colourFields[i]);
        row[PieceTable::RedColumn + i] = fraction.text;
        channels[i] = fraction.channel;
    }
    if (!channels[0] || !channels[1] || !channels[2])
        return std::nullopt;
    row[PieceTable::ColourColumn] = cells.colour(rgb(*channels[0], *channels[1], *channels[2]));
    row[PieceTable::ShapeColumn] = cells.shape(f.T);
    row[PieceTable::RxColumn] = cells.text(f.S1);
    row[PieceTable::RyColumn] = cells.text(f.S2);
    row[PieceTable::RzColumn] = cells.text(f.S3);
    row[PieceTable::XColumn] = cells.text(f.P1);
    row[PieceTable::YColumn] = cells.text(f.P2);
    row[PieceTable::ZColumn] = cells.text(f.P3);
    row[PieceTable::ControlsColumn] = f.O == QByteArrayView("1") ? texts.NoText : texts.YesText;
    return row;
}

// The index of the first line from `from` on that contains `word`, or -1.
qsizetype firstLineContaining(const QList<QByteArrayView>& lines, QByteArrayView word,
                              qsizetype from) {
    for (qsizetype i = from; i < lines.size(); ++i)
        if (lines[i].contains(word))
            return i;
    return -1;
}

// Appends a row and makes it current, as the user's selection would, but keeping it as read.
void appendPiece(EditorState& s, PieceEditing& editing, PieceRow row) {
    const int r = s.SGDilky.rowCount();
    s.SGDilky.appendRow(std::move(row));
    s.SGDilky.setHeaderFixed(true);
    s.SGDilky.setWholeRowSelect(true);
    editing.selectReadRow(r);
}

// The background colour from the text of the background block: from its first number character
// on, for as long as spaces and number characters follow. Nothing unless that is three numbers.
std::optional<Colour> backgroundColour(const QList<QByteArrayView>& lines, qsizetype background,
                                       qsizetype blockEnd) {
    const qsizetype last = blockEnd < 0 ? lines.size() - 1 : blockEnd;
    for (qsizetype i = background; i <= last; ++i) {
        const QByteArrayView line = lines[i];
        const auto first = std::find_if(line.begin(), line.end(), isNumberChar);
        if (first == line.end())
            continue;
        const auto end =
            std::find_if(first, line.end(), [](char c) { return c != ' ' && !isNumberChar(c); });
        std::vector<double> values;
        for (const QByteArray& part : QByteArray(first, end - first).split(' ')) {
            if (part.isEmpty())
                continue;
            const auto value = parseNumber(QString::fromLatin1(part));
            if (!value)
                return std::nullopt;
            values.push_back(*value);
        }
        if (values.size() != 3)
            return std::nullopt;
        return MakeColor(values[0], values[1], values[2]);
    }
    return std::nullopt;
}

// A file read completely, before anything in the editor changes.
struct ReadScene {
    std::vector<PieceRow> rows;
    QByteArrayList library;
    std::optional<Colour> background;
};

// Every line from `from` on with "Dilek" as a piece row; nothing when one cannot be read.
std::optional<std::vector<PieceRow>> pieceRows(const QList<QByteArrayView>& lines, qsizetype from,
                                               const EditorState& s) {
    const auto isPieceLine = [](QByteArrayView line) {
        return line.contains("Dilek");
    };
    std::vector<PieceRow> rows;
    rows.reserve(std::size_t(std::count_if(lines.begin() + from, lines.end(), isPieceLine)));
    CellTexts cells(s.texts);
    for (qsizetype i = from; i < lines.size(); ++i) {
        if (!isPieceLine(lines[i]))
            continue;
        auto row = pieceRow(lines[i], cells, s.texts, unsigned(s.AxisOrder));
        if (!row)
            return std::nullopt;
        rows.push_back(std::move(*row));
    }
    return rows;
}

// Pieces are read only below the end of the background block.
qsizetype firstPieceLine(const QList<QByteArrayView>& lines, qsizetype background) {
    const qsizetype blockEnd = firstLineContaining(lines, "}", background);
    return blockEnd < 0 ? lines.size() : blockEnd + 1;
}

std::optional<ReadScene> parseScene(QByteArrayView bytes, const EditorState& s) {
    const QList<QByteArrayView> lines = splitLines(bytes);
    const qsizetype background = firstLineContaining(lines, "Background", 0);
    if (background < 0)
        return std::nullopt;
    const qsizetype firstPiece = firstPieceLine(lines, background);
    auto rows = pieceRows(lines, firstPiece, s);
    if (!rows)
        return std::nullopt;
    ReadScene read;
    read.rows = std::move(*rows);
    read.library.reserve(background);
    for (qsizetype i = 0; i < background; ++i)
        read.library.append(lines[i].toByteArray());
    read.background = backgroundColour(lines, background, firstPiece - 1);
    return read;
}

} // namespace

PieceFields ParsePieceLine(QByteArrayView line) {
    LineScanner scan(line);
    PieceFields f;
    scan.seek();
    scan.takeTriple(f.S1, f.S2, f.S3);
    scan.seek();
    scan.takeTriple(f.P1, f.P2, f.P3);
    if (scan.passOpeningQuote()) {
        f.T = scan.name();
        scan.seek();
        scan.takeTriple(f.C1, f.C2, f.C3);
        scan.seek();
        f.O = scan.take();
    }
    for (QByteArrayView* size : {&f.S1, &f.S2, &f.S3})
        orDefault(*size, "1");
    for (QByteArrayView* position : {&f.P1, &f.P2, &f.P3})
        orDefault(*position, "0");
    for (QByteArrayView* colour : {&f.C1, &f.C2, &f.C3})
        orDefault(*colour, "1");
    orDefault(f.T, "krychle");
    orDefault(f.O, "0");
    return f;
}

std::optional<std::vector<PieceRow>> readScenePieces(QByteArrayView bytes, const EditorState& s) {
    std::optional<ReadScene> read = parseScene(bytes, s);
    if (!read)
        return std::nullopt;
    return std::move(read->rows);
}

// A piece line whose shape name holds "Background" does not make the text a scene file.
std::optional<std::vector<PieceRow>> readPieceLines(QByteArrayView bytes, const EditorState& s) {
    const QList<QByteArrayView> lines = splitLines(bytes);
    const auto background = std::ranges::find_if(lines, [](QByteArrayView line) {
        return line.contains("Background") && !line.contains("Dilek");
    });
    const qsizetype from =
        background == lines.end() ? 0 : firstPieceLine(lines, background - lines.begin());
    return pieceRows(lines, from, s);
}

bool readScene(EditorState& s, PieceEditing& editing, QByteArrayView bytes) {
    std::optional<ReadScene> read = parseScene(bytes, s);
    if (!read)
        return false;

    // A read is the edge of the history, not a step in it.
    const History::Pause reading(s.history);
    PieceTable& table = s.SGDilky;
    const PieceTable::Batch batch(table);
    table.setHeaderFixed(false);
    table.removePieces();
    table.setCurrentRow(0);
    table.reserve(int(1 + read->rows.size()));
    for (PieceRow& row : read->rows)
        appendPiece(s, editing, std::move(row));
    s.prototyp = std::move(read->library);
    // Each piece line carries its own controls flag; the box would write 1 over all of them.
    s.CBSkryt = false;
    if (read->background)
        s.Shape2 = *read->background;
    return true;
}

} // namespace modulino

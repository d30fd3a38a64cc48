#include "TestEditor.h"
#include "scene/Numbers.h"
#include "vrml/SceneReader.h"
#include "vrml/SceneWriter.h"

#include <QRandomGenerator>
#include <QTest>

using namespace modulino;

namespace {

// Random scenes that the shape check leaves alone when each row is selected: a cube has three
// equal sizes, a cuboid unequal ones, and every size and position is a number.
class SceneGenerator {
public:
    SceneGenerator(quint32 seed, const TextTables& texts)
        : random(seed)
        , texts(texts) {}

    QByteArrayList library() {
        QByteArrayList lines;
        const int count = bounded(0, 12);
        for (int i = 0; i < count; ++i) {
            QByteArray line(bounded(0, 80), Qt::Uninitialized);
            for (char& c : line) {
                do
                    c = char(bounded(0, 256));
                while (c == '\r' || c == '\n');
            }
            lines << line.replace("Background", "Foreground");
        }
        return lines;
    }

    void fill(PieceTable& table) {
        table.removePieces();
        const int count = bounded(0, 25);
        for (int i = 0; i < count; ++i)
            table.appendRow(piece());
    }

private:
    int bounded(int low, int high) { return random.bounded(low, high); }

    PieceRow piece() {
        PieceRow row;
        const int shape = bounded(0, 7);
        int sizes[3] = {bounded(1, 101), bounded(1, 101), bounded(1, 101)};
        if (shape == 0)
            sizes[1] = sizes[2] = sizes[0];
        if (shape == 1 && sizes[0] == sizes[1] && sizes[1] == sizes[2])
            sizes[2] = sizes[2] % 100 + 1;
        row[PieceTable::ColourColumn] = QString::number(bounded(0, 1 << 24));
        row[PieceTable::ShapeColumn] = texts.ShapeTexts[std::size_t(7 + shape)];
        for (int i = 0; i < 3; ++i) {
            row[PieceTable::RxColumn + i] = sizeText(sizes[i]);
            row[PieceTable::XColumn + i] = positionText();
            row[PieceTable::RedColumn + i] = fractionText();
        }
        row[PieceTable::ControlsColumn] = bounded(0, 2) ? texts.YesText : texts.NoText;
        return row;
    }

    // Tenths as an editing control writes them, and now and then as a file may hold them.
    QString sizeText(int tenths) {
        switch (bounded(0, 4)) {
        case 0:
            return tenths % 10 == 0 ? QString::number(tenths / 10) : TenthsText(tenths, 2);
        case 1:
            return QString::number(tenths / 10.0, 'f', 2);
        default:
            return TenthsText(tenths, 3);
        }
    }
    QString positionText() {
        const int thousandths = bounded(-20000, 20001);
        return bounded(0, 3) ? TenthsText(thousandths / 100, 3)
                             : QString::number(thousandths / 1000.0, 'f', 3);
    }
    QString fractionText() {
        switch (bounded(0, 4)) {
        case 0:
            return bounded(0, 2) ? QStringLiteral("1") : QStringLiteral("0");
        default:
            return ColorComponentText(Colour(bounded(0, 256)), Channel::Red);
        }
    }

    QRandomGenerator random;
    const TextTables& texts;
};

QByteArray compose(const QByteArrayList& library, const PieceTable& table, const EditorState& s,
                   int axisOrder) {
    return composeScene({library, s.Shape2, table, s.texts, axisOrder, false});
}

QString expectedColour(const PieceRow& row) {
    double fractions[3];
    for (int i = 0; i < 3; ++i)
        fractions[i] = parseNumber(row[PieceTable::RedColumn + i]).value();
    return colourText(MakeColor(fractions[0], fractions[1], fractions[2]));
}

} // namespace

class TestRoundTrip : public QObject {
    Q_OBJECT

private slots:
    void writtenAndReadRestoresEveryCell_data();
    void writtenAndReadRestoresEveryCell();
    void readUnderAnotherConventionWritesTheSameFile();
};

void TestRoundTrip::writtenAndReadRestoresEveryCell_data() {
    QTest::addColumn<int>("axisOrder");
    QTest::newRow("xyz") << 0;
    QTest::newRow("xzy") << 1;
    QTest::newRow("yzx") << 2;
}

void TestRoundTrip::writtenAndReadRestoresEveryCell() {
    QFETCH(int, axisOrder);
    TestEditor t;
    t.s.AxisOrder = axisOrder;
    SceneGenerator generate(quint32(4711 + axisOrder), t.s.texts);
    PieceTable written;
    for (int scene = 0; scene < 150; ++scene) {
        const QByteArrayList library = generate.library();
        generate.fill(written);
        const QByteArray file = compose(library, written, t.s, axisOrder);

        QVERIFY2(readScene(t.s, t.editor.editing, file), qPrintable(QString::number(scene)));
        QCOMPARE(t.s.prototyp, library);
        QCOMPARE(t.s.SGDilky.rowCount(), written.rowCount());
        for (int r = 1; r < written.rowCount(); ++r) {
            const PieceRow& expected = written.row(r);
            for (int c = 1; c < PieceTable::ColumnCount; ++c)
                QCOMPARE(t.cell(c, r), expected[c]);
            QCOMPARE(t.cell(PieceTable::ColourColumn, r), expectedColour(expected));
        }
        QCOMPARE(compose(t.s.prototyp, t.s.SGDilky, t.s, axisOrder), file);
    }
    QVERIFY(t.dialogs.log.isEmpty());
}

void TestRoundTrip::readUnderAnotherConventionWritesTheSameFile() {
    TestEditor t;
    SceneGenerator generate(1234, t.s.texts);
    PieceTable written;
    for (int scene = 0; scene < 60; ++scene) {
        generate.fill(written);
        const int writtenUnder = scene % 3;
        const int readUnder = (scene / 3) % 3;
        const QByteArray file = compose({}, written, t.s, writtenUnder);
        t.s.AxisOrder = readUnder;
        QVERIFY(readScene(t.s, t.editor.editing, file));
        QCOMPARE(compose({}, t.s.SGDilky, t.s, readUnder), file);
    }
}

QTEST_GUILESS_MAIN(TestRoundTrip)
#include "tst_roundtrip.moc"

#include "vrml/AxisOrder.h"

#include <QTest>

using namespace modulino;

class TestAxes : public QObject {
    Q_OBJECT

private slots:
    void swapAxes_data();
    void swapAxes();
    void swapAxesText_data();
    void swapAxesText();
    void reverseSelectorsUndo();
};

void TestAxes::swapAxes_data() {
    QTest::addColumn<unsigned>("from");
    QTest::addColumn<unsigned>("to");
    QTest::addColumn<QList<unsigned>>("expected");

    // (a, b, c) = (1, 2, 3) before the call.
    QTest::newRow("0 to 1") << 0u << 1u << QList<unsigned>{1, 3, 2};
    QTest::newRow("0 to 2") << 0u << 2u << QList<unsigned>{2, 3, 1};
    QTest::newRow("1 to 0") << 1u << 0u << QList<unsigned>{1, 3, 2};
    QTest::newRow("1 to 2") << 1u << 2u << QList<unsigned>{3, 2, 1};
    QTest::newRow("2 to 0") << 2u << 0u << QList<unsigned>{3, 1, 2};
    QTest::newRow("2 to 1") << 2u << 1u << QList<unsigned>{3, 2, 1};
    for (unsigned k = 0; k < 3; ++k)
        QTest::addRow("%u to %u", k, k) << k << k << QList<unsigned>{1, 2, 3};
    QTest::newRow("3 to 0") << 3u << 0u << QList<unsigned>{1, 2, 3};
    QTest::newRow("0 to 3") << 0u << 3u << QList<unsigned>{1, 2, 3};
    QTest::newRow("2 to 255") << 2u << 255u << QList<unsigned>{1, 2, 3};
    QTest::newRow("7 to 7") << 7u << 7u << QList<unsigned>{1, 2, 3};
}

void TestAxes::swapAxes() {
    QFETCH(unsigned, from);
    QFETCH(unsigned, to);
    QFETCH(QList<unsigned>, expected);
    unsigned a = 1, b = 2, c = 3;
    SwapAxes(a, b, c, from, to);
    QCOMPARE((QList<unsigned>{a, b, c}), expected);
}

void TestAxes::swapAxesText_data() {
    QTest::addColumn<unsigned>("from");
    QTest::addColumn<unsigned>("to");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("2 to 0") << 2u << 0u << QStringList{"3.0", "1.0", "2.0"};
    QTest::newRow("1 to 0") << 1u << 0u << QStringList{"1.0", "3.0", "2.0"};
    QTest::newRow("0 to 2") << 0u << 2u << QStringList{"2.0", "3.0", "1.0"};
    QTest::newRow("1 to 2") << 1u << 2u << QStringList{"3.0", "2.0", "1.0"};
    QTest::newRow("equal") << 1u << 1u << QStringList{"1.0", "2.0", "3.0"};
    QTest::newRow("above 2") << 0u << 5u << QStringList{"1.0", "2.0", "3.0"};
}

void TestAxes::swapAxesText() {
    QFETCH(unsigned, from);
    QFETCH(unsigned, to);
    QFETCH(QStringList, expected);
    QString a = QStringLiteral("1.0"), b = QStringLiteral("2.0"), c = QStringLiteral("3.0");
    SwapAxesText(a, b, c, from, to);
    QCOMPARE((QStringList{a, b, c}), expected);
}

// Reading under a convention puts back exactly what writing under it took.
void TestAxes::reverseSelectorsUndo() {
    for (unsigned from = 0; from < 3; ++from) {
        for (unsigned to = 0; to < 3; ++to) {
            QString a = QStringLiteral("x"), b = QStringLiteral("y"), c = QStringLiteral("z");
            SwapAxesText(a, b, c, from, to);
            SwapAxesText(a, b, c, to, from);
            QCOMPARE((QStringList{a, b, c}), (QStringList{"x", "y", "z"}));
        }
    }
}

QTEST_GUILESS_MAIN(TestAxes)
#include "tst_axes.moc"

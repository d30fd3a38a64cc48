#include "vrml/TextLines.h"

#include <QTest>

using namespace modulino;

class TextLinesTest : public QObject {
    Q_OBJECT
private slots:
    void splitLines_data();
    void splitLines();
    void windows1250KeepsEveryByte();
    void windows1250Letters();
    void outsideWindows1250_data();
    void outsideWindows1250();
};

void TextLinesTest::splitLines_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArrayList>("lines");
    QTest::newRow("empty") << QByteArray() << QByteArrayList{};
    QTest::newRow("no line end") << QByteArray("a") << QByteArrayList{"a"};
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QByteArrayList{"a", "b"};
    QTest::newRow("LF") << QByteArray("a\nb") << QByteArrayList{"a", "b"};
    QTest::newRow("CR") << QByteArray("a\rb\r") << QByteArrayList{"a", "b"};
    QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << QByteArrayList{"a", "", "b"};
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QByteArrayList{"a", "", "b"};
    QTest::newRow("empty lines") << QByteArray("\r\n\r\n") << QByteArrayList{"", ""};
    QTest::newRow("NUL kept") << QByteArray("a\0b\nc", 5)
                              << QByteArrayList{QByteArray("a\0b", 3), "c"};
    QTest::newRow("mixed") << QByteArray("1\r\n2\n3\r4") << QByteArrayList{"1", "2", "3", "4"};
}

void TextLinesTest::splitLines() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArrayList, lines);
    QCOMPARE(splitLinesCopy(bytes), lines);
}

void TextLinesTest::windows1250KeepsEveryByte() {
    QByteArray all(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    const QString text = decode1250(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(encode1250(text), all);
}

void TextLinesTest::windows1250Letters() {
    // "kvádr", "kužel", "Dílek" in Windows-1250.
    QCOMPARE(decode1250("kv\xe1"
                        "dr"),
             QStringLiteral("kvádr"));
    QCOMPARE(decode1250("ku\x9e"
                        "el"),
             QStringLiteral("kužel"));
    QCOMPARE(encode1250(QStringLiteral("Dílek")), QByteArray("D\xedlek"));
}

void TextLinesTest::outsideWindows1250_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("Cyrillic") << QStringLiteral("a\u0416b") << QByteArray("a?b");
    QTest::newRow("beside a Czech letter")
        << QStringLiteral("\u017e\u20ac\u00e6") << QByteArray("\x9e\x80?");
    QTest::newRow("beyond the first plane") << QStringLiteral("x\U0001F600y") << QByteArray("x?y");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("?");
    QTest::newRow("replacement character") << QStringLiteral("\uFFFD") << QByteArray("?");
}

void TextLinesTest::outsideWindows1250() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(encode1250(text), bytes);
}

QTEST_GUILESS_MAIN(TextLinesTest)
#include "tst_textlines.moc"

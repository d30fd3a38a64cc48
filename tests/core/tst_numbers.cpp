#include "base/Colours.h"
#include "scene/Numbers.h"

#include <QTest>

using namespace modulino;

class NumbersTest : public QObject {
    Q_OBJECT
private slots:
    void tenthsText_data();
    void tenthsText();
    void makeColor_data();
    void makeColor();
    void makeColorCombinesChannels();
    void colorComponentText_data();
    void colorComponentText();
    void tenthsOf_data();
    void tenthsOf();
    void parseInteger_data();
    void parseInteger();
};

void NumbersTest::tenthsText_data() {
    QTest::addColumn<int>("p");
    QTest::addColumn<QString>("twoDigits");
    QTest::addColumn<QString>("threeDigits");
    QTest::newRow("1") << 1 << "0.1"
                       << "0.1";
    QTest::newRow("10") << 10 << "1.0"
                        << "1.0";
    QTest::newRow("95") << 95 << "9.5"
                        << "9.5";
    QTest::newRow("99") << 99 << "9.9"
                        << "9.9";
    QTest::newRow("100") << 100 << "10.0"
                         << "10.0";
    QTest::newRow("0") << 0 << "0.0"
                       << "0.0";
    QTest::newRow("-5") << -5 << "-0.5"
                        << "-0.5";
    QTest::newRow("-10") << -10 << "-1.0"
                         << "-1.0";
    QTest::newRow("123") << 123 << "12.0"
                         << "12.3";
    QTest::newRow("125 half up") << 125 << "13.0"
                                 << "12.5";
    QTest::newRow("145 half up") << 145 << "15.0"
                                 << "14.5";
    QTest::newRow("-157") << -157 << "-16.0"
                          << "-15.7";
    QTest::newRow("-125 half away from zero") << -125 << "-13.0"
                                              << "-12.5";
    QTest::newRow("-200") << -200 << "-20.0"
                          << "-20.0";
    QTest::newRow("200") << 200 << "20.0"
                         << "20.0";
    QTest::newRow("195") << 195 << "20.0"
                         << "19.5";
    QTest::newRow("1234") << 1234 << "120.0"
                          << "123.0";
}

void NumbersTest::tenthsText() {
    QFETCH(int, p);
    QFETCH(QString, twoDigits);
    QFETCH(QString, threeDigits);
    QCOMPARE(TenthsText(p, 2), twoDigits);
    QCOMPARE(TenthsText(p, 3), threeDigits);
}

void NumbersTest::makeColor_data() {
    QTest::addColumn<double>("fraction");
    QTest::addColumn<int>("channel");
    QTest::newRow("0") << 0.0 << 0;
    QTest::newRow("0.1") << 0.1 << 26;
    // The doubles of 0.3 and 0.7 lie just below the half: a product rounded to double would give
    // 77 and 179.
    QTest::newRow("0.3") << 0.3 << 76;
    QTest::newRow("0.5 tie to even") << 0.5 << 128;
    QTest::newRow("0.7") << 0.7 << 178;
    QTest::newRow("0.8") << 0.8 << 204;
    QTest::newRow("0.9") << 0.9 << 230;
    QTest::newRow("1") << 1.0 << 255;
    QTest::newRow("0.25") << 0.25 << 64;
    QTest::newRow("above 1 wraps") << 2.0 << (510 & 0xff);
    QTest::newRow("negative wraps") << -0.004 << 255;
    QTest::newRow("huge stays in a byte") << 1e300 << 0;
}

void NumbersTest::makeColor() {
    QFETCH(double, fraction);
    QFETCH(int, channel);
    QCOMPARE(int(MakeColor(fraction, 0, 0)), channel);
    QCOMPARE(int(MakeColor(0, fraction, 0)), channel << 8);
    QCOMPARE(int(MakeColor(0, 0, fraction)), channel << 16);
}

void NumbersTest::makeColorCombinesChannels() {
    QCOMPARE(MakeColor(0.8, 0.8, 1.0), DefaultBackground);
    QCOMPARE(MakeColor(0.3, 0.5, 0.7), rgb(76, 128, 178));
    QCOMPARE(MakeColor(1, 1, 1), Colour(16777215));
    QCOMPARE(MakeColor(0.50, 0.25, 1.00), Colour(16728192));
}

void NumbersTest::colorComponentText_data() {
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("text");
    const QList<std::pair<int, const char*>> rows{
        {0, "0.00"},   {1, "0.00"},   {2, "0.01"},   {26, "0.10"},  {64, "0.25"}, {128, "0.50"},
        {166, "0.65"}, {204, "0.80"}, {240, "0.94"}, {254, "1.00"}, {255, "1.00"}};
    for (const auto& [byte, text] : rows)
        QTest::newRow(text + QByteArray(" from ") + QByteArray::number(byte)) << byte << text;
}

void NumbersTest::colorComponentText() {
    QFETCH(int, byte);
    QFETCH(QString, text);
    QCOMPARE(ColorComponentText(rgb(byte, 7, 9), Channel::Red), text);
    QCOMPARE(ColorComponentText(rgb(7, byte, 9), Channel::Green), text);
    QCOMPARE(ColorComponentText(rgb(7, 9, byte), Channel::Blue), text);
}

void NumbersTest::tenthsOf_data() {
    QTest::addColumn<QString>("cell");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("tenths");
    QTest::newRow("integer") << "1" << true << 10;
    QTest::newRow("one decimal") << "12.3" << true << 123;
    QTest::newRow("0.25 ties to even") << "0.25" << true << 2;
    QTest::newRow("0.35 ties to even") << "0.35" << true << 4;
    QTest::newRow("-0.25") << "-0.25" << true << -2;
    QTest::newRow("plus sign") << "+1.5" << true << 15;
    QTest::newRow("leading point") << ".5" << true << 5;
    QTest::newRow("trailing point") << "5." << true << 50;
    QTest::newRow("many decimals") << "1.23456" << true << 12;
    QTest::newRow("saturates") << "99999999999" << true << std::numeric_limits<int>::max();
    QTest::newRow("negative one decimal") << "-1.5" << true << -15;
    QTest::newRow("sign and point") << "+.5" << true << 5;
    QTest::newRow("negative zero") << "-0.0" << true << 0;
    QTest::newRow("fifteen digits saturate")
        << "-123456789012345" << true << -std::numeric_limits<int>::max();
    QTest::newRow("sixteen digits saturate")
        << "1234567890123456.7" << true << std::numeric_limits<int>::max();
    QTest::newRow("letters") << "abc" << false << 0;
    QTest::newRow("comma") << "1,5" << false << 0;
    QTest::newRow("two points") << "1.2.3" << false << 0;
    QTest::newRow("sign alone") << "-" << false << 0;
    QTest::newRow("two signs") << "+-1" << false << 0;
    QTest::newRow("point alone") << "." << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("blank") << " 1" << false << 0;
    QTest::newRow("nan") << "nan" << false << 0;
    QTest::newRow("inf") << "inf" << false << 0;
}

void NumbersTest::tenthsOf() {
    QFETCH(QString, cell);
    QFETCH(bool, ok);
    QFETCH(int, tenths);
    const auto value = modulino::tenthsOf(cell);
    QCOMPARE(value.has_value(), ok);
    if (ok)
        QCOMPARE(*value, tenths);
}

void NumbersTest::parseInteger_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("white") << "16777215" << true << 16777215;
    QTest::newRow("zero") << "0" << true << 0;
    QTest::newRow("negative") << "-5" << true << -5;
    QTest::newRow("plus") << "+7" << true << 7;
    QTest::newRow("int minimum") << "-2147483648" << true << std::numeric_limits<int>::min();
    QTest::newRow("beyond int") << "2147483648" << false << 0;
    QTest::newRow("far beyond int") << "99999999999999999999999" << false << 0;
    QTest::newRow("decimal") << "255.0" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("sign alone") << "-" << false << 0;
    QTest::newRow("blank") << " 1" << false << 0;
    QTest::newRow("exponent") << "1e3" << false << 0;
}

void NumbersTest::parseInteger() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    const auto parsed = modulino::parseInteger(text);
    QCOMPARE(parsed.has_value(), ok);
    if (ok)
        QCOMPARE(*parsed, value);
}

QTEST_GUILESS_MAIN(NumbersTest)
#include "tst_numbers.moc"

#include "WindowFixture.h"

#include "PieceTableView.h"

#include <QMenu>

using namespace modulino;

namespace {

using Col = PieceTable::Column;

// Two pieces in a shown window, the first one current.
struct TwoPieces : WindowFixture {
    TwoPieces() {
        addPiece();
        addPiece();
        window->editor().editing.selectRow(1);
        window->refresh();
        table->setFocus();
    }

    PieceTableView* table = child<PieceTableView>("SGDilky");
};

} // namespace

class TestFastEditing : public QObject {
    Q_OBJECT

private slots:
    void duplicateFromAnywhere_data();
    void duplicateFromAnywhere();
};

void TestFastEditing::duplicateFromAnywhere_data() {
    QTest::addColumn<QString>("focus");
    QTest::newRow("table") << "SGDilky";
    QTest::newRow("shape list") << "Tvar";
    QTest::newRow("up-down") << "UDx";
    QTest::newRow("button") << "Pridej";
}

void TestFastEditing::duplicateFromAnywhere() {
    QFETCH(QString, focus);
    TwoPieces f;
    QVERIFY(f.active);
    auto* duplicate = f.child<QAction>("Duplikovat1");
    QVERIFY(f.child<QMenu>("Dlekmodulino1")->actions().contains(duplicate));
    QCOMPARE(duplicate->text(), "Duplikovat");
    QWidget* target = f.window->findChild<QWidget*>(focus);
    target->setFocus();
    QTest::keyClick(target, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(f.state().SGDilky.rowCount(), 4);
    QCOMPARE(f.state().SGDilky.currentRow(), 3);
    QCOMPARE(f.cell(Col::RxColumn, 3), "1");

    f.window->editor().editing.DelClick();
    f.window->editor().editing.DelClick();
    f.window->editor().editing.DelClick();
    f.window->refresh();
    QVERIFY(!duplicate->isEnabled());
}

QTEST_MAIN(TestFastEditing)
#include "tst_fastediting.moc"

#include "WindowFixture.h"

#include "PieceTableView.h"

#include <QLineEdit>
#include <QMenu>

using namespace modulino;

namespace {

using Col = PieceTable::Column;

// Two pieces in a shown window, the first one current, the table focused.
struct TwoPieces : WindowFixture {
    TwoPieces() {
        addPiece();
        addPiece();
        window->editor().editing.selectRow(1);
        window->refresh();
        table->setFocus();
    }
    QPoint cellCentre(int column, int row) const {
        return {table->columnViewportPosition(column) + 10,
                table->rowViewportPosition(row - 1) + 10};
    }
    QLineEdit* editor() const { return qobject_cast<QLineEdit*>(QApplication::focusWidget()); }
    bool typingAt(int column, int row) const {
        return editor() && table->isTyping() &&
               table->indexWidget(table->model()->index(row - 1, column)) == editor();
    }

    PieceTableView* table = child<PieceTableView>("SGDilky");
};

} // namespace

class TestFastEditing : public QObject {
    Q_OBJECT

private slots:
    void opensAndCommits_data() {
        QTest::addColumn<int>("key"); // 0: a double click on the cell
        QTest::newRow("double click") << 0;
        QTest::newRow("F2") << int(Qt::Key_F2);
        QTest::newRow("Enter") << int(Qt::Key_Return);
    }

    void opensAndCommits() {
        QFETCH(int, key);
        TwoPieces f;
        QVERIFY(f.active);
        const QPoint y2 = f.cellCentre(Col::YColumn, 2);
        if (key == 0)
            QTest::mouseDClick(f.table->viewport(), Qt::LeftButton, {}, y2);
        else {
            QTest::mouseClick(f.table->viewport(), Qt::LeftButton, {}, y2);
            QTest::keyClick(f.table, Qt::Key(key));
        }
        QVERIFY(f.typingAt(Col::YColumn, 2));
        QTest::keyClicks(f.editor(), "-4,4");
        QTest::keyClick(f.editor(), Qt::Key_Return);
        QTRY_VERIFY(!f.table->isTyping());
        QCOMPARE(f.cell(Col::YColumn, 2), "-4.4");
        QCOMPARE(f.state().upDown(UpDownId::UDy).position, -44);
        QVERIFY(f.table->hasFocus());
    }

    void refusesEscapesAndCommitsOnLeaving() {
        TwoPieces f;
        QVERIFY(f.active);
        f.state().SceneSaved = true;
        QTest::keyClick(f.table, Qt::Key_F2); // nothing clicked yet: the first size
        QVERIFY(f.typingAt(Col::RxColumn, 1));
        const QColor normal = f.editor()->palette().color(QPalette::Base);
        QTest::keyClicks(f.editor(), "12");
        QTest::keyClick(f.editor(), Qt::Key_Return);
        QTest::qWait(0);
        QVERIFY(f.typingAt(Col::RxColumn, 1)); // not taken: the editor stays, marked
        QVERIFY(f.editor()->palette().color(QPalette::Base) != normal);
        QCOMPARE(f.editor()->toolTip(), "0.1 … 10.0");
        QTest::keyClick(f.editor(), Qt::Key_Escape);
        QVERIFY(!f.table->isTyping());
        QCOMPARE(f.cell(Col::RxColumn, 1), "1");
        QVERIFY(f.state().SceneSaved);

        QTest::keyClick(f.table, Qt::Key_Enter);
        QTest::keyClicks(f.editor(), "2.5");
        QTest::keyClick(f.editor(), Qt::Key_Tab); // commits and goes on to the next size
        QVERIFY(f.typingAt(Col::RyColumn, 1));
        QTest::keyClicks(f.editor(), "3");
        f.child("CBovl")->setFocus(); // leaving the cell commits
        QCOMPARE(f.cell(Col::RxColumn, 1), "2.5");
        QCOMPARE(f.cell(Col::RyColumn, 1), "3.0");
        QCOMPARE(f.cell(Col::ShapeColumn, 1), "kvádr");

        // The shape and controls columns keep their own ways.
        for (int column : {int(Col::ShapeColumn), int(Col::ControlsColumn)}) {
            QTest::mouseDClick(f.table->viewport(), Qt::LeftButton, {}, f.cellCentre(column, 1));
            QTest::keyClick(f.table, Qt::Key_F2);
            QVERIFY(!f.table->isTyping());
        }
    }

    void duplicateFromAnywhere_data() {
        QTest::addColumn<QString>("focus"); // empty: a value being typed in the cell editor
        QTest::newRow("table") << "SGDilky";
        QTest::newRow("shape list") << "Tvar";
        QTest::newRow("up-down") << "UDx";
        QTest::newRow("button") << "Pridej";
        QTest::newRow("cell editor") << "";
    }

    // The copy is made of the piece as it stands, a value being typed included.
    void duplicateFromAnywhere() {
        QFETCH(QString, focus);
        TwoPieces f;
        QVERIFY(f.active);
        auto* duplicate = f.child<QAction>("Duplikovat1");
        QVERIFY(f.child<QMenu>("Dlekmodulino1")->actions().contains(duplicate));
        QCOMPARE(duplicate->text(), "Duplikovat");
        QWidget* target = f.window->findChild<QWidget*>(focus);
        if (focus.isEmpty()) {
            QTest::keyClick(f.table, Qt::Key_F2);
            QTest::keyClicks(target = f.editor(), "3");
        }
        target->setFocus();
        QTest::keyClick(target, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(f.state().SGDilky.rowCount(), 4);
        QCOMPARE(f.state().SGDilky.currentRow(), 3);
        QCOMPARE(f.cell(Col::RxColumn, 3), focus.isEmpty() ? "3.0" : "1");

        f.state().SceneSaved = true; // New asks nothing
        f.window->editor().lifecycle.Nov1Click();
        f.window->refresh();
        QVERIFY(!duplicate->isEnabled());
    }
};

QTEST_MAIN(TestFastEditing)
#include "tst_fastediting.moc"

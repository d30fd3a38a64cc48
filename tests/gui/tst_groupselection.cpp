#include "WindowFixture.h"

#include "PieceTableView.h"

#include <QClipboard>
#include <QGuiApplication>

using namespace modulino;

class TestGroupSelection : public QObject {
    Q_OBJECT

private slots:
    // Shift and Ctrl with clicks and keys, then Ctrl+C and Ctrl+V through the real clipboard.
    void selectCopyAndPaste() {
        WindowFixture f;
        QVERIFY(f.active);
        auto* table = f.child<PieceTableView>("SGDilky");
        auto* all = f.child<QAction>("VybratVse1");
        QVERIFY(!all->isEnabled()); // nothing to select yet
        for (int i = 0; i < 5; ++i)
            f.addPiece();
        f.state().SGDilky.setCell(PieceTable::XColumn, 4, QStringLiteral("4.4"));
        QVERIFY(all->isEnabled());
        const auto click = [&](int row, Qt::KeyboardModifiers keys) {
            QTest::mouseClick(table->viewport(), Qt::LeftButton, keys,
                              QPoint(100, table->rowViewportPosition(row - 1) + 10));
        };
        const auto selected = [&] {
            const std::vector<int> rows = f.window->editor().selection.selectedRows();
            return QList<int>(rows.begin(), rows.end());
        };

        click(1, {});
        click(3, Qt::ShiftModifier);
        QCOMPARE(selected(), (QList<int>{1, 2, 3}));
        QCOMPARE(f.state().CurrentRow, 3);
        click(2, Qt::ControlModifier);
        QCOMPARE(selected(), (QList<int>{1, 3}));
        click(4, Qt::ControlModifier);
        QTest::keyClick(table, Qt::Key_Down, Qt::ShiftModifier); // from the anchor, row 4
        QCOMPARE(selected(), (QList<int>{4, 5}));
        QCOMPARE(f.state().upDown(UpDownId::UDx).position, 0);
        click(4, Qt::ControlModifier);
        QCOMPARE(selected(), (QList<int>{5}));
        click(4, Qt::ControlModifier);
        QCOMPARE(f.state().upDown(UpDownId::UDx).position, 44); // the controls show row 4

        QGuiApplication::clipboard()->clear();
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        const QString text = QGuiApplication::clipboard()->text();
        QCOMPARE(text.count(QStringLiteral("Dilek {")), 2);
        QVERIFY(text.contains(QStringLiteral("poloha 4.4 0 0")));
        QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(selected(), (QList<int>{6, 7}));
        QCOMPARE(f.cell(PieceTable::XColumn, 6), QStringLiteral("4.4"));
        QCOMPARE(table->model()->rowCount(), 7);
        QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(selected().size(), 7);
        QVERIFY(f.dialogs.allAnswered());
    }
};

QTEST_MAIN(TestGroupSelection)
#include "tst_groupselection.moc"

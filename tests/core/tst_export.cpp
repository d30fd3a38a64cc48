#include "TestEditor.h"

#include <QFile>
#include <QTest>

using namespace modulino;

// "Exportovat…" hands the scene as Save composes it to `viewer --export OUT FILE` and reports how
// that ended; a stand-in script plays the viewer.
class TestExport : public QObject {
    Q_OBJECT

private slots:
    void exportsThroughViewer_data();
    void exportsThroughViewer();
};

void TestExport::exportsThroughViewer_data() {
    QTest::addColumn<QString>("chosen"); // "-" a cancelled dialog
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("viewer"); // the stand-in's commands; none: no viewer there
    QTest::addColumn<QString>("out");    // where the scene is exported to
    QTest::addColumn<QString>("failure");

    const QString copy = QStringLiteral("cp \"$3\" \"$2\""); // FILE to OUT
    const QString none;
    QTest::newRow("glb") << "house.glb" << 0 << copy << "house.glb" << none;
    QTest::newRow("stl added") << "house" << 1 << copy << "house.stl" << none;
    QTest::newRow("x3d added") << "house.glb" << 2 << copy << "house.glb.x3d" << none;
    QTest::newRow("viewer fails")
        << "a.stl" << 1 << "printf 'QStandardPaths: none\\n***\\nthe reason\\n' >&2; exit 2" << none
        << "the reason";
    QTest::newRow("no viewer") << "a.stl" << 1 << none << none << "modulino-view: ";
    QTest::newRow("cancelled") << "-" << 0 << copy << none << none;
}

void TestExport::exportsThroughViewer() {
    QFETCH(QString, chosen);
    QFETCH(int, filter);
    QFETCH(QString, viewer);
    QFETCH(QString, out);
    QFETCH(QString, failure);

    TestEditor t;
    t.editor.editing.PridejClick();
    const QString dir = t.folder.path() + QLatin1Char('/');
    t.editor.exporting.viewer = dir + QStringLiteral("modulino-view");
    if (!viewer.isEmpty()) {
        QFile script(t.editor.exporting.viewer);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n" + viewer.toUtf8() + '\n');
        script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    }
    if (chosen != QStringLiteral("-"))
        t.dialogs.exportAnswers << UserDialogs::FileChoice{dir + chosen, filter};
    else
        t.dialogs.exportAnswers << std::nullopt;

    t.editor.exporting.Exportovat1Click();

    QVERIFY(t.dialogs.allAnswered());
    QCOMPARE(
        t.dialogs.log.value(0),
        QStringLiteral("export dialog:  in %1 as glTF (*.glb *.gltf), STL (*.stl), X3D (*.x3d)")
            .arg(t.s.dialogFolder));
    QCOMPARE(t.dialogs.log.value(1), chosen == QStringLiteral("-")
                                         ? QString()
                                         : QStringLiteral("progress: Exportuji scénu…"));
    QFile exported(dir + out);
    QVERIFY(out.isEmpty() ||
            (exported.open(QIODevice::ReadOnly) && exported.readAll() == t.s.Final));
    // The message starts with the failure; the system's own words may follow.
    QCOMPARE(t.dialogs.messages.size(), failure.isEmpty() ? 0 : 1);
    failure.replace(QStringLiteral("modulino-view"), t.editor.exporting.viewer);
    QVERIFY(failure.isEmpty() ||
            t.dialogs.messages[0].startsWith(t.s.texts.notices.ExportFailed.arg(failure)));
}

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"

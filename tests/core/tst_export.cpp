#include "TestEditor.h"

#include <QFile>
#include <QTest>

using namespace modulino;

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

// "Exportovat…" hands the scene as Save composes it to the viewer's --export and reports how
// that ended; a stand-in viewer plays the part.
class TestExport : public QObject {
    Q_OBJECT

private slots:
    void exportsThroughViewer_data();
    void exportsThroughViewer();
};

void TestExport::exportsThroughViewer_data() {
    QTest::addColumn<QString>("chosen"); // "-" a cancelled dialog
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("viewer"); // the stand-in's last commands; "" none there
    QTest::addColumn<QString>("out");    // where the scene is exported to
    QTest::addColumn<QString>("failure");

    const QString copy = QStringLiteral("cp \"$3\" \"$2\"");
    QTest::newRow("glb") << "house.glb" << 0 << copy << "house.glb"
                         << "";
    QTest::newRow("gltf kept") << "house.gltf" << 0 << copy << "house.gltf"
                               << "";
    QTest::newRow("stl added") << "house" << 1 << copy << "house.stl"
                               << "";
    QTest::newRow("x3d added") << "house.glb" << 2 << copy << "house.glb.x3d"
                               << "";
    QTest::newRow("viewer fails") << "house.stl" << 1
                                  << "echo noise >&2; echo 'the reason' >&2; exit 2"
                                  << ""
                                  << "the reason";
    QTest::newRow("no viewer") << "house.stl" << 1 << ""
                               << ""
                               << "modulino-view: ";
    QTest::newRow("cancelled") << "-" << 0 << copy << ""
                               << "";
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
    QFile script(t.editor.exporting.viewer);
    if (!viewer.isEmpty()) {
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho \"$@\" > \"$0.args\"\n" + viewer.toUtf8() + '\n');
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    }
    t.dialogs.exportAnswers << (chosen == QStringLiteral("-")
                                    ? std::nullopt
                                    : std::optional(UserDialogs::FileChoice{dir + chosen, filter}));

    t.editor.exporting.Exportovat1Click();

    QVERIFY(t.dialogs.allAnswered());
    QCOMPARE(t.dialogs.log.value(0), QStringLiteral("export dialog:  in %1 as glTF (*.glb *.gltf), "
                                                    "STL (*.stl), X3D (*.x3d)")
                                         .arg(t.s.dialogFolder));
    if (!out.isEmpty()) {
        QCOMPARE(contents(dir + out), t.s.Final);
        QVERIFY(contents(script.fileName() + QStringLiteral(".args"))
                    .startsWith("--export " + (dir + out).toUtf8() + ' '));
    }
    const bool ran = chosen != QStringLiteral("-");
    QCOMPARE(t.dialogs.log.value(1),
             ran ? QStringLiteral("progress: Exportuji scénu…") : QString());
    // The failure as the message starts; the system's own words may follow.
    QCOMPARE(t.dialogs.messages.size(), failure.isEmpty() ? 0 : 1);
    failure.replace(QStringLiteral("modulino-view"), t.editor.exporting.viewer);
    if (!failure.isEmpty())
        QVERIFY(t.dialogs.messages[0].startsWith(t.s.texts.notices.ExportFailed.arg(failure)));
}

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"

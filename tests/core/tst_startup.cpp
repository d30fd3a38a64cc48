#include "TestEditor.h"

#include "base/PreviewFileName.h"
#include "scene/Numbers.h"
#include "vrml/SceneWriter.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTest>
#include <clocale>

using namespace modulino;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void generatorGivesTheSameNamesInEveryRun();
    void previewNameSkipsTakenNames();
    void previewNameWhenEveryNameIsTaken();
    void startState();
    void numbersKeepTheirPointUnderACommaLocale();
};

void StartupTest::generatorGivesTheSameNamesInEveryRun() {
    PreviewNameGenerator generator;
    QList<int> first;
    for (int i = 0; i < 5; ++i)
        first << generator.next();
    QCOMPARE(first, QList<int>({0, 31, 861, 202, 272}));
}

void StartupTest::previewNameSkipsTakenNames() {
    const QString folder = QStringLiteral("/some/folder");
    QSet<QString> taken;
    auto exists = [&](const QString& path) {
        return taken.contains(path);
    };
    QCOMPARE(choosePreviewFileName(folder, exists), "/some/folder/~prev00.wrl");
    taken << "/some/folder/~prev00.wrl";
    QCOMPARE(choosePreviewFileName(folder, exists), "/some/folder/~prev0.wrl");
    taken << "/some/folder/~prev0.wrl"
          << "/some/folder/~prev31.wrl";
    QCOMPARE(choosePreviewFileName(folder, exists), "/some/folder/~prev861.wrl");
}

void StartupTest::previewNameWhenEveryNameIsTaken() {
    QTemporaryDir folder;
    int asked = 0;
    auto everyNameTaken = [&](const QString& path) {
        ++asked;
        return QFileInfo(path).fileName().startsWith(QLatin1String("~prev"));
    };
    const QString name = choosePreviewFileName(folder.path(), everyNameTaken);
    QVERIFY(asked > 1000);
    QVERIFY(asked < 20000);
    // A name of its own, reserved beside the taken ones, never one of theirs.
    QCOMPARE(QFileInfo(name).absolutePath(), QDir(folder.path()).absolutePath());
    QVERIFY(QFileInfo(name).fileName().startsWith(QLatin1String("~prev")));
    QVERIFY(name.endsWith(QLatin1String(".wrl")));
    QVERIFY(QFile::exists(name));
    const QString another = choosePreviewFileName(folder.path(), everyNameTaken);
    QVERIFY(another != name);
}

void StartupTest::startState() {
    QTemporaryDir folder;
    QFile(folder.filePath(QStringLiteral("~prev00.wrl"))).open(QIODevice::WriteOnly);
    TestEditor t(folder.path());
    QCOMPARE(t.s.PreviewFileName, QDir(folder.path()).filePath(QStringLiteral("~prev0.wrl")));
    QVERIFY(!QFile::exists(t.s.PreviewFileName));
    QCOMPARE(t.s.dialogFolder, QDir(folder.path()).absolutePath());
    QVERIFY(t.s.fileName.isEmpty());
    QCOMPARE(t.s.jmeno, "Beze jména");
    QVERIFY(!t.s.sceneNamed());
    QVERIFY(t.s.SceneSaved);
    QCOMPARE(t.s.Shape2, DefaultBackground);
    QVERIFY(t.s.texts.ShapeTexts[6].isEmpty());
    QCOMPARE(t.s.Tvar.text, "krychle");
    QCOMPARE(t.s.Tvar.selected, -1);
    QVERIFY(t.dialogs.log.isEmpty());
}

void StartupTest::numbersKeepTheirPointUnderACommaLocale() {
    const QLocale before;
    std::setlocale(LC_ALL, "cs_CZ.UTF-8");
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));

    TestEditor t;
    t.editor.editing.PridejClick();
    t.editor.editing.pressUpDown(UpDownId::UDrx, +1);
    t.s.SGDilky.setCell(PieceTable::XColumn, 1, QStringLiteral("-2.5"));
    t.editor.editing.selectRow(1);
    QCOMPARE(t.s.upDown(UpDownId::UDx).position, -25);
    QCOMPARE(t.cell(PieceTable::RxColumn, 1), "1.1");
    ComposeScene(t.s);
    QVERIFY(t.s.Final.contains("Background { skyColor  0.80 0.80 1.00}\r\n"));
    QVERIFY(t.s.Final.contains("Dilek { velikost 1.1 1 1 poloha -2.5 0 0 tvar "));
    QCOMPARE(t.s.SavedDecimalSeparator.decimalPoint(), QStringLiteral(","));

    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(before);
}

QTEST_GUILESS_MAIN(StartupTest)
#include "tst_startup.moc"

#include "base/TextTables.h"

namespace modulino {

namespace {
const QString CrLf = QStringLiteral("\r\n");
const QString WarningHead = QStringLiteral("Vlivem změny rozměrů ") + CrLf;
} // namespace

TextTables TextTables::builtIn() {
    TextTables t;
    t.YesText = QStringLiteral("ANO");
    t.NoText = QStringLiteral("NE");
    t.MessageTexts = {
        QStringLiteral("barva"),
        QStringLiteral("tvar"),
        QStringLiteral("Akce nahradí aktuální scénu") + CrLf +
            QStringLiteral("a smaže neuložené změny ve scéně.") + CrLf +
            QStringLiteral("Pokračovat?"),
        QStringLiteral("Beze jména"),
        QStringLiteral("Soubor nemá požadovaný tvar."),
        QStringLiteral("Soubor nemá požadovaný tvar.") + CrLf +
            QStringLiteral("Zvolili jste nejspíše scénu jiného typu."),
        QStringLiteral("Chcete nahradit existující soubor"),
        QStringLiteral("Soubor prototypů není dovoleno měnit!"),
        QStringLiteral("Soubor neexistuje!"),
        QStringLiteral("Scéna nebyla dosud uložena!"),
        QStringLiteral("Scéna není uložena.") + CrLf + QStringLiteral(" Uložit ?"),
        QStringLiteral(" Ukončit program ?"),
    };
    t.ShapeTexts = {
        WarningHead + QStringLiteral("je tvar dílku krychle."),
        WarningHead + QStringLiteral("je tvar dílku eliptický válec."),
        WarningHead + QStringLiteral("je tvar dílku eliptický kužel."),
        WarningHead + QStringLiteral("je tvar dílku nepravidelný ") + CrLf +
            QStringLiteral("jehlan."),
        WarningHead + QStringLiteral("je tvar dílku kvádr."),
        WarningHead + QStringLiteral("je tvar dílku elipsoid."),
        QString(),
    };
    const QStringList names = builtInShapeItems();
    for (int k = 0; k < 7; ++k)
        t.ShapeTexts[7 + k] = names[k];
    return t;
}

QStringList builtInShapeItems() {
    return {QStringLiteral("krychle"),        QStringLiteral("kvádr"), QStringLiteral("válec"),
            QStringLiteral("kužel"),          QStringLiteral("koule"), QStringLiteral("jehlan"),
            QStringLiteral("trojboký hranol")};
}

} // namespace modulino

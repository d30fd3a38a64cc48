#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace modulino {

// Questions and messages of the later features; %1, %2… are filled in where they are shown.
struct Notices {
    // %1 the scene's file (or the untitled name), %2 the time of the copy.
    QString RecoveryOffer =
        QStringLiteral("Po nečekaném ukončení zůstala obnovovací kopie scény %1 z %2. Obnovit ji?");
    // %1 the file.
    QString ChangedOnDisk = QStringLiteral(
        "Soubor %1 mezitím změnil jiný program. Opravdu jej přepsat a jeho změny ztratit?");
    QString ReloadChanged = QStringLiteral("Soubor %1 změnil jiný program. Načíst jej znovu?");
    QString ReloadLosing = QStringLiteral(
        "Soubor %1 změnil jiný program. Načíst jej znovu? Neuložené úpravy budou ztraceny.");
    // %1 the file, %2 the user, %3 the computer, %4 the process.
    QString OpenElsewhere =
        QStringLiteral("Soubor %1 má otevřený také uživatel %2 na počítači %3 (proces %4).");
    QString NothingPasted = QStringLiteral("Ve schránce nejsou žádné dílky.");
    QString ArrayTitle = QStringLiteral("Pole dílků");
    QString ArrayCount = QStringLiteral("Počet kopií:");
    QString ArrayOffset = QStringLiteral("Posun každé další kopie:");
    QString ArrayClamped = QStringLiteral(
        "Některé kopie by vyšly mimo rozsah -20.0 až 20.0 a zastaví se na jeho okraji.");
    QString Exporting = QStringLiteral("Exportuji scénu…");
    // %1 the reason.
    QString ExportFailed = QStringLiteral("Export se nezdařil: %1");
    bool operator==(const Notices&) const = default;
};

// Every message and shape name the program shows; the language file replaces them.
struct TextTables {
    std::array<QString, 12> MessageTexts;
    // 0-5 shape warnings, 6 their common first line from the language file, 7-13 shape names.
    std::array<QString, 14> ShapeTexts;
    QString YesText;
    QString NoText;
    Notices notices;

    static TextTables builtIn();

    // The display names of the seven shapes, ShapeTexts 7 to 13.
    QStringView shapeName(int k) const { return ShapeTexts[7 + k]; }
};

// Captions of the main window's controls and menu items, by control name. The language file
// replaces each of them; the shape list's items live with the shape list.
struct Captions {
    QString Modulino = QStringLiteral("Modulino");
    QString bezvoleb = QStringLiteral("Skrýt pokročilé volby");
    QString CBovl = QStringLiteral("Ovladače");
    QString CBSkryt = QStringLiteral("Skrýt ovladače");
    QString Del = QStringLiteral("Odstranit vybraný dílek ");
    QString Dlekmodulino1 = QStringLiteral("Dílek modulino");
    QString Konec1 = QStringLiteral("Konec");
    QString Label1 = QStringLiteral("Upravujete soubor:");
    QString Label10 = QStringLiteral(
        "Umisťujete levý přední/zadní (podle volby) dolní roh dílku (šedá kulička).");
    QString Label11 =
        QStringLiteral("Pomocí šipek můžete připravenými dílky posouvat v příslušných směrech.");
    QString Label12 =
        QStringLiteral("Pohybem myši nad dílkem (se stisknutým levým tlačítkem) dílek otočíte.");
    QString Label13 =
        QStringLiteral("Kliknutím na šedou kuličku otočíte dílek zpět do základní polohy.");
    QString Label14 = QStringLiteral(" poloha os ");
    QString Label24 = QStringLiteral("Soustavu souřadnic můžete kliknutím na obrázek změnit.");
    QString Label3 = QStringLiteral("Soustava souřadnic:");
    QString Label4 = QStringLiteral("BARVA POZADÍ");
    QString Label5 = QStringLiteral("POLOHA");
    QString Label6 = QStringLiteral("ROZMĚRY");
    QString Label7 = QStringLiteral("Směry os zobrazíte tlačítkem Volby soustavy souřadnic.");
    QString Label8 = QStringLiteral("Nápověda");
    QString Label9 = QStringLiteral("Ovládání modelu v zobrazené scéně:");
    QString Nahled = QStringLiteral("Náhled scény");
    QString Nast1 = QStringLiteral("Načíst");
    QString Nov1 = QStringLiteral("Nová");
    QString Npovda1 = QStringLiteral("Nápověda");
    QString Pidat1 = QStringLiteral("Přidat");
    QString Preview1 = QStringLiteral("Náhled");
    QString Pridej = QStringLiteral("Přidat dílek modulino");
    QString Scna1 = QStringLiteral("Scéna");
    QString Smazat1 = QStringLiteral("Smazat");
    QString Uloit1 = QStringLiteral("Uložit");
    QString Uloitjako1 = QStringLiteral("Uložit jako...");
    QString volby = QStringLiteral("Volby soustavy souřadnic");
    QString Zobrazit1 = QStringLiteral("Zobrazit");
    QString Zobrazituloenou1 = QStringLiteral("Zobrazit uloženou");
    QString Upravy1 = QStringLiteral("Úpravy");
    QString Zpet1 = QStringLiteral("Zpět");
    QString Znovu1 = QStringLiteral("Znovu");
    QString Duplikovat1 = QStringLiteral("Duplikovat");
    QString NahledSleduje1 = QStringLiteral("Náhled sleduje úpravy");
    QString UkazatDilek1 = QStringLiteral("Ukázat dílek");
    QString Vyjmout1 = QStringLiteral("Vyjmout");
    QString Kopirovat1 = QStringLiteral("Kopírovat");
    QString Vlozit1 = QStringLiteral("Vložit");
    QString VybratVse1 = QStringLiteral("Vybrat vše");
    QString VybratTvar1 = QStringLiteral("Vybrat stejný tvar");
    QString VybratBarvu1 = QStringLiteral("Vybrat stejnou barvu");
    QString Pole1 = QStringLiteral("Pole…");
    QString Pripojit1 = QStringLiteral("Připojit…");
    QString Exportovat1 = QStringLiteral("Exportovat…");
    bool operator==(const Captions&) const = default;
};

// The seven items of the shape list in their built-in form.
QStringList builtInShapeItems();

} // namespace modulino

// German language library: the program's message catalog, data only.
#include "platform/LanguageLibrary.h"

// The two exported symbols; declared extern first so that the const data keeps external linkage.
extern "C" {
__attribute__((visibility("default"))) extern const platform::LanguageTableEntry kvbr_message_table[];
__attribute__((visibility("default"))) extern const unsigned kvbr_message_count;
}

const platform::LanguageTableEntry kvbr_message_table[] = {
    {1000, "Fehler %1$s aufgetreten in '%2$s'"},
    {1010, "Warnung %1$s gemeldet von '%2$s'"},
    {1020, "Erklärung:"},
    {1030, "Sind Sie sicher, daß Sie das Programm beenden möchten?"},
    {1040, "Unbekannter Fehler %1$s aufgetreten in '%2$s'"},
    {2000, "WPX-Export abgebrochend: ungültige Dateizugriffsart: %1$s"},
    {2010, "WPX-Export abgebrochen: ARIS Anwendung nicht gefunden"},
    {2020, "WPX-Export abgebrochen: Ungültige Modelauswahl: %1$s"},
    {2030, "Ungültige Beziehungsart: %1$s"},
    {2040, "Ungültige WPX Namenskonvention '%1$s' während der Konvertierung des ARIS-Namens '%2$s' gefunden"},
    {2050, "Ungültiger Objektname"},
    {2060, "Die Layoutkonvertierung für das ARIS-Model '%1$s' ist noch nicht erfolgt"},
    {2070, "Die Layoutkonvertierung für die ARIS-Funktion '%1$s' ist noch nicht erfolgt"},
    {2080, "Die Ermittlung der ARIS-Objekte entlang der Kontrollflußpfade für das WPX-Konstrukt 'CONTROL_CONNECTOR' ist noch nicht erfolgt."},
    {2090, "Die Ermittlung der ARIS-Objekte entlang der Datenflußpfade für das WPX-Konstrukt 'DATA_CONNECTOR' ist noch nicht erfolgt."},
    {2100, "Diese Abbildungsregel ist nicht definiert: %1$s"},
    {2110, "Diese Abbildungsregel wurde bereits definiert: %1$s"},
    {2120, "Diese ARIS-Objektdefinition entspricht nicht der Abbildungsregel: (Objekttyp = '%1$s', Objektname = '%2$s', Abbildungsregel = '%3$s')"},
    {2130, "Syntaxfehler in Abbildungregel an der Stelle '%1$s' (Erwartete Schlüsselwörter: %2$s)"},
    {2140, "Syntaxfehler in Abbildungregel an der Stelle '%1$s' (Name einer Abbildungsregel erwartet)"},
    {2150, "Syntaxfehler in Abbildungregel an der Stelle '%1$s' (Zuweisungsoperator '=' erwartet)"},
    {2160, "Syntaxfehler in Abbildungregel an der Stelle '%1$s' (Typennummer einer ARIS-Objektdefinition erwartet)"},
    {2170, "Syntaxfehler in Abbildungregel an der Stelle '%1$s' (Typennummer eines ARIS-Attributes erwartet)"},
    {2180, "Syntaxfehler in Abbildungregel an der Stelle '%1$s' (Nummer einer ARIS-Verknüpfungsart erwartet)"},
    {2190, "Syntaxfehler in Abbildungregel an der Stelle '%1$s' (Nummer eines ARIS-Verknüpfungstyps erwartet)"},
    {2200, "Syntaxfehler in Abbildungregel an der Stelle '%1$s' (Der Übersetzer der Abbildungsregeln befindet sich in einem undefinierten Zustand: '%2$s')"},
    {2210, "Es wurden keine Abbildungsregeln gefunden (Es werden die Standard-Abbildungsregeln benutzt)."},
    {2220, "Das Profile '%1$s' mit den Abbildungsregeln konnte nicht gefunden werden."},
    {2230, "Das ARIS-Objekt '%1$s' mit dem Typ '%2$s' ist an einer endlosen Beziehungsschleife beteiligt."},
    {3000, "Warnung: Sie dürfen nicht mehr als ein/eine '%1$s' einem/einer '%2$s' zuordnen."},
    {3010, "Warnung: Sie haben mehr als ein/eine '%1$s' einem/einer '%2$s' zugeordnet"},
    {3020, "Das ARIS-Modell '%1$s' mit dem Typ '%2$s' wurde nicht zugeordnet."},
    {3030, "Das ARIS-Objekt '%1$s' mit dem Typ '%2$s' wurde nicht zugeordnet."},
    {3040, "Die ARIS-Gruppe '%1$s' wurde auf ein WPX-Konstrukt vom Typ 'PROCESS_CATEGORY' abgebildet."},
    {3050, "Das ARIS-Modell '%1$s' wurde auf ein WPX-Konstrukt vom Typ 'PROCESS' abgebildet."},
    {3060, "Das ARIS-Objekt '%1$s' mit dem Typ '%2$s' wurde auf ein WPX-Konstrukt vom Typ '%3$s' abgebildet."},
    {3070, "Der Kontrollfluß zwischen den ARIS-Objekten '%2$s' (Typ: '%1$s') und '%4$s' (Typ: '%3$s') wurde auf ein WPX-Konstrukt vom Typ 'CONTROL_CONNECTOR' abgebildet."},
    {3080, "Der Datenfluß zwischen den ARIS-Objekten '%2$s' (Typ: '%1$s') und '%4$s' (Typ: '%3$s') wurde auf ein WPX-Konstrukt vom Typ 'DATA_CONNECTOR' abgebildet."},
    {3090, "Die Abbildung der Eigenschaften für das WPX-Konstrukt vom Typ '%1$s' mit der Bezeichnung %2$s ist vollständig."},
    {3100, "Die ARIS-Zeichenkette '%1$s' wurde in eine WPX-kompatible Form geändert: '%2$s'"},
    {3110, "Gesamtanzahl der erzeugten WPX-Konstrukte: %1$s"},
    {3120, "Warnung: Sie dürfen das Ereignis '%1$s' nicht von mehr als einem Datenobjekt herleiten."},
    {3130, "Warnung: Der Kontrollfluß zwischen den ARIS-Objekten '%2$s' (Typ: '%1$s') und '%4$s' (Typ: '%3$s') verursacht eine ungültige Schleife."},
    {3140, "Warnung: Der Datenfluß zwischen den ARIS-Objekten '%2$s' (Typ: '%1$s') und '%4$s' (Typ: '%3$s') verursacht eine ungültige Schleife."},
    {4000, "Fließkommazahl"},
    {4010, "Ganze Zahl"},
    {4020, "Bool"},
    {50000, "Optionen"},
    {50001, "Syntax"},
    {50002, "Graphik"},
    {50003, "Merkmale"},
    {50004, "Personalzuordnung"},
    {50005, "Schleifen"},
    {50006, "Kontrollfluß"},
    {50007, "Datentypen"},
    {50008, "&Hilfe"},
    {50009, "Weitere Einstellungen übernehmen"},
    {50010, "Bevorzugte Angabe der Datentypen als"},
    {50011, "ARIS-Objekt 'ERM-Wertebereich'"},
    {50012, "ARIS-Attribut 'Datentyp'"},
    {50013, "Übergangsbedingungen"},
    {50014, "Endebedingungen"},
    {50015, "Startbedingungen"},
    {50016, "Ungültige Kontrollfluß-Schleifen suchen"},
    {50017, "Ungültige Datenfluß-Schleifen suchen"},
    {50018, "Bevorzuge dynamische Personalzuordnung"},
    {50019, "Dokumentationsmerkmale übernehmen"},
    {50020, "Beschreibungsmerkmale übernehmen"},
    {50021, "Zwischenpunkte in WPX-Datenkonnektoren einfügen"},
    {50022, "Zwischenpunkte in WPX-Kontrollkonnektoren einfügen"},
    {50023, "Zeilenumbrüche aus ARIS-Textmerkmalen entfernen"},
    {50024, "ARIS-Namen in WPX-verträgliche Namen umwandeln"},
    {50025, "Wählen Sie aus, welche Kontrollfluß-Bedingungen Sie vorzugsweise als ARIS-Benutzerattribute definieren:"},
    {50026, "Startindex für die Numerierung generierter Datennamen (z.B.DATA_STRUCTURE_0)"},
    {50027, "Ü&bernehmen"},
    {50028, "Abbrechen"},
    {50029, "OK"},

    // The program's own messages, outside the catalog's numbers (60000 and above), one range
    // per subject so that each keeps its numbers.
    // 60100-60199: refusals that protect the user's files and the export's limits.

    // 60200-60399: the command line, the listing, the summary, the type table and profile.

    // 60400-60499: the definition-file checker and the preview.

    // 60500-60599: the desktop and the packages.
    {60500, "die Desktop-Fenster sind nicht installiert (%1$s, Paket lumenport-desktop); weiter im Batch-Modus"},
    {60501, "die Desktop-Fenster (%1$s) können nicht geladen werden: %2$s; weiter im Batch-Modus"},
    {60502, "%1$s ist bereits vorhanden.\r\nMöchten Sie die Datei ersetzen? Ihr Protokoll %2$s wird ebenfalls ersetzt."},
    {60503, "%1$s ist bereits vorhanden.\r\nMöchten Sie die Datei ersetzen? Der Export schreibt außerdem das Protokoll %2$s."},
    {60504, "der Ordner der Definitionsdatei konnte für das Speicherfenster nicht gemerkt werden: %1$s"},
    {60505, "Das Protokoll %1$s ist bereits vorhanden.\r\nMöchten Sie es durch das Protokoll von %2$s ersetzen?"},
    {60506, "&Ja"},
    {60507, "&Nein"},

};

const unsigned kvbr_message_count = sizeof(kvbr_message_table) / sizeof(kvbr_message_table[0]);

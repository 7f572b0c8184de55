<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AccuracyLabWindow</name>
    <message>
        <source>Accuracy Lab</source>
        <translation>Genauigkeitslabor</translation>
    </message>
    <message>
        <source>Until day</source>
        <extracomment>The day of the simulated time every run of the sweep is taken to.</extracomment>
        <translation>Bis Tag</translation>
    </message>
    <message>
        <source>The day every run is taken to; one period of a bound orbit unless you change it.</source>
        <translation>Der Tag, bis zu dem jeder Lauf rechnet; eine Umlaufzeit einer gebundenen Bahn, wenn Sie ihn nicht ändern.</translation>
    </message>
    <message>
        <source>Run the sweep</source>
        <translation>Messreihe starten</translation>
    </message>
    <message>
        <source>Cancel the sweep</source>
        <translation>Messreihe abbrechen</translation>
    </message>
    <message>
        <source>Sweep progress</source>
        <translation>Fortschritt der Messreihe</translation>
    </message>
    <message>
        <source>Sweep status</source>
        <translation>Stand der Messreihe</translation>
    </message>
    <message>
        <source>The start has changed since this sweep: these results belong to the old start. Press Run to sweep the new one.</source>
        <extracomment>Shown over the results when the start has changed since they were computed.</extracomment>
        <translation>Der Anfangszustand hat sich seit dieser Messreihe geändert: Diese Ergebnisse gehören zum alten. Drücken Sie Start, um den neuen zu vermessen.</translation>
    </message>
    <message>
        <source>Stale results</source>
        <translation>Veraltete Ergebnisse</translation>
    </message>
    <message>
        <source>Error against the step, log-log</source>
        <extracomment>The chart&apos;s name for a screen reader: the error of each run against its integration step, both axes logarithmic.</extracomment>
        <translation>Fehler gegen den Schritt, doppelt logarithmisch</translation>
    </message>
    <message>
        <source>Sweep rows</source>
        <translation>Zeilen der Messreihe</translation>
    </message>
    <message>
        <source>Use this interval</source>
        <extracomment>Makes the plot interval of the row chosen in the table the program&apos;s plot interval.</extracomment>
        <translation>Dieses Intervall verwenden</translation>
    </message>
    <message>
        <source>Use the chosen row&apos;s plot interval</source>
        <translation>Plot-Intervall der gewählten Zeile verwenden</translation>
    </message>
    <message>
        <source>Sets the plot interval of the chosen row, as the Settings menu does (while Ready).</source>
        <translation>Stellt das Plot-Intervall der gewählten Zeile ein, wie es das Menü Einstellungen tut (im Zustand Bereit).</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <extracomment>Writes the sweep&apos;s rows to a CSV file, as tulvane-trace --convergence prints them.</extracomment>
        <translation>CSV exportieren...</translation>
    </message>
    <message>
        <source>Export the sweep as CSV</source>
        <translation>Messreihe als CSV exportieren</translation>
    </message>
    <message>
        <source>Press Run to sweep the start over the plot intervals.</source>
        <translation>Drücken Sie Start, um den Anfangszustand mit allen Plot-Intervallen zu rechnen.</translation>
    </message>
    <message>
        <source>Body A error (m)</source>
        <extracomment>A line of the chart: how far Body A is from its exact place, in metres (m).</extracomment>
        <translation>Fehler Körper A (m)</translation>
    </message>
    <message>
        <source>Body B error (m)</source>
        <extracomment>A line of the chart: how far Body B is from its exact place, in metres (m).</extracomment>
        <translation>Fehler Körper B (m)</translation>
    </message>
    <message>
        <source>|Energy drift|</source>
        <extracomment>A line of the chart: the size of the energy drift, a share of the start&apos;s energy.</extracomment>
        <translation>|Energiedrift|</translation>
    </message>
    <message>
        <source>80-bit floor</source>
        <extracomment>A line of the chart: the least error the 80-bit arithmetic can show; below it is rounding.</extracomment>
        <translation>80-Bit-Grenze</translation>
    </message>
    <message>
        <source>Current plot interval</source>
        <extracomment>A line of the chart: the step of the plot interval the program uses now.</extracomment>
        <translation>Aktuelles Plot-Intervall</translation>
    </message>
    <message>
        <source>Not in fit (earlier day)</source>
        <extracomment>Points of the chart: rows measured at an earlier day than the others, left out of the fit.</extracomment>
        <translation>Nicht im Fit (früherer Tag)</translation>
    </message>
    <message numerus="yes">
        <source>Sweeping %n plot interval(s) to day %1...</source>
        <extracomment>The sweep under way: %n is how many plot intervals it runs, %1 the day it takes them to, a decimal number.</extracomment>
        <translation>
            <numerusform>Messreihe über %n Plot-Intervall bis Tag %1...</numerusform>
            <numerusform>Messreihe über %n Plot-Intervalle bis Tag %1...</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancelled: the rows finished before are shown.</source>
        <translation>Abgebrochen: Die bis dahin fertigen Zeilen werden gezeigt.</translation>
    </message>
    <message>
        <source>Done. The error at day %1 falls with the step at order %2 (least squares).</source>
        <extracomment>%1 is the common day the rows are measured at, %2 the power of the step the error falls with, both decimal numbers.</extracomment>
        <translation>Fertig. Der Fehler an Tag %1 fällt mit dem Schritt in Ordnung %2 (kleinste Quadrate).</translation>
    </message>
    <message>
        <source>Done. Too few rows between the 80-bit floor and a lost orbit for an order.</source>
        <extracomment>No order can be fitted: too few rows have an error above rounding and below the size of the orbit.</extracomment>
        <translation>Fertig. Zu wenige Zeilen zwischen der 80-Bit-Grenze und einer verlorenen Bahn, um eine Ordnung zu bestimmen.</translation>
    </message>
    <message>
        <source>Error at day %1 against the step</source>
        <extracomment>The chart&apos;s title: %1 is the common day the rows are measured at, a decimal number.</extracomment>
        <translation>Fehler an Tag %1 gegen den Schritt</translation>
    </message>
    <message>
        <source>Export Sweep</source>
        <extracomment>The title of the file dialog of Export CSV.</extracomment>
        <translation>Messreihe exportieren</translation>
    </message>
    <message>
        <source>CSV tables (*.csv *.CSV)</source>
        <extracomment>A file dialog&apos;s filter: the part in brackets stays as it is.</extracomment>
        <translation>CSV-Tabellen (*.csv *.CSV)</translation>
    </message>
    <message>
        <source>The sweep could not be exported to %1: %2</source>
        <extracomment>%1 is the file&apos;s path, %2 the system&apos;s reason.</extracomment>
        <translation>Die Messreihe konnte nicht nach %1 exportiert werden: %2</translation>
    </message>
    <message>
        <source>Run</source>
        <comment>start the sweep</comment>
        <extracomment>The button that starts the sweep: a run of the start at every plot interval.</extracomment>
        <translation>Start</translation>
    </message>
    <message>
        <source>Cancel</source>
        <comment>stop the sweep</comment>
        <extracomment>The button that stops the sweep under way.</extracomment>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Plot interval</source>
        <comment>column</comment>
        <translation>Plot-Intervall</translation>
    </message>
    <message>
        <source>Step (s)</source>
        <comment>column</comment>
        <extracomment>Column: the integration step of the row&apos;s run, in seconds (s).</extracomment>
        <translation>Schritt (s)</translation>
    </message>
    <message>
        <source>Plot points</source>
        <comment>column</comment>
        <extracomment>Column: how many plot points the row&apos;s run takes.</extracomment>
        <translation>Plot-Punkte</translation>
    </message>
    <message>
        <source>Day</source>
        <comment>column</comment>
        <extracomment>Column: the day of the simulated time the row is measured at.</extracomment>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Error A (m)</source>
        <comment>column</comment>
        <extracomment>Column: how far Body A is from its exact place, in metres (m).</extracomment>
        <translation>Fehler A (m)</translation>
    </message>
    <message>
        <source>Error B (m)</source>
        <comment>column</comment>
        <extracomment>Column: how far Body B is from its exact place, in metres (m).</extracomment>
        <translation>Fehler B (m)</translation>
    </message>
    <message>
        <source>Energy drift</source>
        <comment>column</comment>
        <extracomment>Column: how far the run&apos;s energy has moved off its start value, as a share of it.</extracomment>
        <translation>Energiedrift</translation>
    </message>
    <message>
        <source>Angular momentum drift</source>
        <comment>column</comment>
        <extracomment>Column: how far the run&apos;s angular momentum has moved off its start value, as a share of it.</extracomment>
        <translation>Drehimpulsdrift</translation>
    </message>
    <message>
        <source>Steps across closest approach</source>
        <comment>column</comment>
        <extracomment>Column: how many integration steps the passage of the closest approach takes.</extracomment>
        <translation>Schritte bei größter Annäherung</translation>
    </message>
    <message>
        <source>Observed order</source>
        <comment>column</comment>
        <extracomment>Column: the power of the step the error falls with, from this row and the one before.</extracomment>
        <translation>Beobachtete Ordnung</translation>
    </message>
    <message>
        <source>In fit</source>
        <comment>column</comment>
        <extracomment>Column: whether the row is measured at the common day of the fit of the order.</extracomment>
        <translation>Im Fit</translation>
    </message>
    <message>
        <source>Step (s)</source>
        <comment>axis</comment>
        <extracomment>The chart&apos;s axis: the integration step in seconds (s).</extracomment>
        <translation>Schritt (s)</translation>
    </message>
    <message>
        <source>Error (m)</source>
        <comment>axis</comment>
        <extracomment>The chart&apos;s axis: how far a body is from its exact place, in metres (m).</extracomment>
        <translation>Fehler (m)</translation>
    </message>
    <message>
        <source>|Energy drift|</source>
        <comment>axis</comment>
        <extracomment>The chart&apos;s axis: the size of the energy drift, a share of the start&apos;s energy.</extracomment>
        <translation>|Energiedrift|</translation>
    </message>
    <message>
        <source>needs %1 plot points; runs of more than %2 are not made</source>
        <extracomment>Why a row of the sweep was not run: %1 is how many plot points it needs, %2 the most a run may take.</extracomment>
        <translation>braucht %1 Plot-Punkte; Läufe mit mehr als %2 werden nicht gerechnet</translation>
    </message>
    <message>
        <source>no</source>
        <comment>in fit</comment>
        <extracomment>The In fit column: the row is measured at an earlier day than the fit&apos;s.</extracomment>
        <translation>nein</translation>
    </message>
    <message>
        <source>yes, in the order</source>
        <comment>in fit</comment>
        <extracomment>The In fit column: the row is measured at the fit&apos;s day, and its error is used for the order.</extracomment>
        <translation>ja, in der Ordnung</translation>
    </message>
    <message>
        <source>yes</source>
        <comment>in fit</comment>
        <extracomment>The In fit column: the row is measured at the fit&apos;s day, but its error is at the 80-bit floor or has lost the orbit, so it is left out of the order.</extracomment>
        <translation>ja</translation>
    </message>
    <message>
        <source>Error at day %1 against the step: observed order %2</source>
        <extracomment>The chart&apos;s title: %1 is the common day the rows are measured at, %2 the power of the step the error falls with, both decimal numbers.</extracomment>
        <translation>Fehler an Tag %1 gegen den Schritt: beobachtete Ordnung %2</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Usage: tulvane [--help] [--version] [Qt options] [FILE.TV0 [--record N]]
Simulates two point masses under their mutual Newtonian gravity, in a window: set each body&apos;s start,
run, pause, zoom and re-centre the plot, and keep settings in .TV0 files.
  FILE.TV0    settings file to show in the settings viewer, at its first record
  --record N  make record N of FILE.TV0 (counted from 1) current instead, and start Ready
  --help      print this help and exit
  --version   print the version and exit
Qt&apos;s own options, such as -platform NAME and -display DISPLAY, are passed to Qt.
Exit status: 0 when the program ends, 1 when no display can be opened, 2 for bad arguments.
</source>
        <extracomment>tulvane --help, on the terminal. Keep the options (FILE.TV0, --record N, --help, --version, -platform NAME, -display DISPLAY) as they are, each with its text on one line; the manual page is made from the English text.</extracomment>
        <translation>Aufruf: tulvane [--help] [--version] [Qt-Optionen] [DATEI.TV0 [--record N]]
Simuliert zwei Punktmassen unter ihrer gegenseitigen Newtonschen Gravitation in einem Fenster: den Anfangszustand
jedes Körpers setzen, starten, anhalten, den Plot zoomen und neu zentrieren und Einstellungen in .TV0-Dateien halten.
  DATEI.TV0   Einstellungsdatei, die die Einstellungsansicht bei ihrem ersten Datensatz zeigt
  --record N  stattdessen Datensatz N von DATEI.TV0 (ab 1 gezählt) übernehmen und bereit starten
  --help      diese Hilfe ausgeben und beenden
  --version   die Version ausgeben und beenden
Qts eigene Optionen, etwa -platform NAME und -display DISPLAY, gehen an Qt.
Rückgabewert: 0, wenn das Programm endet, 1, wenn keine Anzeige geöffnet werden kann, 2 bei falschen Argumenten.
</translation>
    </message>
    <message>
        <source>Try &apos;tulvane --help&apos; for more information.</source>
        <extracomment>Under a refused command line.</extracomment>
        <translation>„tulvane --help“ gibt weitere Informationen.</translation>
    </message>
    <message>
        <source>--record needs a record number</source>
        <translation>--record braucht eine Datensatznummer</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <extracomment>%1 is the option as given, &quot;--bogus&quot;.</extracomment>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <source>the settings file&apos;s name is empty</source>
        <translation>der Name der Einstellungsdatei ist leer</translation>
    </message>
    <message>
        <source>only one settings file can be opened</source>
        <translation>nur eine Einstellungsdatei kann geöffnet werden</translation>
    </message>
    <message>
        <source>--record needs a settings file</source>
        <translation>--record braucht eine Einstellungsdatei</translation>
    </message>
    <message>
        <source>--record needs a record number counted from 1, not &quot;%1&quot;</source>
        <extracomment>%1 is what followed --record, &quot;0&quot; or &quot;2x&quot;.</extracomment>
        <translation>--record braucht eine ab 1 gezählte Datensatznummer, nicht „%1“</translation>
    </message>
    <message>
        <source>cannot open a display: set DISPLAY or WAYLAND_DISPLAY</source>
        <translation>keine Anzeige zu öffnen: DISPLAY oder WAYLAND_DISPLAY setzen</translation>
    </message>
</context>
<context>
    <name>DataFolder</name>
    <message>
        <source>The data folder %1 cannot be used: %2. Settings files can be saved in any other folder; the file dialogs start in the home folder instead.</source>
        <extracomment>Shown once at start. %1 is the folder, %2 the system&apos;s reason (&quot;Read-only file system&quot;).</extracomment>
        <translation>Der Datenordner %1 kann nicht verwendet werden: %2. Einstellungsdateien können in jedem anderen Ordner gespeichert werden; die Dateidialoge beginnen stattdessen im persönlichen Ordner.</translation>
    </message>
</context>
<context>
    <name>DateTimeText</name>
    <message>
        <source>Invalid date</source>
        <extracomment>When Saved, for a record whose saving time is no date (a damaged record).</extracomment>
        <translation>Ungültiges Datum</translation>
    </message>
</context>
<context>
    <name>DistanceInWords</name>
    <message>
        <source>%1 km</source>
        <extracomment>A distance on the plot, rounded to three digits: &quot;500 km&quot;.</extracomment>
        <translation>%1 km</translation>
    </message>
    <message>
        <source>%1 thousand km</source>
        <extracomment>A distance on the plot, rounded to three digits: &quot;48.3 thousand km&quot;.</extracomment>
        <translation>%1 Tsd. km</translation>
    </message>
    <message>
        <source>%1 million km</source>
        <extracomment>A distance on the plot, rounded to three digits: &quot;312 million km&quot;.</extracomment>
        <translation>%1 Mio. km</translation>
    </message>
    <message>
        <source>%1 billion km</source>
        <extracomment>A distance on the plot: a thousand million km, &quot;1 billion km&quot; (German Milliarde, French milliard).</extracomment>
        <translation>%1 Mrd. km</translation>
    </message>
    <message>
        <source>%1 trillion km</source>
        <extracomment>A distance on the plot: a million million km, &quot;1 trillion km&quot; (German Billion, French billion).</extracomment>
        <translation>%1 Bio. km</translation>
    </message>
</context>
<context>
    <name>ErrorReport</name>
    <message>
        <source>%1 error raised with message: %2</source>
        <extracomment>The report of a failed file operation. %1 is the error&apos;s type name (EInOutError), kept as it is; %2 the error&apos;s text.</extracomment>
        <translation>Fehler %1 ausgelöst mit der Meldung: %2</translation>
    </message>
</context>
<context>
    <name>ErrorText</name>
    <message>
        <source>Invalid floating point operation</source>
        <extracomment>An error of the simulation&apos;s arithmetic: a run, or a cross that cannot be placed, stopped on it.</extracomment>
        <translation>Ungültige Gleitkommaoperation</translation>
    </message>
    <message>
        <source>Floating point division by zero</source>
        <extracomment>An error of the simulation&apos;s arithmetic; a plot interval whose steps are 0 gives it at once.</extracomment>
        <translation>Gleitkommadivision durch null</translation>
    </message>
    <message>
        <source>Floating point overflow</source>
        <extracomment>An error of the simulation&apos;s arithmetic: a value grew beyond the largest number.</extracomment>
        <translation>Gleitkommaüberlauf</translation>
    </message>
    <message>
        <source>The specified file was not found</source>
        <extracomment>A file error: the settings file does not exist.</extracomment>
        <translation>Die angegebene Datei wurde nicht gefunden</translation>
    </message>
    <message>
        <source>Invalid file name - %s</source>
        <extracomment>A file error: the folder of the file does not exist. The &quot;%s&quot; is shown as it stands, as the program has always shown it: keep it.</extracomment>
        <translation>Ungültiger Dateiname - %s</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <extracomment>A file error.</extracomment>
        <translation>Zu viele offene Dateien</translation>
    </message>
    <message>
        <source>File access denied</source>
        <extracomment>A file error: the user may not read or write the file, or the disk is read-only.</extracomment>
        <translation>Dateizugriff verweigert</translation>
    </message>
    <message>
        <source>Read beyond end of file</source>
        <extracomment>A file error: the settings file ends in the middle of a record.</extracomment>
        <translation>Lesen über das Dateiende hinaus</translation>
    </message>
    <message>
        <source>Disk full</source>
        <extracomment>A file error: no room was left for the whole record.</extracomment>
        <translation>Datenträger voll</translation>
    </message>
    <message>
        <source>The file was changed by another program</source>
        <extracomment>Another program changed or replaced the settings file the viewer shows, so nothing was written.</extracomment>
        <translation>Die Datei wurde von einem anderen Programm geändert</translation>
    </message>
    <message>
        <source>Waiting for another copy of the program was cancelled</source>
        <extracomment>The user cancelled the wait for another copy of this program to finish with the settings file.</extracomment>
        <translation>Das Warten auf eine andere laufende Kopie des Programms wurde abgebrochen</translation>
    </message>
    <message>
        <source>The windows-1252 code page is not available</source>
        <extracomment>A broken installation: the character conversion data of the ICU library are missing.</extracomment>
        <translation>Die Codepage windows-1252 ist nicht verfügbar</translation>
    </message>
    <message>
        <source>The C locale is not available</source>
        <extracomment>A broken installation: the C library cannot make its C locale.</extracomment>
        <translation>Die C-Locale ist nicht verfügbar</translation>
    </message>
    <message>
        <source>%1 or %2</source>
        <comment>units</comment>
        <extracomment>The last two of the units a typed value may have: &quot;Msun or Mearth&quot;.</extracomment>
        <translation>%1 oder %2</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <comment>units</comment>
        <extracomment>Two of the units a typed value may have, more following: &quot;kg, Msun&quot;.</extracomment>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a number</source>
        <extracomment>A typed value refused; %1 is the text as typed.</extracomment>
        <translation>„%1“ ist keine Zahl</translation>
    </message>
    <message>
        <source>Unknown unit &quot;%1&quot;: use %2</source>
        <extracomment>A typed value refused; %1 is the unit as typed, %2 the units it may have (&quot;kg, Msun or Mearth&quot;), which are typed as they are written.</extracomment>
        <translation>Unbekannte Einheit „%1“: Verwenden Sie %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is out of range</source>
        <extracomment>A typed value refused: beyond the largest or below the smallest number the program computes with.</extracomment>
        <translation>„%1“ liegt außerhalb des Wertebereichs</translation>
    </message>
    <message>
        <source>I/O error %1</source>
        <extracomment>A file error the program has no words of its own for; %1 is the system&apos;s error number.</extracomment>
        <translation>E/A-Fehler %1</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <extracomment>The general error report of an error the program knows nothing of.</extracomment>
        <translation>Unbekannter Fehler</translation>
    </message>
</context>
<context>
    <name>ExportFileName</name>
    <message>
        <source>%1, day %2</source>
        <extracomment>The name an exported file is offered under: %1 is the settings&apos; label (or Tulvane), %2 the elapsed days, a decimal number (&quot;Earth and Sun, day 365.3&quot;). A file name: no slash, colon or question mark.</extracomment>
        <translation>%1, Tag %2</translation>
    </message>
</context>
<context>
    <name>ExportFlow</name>
    <message>
        <source>&amp;Caption on Exported Pictures</source>
        <extracomment>File menu: a checkable item; when on, exported pictures get a strip below with the label, the day, the scale and the orbit&apos;s summary.</extracomment>
        <translation>Bild&amp;unterschrift auf exportierten Bildern</translation>
    </message>
    <message>
        <source>1 px = %1</source>
        <extracomment>The scale in the caption strip of an exported picture: %1 is a distance in words (&quot;1 million km&quot;).</extracomment>
        <translation>1 px = %1</translation>
    </message>
    <message>
        <source>day %1</source>
        <comment>picture caption</comment>
        <extracomment>The elapsed day in the caption strip of an exported picture: %1 is a decimal number.</extracomment>
        <translation>Tag %1</translation>
    </message>
    <message>
        <source>Export Picture</source>
        <extracomment>The title of the file dialog of File &gt; Export Picture, and the filter of its files: the part in brackets stays as it is.
----------
The progress box of a picture export that holds the program&apos;s end; %1 is the file&apos;s name.</extracomment>
        <translation>Bild exportieren</translation>
    </message>
    <message>
        <source>PNG pictures (*.png *.PNG)</source>
        <translation>PNG-Bilder (*.png *.PNG)</translation>
    </message>
    <message>
        <source>Export Track</source>
        <extracomment>The title of the file dialog of File &gt; Export Track, and the filter of its files: the part in brackets stays as it is.
----------
The progress box of a track export that waits for a replay under way; %1 is the file&apos;s name.</extracomment>
        <translation>Spur exportieren</translation>
    </message>
    <message>
        <source>CSV tables (*.csv *.CSV)</source>
        <translation>CSV-Tabellen (*.csv *.CSV)</translation>
    </message>
    <message>
        <source>Waiting for the replay to end before writing the track to %1</source>
        <translation>Warten auf das Ende der Wiedergabe, bevor die Spur nach %1 geschrieben wird</translation>
    </message>
    <message>
        <source>Rows written</source>
        <extracomment>The progress bar&apos;s name for a screen reader: the rows of the track written so far.</extracomment>
        <translation>Geschriebene Zeilen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <comment>export</comment>
        <extracomment>The progress box&apos;s button that stops the export; no file is written then.</extracomment>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cancel the export</source>
        <translation>Export abbrechen</translation>
    </message>
    <message>
        <source>Writing the track to %1</source>
        <extracomment>The progress box of a track export; %1 is the file&apos;s name.</extracomment>
        <translation>Die Spur wird nach %1 geschrieben</translation>
    </message>
    <message>
        <source>The picture could not be exported to %1: %2</source>
        <extracomment>%1 is the file&apos;s path, %2 the reason, often the system&apos;s.</extracomment>
        <translation>Das Bild konnte nicht nach %1 exportiert werden: %2</translation>
    </message>
    <message>
        <source>The track could not be exported to %1: %2</source>
        <extracomment>%1 is the file&apos;s path, %2 the reason, often the system&apos;s.</extracomment>
        <translation>Die Spur konnte nicht nach %1 exportiert werden: %2</translation>
    </message>
    <message>
        <source>The export of the picture to %1 was cancelled: the file was not written.</source>
        <extracomment>Shown as the program ends when the user cancelled the export that held it; %1 is the file&apos;s path.</extracomment>
        <translation>Der Export des Bildes nach %1 wurde abgebrochen: Die Datei wurde nicht geschrieben.</translation>
    </message>
    <message>
        <source>The export of the track to %1 was cancelled: the file was not written.</source>
        <extracomment>Shown as the program ends when the user cancelled the export that held it; %1 is the file&apos;s path.</extracomment>
        <translation>Der Export der Spur nach %1 wurde abgebrochen: Die Datei wurde nicht geschrieben.</translation>
    </message>
    <message>
        <source>Writing the picture to %1</source>
        <translation>Das Bild wird nach %1 geschrieben</translation>
    </message>
    <message>
        <source>Picture being written</source>
        <extracomment>The progress bar&apos;s name for a screen reader.</extracomment>
        <translation>Bild wird geschrieben</translation>
    </message>
    <message>
        <source>Tulvane ends when it is written.</source>
        <extracomment>Added to an export&apos;s progress box when the user ends the program while the file is being written.</extracomment>
        <translation>Tulvane wird beendet, sobald die Datei geschrieben ist.</translation>
    </message>
</context>
<context>
    <name>GraphsDock</name>
    <message>
        <source>Graphs</source>
        <extracomment>The dock beside the plot with the graphs of the run against time.</extracomment>
        <translation>Diagramme</translation>
    </message>
    <message>
        <source>Run</source>
        <comment>graph line</comment>
        <extracomment>A line of the separation graph: the bodies&apos; distance in the run.</extracomment>
        <translation>Lauf</translation>
    </message>
    <message>
        <source>Exact orbit</source>
        <comment>graph line</comment>
        <extracomment>A line of the separation graph: the bodies&apos; distance on the exact orbit.</extracomment>
        <translation>Exakte Bahn</translation>
    </message>
    <message>
        <source>Relative speed</source>
        <comment>graph line</comment>
        <translation>Relativgeschwindigkeit</translation>
    </message>
    <message>
        <source>Energy drift</source>
        <comment>graph line</comment>
        <translation>Energiedrift</translation>
    </message>
    <message>
        <source>Separation</source>
        <comment>graph</comment>
        <extracomment>The title of the graph of the bodies&apos; distance, and its axis&apos;s unit: metres (m).</extracomment>
        <translation>Abstand</translation>
    </message>
    <message>
        <source>m</source>
        <comment>metres</comment>
        <translation>m</translation>
    </message>
    <message>
        <source>Relative speed</source>
        <comment>graph</comment>
        <extracomment>The title of the graph of the bodies&apos; relative speed, and its axis&apos;s unit: metres a second (m/s).</extracomment>
        <translation>Relativgeschwindigkeit</translation>
    </message>
    <message>
        <source>m/s</source>
        <comment>metres a second</comment>
        <translation>m/s</translation>
    </message>
    <message>
        <source>Energy drift since the start</source>
        <comment>graph</comment>
        <extracomment>The title of the graph of the run&apos;s energy drift, and its axis: the drift is a share of the size of the start&apos;s potential energy.</extracomment>
        <translation>Energiedrift seit dem Start</translation>
    </message>
    <message>
        <source>of |potential energy|</source>
        <comment>axis</comment>
        <translation>Anteil an |potenzieller Energie|</translation>
    </message>
    <message>
        <source>Cursor</source>
        <comment>graph line</comment>
        <extracomment>The line at the timeline&apos;s point; it is not named in the legend, but a screen reader may name it.</extracomment>
        <translation>Cursor</translation>
    </message>
    <message>
        <source>%1 against time</source>
        <extracomment>A graph&apos;s name for a screen reader: %1 is the graph&apos;s title (&quot;Separation against time&quot;).</extracomment>
        <translation>%1 gegen die Zeit</translation>
    </message>
    <message>
        <source>days</source>
        <comment>axis</comment>
        <extracomment>The graphs&apos; time axis, in days of simulated time.</extracomment>
        <translation>Tage</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Tulvane Help</source>
        <translation>Tulvane-Hilfe</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <extracomment>A tool tip: the button&apos;s name and its key, &quot;Back (Alt+Left)&quot;.</extracomment>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Back</source>
        <comment>help page</comment>
        <extracomment>The help window&apos;s button: the page shown before.</extracomment>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Forward</source>
        <comment>help page</comment>
        <extracomment>The help window&apos;s button: the page shown after, when Back was used.</extracomment>
        <translation>Vor</translation>
    </message>
    <message>
        <source>Contents</source>
        <comment>help page</comment>
        <extracomment>The help window&apos;s button: the contents page of the help.</extracomment>
        <translation>Inhalt</translation>
    </message>
</context>
<context>
    <name>InitialStateDialog</name>
    <message>
        <source>Initial State</source>
        <translation>Anfangszustand</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Set State</source>
        <extracomment>The button that makes the bars&apos; values the body&apos;s start.</extracomment>
        <translation>Übernehmen</translation>
    </message>
    <message>
        <source>Right click the main background to select a new position.</source>
        <translation>Ein Rechtsklick auf den Hintergrund des Hauptfensters wählt eine neue Position.</translation>
    </message>
    <message>
        <source>Position:</source>
        <extracomment>The body&apos;s start position on the plot, in metres.</extracomment>
        <translation>Position:</translation>
    </message>
    <message>
        <source>Mass:</source>
        <translation>Masse:</translation>
    </message>
    <message>
        <source>Speed:</source>
        <translation>Geschwindigkeit:</translation>
    </message>
    <message>
        <source>Direction:</source>
        <extracomment>The direction of the body&apos;s start velocity, in degrees: 0 is up, 90 right.</extracomment>
        <translation>Richtung:</translation>
    </message>
    <message>
        <source>Body X</source>
        <extracomment>Stands in the body&apos;s name&apos;s place until a body is chosen (&quot;Body A&quot;); hardly ever seen.</extracomment>
        <translation>Körper X</translation>
    </message>
    <message>
        <source>Sputnik 1</source>
        <extracomment>A body beside the mass and speed bars, at its mass or its speed, for comparison.</extracomment>
        <translation>Sputnik 1</translation>
    </message>
    <message>
        <source>ISS</source>
        <extracomment>The International Space Station, beside the mass bar at its mass.</extracomment>
        <translation>ISS</translation>
    </message>
    <message>
        <source>Sinope</source>
        <extracomment>A small moon of Jupiter, beside the mass bar at its mass.</extracomment>
        <translation>Sinope</translation>
    </message>
    <message>
        <source>Moon</source>
        <extracomment>The Earth&apos;s moon, beside the mass bar at its mass.</extracomment>
        <translation>Mond</translation>
    </message>
    <message>
        <source>Earth</source>
        <extracomment>The planet, beside the mass and speed bars at its mass or its orbital speed.</extracomment>
        <translation>Erde</translation>
    </message>
    <message>
        <source>Jupiter</source>
        <extracomment>The planet, beside the mass bar at its mass.</extracomment>
        <translation>Jupiter</translation>
    </message>
    <message>
        <source>Sun</source>
        <extracomment>The star, beside the mass and speed bars at its mass or its speed in the galaxy.</extracomment>
        <translation>Sonne</translation>
    </message>
    <message>
        <source>Rigel</source>
        <extracomment>A giant star, beside the mass bar at its mass.</extracomment>
        <translation>Rigel</translation>
    </message>
    <message>
        <source>Typed Start Values</source>
        <translation>Startwerte eintippen</translation>
    </message>
    <message>
        <source>Typed values</source>
        <translation>Eingetippte Werte</translation>
    </message>
    <message>
        <source>Start position u:</source>
        <translation>Startposition u:</translation>
    </message>
    <message>
        <source>Start position v:</source>
        <translation>Startposition v:</translation>
    </message>
    <message>
        <source>Circular speed</source>
        <translation>Kreisbahngeschwindigkeit</translation>
    </message>
    <message>
        <source>Escape speed</source>
        <translation>Fluchtgeschwindigkeit</translation>
    </message>
    <message>
        <source>Body A mass</source>
        <translation>Masse Körper A</translation>
    </message>
    <message>
        <source>Body B mass</source>
        <translation>Masse Körper B</translation>
    </message>
    <message>
        <source>Body A speed</source>
        <translation>Geschwindigkeit Körper A</translation>
    </message>
    <message>
        <source>Body B speed</source>
        <translation>Geschwindigkeit Körper B</translation>
    </message>
    <message>
        <source>Body A direction</source>
        <translation>Richtung Körper A</translation>
    </message>
    <message>
        <source>Body B direction</source>
        <translation>Richtung Körper B</translation>
    </message>
    <message>
        <source>Body A start position u</source>
        <translation>Startposition u Körper A</translation>
    </message>
    <message>
        <source>Body B start position u</source>
        <translation>Startposition u Körper B</translation>
    </message>
    <message>
        <source>Body A start position v</source>
        <translation>Startposition v Körper A</translation>
    </message>
    <message>
        <source>Body B start position v</source>
        <translation>Startposition v Körper B</translation>
    </message>
    <message>
        <source>A mass above 0, in kg, Msun or Mearth</source>
        <translation>Eine Masse über 0, in kg, Msun oder Mearth</translation>
    </message>
    <message>
        <source>A speed of 0 or more, in km/s or m/s</source>
        <translation>Eine Geschwindigkeit ab 0, in km/s oder m/s</translation>
    </message>
    <message>
        <source>A direction of travel from 0 up to 360 degrees: 0 is up, 90 right</source>
        <translation>Eine Bewegungsrichtung von 0 bis 360 Grad: 0 ist oben, 90 rechts</translation>
    </message>
    <message>
        <source>How far right of the plot&apos;s left edge, in m, km or AU</source>
        <translation>Abstand vom linken Rand des Plots nach rechts, in m, km oder AU</translation>
    </message>
    <message>
        <source>How far down from the plot&apos;s top edge, in m, km or AU</source>
        <translation>Abstand vom oberen Rand des Plots nach unten, in m, km oder AU</translation>
    </message>
    <message>
        <source>The mass must be more than 0 kg.</source>
        <translation>Die Masse muss größer als 0 kg sein.</translation>
    </message>
    <message>
        <source>The speed must not be negative.</source>
        <translation>Die Geschwindigkeit darf nicht negativ sein.</translation>
    </message>
    <message>
        <source>The direction must be at least 0 and less than 360 degrees.</source>
        <translation>Die Richtung muss mindestens 0 und kleiner als 360 Grad sein.</translation>
    </message>
    <message>
        <source>Mend the typed values first.</source>
        <translation>Korrigieren Sie zuerst die eingetippten Werte.</translation>
    </message>
    <message>
        <source>Both masses must be more than 0 kg.</source>
        <translation>Beide Massen müssen größer als 0 kg sein.</translation>
    </message>
    <message>
        <source>Both bodies start at the same place.</source>
        <translation>Beide Körper starten am selben Ort.</translation>
    </message>
    <message>
        <source>A position, mass, speed or direction is not a finite number.</source>
        <translation>Eine Position, Masse, Geschwindigkeit oder Richtung ist keine endliche Zahl.</translation>
    </message>
    <message>
        <source>Speed and direction for a circular orbit about the other body</source>
        <translation>Geschwindigkeit und Richtung für eine Kreisbahn um den anderen Körper</translation>
    </message>
    <message>
        <source>Speed and direction to just escape from the other body, on a parabola</source>
        <translation>Geschwindigkeit und Richtung, um dem anderen Körper gerade noch zu entkommen, auf einer Parabel</translation>
    </message>
    <message>
        <source>Body A</source>
        <translation>Körper A</translation>
    </message>
    <message>
        <source>Body B</source>
        <translation>Körper B</translation>
    </message>
    <message>
        <source>(%1,%2)</source>
        <comment>position</comment>
        <extracomment>A start position: (u,v) in metres, rightwards and downwards from the plot&apos;s top left corner. Where the decimal separator is a comma, another separator between the two may read better.</extracomment>
        <translation>(%1; %2)</translation>
    </message>
    <message>
        <source>%1 kg</source>
        <extracomment>The mass bar&apos;s value, in kilograms.</extracomment>
        <translation>%1 kg</translation>
    </message>
    <message>
        <source>%1 km/sec</source>
        <extracomment>The speed bar&apos;s value, in kilometres a second.</extracomment>
        <translation>%1 km/sec</translation>
    </message>
    <message>
        <source>%1 deg</source>
        <extracomment>The direction bar&apos;s value, in degrees.</extracomment>
        <translation>%1 Grad</translation>
    </message>
</context>
<context>
    <name>JpegPicture</name>
    <message>
        <source>%1 × %2 pixels</source>
        <extracomment>A picture&apos;s size in pixels: width by height.</extracomment>
        <translation>%1 × %2 Pixel</translation>
    </message>
    <message>
        <source>The picture needs more memory than the %1 MB allowed for decoding it; it is not shown</source>
        <translation>Das Bild braucht zum Dekodieren mehr Speicher als die erlaubten %1 MB; es wird nicht angezeigt</translation>
    </message>
    <message>
        <source>The picture would take too long to decode; it is not shown</source>
        <translation>Das Dekodieren des Bildes würde zu lange dauern; es wird nicht angezeigt</translation>
    </message>
    <message>
        <source>The picture is built from too many scans (more than %1); it is not shown</source>
        <extracomment>A progressive JPEG file is sent in scans, each adding detail; %1 is the most that are decoded.</extracomment>
        <translation>Das Bild besteht aus zu vielen Scans (mehr als %1); es wird nicht angezeigt</translation>
    </message>
    <message>
        <source>There is not enough memory to decode the picture</source>
        <translation>Zum Dekodieren des Bildes ist nicht genug Speicher vorhanden</translation>
    </message>
    <message>
        <source>JPEG error #%1</source>
        <extracomment>%1 is the JPEG decoder&apos;s own message number (libjpeg&apos;s JERR_ codes).</extracomment>
        <translation>JPEG-Fehler #%1</translation>
    </message>
    <message>
        <source>The picture is too large (%1); at most %2 megapixels are shown</source>
        <extracomment>%1 is the picture&apos;s size (&quot;65000 × 65000 pixels&quot;), %2 the most megapixels the program shows.</extracomment>
        <translation>Das Bild ist zu groß (%1); höchstens %2 Megapixel werden angezeigt</translation>
    </message>
    <message>
        <source>There is not enough memory for the picture (%1)</source>
        <extracomment>%1 is the size the decoded picture would have (&quot;9000 × 6000 pixels&quot;).</extracomment>
        <translation>Für das Bild ist nicht genug Speicher vorhanden (%1)</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Tulvane simulates solutions for the two-body problem in classical mechanics using Newton&apos;s laws.</source>
        <translation>Tulvane simuliert Lösungen des Zweikörperproblems der klassischen Mechanik mit den newtonschen Gesetzen.</translation>
    </message>
    <message>
        <source>Copyright 2026 The Tulvane developers</source>
        <translation>Copyright 2026 Die Tulvane-Entwickler</translation>
    </message>
    <message>
        <source>Version %1    %2</source>
        <translation>Version %1    %2</translation>
    </message>
    <message>
        <source>The picture is incomplete: the file ends before the end of the picture. The part that could be decoded is shown.</source>
        <translation>Das Bild ist unvollständig: Die Datei endet vor dem Ende des Bildes. Der Teil, der dekodiert werden konnte, wird angezeigt.</translation>
    </message>
    <message>
        <source>Classic</source>
        <extracomment>View &gt; Run Speed: one plot point every tenth of a second, as the classic program ran.</extracomment>
        <translation>Klassisch</translation>
    </message>
    <message>
        <source>10×</source>
        <extracomment>View &gt; Run Speed: ten times the classic pace.</extracomment>
        <translation>10×</translation>
    </message>
    <message>
        <source>100×</source>
        <extracomment>View &gt; Run Speed: a hundred times the classic pace.</extracomment>
        <translation>100×</translation>
    </message>
    <message>
        <source>Fastest</source>
        <extracomment>View &gt; Run Speed: as fast as the computer goes.</extracomment>
        <translation>Maximal</translation>
    </message>
    <message>
        <source>Ready</source>
        <comment>run state</comment>
        <extracomment>The run state on the control panel, above the Run button; also Running and Paused.</extracomment>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>Run</source>
        <comment>button</comment>
        <extracomment>The control panel&apos;s button that starts or continues the run.</extracomment>
        <translation>Start</translation>
    </message>
    <message>
        <source>Pause</source>
        <comment>button</comment>
        <extracomment>The control panel&apos;s button that holds the run still.</extracomment>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Reset</source>
        <comment>button</comment>
        <extracomment>The control panel&apos;s button that ends a paused run and clears the plot.</extracomment>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Elapsed days</source>
        <extracomment>The accessible name of the number of simulated days on the control panel.</extracomment>
        <translation>Vergangene Tage</translation>
    </message>
    <message>
        <source>Run state</source>
        <translation>Laufzustand</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <comment>tool tip</comment>
        <extracomment>A button&apos;s tool tip: what it does, then its key, &quot;Run (F5)&quot;.</extracomment>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Save Settings</source>
        <translation>Einstellungen &amp;speichern</translation>
    </message>
    <message>
        <source>Open &amp;Example...</source>
        <translation>Beispiel ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>Export &amp;Picture...</source>
        <translation>B&amp;ild exportieren...</translation>
    </message>
    <message>
        <source>Export &amp;Track...</source>
        <extracomment>Writes the run&apos;s plot points to a CSV file.</extracomment>
        <translation>S&amp;pur exportieren...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <extracomment>The menu of the run&apos;s settings: the bodies&apos; starts, colours, background and plot interval.</extracomment>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <source>Body A Initial State</source>
        <extracomment>Opens the Initial State dialog on Body A: its start position, mass, speed and direction.</extracomment>
        <translation>Anfangszustand Körper A</translation>
    </message>
    <message>
        <source>Body B Initial State</source>
        <translation>Anfangszustand Körper B</translation>
    </message>
    <message>
        <source>Body A Color</source>
        <translation>Farbe Körper A</translation>
    </message>
    <message>
        <source>Body B Color</source>
        <translation>Farbe Körper B</translation>
    </message>
    <message>
        <source>Set Background Color</source>
        <translation>Hintergrundfarbe festlegen</translation>
    </message>
    <message>
        <source>Use JPEG Background</source>
        <extracomment>Chooses a JPEG picture to stretch over the plot&apos;s background.</extracomment>
        <translation>JPEG-Hintergrund verwenden</translation>
    </message>
    <message>
        <source>Plot Interval</source>
        <extracomment>The simulated time between two plotted points.</extracomment>
        <translation>Plot-Intervall</translation>
    </message>
    <message>
        <source>Simulated time between plots</source>
        <extracomment>The Plot Interval menu&apos;s first line, a caption that cannot be chosen.</extracomment>
        <translation>Simulierte Zeit zwischen zwei Plot-Punkten</translation>
    </message>
    <message>
        <source>Restore Default Start</source>
        <extracomment>Puts back the built-in start of both bodies: positions, masses, speeds and directions.</extracomment>
        <translation>Standard-Anfangszustand wiederherstellen</translation>
    </message>
    <message>
        <source>Undo</source>
        <comment>settings change</comment>
        <extracomment>Settings &gt; Undo: takes back the last change of the settings.</extracomment>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <comment>settings change</comment>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>Current Settings</source>
        <extracomment>Shows the current settings in the settings viewer.</extracomment>
        <translation>Aktuelle Einstellungen</translation>
    </message>
    <message>
        <source>Saved Settings ( .TV0 File)</source>
        <extracomment>Browses the records of a settings file. The space before .TV0 is the classic text&apos;s.</extracomment>
        <translation>Gespeicherte Einstellungen ( .TV0-Datei)</translation>
    </message>
    <message>
        <source>.TV0 files contain saved settings records.</source>
        <translation>.TV0-Dateien enthalten gespeicherte Einstellungsdatensätze.</translation>
    </message>
    <message>
        <source>Orbit Readout</source>
        <extracomment>The window of the run&apos;s exact orbit and its energy and angular-momentum drift.</extracomment>
        <translation>Bahnanzeige</translation>
    </message>
    <message>
        <source>Accuracy Lab</source>
        <extracomment>The window that compares the runs at every plot interval with the exact orbit.</extracomment>
        <translation>Genauigkeitslabor</translation>
    </message>
    <message>
        <source>Graphs</source>
        <extracomment>The dock of graphs against time: separation, speed and energy drift.</extracomment>
        <translation>Diagramme</translation>
    </message>
    <message>
        <source>Exact Path</source>
        <extracomment>Draws the exact two-body orbit over the plot, dashed.</extracomment>
        <translation>Exakte Bahn</translation>
    </message>
    <message>
        <source>Scale Bar</source>
        <translation>Maßstabsleiste</translation>
    </message>
    <message>
        <source>Off-screen Markers</source>
        <extracomment>Arrows at the plot&apos;s edge towards a body outside the view, with its distance.</extracomment>
        <translation>Randmarkierungen</translation>
    </message>
    <message>
        <source>Start Markers</source>
        <extracomment>Rings at the bodies&apos; start positions and arrows for their start velocities, to drag.</extracomment>
        <translation>Startmarkierungen</translation>
    </message>
    <message>
        <source>Fit Both Orbits</source>
        <extracomment>Zooms and centres the plot so that both orbits show whole.</extracomment>
        <translation>Beide Bahnen einpassen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <comment>help</comment>
        <extracomment>Help &gt; Contents: opens the help pages at their contents page.</extracomment>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber Tulvane</translation>
    </message>
    <message>
        <source>Run Speed</source>
        <extracomment>How fast a run is shown; only the pacing changes, never the points.</extracomment>
        <translation>Ablaufgeschwindigkeit</translation>
    </message>
    <message>
        <source>days</source>
        <comment>elapsed time</comment>
        <extracomment>Under the number of simulated days on the control panel.</extracomment>
        <translation>Tage</translation>
    </message>
    <message>
        <source>Paused</source>
        <comment>run state</comment>
        <extracomment>The run state on the control panel while a run stands still.</extracomment>
        <translation>Pausiert</translation>
    </message>
    <message>
        <source>Running</source>
        <comment>run state</comment>
        <extracomment>The run state on the control panel while a run goes on.</extracomment>
        <translation>Läuft</translation>
    </message>
    <message>
        <source>Ends at the next Pause</source>
        <extracomment>Over the plot after Exit during a run: the program ends when the run next pauses.</extracomment>
        <translation>Endet bei der nächsten Pause</translation>
    </message>
    <message>
        <source>Selecting JPEG Background</source>
        <extracomment>The title of the file dialog of Settings &gt; Use JPEG Background.</extracomment>
        <translation>JPEG-Hintergrund wählen</translation>
    </message>
    <message>
        <source>JPEG Graphics (*.[jJ][pP][gG] *.[jJ][pP][eE][gG])</source>
        <extracomment>The file dialog&apos;s filter: keep the patterns in brackets as they are.</extracomment>
        <translation>JPEG-Grafiken (*.[jJ][pP][gG] *.[jJ][pP][eE][gG])</translation>
    </message>
    <message>
        <source>Data directory: %1</source>
        <extracomment>Help &gt; About: the folder where the settings files are kept.</extracomment>
        <translation>Datenordner: %1</translation>
    </message>
</context>
<context>
    <name>OpenExample</name>
    <message>
        <source>The examples file %1 cannot be read: %2</source>
        <extracomment>%1 is the examples file the program ships, %2 the system&apos;s reason.</extracomment>
        <translation>Die Beispieldatei %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>The examples could not be copied to %1: %2</source>
        <extracomment>%1 is the user&apos;s copy of the examples in the data folder, %2 the system&apos;s reason.</extracomment>
        <translation>Die Beispiele konnten nicht nach %1 kopiert werden: %2</translation>
    </message>
</context>
<context>
    <name>OrbitReadoutDock</name>
    <message>
        <source>Orbit Readout</source>
        <extracomment>The title of the Orbit Readout&apos;s dock, the window beside the plot that View &gt; Orbit Readout opens.</extracomment>
        <translation>Bahnanzeige</translation>
    </message>
</context>
<context>
    <name>OrbitReadoutWindow</name>
    <message>
        <source>Elapsed</source>
        <comment>readout row</comment>
        <extracomment>The time the run has gone on, in days.</extracomment>
        <translation>Verstrichen</translation>
    </message>
    <message>
        <source>Orbit</source>
        <comment>readout row</comment>
        <extracomment>The kind of orbit: ellipse, hyperbola...</extracomment>
        <translation>Bahn</translation>
    </message>
    <message>
        <source>Eccentricity</source>
        <comment>readout row</comment>
        <translation>Exzentrizität</translation>
    </message>
    <message>
        <source>Semi-major axis</source>
        <comment>readout row</comment>
        <translation>Große Halbachse</translation>
    </message>
    <message>
        <source>Closest approach</source>
        <comment>readout row</comment>
        <extracomment>The least distance of the bodies on the orbit (the periapsis).</extracomment>
        <translation>Größte Annäherung</translation>
    </message>
    <message>
        <source>Farthest distance</source>
        <comment>readout row</comment>
        <extracomment>The greatest distance of the bodies on the orbit (the apoapsis).</extracomment>
        <translation>Größter Abstand</translation>
    </message>
    <message>
        <source>Period</source>
        <comment>readout row</comment>
        <extracomment>The time of one revolution.</extracomment>
        <translation>Umlaufzeit</translation>
    </message>
    <message>
        <source>Time to closest approach</source>
        <comment>readout row</comment>
        <translation>Zeit bis zur größten Annäherung</translation>
    </message>
    <message>
        <source>Steps across closest approach</source>
        <comment>readout row</comment>
        <extracomment>How many of the run&apos;s integration steps the passage of the closest approach takes.</extracomment>
        <translation>Schritte bei größter Annäherung</translation>
    </message>
    <message>
        <source>Separation</source>
        <comment>readout row</comment>
        <extracomment>The distance between the bodies.</extracomment>
        <translation>Abstand</translation>
    </message>
    <message>
        <source>Relative speed</source>
        <comment>readout row</comment>
        <translation>Relativgeschwindigkeit</translation>
    </message>
    <message>
        <source>Energy of the relative motion</source>
        <comment>readout row</comment>
        <translation>Energie der Relativbewegung</translation>
    </message>
    <message>
        <source>Total energy</source>
        <comment>readout row</comment>
        <translation>Gesamtenergie</translation>
    </message>
    <message>
        <source>Angular momentum</source>
        <comment>readout row</comment>
        <translation>Drehimpuls</translation>
    </message>
    <message>
        <source>Body A speed</source>
        <comment>readout row</comment>
        <translation>Geschwindigkeit Körper A</translation>
    </message>
    <message>
        <source>Body A direction</source>
        <comment>readout row</comment>
        <extracomment>The direction Body A moves in, in degrees: 0 is up, 90 right.</extracomment>
        <translation>Richtung Körper A</translation>
    </message>
    <message>
        <source>Body B speed</source>
        <comment>readout row</comment>
        <translation>Geschwindigkeit Körper B</translation>
    </message>
    <message>
        <source>Body B direction</source>
        <comment>readout row</comment>
        <extracomment>The direction Body B moves in, in degrees: 0 is up, 90 right.</extracomment>
        <translation>Richtung Körper B</translation>
    </message>
    <message>
        <source>green</source>
        <comment>drift level</comment>
        <extracomment>The drift gauge&apos;s colour: the run keeps close to the true orbit.</extracomment>
        <translation>grün</translation>
    </message>
    <message>
        <source>amber</source>
        <comment>drift level</comment>
        <extracomment>The drift gauge&apos;s colour: the run begins to drift from the true orbit.</extracomment>
        <translation>gelb</translation>
    </message>
    <message>
        <source>red</source>
        <comment>drift level</comment>
        <extracomment>The drift gauge&apos;s colour: the run has drifted far from the true orbit.</extracomment>
        <translation>rot</translation>
    </message>
    <message>
        <source>none</source>
        <comment>drift level</comment>
        <extracomment>The drift gauge before a run: no drift to tell.</extracomment>
        <translation>keine</translation>
    </message>
    <message>
        <source>Orbit Readout</source>
        <translation>Bahnanzeige</translation>
    </message>
    <message>
        <source>Exact orbit of the start</source>
        <extracomment>The heading of the column of the orbit worked out exactly from the start.</extracomment>
        <translation>Exakte Bahn des Anfangszustands</translation>
    </message>
    <message>
        <source>Now</source>
        <comment>readout column</comment>
        <extracomment>The heading of the column of the run&apos;s last plot point, or of the point the timeline shows.</extracomment>
        <translation>Jetzt</translation>
    </message>
    <message>
        <source>Drift since the start</source>
        <extracomment>The heading of the gauge of how far the run&apos;s energy and angular momentum have moved off their start values, which the true motion keeps.</extracomment>
        <translation>Drift seit dem Start</translation>
    </message>
    <message>
        <source>Energy drift</source>
        <extracomment>The coloured chip of the drift gauge, as a screen reader names it; its description is its colour.</extracomment>
        <translation>Energiedrift</translation>
    </message>
    <message>
        <source>Angular momentum drift</source>
        <extracomment>The coloured chip of the drift gauge, as a screen reader names it; its description is its colour.</extracomment>
        <translation>Drehimpulsdrift</translation>
    </message>
    <message>
        <source>Energy</source>
        <comment>drift gauge row</comment>
        <translation>Energie</translation>
    </message>
    <message>
        <source>Angular momentum</source>
        <comment>drift gauge row</comment>
        <translation>Drehimpuls</translation>
    </message>
    <message>
        <source>Red: a shorter plot interval keeps the run closer to the true orbit.</source>
        <extracomment>Shown while the drift gauge is red.</extracomment>
        <translation>Rot: Ein kürzeres Plot-Intervall hält den Lauf näher an der wahren Bahn.</translation>
    </message>
    <message>
        <source>Timeline</source>
        <extracomment>The slider that goes back through a paused run&apos;s plot points.</extracomment>
        <translation>Zeitleiste</translation>
    </message>
    <message>
        <source>%1 days</source>
        <comment>elapsed time</comment>
        <extracomment>The time the run has gone on; %1 is a decimal number: &quot;120.0 days&quot;.</extracomment>
        <translation>%1 Tage</translation>
    </message>
    <message>
        <source>%1st</source>
        <comment>ordinal</comment>
        <extracomment>An ordinal number that ends in 1 (but not 11): 21st. Used in &quot;every 21st point&quot;.</extracomment>
        <translation>%1.</translation>
    </message>
    <message>
        <source>%1nd</source>
        <comment>ordinal</comment>
        <extracomment>An ordinal number that ends in 2 (but not 12): 2nd, 32nd. Used in &quot;every 2nd point&quot;.</extracomment>
        <translation>%1.</translation>
    </message>
    <message>
        <source>%1rd</source>
        <comment>ordinal</comment>
        <extracomment>An ordinal number that ends in 3 (but not 13): 3rd, 23rd. Used in &quot;every 3rd point&quot;.</extracomment>
        <translation>%1.</translation>
    </message>
    <message>
        <source>%1th</source>
        <comment>ordinal</comment>
        <extracomment>Any other ordinal number: 4th, 12th, 128th. Used in &quot;every 4th point&quot;.</extracomment>
        <translation>%1.</translation>
    </message>
    <message>
        <source>Pause the run to go back through its plot points.</source>
        <extracomment>Beside the timeline while it cannot be used: before a run, and while one runs.</extracomment>
        <translation>Halten Sie den Lauf an, um durch seine Plot-Punkte zurückzugehen.</translation>
    </message>
    <message>
        <source>Plot point %1 of %2 (thinned: every %3 point of this long run is kept)</source>
        <extracomment>Beside the timeline of a run so long that only every so many plot points are kept; %3 is an ordinal number (&quot;every 4th point&quot;).</extracomment>
        <translation>Plot-Punkt %1 von %2 (ausgedünnt: von diesem langen Lauf wird jeder %3 Punkt behalten)</translation>
    </message>
    <message>
        <source>Plot point %1 of %2</source>
        <extracomment>Beside the timeline: the plot point it shows, and the last.</extracomment>
        <translation>Plot-Punkt %1 von %2</translation>
    </message>
    <message>
        <source>Plot point %1 of %2, day %3 (thinned: every %4 point of this long run is kept)</source>
        <extracomment>Beside the timeline of a run so long that only every so many plot points are kept: the plot point it shows, the last, the day of the one shown (a decimal number) and an ordinal number (&quot;every 4th point&quot;).</extracomment>
        <translation>Plot-Punkt %1 von %2, Tag %3 (ausgedünnt: von diesem langen Lauf wird jeder %4 Punkt behalten)</translation>
    </message>
    <message>
        <source>Plot point %1 of %2, day %3</source>
        <extracomment>Beside the timeline: the plot point it shows, the last, and the day of the one shown, a decimal number.</extracomment>
        <translation>Plot-Punkt %1 von %2, Tag %3</translation>
    </message>
    <message>
        <source>%1 (%2 px)</source>
        <extracomment>How far a body is from its exact place: the distance in words, and in pixels of the plot at its scale, a decimal number: &quot;12 thousand km (3.4 px)&quot;.</extracomment>
        <translation>%1 (%2 px)</translation>
    </message>
    <message>
        <source>Off the exact path: A %1, B %2</source>
        <extracomment>How far each body of the run is from where the exact motion puts it: A and B are the bodies&apos; names.</extracomment>
        <translation>Abweichung von der exakten Bahn: A %1, B %2</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
</context>
<context>
    <name>OtherCopyWait</name>
    <message>
        <source>Waiting for another copy of Tulvane that is writing %1…</source>
        <extracomment>In a box with a Cancel button while another running copy of the program writes the settings file %1.</extracomment>
        <translation>Warten auf eine andere Kopie von Tulvane, die %1 schreibt…</translation>
    </message>
</context>
<context>
    <name>PictureExport</name>
    <message>
        <source>the picture could not be encoded</source>
        <extracomment>Why a picture export failed: Qt&apos;s PNG writer refused the picture.</extracomment>
        <translation>das Bild konnte nicht kodiert werden</translation>
    </message>
</context>
<context>
    <name>PlotInterval</name>
    <message>
        <source>1 minute</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation>1 Minute</translation>
    </message>
    <message>
        <source>100 seconds</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation>100 Sekunden</translation>
    </message>
    <message>
        <source>1000 seconds</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation>1000 Sekunden</translation>
    </message>
    <message>
        <source>1 hour</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation>1 Stunde</translation>
    </message>
    <message>
        <source>10000 seconds</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation>10000 Sekunden</translation>
    </message>
    <message>
        <source>1 day</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation>1 Tag</translation>
    </message>
    <message>
        <source>10E5 seconds</source>
        <extracomment>Settings &gt; Plot Interval: 10E5 is the program&apos;s way of writing 10 to the power 5, a hundred thousand seconds. Keep the number as it is written.</extracomment>
        <translation>10E5 Sekunden</translation>
    </message>
    <message>
        <source>1 week</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation>1 Woche</translation>
    </message>
    <message>
        <source>10E6 seconds</source>
        <extracomment>Settings &gt; Plot Interval: 10E6 is 10 to the power 6, a million seconds. Keep the number as it is.</extracomment>
        <translation>10E6 Sekunden</translation>
    </message>
    <message>
        <source>1 month</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation>1 Monat</translation>
    </message>
    <message>
        <source>10E7 seconds</source>
        <extracomment>Settings &gt; Plot Interval: 10E7 is 10 to the power 7, ten million seconds. Keep the number as it is.</extracomment>
        <translation>10E7 Sekunden</translation>
    </message>
    <message>
        <source>1 year</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation>1 Jahr</translation>
    </message>
</context>
<context>
    <name>PlotOverlay</name>
    <message>
        <source>%1 AU</source>
        <extracomment>The scale bar&apos;s length in astronomical units.</extracomment>
        <translation>%1 AU</translation>
    </message>
    <message>
        <source>%1 px = %2 km/s</source>
        <extracomment>The start arrows&apos; scale: %1 pixels of arrow stand for a speed of %2 km/s.</extracomment>
        <translation>%1 px = %2 km/s</translation>
    </message>
</context>
<context>
    <name>PlotSurface</name>
    <message>
        <source>Plot</source>
        <comment>the drawing area</comment>
        <extracomment>The accessible name of the plot, the area the bodies&apos; tracks are drawn on.</extracomment>
        <translation>Plot</translation>
    </message>
    <message>
        <source>The bodies&apos; tracks. Arrow keys move a cursor; Enter re-centres on it while paused, Space picks it as a start position while the Initial State dialog is open.</source>
        <translation>Die Spuren der Körper. Die Pfeiltasten bewegen einen Cursor; im Pausenzustand zentriert die Eingabetaste die Ansicht darauf, bei offenem Dialog Anfangszustand wählt die Leertaste ihn als Startposition.</translation>
    </message>
</context>
<context>
    <name>ReadoutText</name>
    <message>
        <source>%1 km (%2 AU)</source>
        <extracomment>A distance in kilometres and in astronomical units: &quot;5.4578E+08 km (3.648 AU)&quot;.</extracomment>
        <translation>%1 km (%2 AU)</translation>
    </message>
    <message>
        <source>%1 km</source>
        <extracomment>A distance in kilometres: &quot;6378.1 km&quot;.</extracomment>
        <translation>%1 km</translation>
    </message>
    <message>
        <source>%1 km/s</source>
        <extracomment>A speed in kilometres a second: &quot;31.824 km/s&quot;.</extracomment>
        <translation>%1 km/s</translation>
    </message>
    <message>
        <source>%1 days (%2 years)</source>
        <extracomment>A time in days and in years, both decimal numbers: &quot;1356.6 days (3.714 years)&quot;.</extracomment>
        <translation>%1 Tage (%2 Jahre)</translation>
    </message>
    <message>
        <source>%1 days</source>
        <extracomment>A time in days, a decimal number: &quot;364.00 days&quot;.</extracomment>
        <translation>%1 Tage</translation>
    </message>
    <message>
        <source>%1 J</source>
        <extracomment>An energy in joules: &quot;-6.114E+38 J&quot;.</extracomment>
        <translation>%1 J</translation>
    </message>
    <message>
        <source>%1 kg·m²/s, clockwise</source>
        <extracomment>An angular momentum, and the sense the bodies turn in on the plot.</extracomment>
        <translation>%1 kg·m²/s, im Uhrzeigersinn</translation>
    </message>
    <message>
        <source>%1 kg·m²/s, anticlockwise</source>
        <extracomment>An angular momentum, and the sense the bodies turn in on the plot.</extracomment>
        <translation>%1 kg·m²/s, gegen den Uhrzeigersinn</translation>
    </message>
    <message>
        <source>%1 kg·m²/s</source>
        <extracomment>An angular momentum, of bodies that do not turn about each other.</extracomment>
        <translation>%1 kg·m²/s</translation>
    </message>
    <message>
        <source>%1°</source>
        <extracomment>A direction in degrees: 0 is up, 90 right.</extracomment>
        <translation>%1°</translation>
    </message>
    <message>
        <source>bound circle</source>
        <extracomment>The kind of orbit: the bodies circle each other for ever.</extracomment>
        <translation>gebundene Kreisbahn</translation>
    </message>
    <message>
        <source>bound ellipse</source>
        <extracomment>The kind of orbit: the bodies go round each other on ellipses for ever.</extracomment>
        <translation>gebundene Ellipse</translation>
    </message>
    <message>
        <source>parabola: escape</source>
        <extracomment>The kind of orbit: the bodies part for ever, just fast enough to.</extracomment>
        <translation>Parabel: Flucht</translation>
    </message>
    <message>
        <source>hyperbola: escape</source>
        <extracomment>The kind of orbit: the bodies pass each other once and part for ever.</extracomment>
        <translation>Hyperbel: Flucht</translation>
    </message>
    <message>
        <source>radial: the bodies fall together</source>
        <extracomment>The kind of orbit: the bodies move straight towards each other and will meet.</extracomment>
        <translation>radial: Die Körper fallen aufeinander zu</translation>
    </message>
    <message>
        <source>radial: escape</source>
        <extracomment>The kind of orbit: the bodies move straight apart, for ever.</extracomment>
        <translation>radial: Flucht</translation>
    </message>
    <message>
        <source>no orbit: a mass is zero or negative</source>
        <extracomment>A mass of the start is zero or negative.</extracomment>
        <translation>keine Bahn: Eine Masse ist null oder negativ</translation>
    </message>
    <message>
        <source>no orbit: the bodies coincide</source>
        <extracomment>Both bodies start at the same place.</extracomment>
        <translation>keine Bahn: Beide Körper sind am selben Ort</translation>
    </message>
    <message>
        <source>no orbit: a value is not a finite number</source>
        <extracomment>A value of the start is infinite or no number at all (a damaged record).</extracomment>
        <translation>keine Bahn: Ein Wert ist keine endliche Zahl</translation>
    </message>
    <message>
        <source>%1, e = %2, period %3 days</source>
        <extracomment>The start&apos;s orbit in one line: its kind, its eccentricity (e) and its period in days, a decimal number: &quot;bound ellipse, e = 0.973, period 1356.6 days&quot;.</extracomment>
        <translation>%1, e = %2, Umlaufzeit %3 Tage</translation>
    </message>
    <message>
        <source>%1, e = %2</source>
        <extracomment>The start&apos;s orbit in one line: its kind and its eccentricity (e): &quot;hyperbola: escape, e = 1.015&quot;.</extracomment>
        <translation>%1, e = %2</translation>
    </message>
    <message>
        <source>%1, period %2 days</source>
        <extracomment>The start&apos;s orbit in one line: its kind and its period in days, a decimal number.</extracomment>
        <translation>%1, Umlaufzeit %2 Tage</translation>
    </message>
    <message numerus="yes">
        <source>closest approach in %1 steps: expect the run to drift; a shorter plot interval follows the orbit more closely</source>
        <extracomment>Shown when the closest approach of the bodies takes fewer than 100 steps of the run; %1 is how many.</extracomment>
        <translation>
            <numerusform>größte Annäherung in %1 Schritt: Der Lauf wird wohl driften; ein kürzeres Plot-Intervall folgt der Bahn genauer</numerusform>
            <numerusform>größte Annäherung in %1 Schritten: Der Lauf wird wohl driften; ein kürzeres Plot-Intervall folgt der Bahn genauer</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SaveSettings</name>
    <message>
        <source>Saving Settings</source>
        <extracomment>The title of the label box and of the file dialog of File &gt; Save Settings.</extracomment>
        <translation>Einstellungen speichern</translation>
    </message>
    <message>
        <source>You may add the current settings information to an existing .tv0 file or name a new file.</source>
        <translation>Sie können die aktuellen Einstellungen an eine vorhandene .tv0-Datei anhängen oder eine neue Datei angeben.</translation>
    </message>
    <message>
        <source>But first, please enter a label describing this group of settings. Maximum 100 characters.</source>
        <translation>Geben Sie aber zuerst eine Bezeichnung für diese Einstellungen ein. Höchstens 100 Zeichen.</translation>
    </message>
    <message>
        <source>Nothing was saved: the settings file %1 is as it was.</source>
        <extracomment>After Cancel in the box that waited for another copy of the program to finish writing the file %1.</extracomment>
        <translation>Es wurde nichts gespeichert: Die Einstellungsdatei %1 ist unverändert.</translation>
    </message>
    <message>
        <source>The current state settings, labled %1, were saved to %2.</source>
        <extracomment>%1 is the label the settings were saved with, %2 the file. &quot;labled&quot; is the classic text&apos;s spelling; a translation spells its words as usual.</extracomment>
        <translation>Die aktuellen Einstellungen mit der Bezeichnung %1 wurden in %2 gespeichert.</translation>
    </message>
</context>
<context>
    <name>SettingsFileFilter</name>
    <message>
        <source>Tulvane files (*.tv0 *.TV0)</source>
        <extracomment>The file dialogs&apos; filter for settings files: keep the patterns in brackets as they are.</extracomment>
        <translation>Tulvane-Dateien (*.tv0 *.TV0)</translation>
    </message>
</context>
<context>
    <name>SettingsViewer</name>
    <message>
        <source>The settings file %1 was changed by another program while it was shown here. To keep that change, nothing more was written to the file and it was not compacted: records already marked for deletion keep their marks. View the file again to see it as it is now.</source>
        <translation>Die Einstellungsdatei %1 wurde von einem anderen Programm geändert, während sie hier angezeigt wurde. Um diese Änderung zu erhalten, wurde nichts mehr in die Datei geschrieben und sie wurde nicht verdichtet: Bereits zum Löschen markierte Datensätze behalten ihre Markierung. Öffnen Sie die Datei erneut, um sie in ihrem jetzigen Zustand zu sehen.</translation>
    </message>
    <message>
        <source>Nothing was changed: the settings file %1 is as it was.</source>
        <extracomment>After Cancel in the box that waited for another copy of the program to finish writing the file %1.</extracomment>
        <translation>Es wurde nichts geändert: Die Einstellungsdatei %1 ist unverändert.</translation>
    </message>
    <message>
        <source>Body A</source>
        <translation>Körper A</translation>
    </message>
    <message>
        <source>Body B</source>
        <translation>Körper B</translation>
    </message>
    <message>
        <source>X Position (m)</source>
        <extracomment>The rows of a body&apos;s values: its start position (X rightwards, Y downwards), mass, speed, the direction of its speed (azimuth, 0 is up) and its colour.</extracomment>
        <translation>X-Position (m)</translation>
    </message>
    <message>
        <source>Y Position (m)</source>
        <translation>Y-Position (m)</translation>
    </message>
    <message>
        <source>Mass (kg)</source>
        <translation>Masse (kg)</translation>
    </message>
    <message>
        <source>Speed (km/sec)</source>
        <translation>Geschw. (km/sec)</translation>
    </message>
    <message>
        <source>Azimuth (deg)</source>
        <translation>Azimut (Grad)</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Label</source>
        <comment>the record&apos;s label</comment>
        <extracomment>The rows of the values both bodies share. Action: whether the record is marked for deletion; Calcs per Interval: the integration steps between two plotted points; Scale Factor: metres per pixel.</extracomment>
        <translation>Bezeichnung</translation>
    </message>
    <message>
        <source>Record Version</source>
        <translation>Satzversion</translation>
    </message>
    <message>
        <source>Action</source>
        <comment>deletion mark</comment>
        <translation>Aktion</translation>
    </message>
    <message>
        <source>When Saved</source>
        <translation>Gespeichert am</translation>
    </message>
    <message>
        <source>Background Color</source>
        <translation>Hintergrundfarbe</translation>
    </message>
    <message>
        <source>Plot Interval (sec)</source>
        <translation>Plot-Intervall (sec)</translation>
    </message>
    <message>
        <source>Calcs per Interval</source>
        <translation>Schritte je Intervall</translation>
    </message>
    <message>
        <source>Scale Factor (m/pix)</source>
        <translation>Maßstab (m/pix)</translation>
    </message>
    <message>
        <source>Body fields</source>
        <translation>Felder der Körper</translation>
    </message>
    <message>
        <source>Body A values</source>
        <translation>Werte Körper A</translation>
    </message>
    <message>
        <source>Body B values</source>
        <translation>Werte Körper B</translation>
    </message>
    <message>
        <source>Common fields</source>
        <extracomment>The captions of the values both bodies share.</extracomment>
        <translation>Gemeinsame Felder</translation>
    </message>
    <message>
        <source>Common values</source>
        <translation>Gemeinsame Werte</translation>
    </message>
    <message>
        <source>Body A colour</source>
        <translation>Farbe Körper A</translation>
    </message>
    <message>
        <source>Body B colour</source>
        <translation>Farbe Körper B</translation>
    </message>
    <message>
        <source>Make Current</source>
        <extracomment>Makes the shown record the current settings.</extracomment>
        <translation>Übernehmen</translation>
    </message>
    <message>
        <source>Delete</source>
        <comment>button</comment>
        <extracomment>Marks the shown record for deletion; Finished then removes it from the file.</extracomment>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Undelete</source>
        <translation>Behalten</translation>
    </message>
    <message>
        <source>First</source>
        <comment>record</comment>
        <extracomment>Shows the file&apos;s first record.</extracomment>
        <translation>Anfang</translation>
    </message>
    <message>
        <source>Last</source>
        <comment>record</comment>
        <translation>Ende</translation>
    </message>
    <message>
        <source>Next</source>
        <comment>record</comment>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Previous</source>
        <comment>record</comment>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Record</source>
        <extracomment>The accessible name of the line &quot;Record 2 of 7&quot;.</extracomment>
        <translation>Datensatz</translation>
    </message>
    <message>
        <source>File</source>
        <comment>settings file name</comment>
        <extracomment>The accessible name of the line that shows the settings file&apos;s name.</extracomment>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Finished</source>
        <extracomment>Closes the viewer; records marked for deletion are then removed from the file.</extracomment>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Current State Settings</source>
        <translation>Aktuelle Einstellungen</translation>
    </message>
    <message>
        <source>Viewing Saved Settings</source>
        <extracomment>The title of the file dialog that chooses a settings file to view.</extracomment>
        <translation>Gespeicherte Einstellungen ansehen</translation>
    </message>
    <message>
        <source>File %1 is empty.Would you like to add the current settings?</source>
        <extracomment>%1 is the file&apos;s name. The two sentences have no space between them in the English text.</extracomment>
        <translation>Die Datei %1 ist leer. Möchten Sie die aktuellen Einstellungen hinzufügen?</translation>
    </message>
    <message>
        <source>Saved State Settings</source>
        <translation>Gespeicherte Einstellungen</translation>
    </message>
    <message>
        <source>Not saved</source>
        <extracomment>When Saved, for a record that was never saved to a file (the current settings).</extracomment>
        <translation>Nicht gespeichert</translation>
    </message>
    <message>
        <source>The saved state settings are now current.</source>
        <translation>Die gespeicherten Einstellungen sind jetzt aktuell.</translation>
    </message>
    <message>
        <source>Record %1 of %2</source>
        <extracomment>The shown record&apos;s place in the file: &quot;Record 2 of 7&quot;.</extracomment>
        <translation>Datensatz %1 von %2</translation>
    </message>
    <message>
        <source>Body A %1: %2</source>
        <extracomment>What a screen reader says for a value of Body A: its row&apos;s caption (&quot;Mass (kg)&quot;), then the value.</extracomment>
        <translation>Körper A %1: %2</translation>
    </message>
    <message>
        <source>Body B %1: %2</source>
        <extracomment>What a screen reader says for a value of Body B: its row&apos;s caption (&quot;Mass (kg)&quot;), then the value.</extracomment>
        <translation>Körper B %1: %2</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <comment>caption: value</comment>
        <extracomment>What a screen reader says for a value both bodies share: its row&apos;s caption, then the value.</extracomment>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>None</source>
        <comment>deletion mark</comment>
        <extracomment>The Action row of a record not marked for deletion.</extracomment>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Delete</source>
        <comment>deletion mark</comment>
        <extracomment>The Action row of a record marked for deletion.</extracomment>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Record %1 of %2 is marked for deletion.</source>
        <extracomment>tulvane FILE.TV0 --record N, for a record marked for deletion: %1 is N, %2 the file.</extracomment>
        <translation>Datensatz %1 von %2 ist zum Löschen markiert.</translation>
    </message>
</context>
<context>
    <name>ViewOptions</name>
    <message>
        <source>it is not a regular file</source>
        <translation>keine reguläre Datei</translation>
    </message>
    <message>
        <source>it is larger than 64 KiB</source>
        <translation>größer als 64 KiB</translation>
    </message>
    <message>
        <source>tulvane: ignoring the view options in %1: %2</source>
        <extracomment>On the terminal, when the view options file is left alone; %1 is the file, %2 the reason.</extracomment>
        <translation>tulvane: Die Ansichtsoptionen in %1 werden ignoriert: %2</translation>
    </message>
</context>
</TS>

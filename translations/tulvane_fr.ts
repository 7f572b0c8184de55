<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>AccuracyLabWindow</name>
    <message>
        <source>Accuracy Lab</source>
        <translation>Labo de précision</translation>
    </message>
    <message>
        <source>Until day</source>
        <extracomment>The day of the simulated time every run of the sweep is taken to.</extracomment>
        <translation>Jusqu&apos;au jour</translation>
    </message>
    <message>
        <source>The day every run is taken to; one period of a bound orbit unless you change it.</source>
        <translation>Le jour jusqu&apos;auquel chaque simulation est menée&#xa0;; une période d&apos;une orbite liée, sauf si vous le modifiez.</translation>
    </message>
    <message>
        <source>Run the sweep</source>
        <translation>Lancer le balayage</translation>
    </message>
    <message>
        <source>Cancel the sweep</source>
        <translation>Annuler le balayage</translation>
    </message>
    <message>
        <source>Sweep progress</source>
        <translation>Progression du balayage</translation>
    </message>
    <message>
        <source>Sweep status</source>
        <translation>État du balayage</translation>
    </message>
    <message>
        <source>The start has changed since this sweep: these results belong to the old start. Press Run to sweep the new one.</source>
        <extracomment>Shown over the results when the start has changed since they were computed.</extracomment>
        <translation>Le départ a changé depuis ce balayage&#xa0;: ces résultats portent sur l&apos;ancien départ. Appuyez sur Lancer pour balayer le nouveau.</translation>
    </message>
    <message>
        <source>Stale results</source>
        <translation>Résultats périmés</translation>
    </message>
    <message>
        <source>Error against the step, log-log</source>
        <extracomment>The chart&apos;s name for a screen reader: the error of each run against its integration step, both axes logarithmic.</extracomment>
        <translation>Erreur en fonction du pas, log-log</translation>
    </message>
    <message>
        <source>Sweep rows</source>
        <translation>Lignes du balayage</translation>
    </message>
    <message>
        <source>Use this interval</source>
        <extracomment>Makes the plot interval of the row chosen in the table the program&apos;s plot interval.</extracomment>
        <translation>Utiliser cet intervalle</translation>
    </message>
    <message>
        <source>Use the chosen row&apos;s plot interval</source>
        <translation>Utiliser l&apos;intervalle de tracé de la ligne choisie</translation>
    </message>
    <message>
        <source>Sets the plot interval of the chosen row, as the Settings menu does (while Ready).</source>
        <translation>Règle l&apos;intervalle de tracé sur celui de la ligne choisie, comme le menu Paramètres (à l&apos;état Prêt).</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <extracomment>Writes the sweep&apos;s rows to a CSV file, as tulvane-trace --convergence prints them.</extracomment>
        <translation>Exporter en CSV...</translation>
    </message>
    <message>
        <source>Export the sweep as CSV</source>
        <translation>Exporter le balayage en CSV</translation>
    </message>
    <message>
        <source>Press Run to sweep the start over the plot intervals.</source>
        <translation>Appuyez sur Lancer pour simuler le départ avec chaque intervalle de tracé.</translation>
    </message>
    <message>
        <source>Body A error (m)</source>
        <extracomment>A line of the chart: how far Body A is from its exact place, in metres (m).</extracomment>
        <translation>Erreur du corps A (m)</translation>
    </message>
    <message>
        <source>Body B error (m)</source>
        <extracomment>A line of the chart: how far Body B is from its exact place, in metres (m).</extracomment>
        <translation>Erreur du corps B (m)</translation>
    </message>
    <message>
        <source>|Energy drift|</source>
        <extracomment>A line of the chart: the size of the energy drift, a share of the start&apos;s energy.</extracomment>
        <translation>|Dérive de l&apos;énergie|</translation>
    </message>
    <message>
        <source>80-bit floor</source>
        <extracomment>A line of the chart: the least error the 80-bit arithmetic can show; below it is rounding.</extracomment>
        <translation>Plancher 80 bits</translation>
    </message>
    <message>
        <source>Current plot interval</source>
        <extracomment>A line of the chart: the step of the plot interval the program uses now.</extracomment>
        <translation>Intervalle de tracé actuel</translation>
    </message>
    <message>
        <source>Not in fit (earlier day)</source>
        <extracomment>Points of the chart: rows measured at an earlier day than the others, left out of the fit.</extracomment>
        <translation>Hors ajustement (jour antérieur)</translation>
    </message>
    <message numerus="yes">
        <source>Sweeping %n plot interval(s) to day %1...</source>
        <extracomment>The sweep under way: %n is how many plot intervals it runs, %1 the day it takes them to, a decimal number.</extracomment>
        <translation>
            <numerusform>Balayage de %n intervalle de tracé jusqu&apos;au jour %1...</numerusform>
            <numerusform>Balayage de %n intervalles de tracé jusqu&apos;au jour %1...</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancelled: the rows finished before are shown.</source>
        <translation>Annulé&#xa0;: les lignes terminées avant sont affichées.</translation>
    </message>
    <message>
        <source>Done. The error at day %1 falls with the step at order %2 (least squares).</source>
        <extracomment>%1 is the common day the rows are measured at, %2 the power of the step the error falls with, both decimal numbers.</extracomment>
        <translation>Terminé. L&apos;erreur au jour %1 décroît avec le pas à l&apos;ordre %2 (moindres carrés).</translation>
    </message>
    <message>
        <source>Done. Too few rows between the 80-bit floor and a lost orbit for an order.</source>
        <extracomment>No order can be fitted: too few rows have an error above rounding and below the size of the orbit.</extracomment>
        <translation>Terminé. Trop peu de lignes entre le plancher 80 bits et une orbite perdue pour estimer un ordre.</translation>
    </message>
    <message>
        <source>Error at day %1 against the step</source>
        <extracomment>The chart&apos;s title: %1 is the common day the rows are measured at, a decimal number.</extracomment>
        <translation>Erreur au jour %1 en fonction du pas</translation>
    </message>
    <message>
        <source>Export Sweep</source>
        <extracomment>The title of the file dialog of Export CSV.</extracomment>
        <translation>Exporter le balayage</translation>
    </message>
    <message>
        <source>CSV tables (*.csv *.CSV)</source>
        <extracomment>A file dialog&apos;s filter: the part in brackets stays as it is.</extracomment>
        <translation>Tableaux CSV (*.csv *.CSV)</translation>
    </message>
    <message>
        <source>The sweep could not be exported to %1: %2</source>
        <extracomment>%1 is the file&apos;s path, %2 the system&apos;s reason.</extracomment>
        <translation>Le balayage n&apos;a pas pu être exporté vers %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Run</source>
        <comment>start the sweep</comment>
        <extracomment>The button that starts the sweep: a run of the start at every plot interval.</extracomment>
        <translation>Lancer</translation>
    </message>
    <message>
        <source>Cancel</source>
        <comment>stop the sweep</comment>
        <extracomment>The button that stops the sweep under way.</extracomment>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Plot interval</source>
        <comment>column</comment>
        <translation>Intervalle de tracé</translation>
    </message>
    <message>
        <source>Step (s)</source>
        <comment>column</comment>
        <extracomment>Column: the integration step of the row&apos;s run, in seconds (s).</extracomment>
        <translation>Pas (s)</translation>
    </message>
    <message>
        <source>Plot points</source>
        <comment>column</comment>
        <extracomment>Column: how many plot points the row&apos;s run takes.</extracomment>
        <translation>Points de tracé</translation>
    </message>
    <message>
        <source>Day</source>
        <comment>column</comment>
        <extracomment>Column: the day of the simulated time the row is measured at.</extracomment>
        <translation>Jour</translation>
    </message>
    <message>
        <source>Error A (m)</source>
        <comment>column</comment>
        <extracomment>Column: how far Body A is from its exact place, in metres (m).</extracomment>
        <translation>Erreur A (m)</translation>
    </message>
    <message>
        <source>Error B (m)</source>
        <comment>column</comment>
        <extracomment>Column: how far Body B is from its exact place, in metres (m).</extracomment>
        <translation>Erreur B (m)</translation>
    </message>
    <message>
        <source>Energy drift</source>
        <comment>column</comment>
        <extracomment>Column: how far the run&apos;s energy has moved off its start value, as a share of it.</extracomment>
        <translation>Dérive de l&apos;énergie</translation>
    </message>
    <message>
        <source>Angular momentum drift</source>
        <comment>column</comment>
        <extracomment>Column: how far the run&apos;s angular momentum has moved off its start value, as a share of it.</extracomment>
        <translation>Dérive du moment cinétique</translation>
    </message>
    <message>
        <source>Steps across closest approach</source>
        <comment>column</comment>
        <extracomment>Column: how many integration steps the passage of the closest approach takes.</extracomment>
        <translation>Pas au passage au plus près</translation>
    </message>
    <message>
        <source>Observed order</source>
        <comment>column</comment>
        <extracomment>Column: the power of the step the error falls with, from this row and the one before.</extracomment>
        <translation>Ordre observé</translation>
    </message>
    <message>
        <source>In fit</source>
        <comment>column</comment>
        <extracomment>Column: whether the row is measured at the common day of the fit of the order.</extracomment>
        <translation>Dans l&apos;ajustement</translation>
    </message>
    <message>
        <source>Step (s)</source>
        <comment>axis</comment>
        <extracomment>The chart&apos;s axis: the integration step in seconds (s).</extracomment>
        <translation>Pas (s)</translation>
    </message>
    <message>
        <source>Error (m)</source>
        <comment>axis</comment>
        <extracomment>The chart&apos;s axis: how far a body is from its exact place, in metres (m).</extracomment>
        <translation>Erreur (m)</translation>
    </message>
    <message>
        <source>|Energy drift|</source>
        <comment>axis</comment>
        <extracomment>The chart&apos;s axis: the size of the energy drift, a share of the start&apos;s energy.</extracomment>
        <translation>|Dérive de l&apos;énergie|</translation>
    </message>
    <message>
        <source>needs %1 plot points; runs of more than %2 are not made</source>
        <extracomment>Why a row of the sweep was not run: %1 is how many plot points it needs, %2 the most a run may take.</extracomment>
        <translation>il faut %1 points de tracé&#xa0;; les simulations de plus de %2 ne sont pas faites</translation>
    </message>
    <message>
        <source>no</source>
        <comment>in fit</comment>
        <extracomment>The In fit column: the row is measured at an earlier day than the fit&apos;s.</extracomment>
        <translation>non</translation>
    </message>
    <message>
        <source>yes, in the order</source>
        <comment>in fit</comment>
        <extracomment>The In fit column: the row is measured at the fit&apos;s day, and its error is used for the order.</extracomment>
        <translation>oui, pour l&apos;ordre</translation>
    </message>
    <message>
        <source>yes</source>
        <comment>in fit</comment>
        <extracomment>The In fit column: the row is measured at the fit&apos;s day, but its error is at the 80-bit floor or has lost the orbit, so it is left out of the order.</extracomment>
        <translation>oui</translation>
    </message>
    <message>
        <source>Error at day %1 against the step: observed order %2</source>
        <extracomment>The chart&apos;s title: %1 is the common day the rows are measured at, %2 the power of the step the error falls with, both decimal numbers.</extracomment>
        <translation>Erreur au jour %1 en fonction du pas&#xa0;: ordre observé %2</translation>
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
        <translation>Usage : tulvane [--help] [--version] [options Qt] [FICHIER.TV0 [--record N]]
Simule deux masses ponctuelles soumises à leur gravitation newtonienne mutuelle, dans une fenêtre : régler le départ
de chaque corps, lancer, mettre en pause, zoomer et recentrer le tracé, et garder les paramètres dans des fichiers .TV0.
  FICHIER.TV0 fichier de paramètres à montrer dans la visionneuse, à son premier enregistrement
  --record N  rendre plutôt courant l&apos;enregistrement N de FICHIER.TV0 (compté à partir de 1), et démarrer prêt
  --help      afficher cette aide et quitter
  --version   afficher la version et quitter
Les options propres à Qt, comme -platform NOM et -display AFFICHAGE, sont transmises à Qt.
Code de sortie : 0 quand le programme se termine, 1 si aucun affichage ne peut être ouvert, 2 pour des arguments erronés.
</translation>
    </message>
    <message>
        <source>Try &apos;tulvane --help&apos; for more information.</source>
        <extracomment>Under a refused command line.</extracomment>
        <translation>Essayez « tulvane --help » pour plus d&apos;informations.</translation>
    </message>
    <message>
        <source>--record needs a record number</source>
        <translation>--record attend un numéro d&apos;enregistrement</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <extracomment>%1 is the option as given, &quot;--bogus&quot;.</extracomment>
        <translation>option inconnue %1</translation>
    </message>
    <message>
        <source>the settings file&apos;s name is empty</source>
        <translation>le nom du fichier de paramètres est vide</translation>
    </message>
    <message>
        <source>only one settings file can be opened</source>
        <translation>un seul fichier de paramètres peut être ouvert</translation>
    </message>
    <message>
        <source>--record needs a settings file</source>
        <translation>--record attend un fichier de paramètres</translation>
    </message>
    <message>
        <source>--record needs a record number counted from 1, not &quot;%1&quot;</source>
        <extracomment>%1 is what followed --record, &quot;0&quot; or &quot;2x&quot;.</extracomment>
        <translation>--record attend un numéro d&apos;enregistrement compté à partir de 1, pas « %1 »</translation>
    </message>
    <message>
        <source>cannot open a display: set DISPLAY or WAYLAND_DISPLAY</source>
        <translation>impossible d&apos;ouvrir un affichage : définissez DISPLAY ou WAYLAND_DISPLAY</translation>
    </message>
</context>
<context>
    <name>DataFolder</name>
    <message>
        <source>The data folder %1 cannot be used: %2. Settings files can be saved in any other folder; the file dialogs start in the home folder instead.</source>
        <extracomment>Shown once at start. %1 is the folder, %2 the system&apos;s reason (&quot;Read-only file system&quot;).</extracomment>
        <translation>Le dossier de données %1 est inutilisable&#xa0;: %2. Les fichiers de paramètres peuvent être enregistrés dans tout autre dossier&#xa0;; les boîtes de dialogue de fichiers s&apos;ouvrent alors dans le dossier personnel.</translation>
    </message>
</context>
<context>
    <name>DateTimeText</name>
    <message>
        <source>Invalid date</source>
        <extracomment>When Saved, for a record whose saving time is no date (a damaged record).</extracomment>
        <translation>Date non valide</translation>
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
        <translation>%1&#xa0;×&#xa0;10³&#xa0;km</translation>
    </message>
    <message>
        <source>%1 million km</source>
        <extracomment>A distance on the plot, rounded to three digits: &quot;312 million km&quot;.</extracomment>
        <translation>%1&#xa0;×&#xa0;10⁶&#xa0;km</translation>
    </message>
    <message>
        <source>%1 billion km</source>
        <extracomment>A distance on the plot: a thousand million km, &quot;1 billion km&quot; (German Milliarde, French milliard).</extracomment>
        <translation>%1&#xa0;×&#xa0;10⁹&#xa0;km</translation>
    </message>
    <message>
        <source>%1 trillion km</source>
        <extracomment>A distance on the plot: a million million km, &quot;1 trillion km&quot; (German Billion, French billion).</extracomment>
        <translation>%1&#xa0;×&#xa0;10¹²&#xa0;km</translation>
    </message>
</context>
<context>
    <name>ErrorReport</name>
    <message>
        <source>%1 error raised with message: %2</source>
        <extracomment>The report of a failed file operation. %1 is the error&apos;s type name (EInOutError), kept as it is; %2 the error&apos;s text.</extracomment>
        <translation>Erreur %1 levée avec le message&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>ErrorText</name>
    <message>
        <source>Invalid floating point operation</source>
        <extracomment>An error of the simulation&apos;s arithmetic: a run, or a cross that cannot be placed, stopped on it.</extracomment>
        <translation>Opération en virgule flottante non valide</translation>
    </message>
    <message>
        <source>Floating point division by zero</source>
        <extracomment>An error of the simulation&apos;s arithmetic; a plot interval whose steps are 0 gives it at once.</extracomment>
        <translation>Division par zéro en virgule flottante</translation>
    </message>
    <message>
        <source>Floating point overflow</source>
        <extracomment>An error of the simulation&apos;s arithmetic: a value grew beyond the largest number.</extracomment>
        <translation>Dépassement de capacité en virgule flottante</translation>
    </message>
    <message>
        <source>The specified file was not found</source>
        <extracomment>A file error: the settings file does not exist.</extracomment>
        <translation>Le fichier spécifié est introuvable</translation>
    </message>
    <message>
        <source>Invalid file name - %s</source>
        <extracomment>A file error: the folder of the file does not exist. The &quot;%s&quot; is shown as it stands, as the program has always shown it: keep it.</extracomment>
        <translation>Nom de fichier non valide - %s</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <extracomment>A file error.</extracomment>
        <translation>Trop de fichiers ouverts</translation>
    </message>
    <message>
        <source>File access denied</source>
        <extracomment>A file error: the user may not read or write the file, or the disk is read-only.</extracomment>
        <translation>Accès au fichier refusé</translation>
    </message>
    <message>
        <source>Read beyond end of file</source>
        <extracomment>A file error: the settings file ends in the middle of a record.</extracomment>
        <translation>Lecture au-delà de la fin du fichier</translation>
    </message>
    <message>
        <source>Disk full</source>
        <extracomment>A file error: no room was left for the whole record.</extracomment>
        <translation>Disque plein</translation>
    </message>
    <message>
        <source>The file was changed by another program</source>
        <extracomment>Another program changed or replaced the settings file the viewer shows, so nothing was written.</extracomment>
        <translation>Le fichier a été modifié par un autre programme</translation>
    </message>
    <message>
        <source>Waiting for another copy of the program was cancelled</source>
        <extracomment>The user cancelled the wait for another copy of this program to finish with the settings file.</extracomment>
        <translation>L&apos;attente d&apos;une autre instance du programme a été annulée</translation>
    </message>
    <message>
        <source>The windows-1252 code page is not available</source>
        <extracomment>A broken installation: the character conversion data of the ICU library are missing.</extracomment>
        <translation>La page de code windows-1252 n&apos;est pas disponible</translation>
    </message>
    <message>
        <source>The C locale is not available</source>
        <extracomment>A broken installation: the C library cannot make its C locale.</extracomment>
        <translation>Les paramètres régionaux C ne sont pas disponibles</translation>
    </message>
    <message>
        <source>%1 or %2</source>
        <comment>units</comment>
        <extracomment>The last two of the units a typed value may have: &quot;Msun or Mearth&quot;.</extracomment>
        <translation>%1 ou %2</translation>
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
        <translation>«&#xa0;%1&#xa0;» n&apos;est pas un nombre</translation>
    </message>
    <message>
        <source>Unknown unit &quot;%1&quot;: use %2</source>
        <extracomment>A typed value refused; %1 is the unit as typed, %2 the units it may have (&quot;kg, Msun or Mearth&quot;), which are typed as they are written.</extracomment>
        <translation>Unité inconnue «&#xa0;%1&#xa0;»&#xa0;: utilisez %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is out of range</source>
        <extracomment>A typed value refused: beyond the largest or below the smallest number the program computes with.</extracomment>
        <translation>«&#xa0;%1&#xa0;» est hors limites</translation>
    </message>
    <message>
        <source>I/O error %1</source>
        <extracomment>A file error the program has no words of its own for; %1 is the system&apos;s error number.</extracomment>
        <translation>Erreur d&apos;E/S %1</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <extracomment>The general error report of an error the program knows nothing of.</extracomment>
        <translation>Erreur inconnue</translation>
    </message>
</context>
<context>
    <name>ExportFileName</name>
    <message>
        <source>%1, day %2</source>
        <extracomment>The name an exported file is offered under: %1 is the settings&apos; label (or Tulvane), %2 the elapsed days, a decimal number (&quot;Earth and Sun, day 365.3&quot;). A file name: no slash, colon or question mark.</extracomment>
        <translation>%1, jour %2</translation>
    </message>
</context>
<context>
    <name>ExportFlow</name>
    <message>
        <source>&amp;Caption on Exported Pictures</source>
        <extracomment>File menu: a checkable item; when on, exported pictures get a strip below with the label, the day, the scale and the orbit&apos;s summary.</extracomment>
        <translation>&amp;Légende sur les images exportées</translation>
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
        <translation>jour %1</translation>
    </message>
    <message>
        <source>Export Picture</source>
        <extracomment>The title of the file dialog of File &gt; Export Picture, and the filter of its files: the part in brackets stays as it is.
----------
The progress box of a picture export that holds the program&apos;s end; %1 is the file&apos;s name.</extracomment>
        <translation>Exporter l&apos;image</translation>
    </message>
    <message>
        <source>PNG pictures (*.png *.PNG)</source>
        <translation>Images PNG (*.png *.PNG)</translation>
    </message>
    <message>
        <source>Export Track</source>
        <extracomment>The title of the file dialog of File &gt; Export Track, and the filter of its files: the part in brackets stays as it is.
----------
The progress box of a track export that waits for a replay under way; %1 is the file&apos;s name.</extracomment>
        <translation>Exporter la trajectoire</translation>
    </message>
    <message>
        <source>CSV tables (*.csv *.CSV)</source>
        <translation>Tableaux CSV (*.csv *.CSV)</translation>
    </message>
    <message>
        <source>Waiting for the replay to end before writing the track to %1</source>
        <translation>Attente de la fin de la relecture avant d&apos;écrire la trajectoire dans %1</translation>
    </message>
    <message>
        <source>Rows written</source>
        <extracomment>The progress bar&apos;s name for a screen reader: the rows of the track written so far.</extracomment>
        <translation>Lignes écrites</translation>
    </message>
    <message>
        <source>Cancel</source>
        <comment>export</comment>
        <extracomment>The progress box&apos;s button that stops the export; no file is written then.</extracomment>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Cancel the export</source>
        <translation>Annuler l&apos;exportation</translation>
    </message>
    <message>
        <source>Writing the track to %1</source>
        <extracomment>The progress box of a track export; %1 is the file&apos;s name.</extracomment>
        <translation>Écriture de la trajectoire dans %1</translation>
    </message>
    <message>
        <source>The picture could not be exported to %1: %2</source>
        <extracomment>%1 is the file&apos;s path, %2 the reason, often the system&apos;s.</extracomment>
        <translation>L&apos;image n&apos;a pas pu être exportée vers %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>The track could not be exported to %1: %2</source>
        <extracomment>%1 is the file&apos;s path, %2 the reason, often the system&apos;s.</extracomment>
        <translation>La trajectoire n&apos;a pas pu être exportée vers %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>The export of the picture to %1 was cancelled: the file was not written.</source>
        <extracomment>Shown as the program ends when the user cancelled the export that held it; %1 is the file&apos;s path.</extracomment>
        <translation>L&apos;exportation de l&apos;image vers %1 a été annulée&#xa0;: le fichier n&apos;a pas été écrit.</translation>
    </message>
    <message>
        <source>The export of the track to %1 was cancelled: the file was not written.</source>
        <extracomment>Shown as the program ends when the user cancelled the export that held it; %1 is the file&apos;s path.</extracomment>
        <translation>L&apos;exportation de la trajectoire vers %1 a été annulée&#xa0;: le fichier n&apos;a pas été écrit.</translation>
    </message>
    <message>
        <source>Writing the picture to %1</source>
        <translation>Écriture de l&apos;image dans %1</translation>
    </message>
    <message>
        <source>Picture being written</source>
        <extracomment>The progress bar&apos;s name for a screen reader.</extracomment>
        <translation>Image en cours d&apos;écriture</translation>
    </message>
    <message>
        <source>Tulvane ends when it is written.</source>
        <extracomment>Added to an export&apos;s progress box when the user ends the program while the file is being written.</extracomment>
        <translation>Tulvane se fermera une fois le fichier écrit.</translation>
    </message>
</context>
<context>
    <name>GraphsDock</name>
    <message>
        <source>Graphs</source>
        <extracomment>The dock beside the plot with the graphs of the run against time.</extracomment>
        <translation>Graphiques</translation>
    </message>
    <message>
        <source>Run</source>
        <comment>graph line</comment>
        <extracomment>A line of the separation graph: the bodies&apos; distance in the run.</extracomment>
        <translation>Simulation</translation>
    </message>
    <message>
        <source>Exact orbit</source>
        <comment>graph line</comment>
        <extracomment>A line of the separation graph: the bodies&apos; distance on the exact orbit.</extracomment>
        <translation>Orbite exacte</translation>
    </message>
    <message>
        <source>Relative speed</source>
        <comment>graph line</comment>
        <translation>Vitesse relative</translation>
    </message>
    <message>
        <source>Energy drift</source>
        <comment>graph line</comment>
        <translation>Dérive de l&apos;énergie</translation>
    </message>
    <message>
        <source>Separation</source>
        <comment>graph</comment>
        <extracomment>The title of the graph of the bodies&apos; distance, and its axis&apos;s unit: metres (m).</extracomment>
        <translation>Séparation</translation>
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
        <translation>Vitesse relative</translation>
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
        <translation>Dérive de l&apos;énergie depuis le départ</translation>
    </message>
    <message>
        <source>of |potential energy|</source>
        <comment>axis</comment>
        <translation>de |énergie potentielle|</translation>
    </message>
    <message>
        <source>Cursor</source>
        <comment>graph line</comment>
        <extracomment>The line at the timeline&apos;s point; it is not named in the legend, but a screen reader may name it.</extracomment>
        <translation>Curseur</translation>
    </message>
    <message>
        <source>%1 against time</source>
        <extracomment>A graph&apos;s name for a screen reader: %1 is the graph&apos;s title (&quot;Separation against time&quot;).</extracomment>
        <translation>%1 en fonction du temps</translation>
    </message>
    <message>
        <source>days</source>
        <comment>axis</comment>
        <extracomment>The graphs&apos; time axis, in days of simulated time.</extracomment>
        <translation>jours</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Tulvane Help</source>
        <translation>Aide de Tulvane</translation>
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
        <translation>Précédent</translation>
    </message>
    <message>
        <source>Forward</source>
        <comment>help page</comment>
        <extracomment>The help window&apos;s button: the page shown after, when Back was used.</extracomment>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Contents</source>
        <comment>help page</comment>
        <extracomment>The help window&apos;s button: the contents page of the help.</extracomment>
        <translation>Sommaire</translation>
    </message>
</context>
<context>
    <name>InitialStateDialog</name>
    <message>
        <source>Initial State</source>
        <translation>État initial</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Set State</source>
        <extracomment>The button that makes the bars&apos; values the body&apos;s start.</extracomment>
        <translation>Appliquer</translation>
    </message>
    <message>
        <source>Right click the main background to select a new position.</source>
        <translation>Cliquez avec le bouton droit sur le fond principal pour choisir une nouvelle position.</translation>
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
        <translation>Vitesse:</translation>
    </message>
    <message>
        <source>Direction:</source>
        <extracomment>The direction of the body&apos;s start velocity, in degrees: 0 is up, 90 right.</extracomment>
        <translation>Direction:</translation>
    </message>
    <message>
        <source>Body X</source>
        <extracomment>Stands in the body&apos;s name&apos;s place until a body is chosen (&quot;Body A&quot;); hardly ever seen.</extracomment>
        <translation>Corps X</translation>
    </message>
    <message>
        <source>Sputnik 1</source>
        <extracomment>A body beside the mass and speed bars, at its mass or its speed, for comparison.</extracomment>
        <translation>Spoutnik 1</translation>
    </message>
    <message>
        <source>ISS</source>
        <extracomment>The International Space Station, beside the mass bar at its mass.</extracomment>
        <translation>ISS</translation>
    </message>
    <message>
        <source>Sinope</source>
        <extracomment>A small moon of Jupiter, beside the mass bar at its mass.</extracomment>
        <translation>Sinopé</translation>
    </message>
    <message>
        <source>Moon</source>
        <extracomment>The Earth&apos;s moon, beside the mass bar at its mass.</extracomment>
        <translation>Lune</translation>
    </message>
    <message>
        <source>Earth</source>
        <extracomment>The planet, beside the mass and speed bars at its mass or its orbital speed.</extracomment>
        <translation>Terre</translation>
    </message>
    <message>
        <source>Jupiter</source>
        <extracomment>The planet, beside the mass bar at its mass.</extracomment>
        <translation>Jupiter</translation>
    </message>
    <message>
        <source>Sun</source>
        <extracomment>The star, beside the mass and speed bars at its mass or its speed in the galaxy.</extracomment>
        <translation>Soleil</translation>
    </message>
    <message>
        <source>Rigel</source>
        <extracomment>A giant star, beside the mass bar at its mass.</extracomment>
        <translation>Rigel</translation>
    </message>
    <message>
        <source>Typed Start Values</source>
        <translation>Saisie des valeurs de départ</translation>
    </message>
    <message>
        <source>Typed values</source>
        <translation>Valeurs saisies</translation>
    </message>
    <message>
        <source>Start position u:</source>
        <translation>Position de départ u:</translation>
    </message>
    <message>
        <source>Start position v:</source>
        <translation>Position de départ v:</translation>
    </message>
    <message>
        <source>Circular speed</source>
        <translation>Vitesse circulaire</translation>
    </message>
    <message>
        <source>Escape speed</source>
        <translation>Vitesse de libération</translation>
    </message>
    <message>
        <source>Body A mass</source>
        <translation>Masse du corps A</translation>
    </message>
    <message>
        <source>Body B mass</source>
        <translation>Masse du corps B</translation>
    </message>
    <message>
        <source>Body A speed</source>
        <translation>Vitesse du corps A</translation>
    </message>
    <message>
        <source>Body B speed</source>
        <translation>Vitesse du corps B</translation>
    </message>
    <message>
        <source>Body A direction</source>
        <translation>Direction du corps A</translation>
    </message>
    <message>
        <source>Body B direction</source>
        <translation>Direction du corps B</translation>
    </message>
    <message>
        <source>Body A start position u</source>
        <translation>Position de départ u du corps A</translation>
    </message>
    <message>
        <source>Body B start position u</source>
        <translation>Position de départ u du corps B</translation>
    </message>
    <message>
        <source>Body A start position v</source>
        <translation>Position de départ v du corps A</translation>
    </message>
    <message>
        <source>Body B start position v</source>
        <translation>Position de départ v du corps B</translation>
    </message>
    <message>
        <source>A mass above 0, in kg, Msun or Mearth</source>
        <translation>Une masse supérieure à 0, en kg, Msun ou Mearth</translation>
    </message>
    <message>
        <source>A speed of 0 or more, in km/s or m/s</source>
        <translation>Une vitesse de 0 ou plus, en km/s ou m/s</translation>
    </message>
    <message>
        <source>A direction of travel from 0 up to 360 degrees: 0 is up, 90 right</source>
        <translation>Une direction de déplacement de 0 à 360 degrés&#xa0;: 0 vers le haut, 90 vers la droite</translation>
    </message>
    <message>
        <source>How far right of the plot&apos;s left edge, in m, km or AU</source>
        <translation>Distance à droite du bord gauche du tracé, en m, km ou AU</translation>
    </message>
    <message>
        <source>How far down from the plot&apos;s top edge, in m, km or AU</source>
        <translation>Distance vers le bas depuis le bord supérieur du tracé, en m, km ou AU</translation>
    </message>
    <message>
        <source>The mass must be more than 0 kg.</source>
        <translation>La masse doit être supérieure à 0 kg.</translation>
    </message>
    <message>
        <source>The speed must not be negative.</source>
        <translation>La vitesse ne doit pas être négative.</translation>
    </message>
    <message>
        <source>The direction must be at least 0 and less than 360 degrees.</source>
        <translation>La direction doit être d&apos;au moins 0 et de moins de 360 degrés.</translation>
    </message>
    <message>
        <source>Mend the typed values first.</source>
        <translation>Corrigez d&apos;abord les valeurs saisies.</translation>
    </message>
    <message>
        <source>Both masses must be more than 0 kg.</source>
        <translation>Les deux masses doivent être supérieures à 0 kg.</translation>
    </message>
    <message>
        <source>Both bodies start at the same place.</source>
        <translation>Les deux corps partent du même endroit.</translation>
    </message>
    <message>
        <source>A position, mass, speed or direction is not a finite number.</source>
        <translation>Une position, une masse, une vitesse ou une direction n&apos;est pas un nombre fini.</translation>
    </message>
    <message>
        <source>Speed and direction for a circular orbit about the other body</source>
        <translation>Vitesse et direction pour une orbite circulaire autour de l&apos;autre corps</translation>
    </message>
    <message>
        <source>Speed and direction to just escape from the other body, on a parabola</source>
        <translation>Vitesse et direction pour tout juste échapper à l&apos;autre corps, sur une parabole</translation>
    </message>
    <message>
        <source>Body A</source>
        <translation>Corps A</translation>
    </message>
    <message>
        <source>Body B</source>
        <translation>Corps B</translation>
    </message>
    <message>
        <source>(%1,%2)</source>
        <comment>position</comment>
        <extracomment>A start position: (u,v) in metres, rightwards and downwards from the plot&apos;s top left corner. Where the decimal separator is a comma, another separator between the two may read better.</extracomment>
        <translation>(%1&#xa0;; %2)</translation>
    </message>
    <message>
        <source>%1 kg</source>
        <extracomment>The mass bar&apos;s value, in kilograms.</extracomment>
        <translation>%1 kg</translation>
    </message>
    <message>
        <source>%1 km/sec</source>
        <extracomment>The speed bar&apos;s value, in kilometres a second.</extracomment>
        <translation>%1 km/s</translation>
    </message>
    <message>
        <source>%1 deg</source>
        <extracomment>The direction bar&apos;s value, in degrees.</extracomment>
        <translation>%1°</translation>
    </message>
</context>
<context>
    <name>JpegPicture</name>
    <message>
        <source>%1 × %2 pixels</source>
        <extracomment>A picture&apos;s size in pixels: width by height.</extracomment>
        <translation>%1&#xa0;×&#xa0;%2 pixels</translation>
    </message>
    <message>
        <source>The picture needs more memory than the %1 MB allowed for decoding it; it is not shown</source>
        <translation>L&apos;image demande plus de mémoire que les %1 Mo permis pour la décoder&#xa0;; elle n&apos;est pas affichée</translation>
    </message>
    <message>
        <source>The picture would take too long to decode; it is not shown</source>
        <translation>Le décodage de l&apos;image prendrait trop de temps&#xa0;; elle n&apos;est pas affichée</translation>
    </message>
    <message>
        <source>The picture is built from too many scans (more than %1); it is not shown</source>
        <extracomment>A progressive JPEG file is sent in scans, each adding detail; %1 is the most that are decoded.</extracomment>
        <translation>L&apos;image est composée de trop de passes (plus de %1)&#xa0;; elle n&apos;est pas affichée</translation>
    </message>
    <message>
        <source>There is not enough memory to decode the picture</source>
        <translation>Mémoire insuffisante pour décoder l&apos;image</translation>
    </message>
    <message>
        <source>JPEG error #%1</source>
        <extracomment>%1 is the JPEG decoder&apos;s own message number (libjpeg&apos;s JERR_ codes).</extracomment>
        <translation>Erreur JPEG n° %1</translation>
    </message>
    <message>
        <source>The picture is too large (%1); at most %2 megapixels are shown</source>
        <extracomment>%1 is the picture&apos;s size (&quot;65000 × 65000 pixels&quot;), %2 the most megapixels the program shows.</extracomment>
        <translation>L&apos;image est trop grande (%1)&#xa0;; au plus %2 mégapixels sont affichés</translation>
    </message>
    <message>
        <source>There is not enough memory for the picture (%1)</source>
        <extracomment>%1 is the size the decoded picture would have (&quot;9000 × 6000 pixels&quot;).</extracomment>
        <translation>Mémoire insuffisante pour l&apos;image (%1)</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Tulvane simulates solutions for the two-body problem in classical mechanics using Newton&apos;s laws.</source>
        <translation>Tulvane simule des solutions du problème à deux corps de la mécanique classique à l&apos;aide des lois de Newton.</translation>
    </message>
    <message>
        <source>Copyright 2026 The Tulvane developers</source>
        <translation>Copyright 2026 Les développeurs de Tulvane</translation>
    </message>
    <message>
        <source>Version %1    %2</source>
        <translation>Version %1    %2</translation>
    </message>
    <message>
        <source>The picture is incomplete: the file ends before the end of the picture. The part that could be decoded is shown.</source>
        <translation>L&apos;image est incomplète&#xa0;: le fichier se termine avant la fin de l&apos;image. La partie qui a pu être décodée est affichée.</translation>
    </message>
    <message>
        <source>Classic</source>
        <extracomment>View &gt; Run Speed: one plot point every tenth of a second, as the classic program ran.</extracomment>
        <translation>Classique</translation>
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
        <translation>Maximale</translation>
    </message>
    <message>
        <source>Ready</source>
        <comment>run state</comment>
        <extracomment>The run state on the control panel, above the Run button; also Running and Paused.</extracomment>
        <translation>Prêt</translation>
    </message>
    <message>
        <source>Run</source>
        <comment>button</comment>
        <extracomment>The control panel&apos;s button that starts or continues the run.</extracomment>
        <translation>Lancer</translation>
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
        <translation>Réinitialiser</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Zoom arrière</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Zoom avant</translation>
    </message>
    <message>
        <source>Elapsed days</source>
        <extracomment>The accessible name of the number of simulated days on the control panel.</extracomment>
        <translation>Jours écoulés</translation>
    </message>
    <message>
        <source>Run state</source>
        <translation>État de la simulation</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <comment>tool tip</comment>
        <extracomment>A button&apos;s tool tip: what it does, then its key, &quot;Run (F5)&quot;.</extracomment>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Save Settings</source>
        <translation>&amp;Enregistrer les paramètres</translation>
    </message>
    <message>
        <source>Open &amp;Example...</source>
        <translation>Ouvrir un e&amp;xemple...</translation>
    </message>
    <message>
        <source>Export &amp;Picture...</source>
        <translation>Exporter l&apos;&amp;image...</translation>
    </message>
    <message>
        <source>Export &amp;Track...</source>
        <extracomment>Writes the run&apos;s plot points to a CSV file.</extracomment>
        <translation>Exporter la &amp;trajectoire...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <extracomment>The menu of the run&apos;s settings: the bodies&apos; starts, colours, background and plot interval.</extracomment>
        <translation>&amp;Paramètres</translation>
    </message>
    <message>
        <source>Body A Initial State</source>
        <extracomment>Opens the Initial State dialog on Body A: its start position, mass, speed and direction.</extracomment>
        <translation>État initial du corps A</translation>
    </message>
    <message>
        <source>Body B Initial State</source>
        <translation>État initial du corps B</translation>
    </message>
    <message>
        <source>Body A Color</source>
        <translation>Couleur du corps A</translation>
    </message>
    <message>
        <source>Body B Color</source>
        <translation>Couleur du corps B</translation>
    </message>
    <message>
        <source>Set Background Color</source>
        <translation>Choisir la couleur de fond</translation>
    </message>
    <message>
        <source>Use JPEG Background</source>
        <extracomment>Chooses a JPEG picture to stretch over the plot&apos;s background.</extracomment>
        <translation>Utiliser une image JPEG en fond</translation>
    </message>
    <message>
        <source>Plot Interval</source>
        <extracomment>The simulated time between two plotted points.</extracomment>
        <translation>Intervalle de tracé</translation>
    </message>
    <message>
        <source>Simulated time between plots</source>
        <extracomment>The Plot Interval menu&apos;s first line, a caption that cannot be chosen.</extracomment>
        <translation>Temps simulé entre deux points</translation>
    </message>
    <message>
        <source>Restore Default Start</source>
        <extracomment>Puts back the built-in start of both bodies: positions, masses, speeds and directions.</extracomment>
        <translation>Restaurer le départ par défaut</translation>
    </message>
    <message>
        <source>Undo</source>
        <comment>settings change</comment>
        <extracomment>Settings &gt; Undo: takes back the last change of the settings.</extracomment>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Redo</source>
        <comment>settings change</comment>
        <translation>Rétablir</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <source>Current Settings</source>
        <extracomment>Shows the current settings in the settings viewer.</extracomment>
        <translation>Paramètres actuels</translation>
    </message>
    <message>
        <source>Saved Settings ( .TV0 File)</source>
        <extracomment>Browses the records of a settings file. The space before .TV0 is the classic text&apos;s.</extracomment>
        <translation>Paramètres enregistrés (fichier .TV0)</translation>
    </message>
    <message>
        <source>.TV0 files contain saved settings records.</source>
        <translation>Les fichiers .TV0 contiennent des enregistrements de paramètres.</translation>
    </message>
    <message>
        <source>Orbit Readout</source>
        <extracomment>The window of the run&apos;s exact orbit and its energy and angular-momentum drift.</extracomment>
        <translation>Relevé d&apos;orbite</translation>
    </message>
    <message>
        <source>Accuracy Lab</source>
        <extracomment>The window that compares the runs at every plot interval with the exact orbit.</extracomment>
        <translation>Labo de précision</translation>
    </message>
    <message>
        <source>Graphs</source>
        <extracomment>The dock of graphs against time: separation, speed and energy drift.</extracomment>
        <translation>Graphiques</translation>
    </message>
    <message>
        <source>Exact Path</source>
        <extracomment>Draws the exact two-body orbit over the plot, dashed.</extracomment>
        <translation>Trajectoire exacte</translation>
    </message>
    <message>
        <source>Scale Bar</source>
        <translation>Barre d&apos;échelle</translation>
    </message>
    <message>
        <source>Off-screen Markers</source>
        <extracomment>Arrows at the plot&apos;s edge towards a body outside the view, with its distance.</extracomment>
        <translation>Repères hors écran</translation>
    </message>
    <message>
        <source>Start Markers</source>
        <extracomment>Rings at the bodies&apos; start positions and arrows for their start velocities, to drag.</extracomment>
        <translation>Repères de départ</translation>
    </message>
    <message>
        <source>Fit Both Orbits</source>
        <extracomment>Zooms and centres the plot so that both orbits show whole.</extracomment>
        <translation>Cadrer les deux orbites</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ai&amp;de</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <comment>help</comment>
        <extracomment>Help &gt; Contents: opens the help pages at their contents page.</extracomment>
        <translation>&amp;Sommaire</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>À &amp;propos</translation>
    </message>
    <message>
        <source>Run Speed</source>
        <extracomment>How fast a run is shown; only the pacing changes, never the points.</extracomment>
        <translation>Cadence de la simulation</translation>
    </message>
    <message>
        <source>days</source>
        <comment>elapsed time</comment>
        <extracomment>Under the number of simulated days on the control panel.</extracomment>
        <translation>jours</translation>
    </message>
    <message>
        <source>Paused</source>
        <comment>run state</comment>
        <extracomment>The run state on the control panel while a run stands still.</extracomment>
        <translation>En pause</translation>
    </message>
    <message>
        <source>Running</source>
        <comment>run state</comment>
        <extracomment>The run state on the control panel while a run goes on.</extracomment>
        <translation>En cours</translation>
    </message>
    <message>
        <source>Ends at the next Pause</source>
        <extracomment>Over the plot after Exit during a run: the program ends when the run next pauses.</extracomment>
        <translation>Fin à la prochaine pause</translation>
    </message>
    <message>
        <source>Selecting JPEG Background</source>
        <extracomment>The title of the file dialog of Settings &gt; Use JPEG Background.</extracomment>
        <translation>Choix de l&apos;image de fond JPEG</translation>
    </message>
    <message>
        <source>JPEG Graphics (*.[jJ][pP][gG] *.[jJ][pP][eE][gG])</source>
        <extracomment>The file dialog&apos;s filter: keep the patterns in brackets as they are.</extracomment>
        <translation>Images JPEG (*.[jJ][pP][gG] *.[jJ][pP][eE][gG])</translation>
    </message>
    <message>
        <source>Data directory: %1</source>
        <extracomment>Help &gt; About: the folder where the settings files are kept.</extracomment>
        <translation>Dossier de données&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>OpenExample</name>
    <message>
        <source>The examples file %1 cannot be read: %2</source>
        <extracomment>%1 is the examples file the program ships, %2 the system&apos;s reason.</extracomment>
        <translation>Le fichier d&apos;exemples %1 est illisible&#xa0;: %2</translation>
    </message>
    <message>
        <source>The examples could not be copied to %1: %2</source>
        <extracomment>%1 is the user&apos;s copy of the examples in the data folder, %2 the system&apos;s reason.</extracomment>
        <translation>Les exemples n&apos;ont pas pu être copiés vers %1&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>OrbitReadoutDock</name>
    <message>
        <source>Orbit Readout</source>
        <extracomment>The title of the Orbit Readout&apos;s dock, the window beside the plot that View &gt; Orbit Readout opens.</extracomment>
        <translation>Relevé d&apos;orbite</translation>
    </message>
</context>
<context>
    <name>OrbitReadoutWindow</name>
    <message>
        <source>Elapsed</source>
        <comment>readout row</comment>
        <extracomment>The time the run has gone on, in days.</extracomment>
        <translation>Temps écoulé</translation>
    </message>
    <message>
        <source>Orbit</source>
        <comment>readout row</comment>
        <extracomment>The kind of orbit: ellipse, hyperbola...</extracomment>
        <translation>Orbite</translation>
    </message>
    <message>
        <source>Eccentricity</source>
        <comment>readout row</comment>
        <translation>Excentricité</translation>
    </message>
    <message>
        <source>Semi-major axis</source>
        <comment>readout row</comment>
        <translation>Demi-grand axe</translation>
    </message>
    <message>
        <source>Closest approach</source>
        <comment>readout row</comment>
        <extracomment>The least distance of the bodies on the orbit (the periapsis).</extracomment>
        <translation>Distance minimale</translation>
    </message>
    <message>
        <source>Farthest distance</source>
        <comment>readout row</comment>
        <extracomment>The greatest distance of the bodies on the orbit (the apoapsis).</extracomment>
        <translation>Distance maximale</translation>
    </message>
    <message>
        <source>Period</source>
        <comment>readout row</comment>
        <extracomment>The time of one revolution.</extracomment>
        <translation>Période</translation>
    </message>
    <message>
        <source>Time to closest approach</source>
        <comment>readout row</comment>
        <translation>Temps avant le passage au plus près</translation>
    </message>
    <message>
        <source>Steps across closest approach</source>
        <comment>readout row</comment>
        <extracomment>How many of the run&apos;s integration steps the passage of the closest approach takes.</extracomment>
        <translation>Pas au passage au plus près</translation>
    </message>
    <message>
        <source>Separation</source>
        <comment>readout row</comment>
        <extracomment>The distance between the bodies.</extracomment>
        <translation>Séparation</translation>
    </message>
    <message>
        <source>Relative speed</source>
        <comment>readout row</comment>
        <translation>Vitesse relative</translation>
    </message>
    <message>
        <source>Energy of the relative motion</source>
        <comment>readout row</comment>
        <translation>Énergie du mouvement relatif</translation>
    </message>
    <message>
        <source>Total energy</source>
        <comment>readout row</comment>
        <translation>Énergie totale</translation>
    </message>
    <message>
        <source>Angular momentum</source>
        <comment>readout row</comment>
        <translation>Moment cinétique</translation>
    </message>
    <message>
        <source>Body A speed</source>
        <comment>readout row</comment>
        <translation>Vitesse du corps A</translation>
    </message>
    <message>
        <source>Body A direction</source>
        <comment>readout row</comment>
        <extracomment>The direction Body A moves in, in degrees: 0 is up, 90 right.</extracomment>
        <translation>Direction du corps A</translation>
    </message>
    <message>
        <source>Body B speed</source>
        <comment>readout row</comment>
        <translation>Vitesse du corps B</translation>
    </message>
    <message>
        <source>Body B direction</source>
        <comment>readout row</comment>
        <extracomment>The direction Body B moves in, in degrees: 0 is up, 90 right.</extracomment>
        <translation>Direction du corps B</translation>
    </message>
    <message>
        <source>green</source>
        <comment>drift level</comment>
        <extracomment>The drift gauge&apos;s colour: the run keeps close to the true orbit.</extracomment>
        <translation>vert</translation>
    </message>
    <message>
        <source>amber</source>
        <comment>drift level</comment>
        <extracomment>The drift gauge&apos;s colour: the run begins to drift from the true orbit.</extracomment>
        <translation>orange</translation>
    </message>
    <message>
        <source>red</source>
        <comment>drift level</comment>
        <extracomment>The drift gauge&apos;s colour: the run has drifted far from the true orbit.</extracomment>
        <translation>rouge</translation>
    </message>
    <message>
        <source>none</source>
        <comment>drift level</comment>
        <extracomment>The drift gauge before a run: no drift to tell.</extracomment>
        <translation>aucun</translation>
    </message>
    <message>
        <source>Orbit Readout</source>
        <translation>Relevé d&apos;orbite</translation>
    </message>
    <message>
        <source>Exact orbit of the start</source>
        <extracomment>The heading of the column of the orbit worked out exactly from the start.</extracomment>
        <translation>Orbite exacte du départ</translation>
    </message>
    <message>
        <source>Now</source>
        <comment>readout column</comment>
        <extracomment>The heading of the column of the run&apos;s last plot point, or of the point the timeline shows.</extracomment>
        <translation>Actuel</translation>
    </message>
    <message>
        <source>Drift since the start</source>
        <extracomment>The heading of the gauge of how far the run&apos;s energy and angular momentum have moved off their start values, which the true motion keeps.</extracomment>
        <translation>Dérive depuis le départ</translation>
    </message>
    <message>
        <source>Energy drift</source>
        <extracomment>The coloured chip of the drift gauge, as a screen reader names it; its description is its colour.</extracomment>
        <translation>Dérive de l&apos;énergie</translation>
    </message>
    <message>
        <source>Angular momentum drift</source>
        <extracomment>The coloured chip of the drift gauge, as a screen reader names it; its description is its colour.</extracomment>
        <translation>Dérive du moment cinétique</translation>
    </message>
    <message>
        <source>Energy</source>
        <comment>drift gauge row</comment>
        <translation>Énergie</translation>
    </message>
    <message>
        <source>Angular momentum</source>
        <comment>drift gauge row</comment>
        <translation>Moment cinétique</translation>
    </message>
    <message>
        <source>Red: a shorter plot interval keeps the run closer to the true orbit.</source>
        <extracomment>Shown while the drift gauge is red.</extracomment>
        <translation>Rouge&#xa0;: un intervalle de tracé plus court garde la simulation plus près de l&apos;orbite vraie.</translation>
    </message>
    <message>
        <source>Timeline</source>
        <extracomment>The slider that goes back through a paused run&apos;s plot points.</extracomment>
        <translation>Chronologie</translation>
    </message>
    <message>
        <source>%1 days</source>
        <comment>elapsed time</comment>
        <extracomment>The time the run has gone on; %1 is a decimal number: &quot;120.0 days&quot;.</extracomment>
        <translation>%1 jours</translation>
    </message>
    <message>
        <source>%1st</source>
        <comment>ordinal</comment>
        <extracomment>An ordinal number that ends in 1 (but not 11): 21st. Used in &quot;every 21st point&quot;.</extracomment>
        <translation>%1e</translation>
    </message>
    <message>
        <source>%1nd</source>
        <comment>ordinal</comment>
        <extracomment>An ordinal number that ends in 2 (but not 12): 2nd, 32nd. Used in &quot;every 2nd point&quot;.</extracomment>
        <translation>%1e</translation>
    </message>
    <message>
        <source>%1rd</source>
        <comment>ordinal</comment>
        <extracomment>An ordinal number that ends in 3 (but not 13): 3rd, 23rd. Used in &quot;every 3rd point&quot;.</extracomment>
        <translation>%1e</translation>
    </message>
    <message>
        <source>%1th</source>
        <comment>ordinal</comment>
        <extracomment>Any other ordinal number: 4th, 12th, 128th. Used in &quot;every 4th point&quot;.</extracomment>
        <translation>%1e</translation>
    </message>
    <message>
        <source>Pause the run to go back through its plot points.</source>
        <extracomment>Beside the timeline while it cannot be used: before a run, and while one runs.</extracomment>
        <translation>Mettez la simulation en pause pour parcourir ses points de tracé.</translation>
    </message>
    <message>
        <source>Plot point %1 of %2 (thinned: every %3 point of this long run is kept)</source>
        <extracomment>Beside the timeline of a run so long that only every so many plot points are kept; %3 is an ordinal number (&quot;every 4th point&quot;).</extracomment>
        <translation>Point de tracé %1 sur %2 (allégé&#xa0;: seul chaque %3 point de cette longue simulation est gardé)</translation>
    </message>
    <message>
        <source>Plot point %1 of %2</source>
        <extracomment>Beside the timeline: the plot point it shows, and the last.</extracomment>
        <translation>Point de tracé %1 sur %2</translation>
    </message>
    <message>
        <source>Plot point %1 of %2, day %3 (thinned: every %4 point of this long run is kept)</source>
        <extracomment>Beside the timeline of a run so long that only every so many plot points are kept: the plot point it shows, the last, the day of the one shown (a decimal number) and an ordinal number (&quot;every 4th point&quot;).</extracomment>
        <translation>Point de tracé %1 sur %2, jour %3 (allégé&#xa0;: seul chaque %4 point de cette longue simulation est gardé)</translation>
    </message>
    <message>
        <source>Plot point %1 of %2, day %3</source>
        <extracomment>Beside the timeline: the plot point it shows, the last, and the day of the one shown, a decimal number.</extracomment>
        <translation>Point de tracé %1 sur %2, jour %3</translation>
    </message>
    <message>
        <source>%1 (%2 px)</source>
        <extracomment>How far a body is from its exact place: the distance in words, and in pixels of the plot at its scale, a decimal number: &quot;12 thousand km (3.4 px)&quot;.</extracomment>
        <translation>%1 (%2 px)</translation>
    </message>
    <message>
        <source>Off the exact path: A %1, B %2</source>
        <extracomment>How far each body of the run is from where the exact motion puts it: A and B are the bodies&apos; names.</extracomment>
        <translation>Écart à la trajectoire exacte&#xa0;: A %1, B %2</translation>
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
        <translation>Attente d&apos;une autre instance de Tulvane qui écrit %1…</translation>
    </message>
</context>
<context>
    <name>PictureExport</name>
    <message>
        <source>the picture could not be encoded</source>
        <extracomment>Why a picture export failed: Qt&apos;s PNG writer refused the picture.</extracomment>
        <translation>l&apos;image n&apos;a pas pu être encodée</translation>
    </message>
</context>
<context>
    <name>PlotInterval</name>
    <message>
        <source>1 minute</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation>1 minute</translation>
    </message>
    <message>
        <source>100 seconds</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation>100 secondes</translation>
    </message>
    <message>
        <source>1000 seconds</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation>1000 secondes</translation>
    </message>
    <message>
        <source>1 hour</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation>1 heure</translation>
    </message>
    <message>
        <source>10000 seconds</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation>10000 secondes</translation>
    </message>
    <message>
        <source>1 day</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation>1 jour</translation>
    </message>
    <message>
        <source>10E5 seconds</source>
        <extracomment>Settings &gt; Plot Interval: 10E5 is the program&apos;s way of writing 10 to the power 5, a hundred thousand seconds. Keep the number as it is written.</extracomment>
        <translation>10E5 secondes</translation>
    </message>
    <message>
        <source>1 week</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation>1 semaine</translation>
    </message>
    <message>
        <source>10E6 seconds</source>
        <extracomment>Settings &gt; Plot Interval: 10E6 is 10 to the power 6, a million seconds. Keep the number as it is.</extracomment>
        <translation>10E6 secondes</translation>
    </message>
    <message>
        <source>1 month</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation>1 mois</translation>
    </message>
    <message>
        <source>10E7 seconds</source>
        <extracomment>Settings &gt; Plot Interval: 10E7 is 10 to the power 7, ten million seconds. Keep the number as it is.</extracomment>
        <translation>10E7 secondes</translation>
    </message>
    <message>
        <source>1 year</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation>1 an</translation>
    </message>
</context>
<context>
    <name>PlotOverlay</name>
    <message>
        <source>%1 AU</source>
        <extracomment>The scale bar&apos;s length in astronomical units.</extracomment>
        <translation>%1 ua</translation>
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
        <translation>Tracé</translation>
    </message>
    <message>
        <source>The bodies&apos; tracks. Arrow keys move a cursor; Enter re-centres on it while paused, Space picks it as a start position while the Initial State dialog is open.</source>
        <translation>Les trajectoires des corps. Les touches fléchées déplacent un curseur&#xa0;; Entrée recentre sur lui en pause, Espace le choisit comme position de départ quand la boîte État initial est ouverte.</translation>
    </message>
</context>
<context>
    <name>ReadoutText</name>
    <message>
        <source>%1 km (%2 AU)</source>
        <extracomment>A distance in kilometres and in astronomical units: &quot;5.4578E+08 km (3.648 AU)&quot;.</extracomment>
        <translation>%1 km (%2 ua)</translation>
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
        <translation>%1 jours (%2 ans)</translation>
    </message>
    <message>
        <source>%1 days</source>
        <extracomment>A time in days, a decimal number: &quot;364.00 days&quot;.</extracomment>
        <translation>%1 jours</translation>
    </message>
    <message>
        <source>%1 J</source>
        <extracomment>An energy in joules: &quot;-6.114E+38 J&quot;.</extracomment>
        <translation>%1 J</translation>
    </message>
    <message>
        <source>%1 kg·m²/s, clockwise</source>
        <extracomment>An angular momentum, and the sense the bodies turn in on the plot.</extracomment>
        <translation>%1 kg·m²/s, sens horaire</translation>
    </message>
    <message>
        <source>%1 kg·m²/s, anticlockwise</source>
        <extracomment>An angular momentum, and the sense the bodies turn in on the plot.</extracomment>
        <translation>%1 kg·m²/s, sens antihoraire</translation>
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
        <translation>circulaire (liée)</translation>
    </message>
    <message>
        <source>bound ellipse</source>
        <extracomment>The kind of orbit: the bodies go round each other on ellipses for ever.</extracomment>
        <translation>elliptique (liée)</translation>
    </message>
    <message>
        <source>parabola: escape</source>
        <extracomment>The kind of orbit: the bodies part for ever, just fast enough to.</extracomment>
        <translation>parabolique&#xa0;: échappement</translation>
    </message>
    <message>
        <source>hyperbola: escape</source>
        <extracomment>The kind of orbit: the bodies pass each other once and part for ever.</extracomment>
        <translation>hyperbolique&#xa0;: échappement</translation>
    </message>
    <message>
        <source>radial: the bodies fall together</source>
        <extracomment>The kind of orbit: the bodies move straight towards each other and will meet.</extracomment>
        <translation>radiale&#xa0;: les corps tombent l&apos;un sur l&apos;autre</translation>
    </message>
    <message>
        <source>radial: escape</source>
        <extracomment>The kind of orbit: the bodies move straight apart, for ever.</extracomment>
        <translation>radiale&#xa0;: échappement</translation>
    </message>
    <message>
        <source>no orbit: a mass is zero or negative</source>
        <extracomment>A mass of the start is zero or negative.</extracomment>
        <translation>pas d&apos;orbite&#xa0;: une masse est nulle ou négative</translation>
    </message>
    <message>
        <source>no orbit: the bodies coincide</source>
        <extracomment>Both bodies start at the same place.</extracomment>
        <translation>pas d&apos;orbite&#xa0;: les corps coïncident</translation>
    </message>
    <message>
        <source>no orbit: a value is not a finite number</source>
        <extracomment>A value of the start is infinite or no number at all (a damaged record).</extracomment>
        <translation>pas d&apos;orbite&#xa0;: une valeur n&apos;est pas un nombre fini</translation>
    </message>
    <message>
        <source>%1, e = %2, period %3 days</source>
        <extracomment>The start&apos;s orbit in one line: its kind, its eccentricity (e) and its period in days, a decimal number: &quot;bound ellipse, e = 0.973, period 1356.6 days&quot;.</extracomment>
        <translation>%1, e = %2, période %3 jours</translation>
    </message>
    <message>
        <source>%1, e = %2</source>
        <extracomment>The start&apos;s orbit in one line: its kind and its eccentricity (e): &quot;hyperbola: escape, e = 1.015&quot;.</extracomment>
        <translation>%1, e = %2</translation>
    </message>
    <message>
        <source>%1, period %2 days</source>
        <extracomment>The start&apos;s orbit in one line: its kind and its period in days, a decimal number.</extracomment>
        <translation>%1, période %2 jours</translation>
    </message>
    <message numerus="yes">
        <source>closest approach in %1 steps: expect the run to drift; a shorter plot interval follows the orbit more closely</source>
        <extracomment>Shown when the closest approach of the bodies takes fewer than 100 steps of the run; %1 is how many.</extracomment>
        <translation>
            <numerusform>passage au plus près en %1 pas&#xa0;: attendez-vous à une dérive&#xa0;; un intervalle de tracé plus court suit mieux l&apos;orbite</numerusform>
            <numerusform>passage au plus près en %1 pas&#xa0;: attendez-vous à une dérive&#xa0;; un intervalle de tracé plus court suit mieux l&apos;orbite</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SaveSettings</name>
    <message>
        <source>Saving Settings</source>
        <extracomment>The title of the label box and of the file dialog of File &gt; Save Settings.</extracomment>
        <translation>Enregistrement des paramètres</translation>
    </message>
    <message>
        <source>You may add the current settings information to an existing .tv0 file or name a new file.</source>
        <translation>Vous pouvez ajouter les paramètres actuels à un fichier .tv0 existant ou nommer un nouveau fichier.</translation>
    </message>
    <message>
        <source>But first, please enter a label describing this group of settings. Maximum 100 characters.</source>
        <translation>Mais d&apos;abord, saisissez un libellé décrivant ce groupe de paramètres. 100 caractères au maximum.</translation>
    </message>
    <message>
        <source>Nothing was saved: the settings file %1 is as it was.</source>
        <extracomment>After Cancel in the box that waited for another copy of the program to finish writing the file %1.</extracomment>
        <translation>Rien n&apos;a été enregistré&#xa0;: le fichier de paramètres %1 est inchangé.</translation>
    </message>
    <message>
        <source>The current state settings, labled %1, were saved to %2.</source>
        <extracomment>%1 is the label the settings were saved with, %2 the file. &quot;labled&quot; is the classic text&apos;s spelling; a translation spells its words as usual.</extracomment>
        <translation>Les paramètres de l&apos;état actuel, libellés %1, ont été enregistrés dans %2.</translation>
    </message>
</context>
<context>
    <name>SettingsFileFilter</name>
    <message>
        <source>Tulvane files (*.tv0 *.TV0)</source>
        <extracomment>The file dialogs&apos; filter for settings files: keep the patterns in brackets as they are.</extracomment>
        <translation>Fichiers Tulvane (*.tv0 *.TV0)</translation>
    </message>
</context>
<context>
    <name>SettingsViewer</name>
    <message>
        <source>The settings file %1 was changed by another program while it was shown here. To keep that change, nothing more was written to the file and it was not compacted: records already marked for deletion keep their marks. View the file again to see it as it is now.</source>
        <translation>Le fichier de paramètres %1 a été modifié par un autre programme pendant son affichage ici. Pour conserver cette modification, rien de plus n&apos;a été écrit dans le fichier et il n&apos;a pas été compacté&#xa0;: les enregistrements déjà marqués pour suppression gardent leur marque. Affichez de nouveau le fichier pour le voir tel qu&apos;il est maintenant.</translation>
    </message>
    <message>
        <source>Nothing was changed: the settings file %1 is as it was.</source>
        <extracomment>After Cancel in the box that waited for another copy of the program to finish writing the file %1.</extracomment>
        <translation>Rien n&apos;a été modifié&#xa0;: le fichier de paramètres %1 est inchangé.</translation>
    </message>
    <message>
        <source>Body A</source>
        <translation>Corps A</translation>
    </message>
    <message>
        <source>Body B</source>
        <translation>Corps B</translation>
    </message>
    <message>
        <source>X Position (m)</source>
        <extracomment>The rows of a body&apos;s values: its start position (X rightwards, Y downwards), mass, speed, the direction of its speed (azimuth, 0 is up) and its colour.</extracomment>
        <translation>Position X (m)</translation>
    </message>
    <message>
        <source>Y Position (m)</source>
        <translation>Position Y (m)</translation>
    </message>
    <message>
        <source>Mass (kg)</source>
        <translation>Masse (kg)</translation>
    </message>
    <message>
        <source>Speed (km/sec)</source>
        <translation>Vitesse (km/s)</translation>
    </message>
    <message>
        <source>Azimuth (deg)</source>
        <translation>Azimut (°)</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Couleur</translation>
    </message>
    <message>
        <source>Label</source>
        <comment>the record&apos;s label</comment>
        <extracomment>The rows of the values both bodies share. Action: whether the record is marked for deletion; Calcs per Interval: the integration steps between two plotted points; Scale Factor: metres per pixel.</extracomment>
        <translation>Libellé</translation>
    </message>
    <message>
        <source>Record Version</source>
        <translation>Version de l&apos;enregistrement</translation>
    </message>
    <message>
        <source>Action</source>
        <comment>deletion mark</comment>
        <translation>Action</translation>
    </message>
    <message>
        <source>When Saved</source>
        <translation>Date d&apos;enregistrement</translation>
    </message>
    <message>
        <source>Background Color</source>
        <translation>Couleur de fond</translation>
    </message>
    <message>
        <source>Plot Interval (sec)</source>
        <translation>Intervalle de tracé (s)</translation>
    </message>
    <message>
        <source>Calcs per Interval</source>
        <translation>Calculs par intervalle</translation>
    </message>
    <message>
        <source>Scale Factor (m/pix)</source>
        <translation>Facteur d&apos;échelle (m/px)</translation>
    </message>
    <message>
        <source>Body fields</source>
        <translation>Champs des corps</translation>
    </message>
    <message>
        <source>Body A values</source>
        <translation>Valeurs du corps A</translation>
    </message>
    <message>
        <source>Body B values</source>
        <translation>Valeurs du corps B</translation>
    </message>
    <message>
        <source>Common fields</source>
        <extracomment>The captions of the values both bodies share.</extracomment>
        <translation>Champs communs</translation>
    </message>
    <message>
        <source>Common values</source>
        <translation>Valeurs communes</translation>
    </message>
    <message>
        <source>Body A colour</source>
        <translation>Couleur du corps A</translation>
    </message>
    <message>
        <source>Body B colour</source>
        <translation>Couleur du corps B</translation>
    </message>
    <message>
        <source>Make Current</source>
        <extracomment>Makes the shown record the current settings.</extracomment>
        <translation>Rendre actuel</translation>
    </message>
    <message>
        <source>Delete</source>
        <comment>button</comment>
        <extracomment>Marks the shown record for deletion; Finished then removes it from the file.</extracomment>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Undelete</source>
        <translation>Restaurer</translation>
    </message>
    <message>
        <source>First</source>
        <comment>record</comment>
        <extracomment>Shows the file&apos;s first record.</extracomment>
        <translation>Premier</translation>
    </message>
    <message>
        <source>Last</source>
        <comment>record</comment>
        <translation>Dernier</translation>
    </message>
    <message>
        <source>Next</source>
        <comment>record</comment>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Previous</source>
        <comment>record</comment>
        <translation>Précédent</translation>
    </message>
    <message>
        <source>Record</source>
        <extracomment>The accessible name of the line &quot;Record 2 of 7&quot;.</extracomment>
        <translation>Enregistrement</translation>
    </message>
    <message>
        <source>File</source>
        <comment>settings file name</comment>
        <extracomment>The accessible name of the line that shows the settings file&apos;s name.</extracomment>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>Finished</source>
        <extracomment>Closes the viewer; records marked for deletion are then removed from the file.</extracomment>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>Current State Settings</source>
        <translation>Paramètres de l&apos;état actuel</translation>
    </message>
    <message>
        <source>Viewing Saved Settings</source>
        <extracomment>The title of the file dialog that chooses a settings file to view.</extracomment>
        <translation>Consultation des paramètres enregistrés</translation>
    </message>
    <message>
        <source>File %1 is empty.Would you like to add the current settings?</source>
        <extracomment>%1 is the file&apos;s name. The two sentences have no space between them in the English text.</extracomment>
        <translation>Le fichier %1 est vide. Voulez-vous ajouter les paramètres actuels&#xa0;?</translation>
    </message>
    <message>
        <source>Saved State Settings</source>
        <translation>Paramètres d&apos;état enregistrés</translation>
    </message>
    <message>
        <source>Not saved</source>
        <extracomment>When Saved, for a record that was never saved to a file (the current settings).</extracomment>
        <translation>Non enregistré</translation>
    </message>
    <message>
        <source>The saved state settings are now current.</source>
        <translation>Les paramètres d&apos;état enregistrés sont maintenant les paramètres actuels.</translation>
    </message>
    <message>
        <source>Record %1 of %2</source>
        <extracomment>The shown record&apos;s place in the file: &quot;Record 2 of 7&quot;.</extracomment>
        <translation>Enregistrement %1 sur %2</translation>
    </message>
    <message>
        <source>Body A %1: %2</source>
        <extracomment>What a screen reader says for a value of Body A: its row&apos;s caption (&quot;Mass (kg)&quot;), then the value.</extracomment>
        <translation>Corps A, %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Body B %1: %2</source>
        <extracomment>What a screen reader says for a value of Body B: its row&apos;s caption (&quot;Mass (kg)&quot;), then the value.</extracomment>
        <translation>Corps B, %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <comment>caption: value</comment>
        <extracomment>What a screen reader says for a value both bodies share: its row&apos;s caption, then the value.</extracomment>
        <translation>%1&#xa0;: %2</translation>
    </message>
    <message>
        <source>None</source>
        <comment>deletion mark</comment>
        <extracomment>The Action row of a record not marked for deletion.</extracomment>
        <translation>Aucune</translation>
    </message>
    <message>
        <source>Delete</source>
        <comment>deletion mark</comment>
        <extracomment>The Action row of a record marked for deletion.</extracomment>
        <translation>À supprimer</translation>
    </message>
    <message>
        <source>Record %1 of %2 is marked for deletion.</source>
        <extracomment>tulvane FILE.TV0 --record N, for a record marked for deletion: %1 is N, %2 the file.</extracomment>
        <translation>L&apos;enregistrement %1 sur %2 est marqué pour suppression.</translation>
    </message>
</context>
<context>
    <name>ViewOptions</name>
    <message>
        <source>it is not a regular file</source>
        <translation>ce n&apos;est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>it is larger than 64 KiB</source>
        <translation>il dépasse 64 Kio</translation>
    </message>
    <message>
        <source>tulvane: ignoring the view options in %1: %2</source>
        <extracomment>On the terminal, when the view options file is left alone; %1 is the file, %2 the reason.</extracomment>
        <translation>tulvane: options d&apos;affichage de %1 ignorées&#xa0;: %2</translation>
    </message>
</context>
</TS>

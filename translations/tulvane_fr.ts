<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>AccuracyLabWindow</name>
    <message>
        <source>Accuracy Lab</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Until day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The day every run is taken to; one period of a bound orbit unless you change it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run the sweep</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel the sweep</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sweep progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sweep status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The start has changed since this sweep: these results belong to the old start. Press Run to sweep the new one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stale results</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error against the step, log-log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sweep rows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plot interval</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Step (s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plot points</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error A (m)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error B (m)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Energy drift</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Angular momentum drift</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Steps across closest approach</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Observed order</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In fit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use this interval</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use the chosen row&apos;s plot interval</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sets the plot interval of the chosen row, as the Settings menu does (while Ready).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export the sweep as CSV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press Run to sweep the start over the plot intervals.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body A error (m)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body B error (m)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>|Energy drift|</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>80-bit floor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current plot interval</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not in fit (earlier day)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error (m)</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Sweeping %n plot interval(s) to day %1...</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Cancelled: the rows finished before are shown.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done. The error at day %1 falls with the step at order %2 (least squares).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done. Too few rows between the 80-bit floor and a lost orbit for an order.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yes, in the order</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error at day %1 against the step</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>: observed order %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Sweep</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV tables (*.csv *.CSV)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sweep could not be exported to %1: %2</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Try &apos;tulvane --help&apos; for more information.</source>
        <extracomment>Under a refused command line.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--record needs a record number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <extracomment>%1 is the option as given, &quot;--bogus&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the settings file&apos;s name is empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>only one settings file can be opened</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--record needs a settings file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--record needs a record number counted from 1, not &quot;%1&quot;</source>
        <extracomment>%1 is what followed --record, &quot;0&quot; or &quot;2x&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot open a display: set DISPLAY or WAYLAND_DISPLAY</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DataFolder</name>
    <message>
        <source>The data folder %1 cannot be used: %2. Settings files can be saved in any other folder; the file dialogs start in the home folder instead.</source>
        <extracomment>Shown once at start. %1 is the folder, %2 the system&apos;s reason (&quot;Read-only file system&quot;).</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DateTimeText</name>
    <message>
        <source>Invalid date</source>
        <extracomment>When Saved, for a record whose saving time is no date (a damaged record).</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DistanceInWords</name>
    <message>
        <source>%1 km</source>
        <extracomment>A distance on the plot, rounded to three digits: &quot;500 km&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 thousand km</source>
        <extracomment>A distance on the plot, rounded to three digits: &quot;48.3 thousand km&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 million km</source>
        <extracomment>A distance on the plot, rounded to three digits: &quot;312 million km&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 billion km</source>
        <extracomment>A distance on the plot: a thousand million km, &quot;1 billion km&quot; (German Milliarde, French milliard).</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 trillion km</source>
        <extracomment>A distance on the plot: a million million km, &quot;1 trillion km&quot; (German Billion, French billion).</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GraphsDock</name>
    <message>
        <source>Graphs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exact orbit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Relative speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Energy drift</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Separation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>m/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Energy drift since the start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>of |potential energy|</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cursor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> against time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>days</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Tulvane Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <extracomment>A tool tip: the button&apos;s name and its key, &quot;Back (Alt+Left)&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back</source>
        <comment>help page</comment>
        <extracomment>The help window&apos;s button: the page shown before.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forward</source>
        <comment>help page</comment>
        <extracomment>The help window&apos;s button: the page shown after, when Back was used.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contents</source>
        <comment>help page</comment>
        <extracomment>The help window&apos;s button: the contents page of the help.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InitialStateDialog</name>
    <message>
        <source>Initial State</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set State</source>
        <extracomment>The button that makes the bars&apos; values the body&apos;s start.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right click the main background to select a new position.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Position:</source>
        <extracomment>The body&apos;s start position on the plot, in metres.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mass:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Direction:</source>
        <extracomment>The direction of the body&apos;s start velocity, in degrees: 0 is up, 90 right.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body X</source>
        <extracomment>Stands in the body&apos;s name&apos;s place until a body is chosen (&quot;Body A&quot;); hardly ever seen.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sputnik 1</source>
        <extracomment>A body beside the mass and speed bars, at its mass or its speed, for comparison.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ISS</source>
        <extracomment>The International Space Station, beside the mass bar at its mass.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sinope</source>
        <extracomment>A small moon of Jupiter, beside the mass bar at its mass.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Moon</source>
        <extracomment>The Earth&apos;s moon, beside the mass bar at its mass.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Earth</source>
        <extracomment>The planet, beside the mass and speed bars at its mass or its orbital speed.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jupiter</source>
        <extracomment>The planet, beside the mass bar at its mass.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sun</source>
        <extracomment>The star, beside the mass and speed bars at its mass or its speed in the galaxy.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rigel</source>
        <extracomment>A giant star, beside the mass bar at its mass.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Typed Start Values</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Typed values</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start position u:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start position v:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Circular speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Escape speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body A mass</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body B mass</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body A speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body B speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body A direction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body B direction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body A start position u</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body B start position u</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body A start position v</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body B start position v</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A mass above 0, in kg, Msun or Mearth</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A speed of 0 or more, in km/s or m/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A direction of travel from 0 up to 360 degrees: 0 is up, 90 right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>How far right of the plot&apos;s left edge, in m, km or AU</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>How far down from the plot&apos;s top edge, in m, km or AU</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The mass must be more than 0 kg.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The speed must not be negative.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The direction must be at least 0 and less than 360 degrees.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mend the typed values first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Both masses must be more than 0 kg.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Both bodies start at the same place.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A position, mass, speed or direction is not a finite number.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed and direction for a circular orbit about the other body</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed and direction to just escape from the other body, on a parabola</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body B</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(%1,%2)</source>
        <comment>position</comment>
        <extracomment>A start position: (u,v) in metres, rightwards and downwards from the plot&apos;s top left corner. Where the decimal separator is a comma, another separator between the two may read better.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 kg</source>
        <extracomment>The mass bar&apos;s value, in kilograms.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 km/sec</source>
        <extracomment>The speed bar&apos;s value, in kilometres a second.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 deg</source>
        <extracomment>The direction bar&apos;s value, in degrees.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>JpegPicture</name>
    <message>
        <source>%1 × %2 pixels</source>
        <extracomment>A picture&apos;s size in pixels: width by height.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture needs more memory than the %1 MB allowed for decoding it; it is not shown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture would take too long to decode; it is not shown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture is built from too many scans (more than %1); it is not shown</source>
        <extracomment>A progressive JPEG file is sent in scans, each adding detail; %1 is the most that are decoded.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is not enough memory to decode the picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JPEG error #%1</source>
        <extracomment>%1 is the JPEG decoder&apos;s own message number (libjpeg&apos;s JERR_ codes).</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture is too large (%1); at most %2 megapixels are shown</source>
        <extracomment>%1 is the picture&apos;s size (&quot;65000 × 65000 pixels&quot;), %2 the most megapixels the program shows.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is not enough memory for the picture (%1)</source>
        <extracomment>%1 is the size the decoded picture would have (&quot;9000 × 6000 pixels&quot;).</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Tulvane simulates solutions for the two-body problem in classical mechanics using Newton&apos;s laws.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copyright 2026 The Tulvane developers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version %1    %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture is incomplete: the file ends before the end of the picture. The part that could be decoded is shown.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Classic</source>
        <extracomment>View &gt; Run Speed: one plot point every tenth of a second, as the classic program ran.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10×</source>
        <extracomment>View &gt; Run Speed: ten times the classic pace.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>100×</source>
        <extracomment>View &gt; Run Speed: a hundred times the classic pace.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fastest</source>
        <extracomment>View &gt; Run Speed: as fast as the computer goes.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ready</source>
        <comment>run state</comment>
        <extracomment>The run state on the control panel, above the Run button; also Running and Paused.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run</source>
        <comment>button</comment>
        <extracomment>The control panel&apos;s button that starts or continues the run.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause</source>
        <comment>button</comment>
        <extracomment>The control panel&apos;s button that holds the run still.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset</source>
        <comment>button</comment>
        <extracomment>The control panel&apos;s button that ends a paused run and clears the plot.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Elapsed days</source>
        <extracomment>The accessible name of the number of simulated days on the control panel.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run state</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <comment>tool tip</comment>
        <extracomment>A button&apos;s tool tip: what it does, then its key, &quot;Run (F5)&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open &amp;Example...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export &amp;Picture...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export &amp;Track...</source>
        <extracomment>Writes the run&apos;s plot points to a CSV file.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <extracomment>The menu of the run&apos;s settings: the bodies&apos; starts, colours, background and plot interval.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body A Initial State</source>
        <extracomment>Opens the Initial State dialog on Body A: its start position, mass, speed and direction.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body B Initial State</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body A Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body B Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Background Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use JPEG Background</source>
        <extracomment>Chooses a JPEG picture to stretch over the plot&apos;s background.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plot Interval</source>
        <extracomment>The simulated time between two plotted points.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Simulated time between plots</source>
        <extracomment>The Plot Interval menu&apos;s first line, a caption that cannot be chosen.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore Default Start</source>
        <extracomment>Puts back the built-in start of both bodies: positions, masses, speeds and directions.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo</source>
        <comment>settings change</comment>
        <extracomment>Settings &gt; Undo: takes back the last change of the settings.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo</source>
        <comment>settings change</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current Settings</source>
        <extracomment>Shows the current settings in the settings viewer.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saved Settings ( .TV0 File)</source>
        <extracomment>Browses the records of a settings file. The space before .TV0 is the classic text&apos;s.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>.TV0 files contain saved settings records.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orbit Readout</source>
        <extracomment>The window of the run&apos;s exact orbit and its energy and angular-momentum drift.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Accuracy Lab</source>
        <extracomment>The window that compares the runs at every plot interval with the exact orbit.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Graphs</source>
        <extracomment>The dock of graphs against time: separation, speed and energy drift.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exact Path</source>
        <extracomment>Draws the exact two-body orbit over the plot, dashed.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scale Bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off-screen Markers</source>
        <extracomment>Arrows at the plot&apos;s edge towards a body outside the view, with its distance.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Markers</source>
        <extracomment>Rings at the bodies&apos; start positions and arrows for their start velocities, to drag.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit Both Orbits</source>
        <extracomment>Zooms and centres the plot so that both orbits show whole.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <comment>help</comment>
        <extracomment>Help &gt; Contents: opens the help pages at their contents page.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run Speed</source>
        <extracomment>How fast a run is shown; only the pacing changes, never the points.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>days</source>
        <comment>elapsed time</comment>
        <extracomment>Under the number of simulated days on the control panel.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paused</source>
        <comment>run state</comment>
        <extracomment>The run state on the control panel while a run stands still.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Running</source>
        <comment>run state</comment>
        <extracomment>The run state on the control panel while a run goes on.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ends at the next Pause</source>
        <extracomment>Over the plot after Exit during a run: the program ends when the run next pauses.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selecting JPEG Background</source>
        <extracomment>The title of the file dialog of Settings &gt; Use JPEG Background.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JPEG Graphics (*.[jJ][pP][gG] *.[jJ][pP][eE][gG])</source>
        <extracomment>The file dialog&apos;s filter: keep the patterns in brackets as they are.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data directory: %1</source>
        <extracomment>Help &gt; About: the folder where the settings files are kept.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OpenExample</name>
    <message>
        <source>The examples file %1 cannot be read: %2</source>
        <extracomment>%1 is the examples file the program ships, %2 the system&apos;s reason.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The examples could not be copied to %1: %2</source>
        <extracomment>%1 is the user&apos;s copy of the examples in the data folder, %2 the system&apos;s reason.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OrbitReadoutDock</name>
    <message>
        <source>Orbit Readout</source>
        <extracomment>The title of the Orbit Readout&apos;s dock, the window beside the plot that View &gt; Orbit Readout opens.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OtherCopyWait</name>
    <message>
        <source>Waiting for another copy of Tulvane that is writing %1…</source>
        <extracomment>In a box with a Cancel button while another running copy of the program writes the settings file %1.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlotInterval</name>
    <message>
        <source>1 minute</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>100 seconds</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1000 seconds</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 hour</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10000 seconds</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 day</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10E5 seconds</source>
        <extracomment>Settings &gt; Plot Interval: 10E5 is the program&apos;s way of writing 10 to the power 5, a hundred thousand seconds. Keep the number as it is written.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 week</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10E6 seconds</source>
        <extracomment>Settings &gt; Plot Interval: 10E6 is 10 to the power 6, a million seconds. Keep the number as it is.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 month</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10E7 seconds</source>
        <extracomment>Settings &gt; Plot Interval: 10E7 is 10 to the power 7, ten million seconds. Keep the number as it is.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 year</source>
        <extracomment>Settings &gt; Plot Interval: the simulated time between two plotted points.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlotOverlay</name>
    <message>
        <source>%1 AU</source>
        <extracomment>The scale bar&apos;s length in astronomical units.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 px = %2 km/s</source>
        <extracomment>The start arrows&apos; scale: %1 pixels of arrow stand for a speed of %2 km/s.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlotSurface</name>
    <message>
        <source>Plot</source>
        <comment>the drawing area</comment>
        <extracomment>The accessible name of the plot, the area the bodies&apos; tracks are drawn on.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The bodies&apos; tracks. Arrow keys move a cursor; Enter re-centres on it while paused, Space picks it as a start position while the Initial State dialog is open.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SaveSettings</name>
    <message>
        <source>Saving Settings</source>
        <extracomment>The title of the label box and of the file dialog of File &gt; Save Settings.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You may add the current settings information to an existing .tv0 file or name a new file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>But first, please enter a label describing this group of settings. Maximum 100 characters.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing was saved: the settings file %1 is as it was.</source>
        <extracomment>After Cancel in the box that waited for another copy of the program to finish writing the file %1.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The current state settings, labled %1, were saved to %2.</source>
        <extracomment>%1 is the label the settings were saved with, %2 the file. &quot;labled&quot; is the classic text&apos;s spelling; a translation spells its words as usual.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsFileFilter</name>
    <message>
        <source>Tulvane files (*.tv0 *.TV0)</source>
        <extracomment>The file dialogs&apos; filter for settings files: keep the patterns in brackets as they are.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsViewer</name>
    <message>
        <source>The settings file %1 was changed by another program while it was shown here. To keep that change, nothing more was written to the file and it was not compacted: records already marked for deletion keep their marks. View the file again to see it as it is now.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing was changed: the settings file %1 is as it was.</source>
        <extracomment>After Cancel in the box that waited for another copy of the program to finish writing the file %1.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body B</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X Position (m)</source>
        <extracomment>The rows of a body&apos;s values: its start position (X rightwards, Y downwards), mass, speed, the direction of its speed (azimuth, 0 is up) and its colour.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y Position (m)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mass (kg)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed (km/sec)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Azimuth (deg)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Label</source>
        <comment>the record&apos;s label</comment>
        <extracomment>The rows of the values both bodies share. Action: whether the record is marked for deletion; Calcs per Interval: the integration steps between two plotted points; Scale Factor: metres per pixel.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Action</source>
        <comment>deletion mark</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When Saved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Background Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plot Interval (sec)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calcs per Interval</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scale Factor (m/pix)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body fields</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body A values</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body B values</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Common fields</source>
        <extracomment>The captions of the values both bodies share.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Common values</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body A colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body B colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make Current</source>
        <extracomment>Makes the shown record the current settings.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <comment>button</comment>
        <extracomment>Marks the shown record for deletion; Finished then removes it from the file.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undelete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>First</source>
        <comment>record</comment>
        <extracomment>Shows the file&apos;s first record.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last</source>
        <comment>record</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next</source>
        <comment>record</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous</source>
        <comment>record</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record</source>
        <extracomment>The accessible name of the line &quot;Record 2 of 7&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File</source>
        <comment>settings file name</comment>
        <extracomment>The accessible name of the line that shows the settings file&apos;s name.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finished</source>
        <extracomment>Closes the viewer; records marked for deletion are then removed from the file.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current State Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Viewing Saved Settings</source>
        <extracomment>The title of the file dialog that chooses a settings file to view.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File %1 is empty.Would you like to add the current settings?</source>
        <extracomment>%1 is the file&apos;s name. The two sentences have no space between them in the English text.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saved State Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not saved</source>
        <extracomment>When Saved, for a record that was never saved to a file (the current settings).</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The saved state settings are now current.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record %1 of %2</source>
        <extracomment>The shown record&apos;s place in the file: &quot;Record 2 of 7&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body A %1: %2</source>
        <extracomment>What a screen reader says for a value of Body A: its row&apos;s caption (&quot;Mass (kg)&quot;), then the value.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body B %1: %2</source>
        <extracomment>What a screen reader says for a value of Body B: its row&apos;s caption (&quot;Mass (kg)&quot;), then the value.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2</source>
        <comment>caption: value</comment>
        <extracomment>What a screen reader says for a value both bodies share: its row&apos;s caption, then the value.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <comment>deletion mark</comment>
        <extracomment>The Action row of a record not marked for deletion.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <comment>deletion mark</comment>
        <extracomment>The Action row of a record marked for deletion.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record %1 of %2 is marked for deletion.</source>
        <extracomment>tulvane FILE.TV0 --record N, for a record marked for deletion: %1 is N, %2 the file.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ViewOptions</name>
    <message>
        <source>it is not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is larger than 64 KiB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tulvane: ignoring the view options in %1: %2</source>
        <extracomment>On the terminal, when the view options file is left alone; %1 is the file, %2 the reason.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>

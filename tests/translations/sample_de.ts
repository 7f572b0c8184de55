<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Sample</name>
    <message>
        <source>Kept</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gone from the sources</source>
        <translation>Aus den Quellen verschwunden</translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>SCSizeChanger</name>
    <message>
        <source>pixels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pixel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Keep ratio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current ratio: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Width:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Height:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Run in fullscreen view mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>image files</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>

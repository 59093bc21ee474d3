<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AboutDialog</name>
    <message>
        <source>Version: %1 %2-%3</source>
        <translation>Version: %1 %2-%3</translation>
    </message>
    <message>
        <source>Qt Library Paths:</source>
        <translation>Qt-Bibliothekspfade:</translation>
    </message>
</context>
<context>
    <name>ColorListPicker2</name>
    <message>
        <source>Insert Color</source>
        <translation>Farbe einfügen</translation>
    </message>
    <message>
        <source>Delete Color</source>
        <translation>Farbe löschen</translation>
    </message>
    <message>
        <source>Click to add a color</source>
        <translation>Klicken, um eine Farbe hinzuzufügen</translation>
    </message>
    <message>
        <source>White-Range White</source>
        <translation>Weiß aus dem Weißbereich</translation>
    </message>
    <message>
        <source>Add a color</source>
        <translation>Farbe hinzufügen</translation>
    </message>
    <message>
        <source>Adds a copy of the last color.</source>
        <translation>Fügt eine Kopie der letzten Farbe hinzu.</translation>
    </message>
    <message>
        <source>Color %1 of %2</source>
        <translation>Farbe %1 von %2</translation>
    </message>
    <message>
        <source>Colors</source>
        <translation>Farben</translation>
    </message>
</context>
<context>
    <name>ColorUtils</name>
    <message>
        <source>Intensity</source>
        <translation>Intensität</translation>
    </message>
    <message>
        <source>Color Temperature</source>
        <translation>Farbtemperatur</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>RGB (sRGB)</source>
        <translation>RGB (sRGB)</translation>
    </message>
    <message>
        <source>RGB LED</source>
        <translation>RGB-LED</translation>
    </message>
    <message>
        <source>RGBW LED</source>
        <translation>RGBW-LED</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Weiß</translation>
    </message>
    <message>
        <source>RGBA LED</source>
        <translation>RGBA-LED</translation>
    </message>
    <message>
        <source>Amber</source>
        <translation>Amber</translation>
    </message>
    <message>
        <source>RGBAW LED</source>
        <translation>RGBAW-LED</translation>
    </message>
    <message>
        <source>RGBW LED (Warm White)</source>
        <translation>RGBW-LED (Warmweiß)</translation>
    </message>
    <message>
        <source>Warm White</source>
        <translation>Warmweiß</translation>
    </message>
    <message>
        <source>Dual White</source>
        <translation>Zweifach-Weiß</translation>
    </message>
    <message>
        <source>Cool White</source>
        <translation>Kaltweiß</translation>
    </message>
    <message>
        <source>Tunable White</source>
        <translation>Tunable White</translation>
    </message>
    <message>
        <source>Single Color Dimmer</source>
        <translation>Einfarbiger Dimmer</translation>
    </message>
    <message>
        <source>Wide Gamut RGB LED</source>
        <translation>RGB-LED mit großem Farbraum</translation>
    </message>
</context>
<context>
    <name>ConfigurationFileReader</name>
    <message>
        <source>could not be reached</source>
        <translation>war nicht erreichbar</translation>
    </message>
</context>
<context>
    <name>EffectPreviewWidget</name>
    <message>
        <source>Back to the start of the scene</source>
        <translation>Zurück zum Anfang der Szene</translation>
    </message>
    <message>
        <source>Restart</source>
        <translation>Neu starten</translation>
    </message>
    <message>
        <source>Time-lapse: how much faster than the wall the preview plays</source>
        <translation>Zeitraffer: um wie viel schneller als an der Wand die Vorschau abläuft</translation>
    </message>
    <message>
        <source>%1x</source>
        <translation>%1x</translation>
    </message>
    <message>
        <source>Scene %1: %2</source>
        <translation>Szene %1: %2</translation>
    </message>
    <message>
        <source>Time since the scene started</source>
        <translation>Zeit seit Beginn der Szene</translation>
    </message>
    <message>
        <source>Scene %1: no effect</source>
        <translation>Szene %1: kein Effekt</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
</context>
<context>
    <name>KeypadBackup</name>
    <message>
        <source>Cannot make the folder %1.</source>
        <translation>Der Ordner %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2.</source>
        <translation>%1 kann nicht geschrieben werden: %2.</translation>
    </message>
</context>
<context>
    <name>KeypadFailure</name>
    <message>
        <source>answered with HTTP status %1</source>
        <translation>antwortete mit HTTP-Status %1</translation>
    </message>
    <message>
        <source>answered with HTTP status %1 (%2)</source>
        <translation>antwortete mit HTTP-Status %1 (%2)</translation>
    </message>
    <message>
        <source>did not answer within %1 s</source>
        <translation>antwortete nicht innerhalb von %1 s</translation>
    </message>
    <message>
        <source>refused the connection</source>
        <translation>verweigerte die Verbindung</translation>
    </message>
    <message>
        <source>closed the connection without answering</source>
        <translation>schloss die Verbindung, ohne zu antworten</translation>
    </message>
    <message>
        <source>could not be reached</source>
        <translation>war nicht erreichbar</translation>
    </message>
    <message>
        <source>did not answer as expected (network error %1)</source>
        <translation>antwortete nicht wie erwartet (Netzwerkfehler %1)</translation>
    </message>
    <message>
        <source>sent a reply larger than any keypad sends, which was refused</source>
        <translation>sandte eine Antwort, größer als jedes Keypad sie sendet; sie wurde abgewiesen</translation>
    </message>
</context>
<context>
    <name>MSPComm</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Failed to bind to port 6041.  Close any application that may be using this port and restart this program.</source>
        <translation>Port 6041 konnte nicht belegt werden.  Schließen Sie alle Anwendungen, die diesen Port verwenden könnten, und starten Sie dieses Programm neu.</translation>
    </message>
    <message>
        <source>Failed to bind to port 6038.  Close any application that may be using this port.</source>
        <translation>Port 6038 konnte nicht belegt werden.  Schließen Sie alle Anwendungen, die diesen Port verwenden könnten.</translation>
    </message>
</context>
<context>
    <name>MSPControlPanel</name>
    <message>
        <source>Lumetto Keypad</source>
        <translation>Lumetto Keypad</translation>
    </message>
    <message>
        <source>The connection to an Lumetto Keypad has failed.  You may want to go to the Network tab to change the settings before attempting to reconnect or use one of the options below. </source>
        <translation>Die Verbindung zu einem Lumetto Keypad ist fehlgeschlagen.  Sie können auf der Registerkarte „Netzwerk“ die Einstellungen ändern, bevor Sie erneut eine Verbindung herstellen, oder eine der folgenden Möglichkeiten wählen. </translation>
    </message>
    <message>
        <source>Go to Offline Demo Mode</source>
        <translation>Offline-Demomodus starten</translation>
    </message>
    <message>
        <source>Retry Connection</source>
        <translation>Erneut verbinden</translation>
    </message>
    <message>
        <source>Scene %1 (%2)</source>
        <translation>Szene %1 (%2)</translation>
    </message>
    <message>
        <source>Brightness down</source>
        <translation>Dunkler</translation>
    </message>
    <message>
        <source>Dims the keypad&apos;s lights by one step.</source>
        <translation>Dimmt die Leuchten des Keypads um eine Stufe.</translation>
    </message>
    <message>
        <source>Brightness up</source>
        <translation>Heller</translation>
    </message>
    <message>
        <source>Brightens the keypad&apos;s lights by one step.</source>
        <translation>Macht die Leuchten des Keypads um eine Stufe heller.</translation>
    </message>
    <message>
        <source>On/Off</source>
        <translation>Ein/Aus</translation>
    </message>
    <message>
        <source>Switches the keypad&apos;s lights on or off.</source>
        <translation>Schaltet die Leuchten des Keypads ein oder aus.</translation>
    </message>
    <message>
        <source>Scene %1, playing</source>
        <translation>Szene %1, läuft</translation>
    </message>
    <message>
        <source>Scene %1</source>
        <translation>Szene %1</translation>
    </message>
    <message>
        <source>Plays this scene on the keypad: %1.</source>
        <translation>Spielt diese Szene auf dem Keypad ab: %1.</translation>
    </message>
    <message>
        <source>Plays this scene on the keypad.</source>
        <translation>Spielt diese Szene auf dem Keypad ab.</translation>
    </message>
    <message>
        <source>Its changes are not saved on the keypad.</source>
        <translation>Ihre Änderungen sind auf dem Keypad nicht gespeichert.</translation>
    </message>
</context>
<context>
    <name>MSPCustomWashWidget</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Speed:</source>
        <translation>Geschwindigkeit:</translation>
    </message>
    <message>
        <source>Width:</source>
        <translation>Breite:</translation>
    </message>
    <message>
        <source>Direction:</source>
        <translation>Richtung:</translation>
    </message>
    <message>
        <source>Left To Right</source>
        <translation>Von links nach rechts</translation>
    </message>
    <message>
        <source>Right To Left</source>
        <translation>Von rechts nach links</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
</context>
<context>
    <name>MSPDescription</name>
    <message>
        <source>on</source>
        <translation>ein</translation>
    </message>
    <message>
        <source>off</source>
        <translation>aus</translation>
    </message>
    <message>
        <source>%1 %</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>speed</source>
        <translation>Geschwindigkeit</translation>
    </message>
    <message>
        <source>direction</source>
        <translation>Richtung</translation>
    </message>
    <message>
        <source>right to left</source>
        <translation>von rechts nach links</translation>
    </message>
    <message>
        <source>left to right</source>
        <translation>von links nach rechts</translation>
    </message>
    <message>
        <source>width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>1 light</source>
        <translation>1 Leuchte</translation>
    </message>
    <message>
        <source>%1 lights</source>
        <translation>%1 Leuchten</translation>
    </message>
    <message>
        <source>lights</source>
        <translation>Leuchten</translation>
    </message>
    <message>
        <source>colours</source>
        <translation>Farben</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>temperature</source>
        <translation>Temperatur</translation>
    </message>
    <message>
        <source>0 warm, 255 cool</source>
        <translation>0 warm, 255 kalt</translation>
    </message>
    <message>
        <source>0 cool, 255 warm</source>
        <translation>0 kalt, 255 warm</translation>
    </message>
    <message>
        <source>intensity</source>
        <translation>Intensität</translation>
    </message>
    <message>
        <source>enabled</source>
        <translation>aktiviert</translation>
    </message>
    <message>
        <source>disabled</source>
        <translation>deaktiviert</translation>
    </message>
    <message>
        <source>no effect</source>
        <translation>kein Effekt</translation>
    </message>
    <message>
        <source>current scene: %1</source>
        <translation>aktuelle Szene: %1</translation>
    </message>
    <message>
        <source>scene %1: %2</source>
        <translation>Szene %1: %2</translation>
    </message>
    <message>
        <source>colour</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>fade</source>
        <translation>Überblenden</translation>
    </message>
    <message>
        <source>name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>universe</source>
        <translation>Universe</translation>
    </message>
    <message>
        <source>Vexil mode</source>
        <translation>Vexil-Modus</translation>
    </message>
    <message>
        <source>ports</source>
        <translation>Ports</translation>
    </message>
    <message>
        <source>lights per port</source>
        <translation>Leuchten je Port</translation>
    </message>
    <message>
        <source>fixture profile</source>
        <translation>Leuchtenprofil</translation>
    </message>
    <message>
        <source>brightness</source>
        <translation>Helligkeit</translation>
    </message>
    <message>
        <source>scene %1 button</source>
        <translation>Taste Szene %1</translation>
    </message>
    <message>
        <source>on/off button</source>
        <translation>Ein/Aus-Taste</translation>
    </message>
    <message>
        <source>up button</source>
        <translation>Taste Auf</translation>
    </message>
    <message>
        <source>down button</source>
        <translation>Taste Ab</translation>
    </message>
    <message>
        <source>version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>profile %1</source>
        <translation>Profil %1</translation>
    </message>
    <message>
        <source>%1 channels %2</source>
        <translation>%1 Kanäle %2</translation>
    </message>
</context>
<context>
    <name>MSPDocumentComparison</name>
    <message>
        <source>Current scene</source>
        <translation>Aktuelle Szene</translation>
    </message>
    <message>
        <source>Scene %1</source>
        <translation>Szene %1</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Konfiguration</translation>
    </message>
    <message>
        <source>%1 added</source>
        <translation>%1 hinzugefügt</translation>
    </message>
    <message>
        <source>%1 removed</source>
        <translation>%1 entfernt</translation>
    </message>
    <message>
        <source>current scene</source>
        <translation>aktuelle Szene</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>effect</source>
        <translation>Effekt</translation>
    </message>
    <message>
        <source>colour %1</source>
        <translation>Farbe %1</translation>
    </message>
</context>
<context>
    <name>MSPDocumentFile</name>
    <message>
        <source>it is a folder, not a file</source>
        <translation>es ist ein Ordner, keine Datei</translation>
    </message>
    <message>
        <source>it is a named pipe (FIFO), not a file</source>
        <translation>es ist eine benannte Pipe (FIFO), keine Datei</translation>
    </message>
    <message>
        <source>it is a device, not a file</source>
        <translation>es ist ein Gerät, keine Datei</translation>
    </message>
    <message>
        <source>it is a socket, not a file</source>
        <translation>es ist ein Socket, keine Datei</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>es ist keine reguläre Datei</translation>
    </message>
    <message>
        <source>the file is larger than %1 KiB, more than any configuration file</source>
        <translation>die Datei ist größer als %1 KiB, mehr als jede Konfigurationsdatei</translation>
    </message>
    <message>
        <source>the file changed while it was read; try again</source>
        <translation>die Datei hat sich beim Lesen geändert; versuchen Sie es erneut</translation>
    </message>
    <message>
        <source>the document declares the encoding &quot;%1&quot;, which this program does not know</source>
        <translation>das Dokument gibt die Kodierung „%1“ an, die dieses Programm nicht kennt</translation>
    </message>
    <message>
        <source>byte %1 is not UTF-8, the encoding of a document that declares none</source>
        <translation>Byte %1 ist kein UTF-8, die Kodierung eines Dokuments, das keine angibt</translation>
    </message>
    <message>
        <source>byte %1 is not valid %2, the encoding the document declares</source>
        <translation>Byte %1 ist kein gültiges %2, die Kodierung, die das Dokument angibt</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>die Datei ist leer</translation>
    </message>
    <message>
        <source>not a configuration document: its root element is &lt;%1&gt;, not &lt;v1&gt;</source>
        <translation>kein Konfigurationsdokument: sein Wurzelelement ist &lt;%1&gt;, nicht &lt;v1&gt;</translation>
    </message>
    <message>
        <source>the file holds no configuration document</source>
        <translation>die Datei enthält kein Konfigurationsdokument</translation>
    </message>
    <message>
        <source>the document ends early, with &lt;%1&gt; (line %2) still open</source>
        <translation>das Dokument endet vorzeitig, &lt;%1&gt; (Zeile %2) ist noch offen</translation>
    </message>
    <message>
        <source>not well-formed XML: %1</source>
        <translation>kein wohlgeformtes XML: %1</translation>
    </message>
    <message>
        <source>not a valid configuration document: %1</source>
        <translation>kein gültiges Konfigurationsdokument: %1</translation>
    </message>
</context>
<context>
    <name>MSPEffect</name>
    <message>
        <source>Fixed Color</source>
        <translation>Feste Farbe</translation>
    </message>
    <message>
        <source>Variable Color</source>
        <translation>Variable Farbe</translation>
    </message>
    <message>
        <source>Color Wash</source>
        <translation>Farbverlauf</translation>
    </message>
    <message>
        <source>Rainbow Wash</source>
        <translation>Regenbogenverlauf</translation>
    </message>
    <message>
        <source>Custom Wash</source>
        <translation>Eigener Verlauf</translation>
    </message>
    <message>
        <source>Random Color</source>
        <translation>Zufallsfarbe</translation>
    </message>
    <message>
        <source>RGB White</source>
        <translation>RGB-Weiß</translation>
    </message>
    <message>
        <source>Duo White</source>
        <translation>Duo-Weiß</translation>
    </message>
    <message>
        <source>undefined</source>
        <translation>undefiniert</translation>
    </message>
</context>
<context>
    <name>MSPFixedColorWidget</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
</context>
<context>
    <name>MSPRandomColorWidget</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Speed:</source>
        <translation>Geschwindigkeit:</translation>
    </message>
    <message>
        <source>Fade:</source>
        <translation>Überblenden:</translation>
    </message>
</context>
<context>
    <name>MSPSceneSettings</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Scene #</source>
        <translation>Szene Nr.</translation>
    </message>
    <message>
        <source>Effect:</source>
        <translation>Effekt:</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Effect</source>
        <translation>Effekt</translation>
    </message>
</context>
<context>
    <name>MSPSceneSettingsWidget</name>
    <message>
        <source>Scene: </source>
        <translation>Szene: </translation>
    </message>
</context>
<context>
    <name>MSPSpeedText</name>
    <message>
        <source>10 m</source>
        <translation>10 min</translation>
    </message>
    <message>
        <source>9 m</source>
        <translation>9 min</translation>
    </message>
    <message>
        <source>8 m</source>
        <translation>8 min</translation>
    </message>
    <message>
        <source>7 m</source>
        <translation>7 min</translation>
    </message>
    <message>
        <source>6 m</source>
        <translation>6 min</translation>
    </message>
    <message>
        <source>5 m</source>
        <translation>5 min</translation>
    </message>
    <message>
        <source>4 m</source>
        <translation>4 min</translation>
    </message>
    <message>
        <source>3 m</source>
        <translation>3 min</translation>
    </message>
    <message>
        <source>2 m</source>
        <translation>2 min</translation>
    </message>
    <message>
        <source>1.75 m</source>
        <translation>1,75 min</translation>
    </message>
    <message>
        <source>1.5 m</source>
        <translation>1,5 min</translation>
    </message>
    <message>
        <source>1.25 m</source>
        <translation>1,25 min</translation>
    </message>
    <message>
        <source>1 m</source>
        <translation>1 min</translation>
    </message>
    <message>
        <source>50 s</source>
        <translation>50 s</translation>
    </message>
    <message>
        <source>40 s</source>
        <translation>40 s</translation>
    </message>
    <message>
        <source>30 s</source>
        <translation>30 s</translation>
    </message>
    <message>
        <source>20 s</source>
        <translation>20 s</translation>
    </message>
    <message>
        <source>19 s</source>
        <translation>19 s</translation>
    </message>
    <message>
        <source>18 s</source>
        <translation>18 s</translation>
    </message>
    <message>
        <source>17 s</source>
        <translation>17 s</translation>
    </message>
    <message>
        <source>16 s</source>
        <translation>16 s</translation>
    </message>
    <message>
        <source>15 s</source>
        <translation>15 s</translation>
    </message>
    <message>
        <source>14 s</source>
        <translation>14 s</translation>
    </message>
    <message>
        <source>13 s</source>
        <translation>13 s</translation>
    </message>
    <message>
        <source>12 s</source>
        <translation>12 s</translation>
    </message>
    <message>
        <source>11 s</source>
        <translation>11 s</translation>
    </message>
    <message>
        <source>10 s</source>
        <translation>10 s</translation>
    </message>
    <message>
        <source>9 s</source>
        <translation>9 s</translation>
    </message>
    <message>
        <source>8 s</source>
        <translation>8 s</translation>
    </message>
    <message>
        <source>7 s</source>
        <translation>7 s</translation>
    </message>
    <message>
        <source>6 s</source>
        <translation>6 s</translation>
    </message>
    <message>
        <source>5 s</source>
        <translation>5 s</translation>
    </message>
    <message>
        <source>4 s</source>
        <translation>4 s</translation>
    </message>
    <message>
        <source>3 s</source>
        <translation>3 s</translation>
    </message>
    <message>
        <source>2 s</source>
        <translation>2 s</translation>
    </message>
    <message>
        <source>1 s</source>
        <translation>1 s</translation>
    </message>
</context>
<context>
    <name>MSPWhiteWidget</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Temperature:</source>
        <translation>Temperatur:</translation>
    </message>
    <message>
        <source>Intensity:</source>
        <translation>Intensität:</translation>
    </message>
    <message>
        <source>Cool</source>
        <translation>Kalt</translation>
    </message>
    <message>
        <source>Warm</source>
        <translation>Warm</translation>
    </message>
    <message>
        <source>Neutral</source>
        <translation>Neutral</translation>
    </message>
    <message>
        <source>Intensity</source>
        <translation>Intensität</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Lumetto Keypad Effect Manager</source>
        <translation>Lumetto Keypad Effect Manager</translation>
    </message>
    <message>
        <source>Control Panel</source>
        <translation>Bedienfeld</translation>
    </message>
    <message>
        <source>L&amp;oad Configuration File...</source>
        <translation>Konfigurationsdatei &amp;laden...</translation>
    </message>
    <message>
        <source>Load Configuration onto Lumetto Keypad</source>
        <translation>Konfiguration auf das Lumetto Keypad laden</translation>
    </message>
    <message>
        <source>&amp;Save Configuration File...</source>
        <translation>Konfigurationsdatei &amp;speichern...</translation>
    </message>
    <message>
        <source>Save Lumetto Keypad Configuration</source>
        <translation>Konfiguration des Lumetto Keypad speichern</translation>
    </message>
    <message>
        <source>Restore Factory Default Settings</source>
        <translation>Werkseinstellungen wiederherstellen</translation>
    </message>
    <message>
        <source>Restore Lumetto Keypad to its factory default settings</source>
        <translation>Das Lumetto Keypad auf seine Werkseinstellungen zurücksetzen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Quit the application</source>
        <translation>Die Anwendung beenden</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>Show the application&apos;s About box</source>
        <translation>Informationen über die Anwendung anzeigen</translation>
    </message>
    <message>
        <source>Help Contents</source>
        <translation>Handbuch</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>Update...</source>
        <translation>Aktualisierung...</translation>
    </message>
    <message>
        <source>Discover Device</source>
        <translation>Gerät suchen</translation>
    </message>
    <message>
        <source>Discover Lumetto Keypad devices</source>
        <translation>Lumetto-Keypad-Geräte suchen</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles auswählen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Device</source>
        <translation>&amp;Gerät</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Scene Settings</source>
        <translation>Szeneneinstellungen</translation>
    </message>
    <message>
        <source>System Configuration</source>
        <translation>Systemkonfiguration</translation>
    </message>
    <message>
        <source>Network</source>
        <translation>Netzwerk</translation>
    </message>
    <message>
        <source>Loading onto keypad: scene %1 of %2</source>
        <translation>Laden auf das Keypad: Szene %1 von %2</translation>
    </message>
    <message>
        <source>Loading onto keypad: configuration</source>
        <translation>Laden auf das Keypad: Konfiguration</translation>
    </message>
    <message>
        <source>Keypad Error</source>
        <translation>Keypad-Fehler</translation>
    </message>
    <message>
        <source>Open Configuration</source>
        <translation>Konfiguration öffnen</translation>
    </message>
    <message>
        <source>Configuration Files (*.xml)</source>
        <translation>Konfigurationsdateien (*.xml)</translation>
    </message>
    <message>
        <source>Open Error</source>
        <translation>Fehler beim Öffnen</translation>
    </message>
    <message>
        <source>Cannot open file %1:
%2.</source>
        <translation>Die Datei %1 kann nicht geöffnet werden:
%2.</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>Cannot read file %1:
%2</source>
        <translation>Die Datei %1 kann nicht gelesen werden:
%2</translation>
    </message>
    <message>
        <source>File %1 was only partly read.</source>
        <translation>Die Datei %1 wurde nur teilweise gelesen.</translation>
    </message>
    <message>
        <source>Loading onto keypad...</source>
        <translation>Laden auf das Keypad...</translation>
    </message>
    <message>
        <source>Loading onto Keypad Stopped</source>
        <translation>Laden auf das Keypad abgebrochen</translation>
    </message>
    <message>
        <source>Save Configuration</source>
        <translation>Konfiguration speichern</translation>
    </message>
    <message>
        <source>Save Error</source>
        <translation>Fehler beim Speichern</translation>
    </message>
    <message>
        <source>Cannot write file %1:
%2.</source>
        <translation>Die Datei %1 kann nicht geschrieben werden:
%2.</translation>
    </message>
    <message>
        <source>This will restore the Lumetto Keypad to its factory default settings.  Do you want to continue?

If the IP address has been changed, then you will need to rediscover the device.</source>
        <translation>Das Lumetto Keypad wird auf seine Werkseinstellungen zurückgesetzt.  Möchten Sie fortfahren?

Wenn die IP-Adresse geändert wurde, müssen Sie das Gerät danach erneut suchen.</translation>
    </message>
    <message>
        <source>file:///</source>
        <translation>file:///</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Failed to find help file at %1</source>
        <translation>Die Hilfedatei wurde unter %1 nicht gefunden</translation>
    </message>
    <message>
        <source>1 change has not reached the keypad yet.</source>
        <translation>1 Änderung hat das Keypad noch nicht erreicht.</translation>
    </message>
    <message>
        <source>%1 changes have not reached the keypad yet.</source>
        <translation>%1 Änderungen haben das Keypad noch nicht erreicht.</translation>
    </message>
    <message>
        <source>the waiting change</source>
        <translation>die wartende Änderung</translation>
    </message>
    <message>
        <source>the waiting changes</source>
        <translation>die wartenden Änderungen</translation>
    </message>
    <message>
        <source>Discard %1 and choose the other keypad?</source>
        <translation>%1 verwerfen und das andere Keypad wählen?</translation>
    </message>
    <message>
        <source>Discard %1 and go to the offline demo?</source>
        <translation>%1 verwerfen und zur Offline-Demo wechseln?</translation>
    </message>
    <message>
        <source>Discard %1 and quit?</source>
        <translation>%1 verwerfen und beenden?</translation>
    </message>
    <message>
        <source>Changes Not on the Keypad</source>
        <translation>Änderungen nicht auf dem Keypad</translation>
    </message>
    <message>
        <source>Keypad Backed Up</source>
        <translation>Keypad gesichert</translation>
    </message>
    <message>
        <source>What the keypad held before is saved in %1</source>
        <translation>Der bisherige Inhalt des Keypads ist gespeichert in %1</translation>
    </message>
    <message>
        <source>Send Configuration to Keypad</source>
        <translation>Konfiguration an das Keypad senden</translation>
    </message>
    <message>
        <source>Send %1 to keypad %2 (%3)?</source>
        <translation>%1 an das Keypad %2 (%3) senden?</translation>
    </message>
    <message>
        <source>All eight scenes and the configuration on the keypad are replaced, and its brightness is set to full.</source>
        <translation>Alle acht Szenen und die Konfiguration auf dem Keypad werden ersetzt, und seine Helligkeit wird auf voll gesetzt.</translation>
    </message>
    <message>
        <source>What changes cannot be listed: %1</source>
        <translation>Was sich ändert, lässt sich nicht auflisten: %1</translation>
    </message>
    <message>
        <source>Nothing else changes: the file holds what the keypad holds now.</source>
        <translation>Sonst ändert sich nichts: Die Datei enthält, was das Keypad jetzt enthält.</translation>
    </message>
    <message>
        <source>What changes:</source>
        <translation>Was sich ändert:</translation>
    </message>
    <message numerus="yes">
        <source>and %n more, listed in the details</source>
        <translation>
            <numerusform>und %n weitere, in den Details aufgeführt</numerusform>
            <numerusform>und %n weitere, in den Details aufgeführt</numerusform>
        </translation>
    </message>
    <message>
        <source>Send</source>
        <translation>Senden</translation>
    </message>
    <message>
        <source>Back up the keypad first</source>
        <translation>Vorher das Keypad sichern</translation>
    </message>
    <message>
        <source>Backup Failed</source>
        <translation>Sicherung fehlgeschlagen</translation>
    </message>
    <message>
        <source>The keypad could not be backed up, so nothing was sent to it.

%1</source>
        <translation>Das Keypad konnte nicht gesichert werden, deshalb wurde nichts an es gesendet.

%1</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>No program to show PDF files was found. The guide is at %1; open it with a PDF viewer once one is installed.</source>
        <translation>Es wurde kein Programm zum Anzeigen von PDF-Dateien gefunden. Die Anleitung liegt unter %1; öffnen Sie sie mit einem PDF-Betrachter, sobald einer installiert ist.</translation>
    </message>
    <message>
        <source>scene %1</source>
        <translation>Szene %1</translation>
    </message>
    <message>
        <source>scenes %1 and %2</source>
        <translation>Szenen %1 und %2</translation>
    </message>
    <message>
        <source>Save the changes to %1 on the keypad?</source>
        <translation>Die Änderungen an %1 auf dem Keypad speichern?</translation>
    </message>
    <message>
        <source>The keypad plays them now, but forgets them when it restarts.</source>
        <translation>Das Keypad spielt sie jetzt, vergisst sie aber beim Neustart.</translation>
    </message>
    <message>
        <source>The keypad plays these changes now, but forgets them when it restarts.</source>
        <translation>Das Keypad spielt diese Änderungen jetzt, vergisst sie aber beim Neustart.</translation>
    </message>
    <message>
        <source>Unsaved Scenes</source>
        <translation>Nicht gespeicherte Szenen</translation>
    </message>
    <message>
        <source>Replace File</source>
        <translation>Datei ersetzen</translation>
    </message>
    <message>
        <source>%1 already exists. Replace it?</source>
        <translation>%1 ist bereits vorhanden. Ersetzen?</translation>
    </message>
</context>
<context>
    <name>NetworkPrefs</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Use default network interface</source>
        <translation>Standard-Netzwerkschnittstelle verwenden</translation>
    </message>
    <message>
        <source>Use selected:</source>
        <translation>Ausgewählte verwenden:</translation>
    </message>
    <message>
        <source>Refresh list of interfaces.</source>
        <translation>Liste der Schnittstellen aktualisieren.</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP-Adresse</translation>
    </message>
    <message>
        <source>Broadcast Address</source>
        <translation>Broadcast-Adresse</translation>
    </message>
    <message>
        <source>no connection</source>
        <translation>keine Verbindung</translation>
    </message>
    <message>
        <source>Use default interface (</source>
        <translation>Standardschnittstelle verwenden (</translation>
    </message>
    <message>
        <source>Refresh list of interfaces</source>
        <translation>Liste der Schnittstellen aktualisieren</translation>
    </message>
    <message>
        <source>Network interfaces</source>
        <translation>Netzwerkschnittstellen</translation>
    </message>
</context>
<context>
    <name>PreviewDock</name>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
</context>
<context>
    <name>ReplySizeLimit</name>
    <message>
        <source>the keypad at %1 sent a reply larger than any keypad sends (more than %2 KiB); it was refused</source>
        <translation>das Keypad unter %1 sandte eine Antwort, größer als jedes Keypad sie sendet (mehr als %2 KiB); sie wurde abgewiesen</translation>
    </message>
</context>
<context>
    <name>RestoreSequence</name>
    <message>
        <source>scene %1 of %2 was being written</source>
        <translation>Szene %1 von %2 geschrieben wurde</translation>
    </message>
    <message>
        <source>scene %1 was being made the current scene</source>
        <translation>Szene %1 zur aktuellen Szene gemacht wurde</translation>
    </message>
    <message>
        <source>the configuration was being written</source>
        <translation>die Konfiguration geschrieben wurde</translation>
    </message>
    <message>
        <source>The keypad at %1 %2 while %3.</source>
        <translation>Das Keypad unter %1 %2, während %3.</translation>
    </message>
    <message>
        <source>the configuration</source>
        <translation>die Konfiguration</translation>
    </message>
    <message>
        <source>the current scene</source>
        <translation>die aktuelle Szene</translation>
    </message>
    <message>
        <source> were written</source>
        <translation> wurden geschrieben</translation>
    </message>
    <message>
        <source> was written</source>
        <translation> wurde geschrieben</translation>
    </message>
    <message>
        <source> were not written</source>
        <translation> wurden nicht geschrieben</translation>
    </message>
    <message>
        <source> was not written</source>
        <translation> wurde nicht geschrieben</translation>
    </message>
    <message>
        <source> were not</source>
        <translation> nicht</translation>
    </message>
    <message>
        <source> was not</source>
        <translation> nicht</translation>
    </message>
    <message>
        <source>the configuration was written only in part</source>
        <translation>die Konfiguration wurde nur teilweise geschrieben</translation>
    </message>
    <message>
        <source> and </source>
        <translation> und </translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>scene %1</source>
        <translation>Szene %1</translation>
    </message>
    <message>
        <source>scenes %1</source>
        <translation>Szenen %1</translation>
    </message>
</context>
<context>
    <name>RgbText</name>
    <message>
        <source>Type a color as #rrggbb, rrggbb or r, g, b.</source>
        <translation>Geben Sie eine Farbe als #rrggbb, rrggbb oder r, g, b ein.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a color: give red, green and blue, as in 255, 128, 0.</source>
        <translation>„%1“ ist keine Farbe: Geben Sie Rot, Grün und Blau an, etwa 255, 128, 0.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a whole number: red, green and blue go from 0 to 255.</source>
        <translation>„%1“ ist keine ganze Zahl: Rot, Grün und Blau reichen von 0 bis 255.</translation>
    </message>
    <message>
        <source>%1 is out of range: red, green and blue go from 0 to 255.</source>
        <translation>%1 liegt außerhalb des Bereichs: Rot, Grün und Blau reichen von 0 bis 255.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a color: use six hex digits as in #FF8000, or r, g, b.</source>
        <translation>„%1“ ist keine Farbe: Verwenden Sie sechs Hexadezimalziffern wie #FF8000 oder r, g, b.</translation>
    </message>
</context>
<context>
    <name>SplashScreen</name>
    <message>
        <source>Version %1 %2-%3</source>
        <translation>Version %1 %2-%3</translation>
    </message>
</context>
<context>
    <name>StartupFileOpener</name>
    <message>
        <source>Open Configuration</source>
        <translation>Konfiguration öffnen</translation>
    </message>
    <message>
        <source>No keypad was found. %1 will be opened as soon as a keypad is connected or the offline demo starts.</source>
        <translation>Es wurde kein Keypad gefunden. %1 wird geöffnet, sobald ein Keypad verbunden ist oder die Offline-Demo startet.</translation>
    </message>
</context>
<context>
    <name>Status</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
</context>
<context>
    <name>StatusWidget</name>
    <message>
        <source>Connection Status Unknown</source>
        <translation>Verbindungsstatus unbekannt</translation>
    </message>
    <message>
        <source>Discovering</source>
        <translation>Suche läuft</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Verbunden</translation>
    </message>
    <message>
        <source>Not Connected</source>
        <translation>Nicht verbunden</translation>
    </message>
    <message>
        <source>Device communication failure.  IP address may be invalid.</source>
        <translation>Kommunikationsfehler.  IP-Adresse evtl. ungültig.</translation>
    </message>
    <message>
        <source>1 change waiting for the keypad</source>
        <translation>1 Änderung wartet auf das Keypad</translation>
    </message>
    <message>
        <source>%1 changes waiting for the keypad</source>
        <translation>%1 Änderungen warten auf das Keypad</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Offline Demo Mode - Changes will not be saved.</source>
        <translation>Offline-Demo – Änderungen gehen verloren.</translation>
    </message>
</context>
<context>
    <name>SysConfig</name>
    <message>
        <source>Scene 1</source>
        <translation>Szene 1</translation>
    </message>
    <message>
        <source>Scene 2</source>
        <translation>Szene 2</translation>
    </message>
    <message>
        <source>Scene 3</source>
        <translation>Szene 3</translation>
    </message>
    <message>
        <source>Scene 4</source>
        <translation>Szene 4</translation>
    </message>
    <message>
        <source>Scene 5</source>
        <translation>Szene 5</translation>
    </message>
    <message>
        <source>Scene 6</source>
        <translation>Szene 6</translation>
    </message>
    <message>
        <source>Scene 7</source>
        <translation>Szene 7</translation>
    </message>
    <message>
        <source>Scene 8</source>
        <translation>Szene 8</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Ab</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Auf</translation>
    </message>
    <message>
        <source>On/Off</source>
        <translation>Ein/Aus</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Address:</source>
        <translation>Adresse:</translation>
    </message>
    <message>
        <source>Universe:</source>
        <translation>Universe:</translation>
    </message>
    <message>
        <source>Vexil Mode:</source>
        <translation>Vexil-Modus:</translation>
    </message>
    <message>
        <source>Lights per Port:</source>
        <translation>Leuchten je Port:</translation>
    </message>
    <message>
        <source>Number of Ports:</source>
        <translation>Anzahl der Ports:</translation>
    </message>
    <message>
        <source>Fixture:</source>
        <translation>Leuchtentyp:</translation>
    </message>
    <message>
        <source>Firmware Version:</source>
        <translation>Firmware-Version:</translation>
    </message>
    <message>
        <source>Enabled Buttons</source>
        <translation>Aktivierte Tasten</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Fixture</source>
        <translation>Leuchtentyp</translation>
    </message>
</context>
<context>
    <name>SystemConfiguration</name>
    <message>
        <source>Not Available</source>
        <translation>Nicht verfügbar</translation>
    </message>
</context>
<context>
    <name>SystemConfigurationCheck</name>
    <message>
        <source>The device&apos;s name cannot be longer than %1 characters.</source>
        <translation>Der Name des Geräts darf nicht länger als %1 Zeichen sein.</translation>
    </message>
    <message>
        <source>The device&apos;s name cannot contain &quot;&amp;&quot;, &quot;,&quot; or &apos;&quot;&apos;.</source>
        <translation>Der Name des Geräts darf weder „&amp;“ noch „,“ noch „&quot;“ enthalten.</translation>
    </message>
    <message>
        <source>The device&apos;s name cannot be empty.</source>
        <translation>Der Name des Geräts darf nicht leer sein.</translation>
    </message>
    <message>
        <source>At least one scene button must be enabled.</source>
        <translation>Mindestens eine Szenentaste muss aktiviert sein.</translation>
    </message>
    <message>
        <source>Changing the device&apos;s IP address to this value may prevent its light &lt;br&gt;settings from being available through this application.</source>
        <translation>Wenn Sie die IP-Adresse des Geräts auf diesen Wert ändern, sind seine Lichteinstellungen &lt;br&gt;über diese Anwendung möglicherweise nicht mehr erreichbar.</translation>
    </message>
</context>
<context>
    <name>UpdateChecker</name>
    <message>
        <source>Check For Updates</source>
        <translation>Nach Aktualisierungen suchen</translation>
    </message>
    <message>
        <source>No update server is configured, so this program cannot check for updates.</source>
        <translation>Es ist kein Aktualisierungsserver eingerichtet, daher kann dieses Programm nicht nach Aktualisierungen suchen.</translation>
    </message>
    <message>
        <source>Update Error</source>
        <translation>Aktualisierungsfehler</translation>
    </message>
    <message>
        <source>Unable to retrieve update file.</source>
        <translation>Die Aktualisierungsdatei konnte nicht abgerufen werden.</translation>
    </message>
    <message>
        <source>Update Available</source>
        <translation>Aktualisierung verfügbar</translation>
    </message>
    <message>
        <source>A newer version (%1) of this application is available.

Would you like to go to the download page?</source>
        <translation>Eine neuere Version (%1) dieser Anwendung ist verfügbar.

Möchten Sie die Download-Seite öffnen?</translation>
    </message>
    <message>
        <source>No Update Available</source>
        <translation>Keine Aktualisierung verfügbar</translation>
    </message>
    <message>
        <source>You have the latest version: v%1</source>
        <translation>Sie haben die neueste Version: v%1</translation>
    </message>
</context>
<context>
    <name>UpdateDialog</name>
    <message>
        <source>Check For Updates</source>
        <translation>Nach Aktualisierungen suchen</translation>
    </message>
    <message>
        <source>HTTP Proxy</source>
        <translation>HTTP-Proxy</translation>
    </message>
    <message>
        <source>Use a proxy to access the internet</source>
        <translation>Für den Internetzugang einen Proxy verwenden</translation>
    </message>
    <message>
        <source>HTTP Proxy:</source>
        <translation>HTTP-Proxy:</translation>
    </message>
    <message>
        <source>proxy.example.com</source>
        <translation>proxy.example.com</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Username:</source>
        <translation>Benutzername:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>Software Updates</source>
        <translation>Software-Aktualisierungen</translation>
    </message>
    <message>
        <source>Automatically check for updates</source>
        <translation>Automatisch nach Aktualisierungen suchen</translation>
    </message>
    <message>
        <source>Check every</source>
        <translation>Suchen alle</translation>
    </message>
    <message>
        <source>days</source>
        <translation>Tage</translation>
    </message>
    <message>
        <source>Check Now</source>
        <translation>Jetzt suchen</translation>
    </message>
    <message>
        <source>Last checked: never</source>
        <translation>Zuletzt gesucht: nie</translation>
    </message>
    <message>
        <source>Last checked: today</source>
        <translation>Zuletzt gesucht: heute</translation>
    </message>
    <message>
        <source>Last checked: 1 day ago</source>
        <translation>Zuletzt gesucht: vor 1 Tag</translation>
    </message>
    <message>
        <source>Last checked: %1 days ago</source>
        <translation>Zuletzt gesucht: vor %1 Tagen</translation>
    </message>
    <message>
        <source>Last checked today</source>
        <translation>Heute zuletzt gesucht</translation>
    </message>
</context>
<context>
    <name>ZelColorLibrary</name>
    <message>
        <source>%1 K %2</source>
        <translation>%1 K %2</translation>
    </message>
    <message>
        <source>/ center of ANSI bin</source>
        <translation>/ Mitte des ANSI-Bins</translation>
    </message>
    <message>
        <source>Rename Color Group</source>
        <translation>Farbgruppe umbenennen</translation>
    </message>
    <message>
        <source>A color group named &quot;%1&quot; already exists.</source>
        <translation>Eine Farbgruppe namens „%1“ gibt es bereits.</translation>
    </message>
    <message>
        <source>%1 (line %2)</source>
        <translation>%1 (Zeile %2)</translation>
    </message>
    <message>
        <source>The file declares a document type, which colour files never do.</source>
        <translation>Die Datei gibt einen Dokumenttyp an, was Farbdateien nie tun.</translation>
    </message>
    <message>
        <source>The file uses entities, which colour files never do.</source>
        <translation>Die Datei verwendet Entitäten, was Farbdateien nie tun.</translation>
    </message>
    <message>
        <source>The file is nested deeper than a colour file can be.</source>
        <translation>Die Datei ist tiefer verschachtelt, als eine Farbdatei sein kann.</translation>
    </message>
    <message>
        <source>This is not a colour file.</source>
        <translation>Dies ist keine Farbdatei.</translation>
    </message>
    <message>
        <source>The file was written by a newer version (format %1).</source>
        <translation>Die Datei wurde von einer neueren Version geschrieben (Format %1).</translation>
    </message>
    <message>
        <source>The file holds more than %1 colour groups.</source>
        <translation>Die Datei enthält mehr als %1 Farbgruppen.</translation>
    </message>
    <message>
        <source>A colour group has an unusable name.</source>
        <translation>Eine Farbgruppe hat einen unbrauchbaren Namen.</translation>
    </message>
    <message>
        <source>The file holds more than %1 colours.</source>
        <translation>Die Datei enthält mehr als %1 Farben.</translation>
    </message>
    <message>
        <source>A colour has an unusable attribute.</source>
        <translation>Eine Farbe hat ein unbrauchbares Attribut.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a colour value.</source>
        <translation>„%1“ ist kein Farbwert.</translation>
    </message>
    <message>
        <source>The file ends before the document does (truncated?).</source>
        <translation>Die Datei endet vor dem Dokument (abgeschnitten?).</translation>
    </message>
    <message>
        <source>The file is not readable XML: %1</source>
        <translation>Die Datei ist kein lesbares XML: %1</translation>
    </message>
    <message>
        <source>Import Color Group</source>
        <translation>Farbgruppe importieren</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; was not imported: %2
Nothing was changed.</source>
        <translation>Die Datei „%1“ wurde nicht importiert: %2
Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>The file is larger than a colour file can be (%1 MB).</source>
        <translation>Die Datei ist größer, als eine Farbdatei sein kann (%1 MB).</translation>
    </message>
    <message>
        <source>The file holds no colour groups.</source>
        <translation>Die Datei enthält keine Farbgruppen.</translation>
    </message>
    <message>
        <source>Imported Colors</source>
        <translation>Importierte Farben</translation>
    </message>
    <message>
        <source>The file is larger than a colour file can be.</source>
        <translation>Die Datei ist größer, als eine Farbdatei sein kann.</translation>
    </message>
    <message>
        <source>User Colors</source>
        <translation>Eigene Farben</translation>
    </message>
    <message>
        <source>Your saved colour groups could not be read: %1
The file was kept as &quot;%2&quot;; new groups are saved in a fresh file.</source>
        <translation>Ihre gespeicherten Farbgruppen konnten nicht gelesen werden: %1
Die Datei wurde als „%2“ aufbewahrt; neue Gruppen werden in einer neuen Datei gespeichert.</translation>
    </message>
    <message>
        <source>Your saved colour groups could not be read: %1
The file &quot;%2&quot; could not be moved aside, so changes to user groups are not saved in this session.</source>
        <translation>Ihre gespeicherten Farbgruppen konnten nicht gelesen werden: %1
Die Datei „%2“ konnte nicht beiseitegelegt werden, daher werden Änderungen an eigenen Gruppen in dieser Sitzung nicht gespeichert.</translation>
    </message>
    <message>
        <source>Color Library</source>
        <translation>Farbbibliothek</translation>
    </message>
    <message>
        <source>Your colour groups could not be saved: %1</source>
        <translation>Ihre Farbgruppen konnten nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Orange</source>
        <translation>Orange</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Gelb</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>Cyan</source>
        <translation>Cyan</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>Violet</source>
        <translation>Violett</translation>
    </message>
    <message>
        <source>Magenta</source>
        <translation>Magenta</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Weiß</translation>
    </message>
    <message>
        <source>Silver</source>
        <translation>Silber</translation>
    </message>
    <message>
        <source>Gray</source>
        <translation>Grau</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Schwarz</translation>
    </message>
    <message>
        <source>Candle</source>
        <translation>Kerzenlicht</translation>
    </message>
    <message>
        <source>Incandescent</source>
        <translation>Glühlampe</translation>
    </message>
    <message>
        <source>Afternoon Daylight</source>
        <translation>Nachmittagslicht</translation>
    </message>
    <message>
        <source>Noon Daylight</source>
        <translation>Mittagslicht</translation>
    </message>
    <message>
        <source>North Sky Daylight</source>
        <translation>Nordhimmel</translation>
    </message>
    <message>
        <source>Overcast Sky</source>
        <translation>Bedeckter Himmel</translation>
    </message>
    <message>
        <source>Spring White</source>
        <translation>Frühlingsweiß</translation>
    </message>
    <message>
        <source>Summer White</source>
        <translation>Sommerweiß</translation>
    </message>
    <message>
        <source>Fall White</source>
        <translation>Herbstweiß</translation>
    </message>
    <message>
        <source>Winter White</source>
        <translation>Winterweiß</translation>
    </message>
    <message>
        <source>Rose White</source>
        <translation>Rosenweiß</translation>
    </message>
    <message>
        <source>Violet White</source>
        <translation>Violettweiß</translation>
    </message>
</context>
<context>
    <name>ZelColorPickerLib::BlackBodyCurveWidget</name>
    <message>
        <source>@%1 K</source>
        <translation>@%1 K</translation>
    </message>
    <message>
        <source>%1 gamut</source>
        <translation>Farbraum %1</translation>
    </message>
    <message>
        <source>x: %1, y: %2</source>
        <translation>x: %1, y: %2</translation>
    </message>
    <message>
        <source>Outside White Range</source>
        <translation>Außerhalb des Weißbereichs</translation>
    </message>
    <message>
        <source>The fixture makes x: %1, y: %2</source>
        <translation>Die Leuchte erzeugt x: %1, y: %2</translation>
    </message>
    <message>
        <source>Outside Fixture Gamut</source>
        <translation>Außerhalb des Farbraums der Leuchte</translation>
    </message>
    <message>
        <source>Chromaticity diagram of the whites: the arrow keys move the point, Ctrl with R, G or B moves it toward red, green or blue.</source>
        <translation>Farbtafel der Weißtöne: Die Pfeiltasten verschieben den Punkt, Strg mit R, G oder B verschiebt ihn in Richtung Rot, Grün oder Blau.</translation>
    </message>
    <message>
        <source>White diagram: %1 K, tint %2</source>
        <translation>Weißdiagramm: %1 K, Tönung %2</translation>
    </message>
</context>
<context>
    <name>ZelColorPickerLib::ColorTempSliderWidget</name>
    <message>
        <source>CCT</source>
        <translation>CCT</translation>
    </message>
    <message>
        <source>Color Temperature</source>
        <translation>Farbtemperatur</translation>
    </message>
</context>
<context>
    <name>ZelColorPickerLib::ColorTextField</name>
    <message>
        <source>Type a color as #rrggbb, rrggbb or r, g, b and press Return</source>
        <translation>Farbe als #rrggbb, rrggbb oder r, g, b eingeben und die Eingabetaste drücken</translation>
    </message>
</context>
<context>
    <name>ZelColorPickerLib::ColorTintSliderWidget</name>
    <message>
        <source>Tint</source>
        <translation>Tönung</translation>
    </message>
</context>
<context>
    <name>ZelColorPickerLib::ColorTreeAndFilterWidget</name>
    <message>
        <source>Create New User Group</source>
        <translation>Neue eigene Gruppe anlegen</translation>
    </message>
    <message>
        <source>Create a new User Group.</source>
        <translation>Eine neue eigene Gruppe anlegen.</translation>
    </message>
    <message>
        <source>Import Group...</source>
        <translation>Gruppe importieren...</translation>
    </message>
    <message>
        <source>Import swatches from a file to a new User Group.</source>
        <translation>Farbfelder aus einer Datei in eine neue eigene Gruppe importieren.</translation>
    </message>
    <message>
        <source>Export Swatches...</source>
        <translation>Farbfelder exportieren...</translation>
    </message>
    <message>
        <source>Export selected swatches to a file.</source>
        <translation>Die ausgewählten Farbfelder in eine Datei exportieren.</translation>
    </message>
    <message>
        <source>Filter colors</source>
        <translation>Farben filtern</translation>
    </message>
    <message>
        <source>New Color Group</source>
        <translation>Neue Farbgruppe</translation>
    </message>
    <message>
        <source>Load Color Group From File</source>
        <translation>Farbgruppe aus Datei laden</translation>
    </message>
    <message>
        <source>Zel Color Files (*.zelcolors);;All Files (*.* *)</source>
        <translation>Zel-Farbdateien (*.zelcolors);;Alle Dateien (*.* *)</translation>
    </message>
    <message>
        <source>Color library</source>
        <translation>Farbbibliothek</translation>
    </message>
</context>
<context>
    <name>ZelColorPickerLib::ColorViewWidget</name>
    <message>
        <source>Add to </source>
        <translation>Hinzufügen zu </translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>No color</source>
        <translation>Keine Farbe</translation>
    </message>
</context>
<context>
    <name>ZelColorPickerLib::HsbSlidersWidget</name>
    <message>
        <source>H:</source>
        <translation>H:</translation>
    </message>
    <message>
        <source>S:</source>
        <translation>S:</translation>
    </message>
    <message>
        <source>V:</source>
        <translation>V:</translation>
    </message>
    <message>
        <source>Hue</source>
        <translation>Farbton</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Sättigung</translation>
    </message>
    <message>
        <source>Value/Brightness</source>
        <translation>Hellwert/Helligkeit</translation>
    </message>
</context>
<context>
    <name>ZelColorPickerLib::IntensitySliderWidget</name>
    <message>
        <source>Intensity:</source>
        <translation>Intensität:</translation>
    </message>
    <message>
        <source>Intensity</source>
        <translation>Intensität</translation>
    </message>
</context>
<context>
    <name>ZelColorPickerLib::NChannelPickerWidget</name>
    <message>
        <source>Profile:</source>
        <translation>Profil:</translation>
    </message>
</context>
<context>
    <name>ZelColorPickerLib::OpacitySliderWidget</name>
    <message>
        <source>Opacity:</source>
        <translation>Deckkraft:</translation>
    </message>
    <message>
        <source>Intensity:</source>
        <translation>Intensität:</translation>
    </message>
    <message>
        <source>Opacity</source>
        <translation>Deckkraft</translation>
    </message>
</context>
<context>
    <name>ZelColorPickerLib::RecentColorsWidget</name>
    <message>
        <source>Colors recently sent to the keypad</source>
        <translation>Zuletzt an das Keypad gesendete Farben</translation>
    </message>
    <message>
        <source>Recent</source>
        <translation>Zuletzt</translation>
    </message>
    <message>
        <source>%1 K, tint %2, intensity %3%</source>
        <translation>%1 K, Tönung %2, Intensität %3%</translation>
    </message>
    <message>
        <source>Channel color %1</source>
        <translation>Kanalfarbe %1</translation>
    </message>
    <message>
        <source>Clear Recent Colors</source>
        <translation>Zuletzt verwendete Farben löschen</translation>
    </message>
    <message>
        <source>Recent Colors</source>
        <translation>Zuletzt verwendete Farben</translation>
    </message>
    <message>
        <source>No colors yet</source>
        <translation>Noch keine Farben</translation>
    </message>
    <message>
        <source>%1 of %2: %3</source>
        <translation>%1 von %2: %3</translation>
    </message>
</context>
<context>
    <name>ZelColorPickerLib::RgbPickerWidget</name>
    <message>
        <source>Hue and Saturation</source>
        <translation>Farbton und Sättigung</translation>
    </message>
    <message>
        <source>Tints and Shades</source>
        <translation>Aufhellungen und Abdunklungen</translation>
    </message>
    <message>
        <source>Neighbouring Colors</source>
        <translation>Benachbarte Farben</translation>
    </message>
    <message>
        <source>Color:</source>
        <translation>Farbe:</translation>
    </message>
    <message>
        <source>Hue from left to right, saturation from bottom to top; the arrow keys move the marker.</source>
        <translation>Farbton von links nach rechts, Sättigung von unten nach oben; die Pfeiltasten verschieben die Markierung.</translation>
    </message>
    <message>
        <source>Brightness from left to right, saturation from bottom to top; the arrow keys move the marker.</source>
        <translation>Helligkeit von links nach rechts, Sättigung von unten nach oben; die Pfeiltasten verschieben die Markierung.</translation>
    </message>
    <message>
        <source>Colors around the chosen one; the arrow keys move to a neighbour.</source>
        <translation>Farben rund um die gewählte; die Pfeiltasten wechseln zu einer Nachbarfarbe.</translation>
    </message>
</context>
<context>
    <name>ZelColorPickerLib::RgbSlidersWidget</name>
    <message>
        <source>R:</source>
        <translation>R:</translation>
    </message>
    <message>
        <source>G:</source>
        <translation>G:</translation>
    </message>
    <message>
        <source>B:</source>
        <translation>B:</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Blau</translation>
    </message>
</context>
<context>
    <name>ZelColorPickerLib::ZelColorLibraryTreeView</name>
    <message>
        <source>Color</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Export...</source>
        <translation>Exportieren...</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message numerus="yes">
        <source>Delete the group &quot;%1&quot; and its %n color(s)?</source>
        <translation>
            <numerusform>Die Gruppe „%1“ und ihre %n Farbe löschen?</numerusform>
            <numerusform>Die Gruppe „%1“ und ihre %n Farben löschen?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Delete %1 groups and their %n color(s)?</source>
        <translation>
            <numerusform>%1 Gruppen und ihre %n Farbe löschen?</numerusform>
            <numerusform>%1 Gruppen und ihre %n Farben löschen?</numerusform>
        </translation>
    </message>
    <message>
        <source>Delete Color Group</source>
        <translation>Farbgruppe löschen</translation>
    </message>
    <message>
        <source>Export Colors to a File</source>
        <translation>Farben in eine Datei exportieren</translation>
    </message>
    <message>
        <source>The colors could not be saved to &quot;%1&quot;: %2</source>
        <translation>Die Farben konnten nicht in „%1“ gespeichert werden: %2</translation>
    </message>
    <message>
        <source>Zel Color Files (*.zelcolors);;All Files (*.* *)</source>
        <translation>Zel-Farbdateien (*.zelcolors);;Alle Dateien (*.* *)</translation>
    </message>
</context>
<context>
    <name>ZelColorPickerLib::ZelColorPicker</name>
    <message>
        <source>Migrated Favorites</source>
        <translation>Übernommene Favoriten</translation>
    </message>
</context>
<context>
    <name>ZelColorPickerLib::ZelColorPickerButtonsWidget</name>
    <message>
        <source>Display RGB Range</source>
        <translation>RGB-Bereich anzeigen</translation>
    </message>
    <message>
        <source>Display White Range</source>
        <translation>Weißbereich anzeigen</translation>
    </message>
    <message>
        <source>Display Channel Control</source>
        <translation>Kanalsteuerung anzeigen</translation>
    </message>
    <message>
        <source>Add to User Group</source>
        <translation>Zu eigener Gruppe hinzufügen</translation>
    </message>
    <message>
        <source>Favorites</source>
        <translation>Favoriten</translation>
    </message>
    <message>
        <source>New Color Group</source>
        <translation>Neue Farbgruppe</translation>
    </message>
</context>
<context>
    <name>ZelColorPickerLib::ZelColorPickerWidget</name>
    <message>
        <source>Current Color</source>
        <translation>Aktuelle Farbe</translation>
    </message>
    <message>
        <source>Comparison Color %1 (Ctrl+%1)</source>
        <translation>Vergleichsfarbe %1 (Strg+%1)</translation>
    </message>
    <message>
        <source>Comparison Color %1</source>
        <translation>Vergleichsfarbe %1</translation>
    </message>
</context>
<context>
    <name>ZelColorPickerLib::ZoomControlWidget</name>
    <message>
        <source>Zoom In</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Zoom Level</source>
        <translation>Zoomstufe</translation>
    </message>
</context>
<context>
    <name>ZelWidgetsLib::FilterBox</name>
    <message>
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
</context>
<context>
    <name>ZelWidgetsLib::LineEditClearButton</name>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
</context>
<context>
    <name>chooser</name>
    <message>
        <source>Choose an Lumetto Keypad</source>
        <translation>Lumetto Keypad auswählen</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Write debug messages to standard error.</source>
        <translation>Debug-Meldungen auf die Standardfehlerausgabe schreiben.</translation>
    </message>
    <message>
        <source>Lumetto Keypad Effect Manager: finds Lumetto wall keypads on the local network and edits their scenes and settings.</source>
        <translation>Lumetto Keypad Effect Manager: findet Lumetto-Wandkeypads im lokalen Netzwerk und bearbeitet ihre Szenen und Einstellungen.</translation>
    </message>
    <message>
        <source>Configuration file to load, as File &gt; Load Configuration File... does, once a keypad is connected or the offline demo starts.</source>
        <translation>Zu ladende Konfigurationsdatei, wie mit Datei &gt; Konfigurationsdatei laden..., sobald ein Keypad verbunden ist oder die Offline-Demo startet.</translation>
    </message>
</context>
</TS>

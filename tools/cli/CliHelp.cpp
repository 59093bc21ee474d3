#include "CliHelp.h"

#include "ConfigurationAssignments.h"

#include <QStringList>

namespace {

// In the usual form ("Usage:", then "or:" lines), which the manual page is made from.
const char Usage[] =
    "Usage: lumetto-keypad-cli discover [--timeout MS] [--json]\n"
    "  or:  lumetto-keypad-cli backup ADDRESS FILE\n"
    "  or:  lumetto-keypad-cli backup --all DIR [--timeout MS]\n"
    "  or:  lumetto-keypad-cli restore FILE ADDRESS [ADDRESS...] [--dry-run] [--keep-name]\n"
    "  or:  lumetto-keypad-cli diff A B [--json]\n"
    "  or:  lumetto-keypad-cli set ADDRESS FIELD=VALUE...\n"
    "  or:  lumetto-keypad-cli press ADDRESS scene N | up | down | onoff\n"
    "  or:  lumetto-keypad-cli show FILE [--json]\n"
    "  or:  lumetto-keypad-cli render FILE --scene N --at SECONDS [--lights K]\n"
    "  or:  lumetto-keypad-cli COMMAND --help\n"
    "  or:  lumetto-keypad-cli --help | --version\n"
    "\n"
    "Exit status: 0 success, 1 usage, 2 address, 3 keypad, 4 file, 5 different (diff, restore --dry-run).\n"
    "LUMETTO_CLI_VERBOSE=1 shows the communication log on stderr.\n";

const char ExitStatusHeading[] = "\nExit status:\n";
const char UsageStatus[] = "  1  the command line is not understood\n";
const char AddressStatus[] = "  2  an ADDRESS is not an IPv4 address on a local subnet\n";
const char FileStatus[] = "  4  a file cannot be read, is not a configuration file, or cannot be written\n";

const char Discover[] = "Usage: lumetto-keypad-cli discover [--timeout MS] [--json]\n"
                        "\n"
                        "Lists the keypads that answer a discovery request within MS milliseconds (500 by\n"
                        "default), one a line: name, address and hardware address, separated by tabs. With --json,\n"
                        "one JSON array instead, an object per keypad with its name, address, mac, firmware,\n"
                        "hardware, product, serialNumber and universe.\n"
                        "\n"
                        "Example:\n"
                        "  lumetto-keypad-cli discover --timeout 2000 --json\n";

const char Backup[] = "Usage: lumetto-keypad-cli backup ADDRESS FILE\n"
                      "  or:  lumetto-keypad-cli backup --all DIR [--timeout MS]\n"
                      "\n"
                      "Saves everything a keypad holds (its eight scenes, the active scene and its configuration)\n"
                      "in FILE, byte for byte as the editor's Save writes it. A file is written whole or not at\n"
                      "all. The keypad is only read: a scene it plays but has not saved is backed up as it plays\n"
                      "and stays as it is.\n"
                      "\n"
                      "With --all, finds the keypads that answer within MS milliseconds (500 by default) and saves\n"
                      "each in DIR (made if missing) as NAME_HARDWAREADDRESS.xml, the name in characters every\n"
                      "file system takes. One line per keypad on standard output, separated by tabs: \"saved\",\n"
                      "address, name and file, or \"failed\", address, name and why.\n"
                      "\n"
                      "Examples:\n"
                      "  lumetto-keypad-cli backup 192.168.1.40 lobby.xml\n"
                      "  lumetto-keypad-cli backup --all backups/before-the-change\n";

const char BackupSaved[] = "  0  every keypad was saved\n";
const char BackupFailed[] = "  3  a keypad did not answer, or none answered; with --all the others are still saved\n";

const char Restore[] = "Usage: lumetto-keypad-cli restore FILE ADDRESS [ADDRESS...] [--dry-run] [--keep-name]\n"
                       "\n"
                       "Writes FILE onto each keypad in turn, as the editor's Open does while connected: every\n"
                       "scene, then the file's active scene, then the configuration (at full brightness). Each\n"
                       "keypad keeps its address. FILE is checked whole before anything reaches a keypad, and every\n"
                       "ADDRESS before the first keypad is written. A step the keypad does not answer is tried\n"
                       "three times, 5 s apart; a keypad that stays silent is given up, and its line says which\n"
                       "scenes were written and which were not.\n"
                       "\n"
                       "  --keep-name  each keypad keeps its own name; all else comes from FILE\n"
                       "  --dry-run    reads each keypad and prints what the restore would change, sending\n"
                       "               nothing that changes a keypad\n"
                       "\n"
                       "One line per keypad on standard output, separated by tabs: \"restored\", address, the\n"
                       "keypad's name and the number of requests, or \"failed\", address, name and why. A dry run\n"
                       "prints \"same\" or \"differs\", followed by one indented line per difference.\n"
                       "\n"
                       "Example:\n"
                       "  lumetto-keypad-cli restore --keep-name tested.xml 192.168.1.41 192.168.1.42\n";

const char RestoreDone[] = "  0  every keypad was restored (with --dry-run: already holds FILE)\n";
const char RestoreFailed[] = "  3  a keypad did not answer or refused; the others are still restored\n";
const char RestoreDiffers[] = "  5  with --dry-run: the restore would change a keypad\n";

const char Diff[] = "Usage: lumetto-keypad-cli diff A B [--json]\n"
                    "\n"
                    "Prints what differs between A and B, each a configuration file or a keypad's address (a\n"
                    "file named like an address is written ./10.0.0.5): the active scene, each scene's effect,\n"
                    "its parameters with their units and its colours, and each configuration field, one line\n"
                    "each. Nothing is printed when they are the same. Keypads are only read. With --json, one\n"
                    "JSON object: {\"identical\": true|false, \"differences\": [...]}.\n"
                    "\n"
                    "Example:\n"
                    "  lumetto-keypad-cli diff tested.xml 192.168.1.41\n";

const char DiffSame[] = "  0  A and B are the same\n";
const char DiffFailed[] = "  3  a keypad did not answer\n";
const char DiffDiffers[] = "  5  A and B differ\n";

const char Set[] = "Usage: lumetto-keypad-cli set ADDRESS FIELD=VALUE...\n"
                   "\n"
                   "Changes configuration fields of the keypad at ADDRESS, checked as the editor's System\n"
                   "Configuration form checks them, and sends the configuration as its Save does. Nothing is\n"
                   "sent when a value is refused, or when the keypad already has every value. The address is\n"
                   "changed in the editor only, which waits for the keypad and finds it again. Prints one line\n"
                   "on standard output, separated by tabs: \"set\" (or \"same\"), address, name, and what changed.\n"
                   "\n"
                   "Fields:\n";

const char SetExample[] = "\n"
                          "Example:\n"
                          "  lumetto-keypad-cli set 192.168.1.41 universe=3 lights=150 profile=\"RGBW LED\" up=off\n";

const char SetRefused[] = "     or a FIELD=VALUE is refused, or the keypad's configuration with it would be (no scene\n"
                          "     button enabled, a name the keypad cannot take, button switches on firmware\n"
                          "     without them); nothing is sent\n";
const char SetFailed[] = "  3  the keypad did not answer, or did not take a value\n";

const char Press[] = "Usage: lumetto-keypad-cli press ADDRESS scene N | up | down | onoff\n"
                     "\n"
                     "Does what the key of the editor's control panel does: scene N (1 to 8) makes that scene the\n"
                     "active one; up and down move the brightness (at full or no brightness they send nothing,\n"
                     "except in a Variable Color scene); onoff switches the lights off or on. A button disabled on\n"
                     "the keypad cannot be pressed. Prints the active scene or the brightness afterwards.\n"
                     "\n"
                     "Example:\n"
                     "  lumetto-keypad-cli press 192.168.1.41 scene 3\n";

const char PressStatus[] =
    "  3  the keypad did not answer, the button is disabled, or the scene did not become active\n";

const char Show[] = "Usage: lumetto-keypad-cli show FILE [--json]\n"
                    "\n"
                    "Prints what a configuration file holds: the active scene, each scene's effect with its\n"
                    "parameters in words and units, and the configuration. With --json, the same as one JSON\n"
                    "object.\n"
                    "\n"
                    "Example:\n"
                    "  lumetto-keypad-cli show lobby.xml --json\n";

const char Render[] = "Usage: lumetto-keypad-cli render FILE --scene N --at SECONDS [--lights K]\n"
                      "\n"
                      "Prints what the lights show for scene N (1 to 8) of a configuration file, SECONDS after\n"
                      "the scene started: one line per light, \"PORT LIGHT #rrggbb\", ports and lights counted\n"
                      "from 1, the colour as a screen shows it. --lights K plays K lights per port instead of\n"
                      "the file's number.\n"
                      "\n"
                      "Example:\n"
                      "  lumetto-keypad-cli render lobby.xml --scene 7 --at 12.5\n";

const char SuccessStatus[] = "  0  success\n";

QString page(const QString& body, std::initializer_list<const char*> statuses) {
    QString text = body + QLatin1String(ExitStatusHeading);
    for (const char* status : statuses)
        text += QLatin1String(status);
    return text;
}

} // namespace

QString CliHelp::usage() {
    return QString::fromUtf8(Usage);
}

QString CliHelp::command(const QString& name) {
    if (name == QLatin1String("discover"))
        return page(Discover, {SuccessStatus, UsageStatus, "  3  no keypad answered\n"});
    if (name == QLatin1String("backup"))
        return page(Backup, {BackupSaved, UsageStatus, AddressStatus, BackupFailed, FileStatus});
    if (name == QLatin1String("restore"))
        return page(Restore, {RestoreDone, UsageStatus, AddressStatus, RestoreFailed, FileStatus, RestoreDiffers});
    if (name == QLatin1String("diff"))
        return page(Diff, {DiffSame, UsageStatus, AddressStatus, DiffFailed, FileStatus, DiffDiffers});
    if (name == QLatin1String("set")) {
        const QString fields = ConfigurationAssignments::fieldHelp().join(QLatin1Char('\n')) + QLatin1Char('\n');
        return page(QLatin1String(Set) + fields + QLatin1String(SetExample),
                    {SuccessStatus, UsageStatus, SetRefused, AddressStatus, SetFailed});
    }
    if (name == QLatin1String("press"))
        return page(Press, {SuccessStatus, UsageStatus, AddressStatus, PressStatus});
    if (name == QLatin1String("show"))
        return page(Show, {SuccessStatus, UsageStatus, FileStatus});
    if (name == QLatin1String("render"))
        return page(Render, {SuccessStatus, UsageStatus, FileStatus});
    return QString();
}

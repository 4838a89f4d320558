#include <string>

#include "cli/commands.h"

namespace {

const char kToolHelp[] = R"(Usage: qelvarctl [OPTION]... COMMAND [ARGUMENT]...
Control a Qelvar video matrix switcher from the command line.

Options:
  --port PORT     the serial device, or a serial device server as tcp://HOST:PORT
                  (raw TCP) or rfc2217://HOST:PORT (Telnet with the COM port
                  option) (default: the profile's port, as the program uses it)
  --wait SECONDS  wait up to this long for an absent port to appear, or for a
                  server to answer (default: give up at once)
  --rs232         RS-232C framing: lines go out as they are
  --rs485 NN      RS-485 framing, to the switcher with slave address NN (00..31)
                  (default: the profile's interface; RS-485 then uses address 00)
  --model 32|64   the switcher's input count (default: the profile's; a command
                  that loads a settings file takes the file's unless this is given)
  --profile INI   the profile to read (default: $QELVAR_PROFILE, else
                  $XDG_CONFIG_HOME/Qelvar/Qelvar.ini or ~/.config/Qelvar/Qelvar.ini)
  --verbose       log every line sent and received, with a time stamp, on stderr
  --progress-lines  show a run's progress as a line "progress K/N" on stderr
                  at each step (K = 0 as a run begins), for a program to read
  --help          print this help, or after a command that command's help
  --version       print the version

Commands:
  send FILE.dat   send every table of a settings file (all-items transmission)
  read OUT.dat    read every table back from the switcher into a settings file
  diff FILE.dat   compare what the switcher holds with a settings file
  line TEXT       send one command line and print the reply
  clock           set the switcher's clock (the PC's local time by default)
  address NN      give the switcher a new slave address
  scan            list the switchers that answer on the line, with their models
  ports           list the serial devices present and the profile's COM1..COM6
  sim             run a virtual switcher on a new pseudo-terminal
  serve           serve the switcher to panels and control systems in the
                  Videohub Ethernet protocol (TCP 9990)
  fleet           check, send, compare or back up every switcher of an
                  inventory, the serial lines side by side, with one report
  titles          write a settings file's channel titles to a spreadsheet
                  (CSV), or take them from one

'qelvarctl COMMAND --help' explains a command.

A port lost while a command runs (a USB adapter pulled out, a server gone)
ends it with status 4 and a message that names the port and the step.

Exit status: 0 done; 1 usage error; 2 a file or the port cannot be opened;
3 the switcher answered with an error; 4 a reply is missing or the port was
lost; 5 a completed send left out refused items, or titles refused rows; 6 the
switcher does not hold the file's settings (diff, send --verify). 'fleet'
gives the highest status of its switchers' commands.
)";

const char kSendHelp[] =
    R"(usage: qelvarctl send FILE.dat [--interval MS] [--pace ack|timer] [--dry-run | --verify]
                           [--no-model-check]

Loads FILE.dat and sends every table: auto-sequence patterns 01..64 (AST),
memories 01..64 (TP), the display switches (CTI, CTO, CPI, TSI, TSO) and the
title of every input channel in use (CA), one line per interval.

  --interval MS   time between lines (default 300)
  --pace ack      send each line as soon as the previous one is answered; a
                  reply missing for 3.5 s ends the run (status 4)
  --dry-run       send nothing: print every line exactly as it would go out
                  (slave-address prefix and CR LF included) on stdout
  --verify        read the switcher back after the run and compare, as 'diff'
                  does (the date format, which the run does not send, left
                  out): the differences on stdout and status 6 when the
                  switcher does not hold what was sent
  --no-model-check  do not ask the switcher its model first

Before the run the switcher is asked its model (RCPI, which changes nothing);
when it is not the file's (or --model's), a warning says so on stderr and the
run goes on.

A pattern with every channel on SKIP, or a title that fails its character
checks, is left out with a warning (status 5 at the end). An error reply stops
the run (status 3); lines that got no reply give status 4.
)";

const char kReadHelp[] =
    R"(usage: qelvarctl read OUT.dat [--base IN.dat] [--interval MS] [--pace ack|timer]
                          [--no-model-check]

Reads every table back from the switcher (RAST, RTP, RCPI, RCTI, RCTO, ROT,
ROTP, RTSI, RTSO, RTSD, RCA), starting from the defaults or from IN.dat, and
saves the result to OUT.dat. Prints the current memory and the direct switching:
  memory=None (or memory=NN)
  outputs=I01,I02,...
An error reply (status 3) or a missing reply (status 4) writes no file.
As for send, the switcher is first asked its model and a warning names a
model other than the profile's (or IN.dat's, or --model's); --no-model-check
leaves that out.
)";

const char kScanHelp[] = R"help(usage: qelvarctl scan [--single] [--timeout MS]

Finds the switchers on the line. On RS-485 every slave address 00..31 is asked
for its title positions (RCPI, a read that changes nothing) and each address
that answers is printed with its model, one a line:
  03 Qelvar-32
  17 Qelvar-64
On RS-232C the one switcher is asked and its model printed. An answer that
does not tell the model shows as "unknown (REPLY)", for example
"unknown (MENU)" while the switcher's menu is open.

  --single       ask only the switcher the options name (--rs485 NN, or the
                 RS-232C one), and give it 1000 ms unless --timeout says
  --timeout MS   how long each address has to answer (default 120, which
                 keeps a scan of the whole bus under 4 s); raise it for a
                 serial device server on a slow network

Status 0 when a switcher answered, 4 when none did.
)help";

const char kPortsHelp[] = R"(usage: qelvarctl ports

Lists the serial devices present, one a line: the device, its name under
/dev/serial/by-id, the adapter's vendor, model and serial number ('-' where
there is none). USB adapters (ttyUSB, ttyACM) and the built-in ports (ttyS)
that have a UART are listed. Then the profile's ports COM1..COM6 with the
device or network address each opens, '*' before the one selected, and
'(absent)' after a device that is not there now.
)";

const char kDiffHelp[] =
    R"(usage: qelvarctl diff FILE.dat [--json] [--interval MS] [--pace ack|timer]
                          [--no-model-check]

Reads every table back from the switcher, as 'read' does but into a scratch
copy (no file is written), and compares it with FILE.dat: the auto-sequence
times and titles of the input channels in use, every memory, the display
switches and the date format. Prints one line per difference, table by table:
  auto-sequence pattern 05, input 12: file 10 s, switcher SKIP
  output 07 of memory 12: file I03, switcher A01
Titles print as UTF-8 text.

  --json          print {"equal": ..., "differences": [...]} instead, one
                  object per difference with the table, its pattern or
                  memory, input or output, the values as text and as numbers
                  (a title's Shift_JIS bytes in hexadecimal)
  --pace timer    one read per interval (default: each read as soon as the
                  one before is answered)
  --interval MS   time between reads under --pace timer (default 300)
  --no-model-check  do not ask the switcher its model first (as for send, a
                  warning names a model other than the file's or --model's)

Status 0 when the switcher holds the file's settings, 6 when it differs; 3 for
an error reply, 4 for a missing or unreadable answer.
)";

const char kLineHelp[] = R"(usage: qelvarctl line TEXT

Sends TEXT as one command line (CR LF added, the slave-address prefix on
RS-485), waits up to 3.5 s and prints the reply without CR LF. Status 0 for a
reply, 3 for an error reply (its message on stderr), 4 for none.
)";

const char kClockHelp[] = R"(usage: qelvarctl clock [--at "YYYY-MM-DD HH:MM:SS"]

Sets the switcher's date and time (DSY, DSM, DSD, TSH, TSM, TSS), each line
waiting for its reply; the PC's local time unless --at is given. Status as for
'line'.
)";

const char kAddressHelp[] = R"(usage: qelvarctl address NN

Gives the switcher the slave address NN (00..31) with the SA command. On
RS-485 the line goes to the address given with --rs485. Status as for 'line'.
)";

const char kSimHelp[] = R"(usage: qelvarctl sim [--model 32|64] [--address NN] [--state FILE.dat]
                     [--error-at K[:REPLY]] [--drop-at K] [--silent] [--delay MS]
                     [--split] [--baud RATE]
       qelvarctl sim --switcher NN[:32|64] [--switcher NN[:32|64]]... [fault options]

Runs a virtual switcher on a new pseudo-terminal and prints the device path to
open on the first line of stdout; serves until interrupted (Ctrl-C or SIGTERM).
The interface is RS-232C unless --rs485 NN is given before the command or
--address NN after it; --rs232 keeps RS-232C with the address given.

  --model 32|64        the switcher's input count (default 32)
  --address NN         its slave address, on RS-485 (default 00, or --rs485's)
  --switcher NN[:32|64]  a switcher on an RS-485 bus at slave address NN, with
                       32 or 64 inputs (default --model's); repeat it for
                       several switchers on one line, each with its own
                       settings, where only the one addressed answers, e.g.
                       --switcher 03:32 --switcher 17:64
  --state FILE.dat     load its settings from FILE.dat and save them there on exit
  --error-at K[:REPLY] answer the K-th command line with REPLY (GN, MENU,
                       E0..E3; default E3) instead
  --drop-at K          answer the K-th command line "GO" but do not apply it
  --silent             answer nothing
  --delay MS           delay every reply by MS milliseconds
  --split              write replies one byte at a time
  --baud RATE          answer no sooner than the command and the reply take
                       on a line of RATE baud (a pseudo-terminal takes no time)
)";

const char kServeHelp[] =
    R"(usage: qelvarctl serve [--unit NN]... [--listen ADDRESS] [--videohub PORT]
         [--state FILE] [--state-from FILE.dat] [--max-clients N] [--name TEXT]
Serve the switcher in the Videohub Ethernet protocol, so that router panels,
tablets and control systems that speak it can see its inputs and outputs,
name them and route them, until interrupted (SIGINT, SIGTERM).

Inputs are the model's channels, then the auto-sequence patterns A01..A64;
there are 32 outputs. A route goes out as one OT line of the direct
switching, a client's input label as the channel's CA title line, one line
at a time; only the switcher's GO makes them count (else NAK).
At start the routing (ROT) and titles are read back; clients see the device
as not present until that has been answered, and while the port is lost.

  --unit NN            on RS-485, serve the switcher with slave address NN;
                       repeat for each switcher of the bus, each on its own
                       port (default: the --rs485 address, or the RS-232C one)
  --listen ADDRESS     listen on this address only, e.g. 127.0.0.1
                       (default: every address)
  --videohub PORT      the first unit's port; further units take the next
                       free ports, kept in the state file (default: 9990)
  --state FILE         output labels, locks and ports are kept here (default:
                       $STATE_DIRECTORY/serve.state, else
                       $XDG_STATE_HOME/qelvar/serve.state)
  --state-from FILE.dat  serve this file's routing and titles without reading
                       the switcher first
  --max-clients N      clients per port at most (default: 32)
  --name TEXT          the friendly name clients show (default: Qelvar)

The protocol has no authentication: anyone who reaches the port can route
and rename. Keep it on a trusted network, or use --listen 127.0.0.1.
)";

const char kFleetHelp[] =
    R"(usage: qelvarctl fleet INVENTORY check|send [--verify]|diff|backup DIR
         [--only NAME]... [--jobs N] [--json FILE] [--junit FILE]

Runs one command for every switcher of an inventory: a profile-style file with
a section per switcher, named by the section:
  [rack-1 east]
  port = rfc2217://10.0.4.11:2217
  address = 05          ; RS-485; leave out for RS-232C
  model = 32            ; optional
  file = sites/hq/rack-1-east.dat   ; relative to the inventory's folder
Faults of the inventory (an unknown key, a missing file, two switchers on one
port with one address, a port that cannot be used) are each told with the
inventory's line, and then nothing is run.

  check         ask each switcher its model (RCPI, which changes nothing);
                the report says who answers, with which model, and where the
                inventory says another
  send          send each switcher its file, every table (as 'send' does),
                each line as soon as the one before is answered
  send --verify  then read it back and compare, as 'send --verify' does
  diff          compare each switcher with its file, as 'diff' does
  backup DIR    read each switcher back into DIR/NAME.dat (DIR is made when
                missing); a file is written only from a complete read-back,
                atomically, and only when it changes, so a backup folder kept
                in git shows only real changes

  --only NAME   only this switcher; repeat for several
  --jobs N      at most N serial lines at once (default: every line)
  --json FILE   the report as a JSON document, too
  --junit FILE  the report as JUnit XML, too: one test case per switcher

Switchers on different ports run side by side; those on one port (an RS-485
bus) one after another, since they share the line. Each is run as a
qelvarctl of its own with the global --profile and --wait; a switcher that
fails is reported and the others go on. While it runs, a line per switcher
shows its step and state (on a terminal, redrawn in place; otherwise a line
at each change of state); then a table: name, port, address, model, result,
time and the first difference or error. SIGINT or SIGTERM stops the fleet:
the commands running are stopped, those not begun are not run ("not run",
status 128 + the signal), and the report still comes.

Exit status: 0 when every switcher succeeded; otherwise the highest status of
their commands (2 absent port, 3 error reply, 4 no reply or port lost,
5 refused items, 6 differs, or for check a model other than the inventory's);
1 for a usage error or a fault in the inventory.
)";

const char kTitlesHelp[] = R"(usage: qelvarctl titles export FILE.dat OUT.csv
       qelvarctl titles import FILE.dat IN.csv [--out NEW.dat] [--skip-bad]

Channel titles to and from a spreadsheet, in CSV (comma-separated UTF-8 text).
No switcher is needed: the titles are those of the settings file, whose model
says which channels there are (01..32 or 01..64).

export writes OUT.csv: a header row "channel,title", then one row per channel,
  01,本社玄関
with a UTF-8 byte-order mark (for Excel) and CR LF line ends.

import reads IN.csv into FILE.dat: UTF-8 with or without a byte-order mark,
comma or semicolon between the fields (the header row tells which), fields in
double quotes where needed, a header row naming the columns channel and title
(either order). A channel may be written 1 or 01. Each title is folded to full
width and checked as the title editor checks what it sends: at most 16
characters of JIS X 0208 (level 1 and 2 kanji). An empty title clears the
channel's title; a channel the file leaves out keeps its title; a title that
reads as the channel's title does now is kept as it is, so that an exported
file imports back to the same settings file byte for byte. Every row refused
is told on stderr with its row number as a spreadsheet counts (the header is
row 1):
  IN.csv: row 7: channel 65 is not one of a 32-input switcher's 01..32
and then nothing is written, unless --skip-bad is given. FILE.dat is replaced
atomically, and only when a title changes; stdout says how many did.

  --out NEW.dat   write the result to NEW.dat instead, FILE.dat unchanged
  --skip-bad      take the good rows, leave out the refused ones

Status 0 done; 1 usage error; 2 a file cannot be read or written (FILE.dat,
IN.csv, OUT.csv, NEW.dat); 5 rows were refused (with --skip-bad the good rows
were still written).
)";

const char kLicenceNotice[] = R"(Copyright (C) 2026 Qelvar project
License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.
This is free software: you are free to change and redistribute it.
There is NO WARRANTY, to the extent permitted by law.
)";

}  // namespace

const char* LicenceNotice() {
    return kLicenceNotice;
}

const char* HelpText(const std::string& command) {
    if (command.empty()) return kToolHelp;
    if (command == "send") return kSendHelp;
    if (command == "read") return kReadHelp;
    if (command == "diff") return kDiffHelp;
    if (command == "line") return kLineHelp;
    if (command == "clock") return kClockHelp;
    if (command == "address") return kAddressHelp;
    if (command == "scan") return kScanHelp;
    if (command == "ports") return kPortsHelp;
    if (command == "sim") return kSimHelp;
    if (command == "serve") return kServeHelp;
    if (command == "fleet") return kFleetHelp;
    if (command == "titles") return kTitlesHelp;
    return nullptr;
}

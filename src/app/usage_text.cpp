#include "app/usage_text.hpp"

#include "app/build_info.hpp"

namespace velmora {
namespace {

constexpr std::string_view kUsage =
    "Usage: velmora [OPTION]\n"
    "  or:  velmora FILE\n"
    "Set up the admins of a game server. velmora asks how many admins (1 to 10) to set up,\n"
    "then each admin's name, STEAMID or IP address, admin group and immunity group, and\n"
    "writes clients.txt, the file the server's admin plug-in reads, in the current folder.\n"
    "\n"
    "velmora FILE (or FILE dropped on velmora) opens a menu on FILE that lists, adds,\n"
    "changes and removes admins one at a time, each change shown first, and checks FILE.\n"
    "\n"
    "Answers are read from standard input, so they may come from a file. A number answer is\n"
    "read up to its first non-digit; a text answer is one word. A number of admins outside\n"
    "1 to 10 sets up nobody and leaves clients.txt as it was.\n"
    "\n"
    "      --add                 add this run's admins to the existing clients.txt, keeping\n"
    "                            every byte of it, instead of replacing it\n"
    "      --check [FILE]        check FILE (clients.txt by default) for admins the server\n"
    "                            cannot use, and say where: FILE:LINE: problem; writes nothing\n"
    "      --list [FILE]         list the admins in FILE (clients.txt by default): name,\n"
    "                            STEAMID or IP address, admin group, immunity group\n"
    "      --groups [FILE]       list the groups of FILE's groups section: kind, name, how\n"
    "                            many admins have it, flags\n"
    "      --export [FILE]       print FILE's admins and groups as one roster for --apply\n"
    "      --remove NAME [FILE]  take every admin whose name, STEAMID or IP address is NAME\n"
    "                            (letter case aside; a Steam ID in any of its forms) out\n"
    "                            of FILE, keeping every other byte\n"
    "      --set NAME FIELD=VALUE... [FILE]\n"
    "                            change the one admin NAME finds (as --remove finds it):\n"
    "                            name=, steam=, ip=, admin=, immunity= (empty: none);\n"
    "                            a group must be one that FILE's groups section defines\n"
    "      --apply ROSTER [FILE...]\n"
    "                            make each FILE hold the admins and groups of ROSTER (JSON,\n"
    "                            as --list --json or --export prints it; - for standard\n"
    "                            input), changing only what differs; a second run changes\n"
    "                            nothing\n"
    "      --prune               with --apply: also take out the admins, and the groups,\n"
    "                            that ROSTER does not name\n"
    "      --dry-run             with --set, --remove or --apply: show the change as a\n"
    "                            unified diff, say what would be done, and write nothing\n"
    "      --json                with --list, --groups, --check or --apply: answer in JSON,\n"
    "                            for scripts\n"
    "      --wait=SECONDS        when another program is changing the file, wait this long\n"
    "                            for it (10 by default; 0: do not wait), then change nothing\n"
    "  -h, --help                show this help and exit\n"
    "      --version             show the version and licence and exit\n"
    "\n"
    "clients.txt is replaced all or nothing. When it cannot be written, the old file stays as\n"
    "it was, with its mode, owner and links, and no temporary file is left behind. Runs that\n"
    "change one file at the same time take turns, so no change is lost. Admins the server\n"
    "cannot use are named on standard error.\n"
    "\n"
    "Examples:\n"
    "  velmora < answers.txt       set up the admins answered in answers.txt\n"
    "  velmora clients.txt         look after the admins in clients.txt, from a menu\n"
    "  velmora --add               add admins to the server's existing clients.txt\n"
    "  velmora --check             check clients.txt in the current folder\n"
    "  velmora --list              show who is in clients.txt\n"
    "  velmora --check --json      the problems of clients.txt as JSON\n"
    "  velmora --remove Bob        take Bob out of clients.txt\n"
    "  velmora --set Bob admin=Serveradmin immunity=NoFun --dry-run\n"
    "                              show how Bob's groups would change, and change nothing\n"
    "  velmora --apply roster.json server1/clients.txt server2/clients.txt\n"
    "                              give both servers the admins of roster.json\n"
    "\n"
    "Exit status: 0 when clients.txt was written or nothing was to be written, 1 when it\n"
    "could not be written or was busy past --wait, 2 for a usage error. With --check: 0 when\n"
    "the file is sound, 1 when it has problems, 2 when it cannot be read or parsed. With\n"
    "--list, --groups and --export: 0, or 2 when the file cannot be read or parsed. With\n"
    "--remove and --set: 0 when\n"
    "done (or, for --set, nothing was to change), 1 when no admin or more than one matches\n"
    "or the file cannot be read, parsed or written or was busy past --wait, and for --set 2\n"
    "for a group the file does not define or a value with a control character. With --apply:\n"
    "0 when every file holds the roster, 1 when a file could not be read, parsed or written\n"
    "or was busy past --wait (the others are done), 2 for an invalid roster.\n";

constexpr std::string_view kCopyright =
    "Copyright (c) 2026 the velmora developers\n"
    "License: MIT. This is free software: you are free to change and redistribute it.\n";

}  // namespace

std::string_view usageText() { return kUsage; }

std::string versionText() {
  return "velmora " + std::string(build::kVersion) + "\n" + std::string(kCopyright);
}

}  // namespace velmora

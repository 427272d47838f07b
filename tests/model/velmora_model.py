"""A model of velmora, written on its own from the dialogue's rules, that the end-to-end tests
hold the built program against: for any input it gives the console output up to the final
wait and the bytes of clients.txt (None when no file is written)."""

WHITE = b" \t\n\v\f\r"
INT_MIN, INT_MAX = -(2**31), 2**31 - 1

SINGLE, FIRST, LATER = "single", "first", "later"
ORDINALS = ["first", "second", "third", "fourth", "fifth", "sixth", "seventh", "eighth",
            "ninth", "tenth"]


class Input:
    def __init__(self, data: bytes):
        self.data, self.at = data, 0

    def skip_white(self):
        while self.at < len(self.data) and self.data[self.at] in WHITE:
            self.at += 1

    def number(self) -> int:
        self.skip_white()
        start, sign = self.at, 1
        if self.at < len(self.data) and self.data[self.at] in b"+-":
            sign = -1 if self.data[self.at] == ord("-") else 1
            self.at += 1
        digits_start = self.at
        while self.at < len(self.data) and 48 <= self.data[self.at] <= 57:
            self.at += 1
        if self.at == digits_start:
            self.at = start  # nothing but white space is consumed by a failed read
            return 0
        return max(INT_MIN, min(INT_MAX, sign * int(self.data[digits_start:self.at])))

    def word(self) -> bytes:
        self.skip_white()
        start = self.at
        while self.at < len(self.data) and self.data[self.at] not in WHITE:
            self.at += 1
        return kept(self.data[start:self.at])


def character_length(data: bytes, at: int) -> int:
    """The length of the well-formed UTF-8 character at data[at], or 0; Python's strict
    decoder knows the well-formed forms."""
    for length in range(1, 5):
        try:
            if len(data[at:at + length].decode("utf-8")) == 1 and at + length <= len(data):
                return length
        except UnicodeDecodeError:
            pass
    return 0


def kept(word: bytes, limit: int = 31) -> bytes:
    """A word's first 31 bytes, less the start of a character that would not fit whole."""
    at = 0
    while at < len(word):
        step = max(character_length(word, at), 1)
        if at + step > limit:
            break
        at += step
    return word[:at]


def prompts(count, p):
    kind = SINGLE if count == 1 else FIRST if p == 1 else LATER
    if kind == SINGLE:
        name, steam = "\n\nEnter your name: ", "\n\nEnter your STEAMID:\t"
        ident = "\n\nAdd admin by STEAMID or IP address?"
        example = "Example: if your STEAMID is STEAM_0:1:234567\n"
        hint = "\t\t\tThen you enter: STEAM_0:1:1234567\n"
        ip = "\n\nEnter your IP address: "
        group = "\nEnter the Group type this admin will be in: "
    else:
        name = f"\n\nEnter the name of the {ORDINALS[p - 1]} admin: "
        example = "Example: if the STEAMID is STEAM_0:1:234567\n"
        hint = "\t\t\t\t Then you enter: STEAM_0:1:1234567\n"
        group = "\nEnter the Group type this admin will be in"
        if kind == FIRST:
            ident = "\n\nAdd admin by STEAMID or IP address?"
            steam = "\n\nEnter the first admin's STEAMID: "
            ip = "\n\nEnter the first admin's IP address: "
            if count == 2:
                group += ":"
        else:
            ident = "\n\nAdd this admin by STEAMID or IP address?"
            steam = "\n\nEnter the this admin's STEAMID: "
            ip = "\n\nEnter this admin's IP address: "
            if p == 6 and count >= 9:
                hint = "\t\t\t\t then you enter: STEAM_0:1:1234567\n"
            if p == 10:
                hint = "\t\t\tthen you enter: STEAM_0:1:1234567\n"
    return name, ident, steam, example, hint, ip, group


ADMIN_LINES = {1: '\t"Serveradmin"', 2: '\t"Clanmember"', 3: '\t"Teamadmin"',
               4: '  "Level 2 Access"', 5: '  "No Rcon Or Sound"'}
IMMUNITY_LINES = {1: "Serveradmin", 2: "Clanmember", 3: "Teamadmin", 4: "No Kick Ban",
                  5: "NoFun"}

CATALOGUE = """
	// These are global groups of flags that can be assigned to clients
	"groups"
	{
		"Immunity"
		{
			"Serveradmin"	"a b c d e f g h i j k l m n o p q r s t u v x y afk ping autojoin grav Immunity"
			"Clanmember"    "a b c k n p ping grav autojoin Immunity"
			"Teamadmin"     "b k n ping Immunity"
			"No Kick Ban"   "b k Immunity"
			"NoFun"	        "d f g i j l t Immunity"
		}
		"Admin"
		{
			"Serveradmin"  "A B C D E F G H I J K L M N O P Q R S T U V W X Y Z a b c d e"
			"Serveradmin"  "f g i k l m o p q q2 q3 r s t v w x y z admin client grav pban spray"
			"Clanmember"   "B D F H I K M N O Q R S T U V W X Y Z a b c d f g i j k l m o p s t v w y admin pban"
			"Teamadmin"    "I O V a b k l o p v w admin"
			"Level 2 Access"	"A B C D E F G H I J K L M N O P Q R S T U V W X Y Z a c d e"
			"Level 2 Access"	"f g i j k l m o p q r s t v w z admin spray grav pban client"
			"No Rcon Or Sound"	"A B C D E F G H I J K L M N O P Q R S T U V W X Y Z a b c d"
			"No Rcon Or Sound"	"e f g i j k l m o q s t v w x y z admin spray grav pban"
			"No Rcon Or Sound"	"client"
		}
	}"""


def file_value(typed: bytes) -> bytes:
    """A value as the file holds it: a double quote or a backslash would break its quoting."""
    return typed.replace(b'"', b"'").replace(b"\\", b"/")


def entry(admin):
    name = file_value(admin["name"])
    out = [b'\n\t\t// This must be a unique client name\n\t\t"' + name + b'"\n\t\t{',
           b'\n\t\t\t// Client real name\n\t\t\t"name"\t"' + name + b'"']
    if admin["id"] == 1:
        out.append(b'\n\t\t\t// Steam ID for client\n\t\t\t"steam"\t"' + file_value(admin["steam"]) + b'"')
    if admin["id"] == 2:
        out.append(b'\n\t\t\t// IP address for client\n\t\t\t"ip"\t"' + file_value(admin["ip"]) + b'"')
    out.append(b'\n\t\t\t// These are personal access flags for a player\n\t\t\t"groups"\n\t\t\t{')
    if admin["group"] in ADMIN_LINES:
        out.append(('\n\t\t\t\t"Admin"' + ADMIN_LINES[admin["group"]]).encode())
    if admin["immunity"] in IMMUNITY_LINES:
        out.append(f'\n\t\t\t\t"Immunity"  "{IMMUNITY_LINES[admin["immunity"]]}"'.encode())
    out.append(b"\n\t\t\t}\n\t\t}")
    return b"".join(out)


def run(data: bytes, credit: bytes):
    """Returns (console bytes up to the final wait, clients.txt bytes or None). credit is
    the program's own closing frame, which the model does not prescribe."""
    source, console, admins = Input(data), [], []
    say = lambda text: console.append(text.encode() if isinstance(text, str) else text)
    say("How many admins do you wish to set up?\n1=one admin, 2= two admins...\nNote: Works for 10 admins\n\n")
    count = source.number()
    if 1 <= count <= 10:
        for p in range(1, count + 1):
            name, ident, steam, example, hint, ip, group = prompts(count, p)
            admin = {"steam": b"", "ip": b"", "immunity": 0}
            say(name)
            admin["name"] = source.word()
            say(ident + "\n1=by STEAMID, 2=by IP address\n")
            admin["id"] = source.number()
            if admin["id"] == 1:
                say(steam + example + hint)
                admin["steam"] = source.word()
            if admin["id"] == 2:
                say(ip)
                admin["ip"] = source.word()
            say(group + "\n1=Serveradmin, 2=Clanmember, 3=Teamadmin\n4=Level 2 Access, 5=No Rcon Or Sound\n")
            admin["group"] = source.number()
            say("\nWould you like to give this admin Immunity?\n1=Yes, 2=No\n")
            if source.number() == 1:
                say("\nEnter the Immunity type this admin will have: \n1=Serveradmin, 2=Clanmember, 3=Teamadmin\n4=No Kick Ban, 5=NoFun\n")
                admin["immunity"] = source.number()
            admins.append(admin)
    say("\n\nLook for you clients.txt file in the same folder as the velmora")
    say(credit)
    if not 1 <= count <= 10:
        return b"".join(console), None
    text = (b'"clients.txt"\n{\n\t"version"\t"1"\n\n\t// This key group lists all your client players'
            b'\n\t"players"\n\t{' + b"".join(entry(a) for a in admins) + b"\n\t}"
            + CATALOGUE.encode() + b"\n}")
    return b"".join(console), text.replace(b"\n", b"\r\n")

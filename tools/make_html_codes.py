#!/usr/bin/env python3
"""Writes the character tables html-codes.txt, html-codes-DE.txt and html-codes-HU.txt.

The entities are HTML 4's (Python's html.entities.name2codepoint); the group marked "##"
holds the Latin-1 set (160-255) that the conversions use. Run from the repository root:
    python3 tools/make_html_codes.py src/resources/data
"""

import html.entities
import os
import sys
import unicodedata

LANGS = ("EN", "DE", "HU")

GROUPS = [  # key, names per language
    ("iso", ("Latin-1 characters (ISO 8859-1)", "Latin-1-Zeichen (ISO 8859-1)",
             "Latin-1 karakterek (ISO 8859-1)")),
    ("special", ("Special characters", "Sonderzeichen", "Különleges karakterek")),
    ("greek", ("Greek letters", "Griechische Buchstaben", "Görög betűk")),
    ("math", ("Mathematical symbols", "Mathematische Zeichen", "Matematikai jelek")),
    ("arrows", ("Arrows", "Pfeile", "Nyilak")),
    ("other", ("Other symbols", "Weitere Symbole", "Egyéb jelek")),
]

# Descriptions that no rule gives: name -> (English, German, Hungarian).
WORDS = {
    "nbsp": ("No-break space", "Geschütztes Leerzeichen", "Nem törhető szóköz"),
    "iexcl": ("Inverted exclamation mark", "Umgekehrtes Ausrufezeichen",
              "Fordított felkiáltójel"),
    "cent": ("Cent sign", "Cent-Zeichen", "Cent jel"),
    "pound": ("Pound sign", "Pfund-Zeichen", "Font jel"),
    "curren": ("Currency sign", "Währungszeichen", "Pénznem jel"),
    "yen": ("Yen sign", "Yen-Zeichen", "Jen jel"),
    "brvbar": ("Broken bar", "Unterbrochener Strich", "Szaggatott függőleges vonal"),
    "sect": ("Section sign", "Paragraph", "Paragrafusjel"),
    "uml": ("Diaeresis", "Trema", "Umlaut (két pont)"),
    "copy": ("Copyright sign", "Copyright-Zeichen", "Szerzői jog jel"),
    "ordf": ("Feminine ordinal indicator", "Weibliches Ordinalzeichen",
             "Nőnemű sorszámjel"),
    "laquo": ("Left-pointing double angle quotation mark", "Linkes Guillemet",
              "Balra mutató kettős csúcsos idézőjel"),
    "not": ("Not sign", "Negationszeichen", "Tagadásjel"),
    "shy": ("Soft hyphen", "Bedingter Trennstrich", "Feltételes elválasztójel"),
    "reg": ("Registered sign", "Eingetragene Marke", "Bejegyzett védjegy jel"),
    "macr": ("Macron", "Makron (Überstrich)", "Felülvonás (makron)"),
    "deg": ("Degree sign", "Gradzeichen", "Fok jel"),
    "plusmn": ("Plus-minus sign", "Plus-Minus-Zeichen", "Plusz-mínusz jel"),
    "sup2": ("Superscript two", "Hochgestellte Zwei", "Felső indexben kettő"),
    "sup3": ("Superscript three", "Hochgestellte Drei", "Felső indexben három"),
    "acute": ("Acute accent", "Akut", "Éles ékezet"),
    "micro": ("Micro sign", "Mikro-Zeichen", "Mikro jel"),
    "para": ("Pilcrow sign", "Absatzzeichen", "Bekezdésjel"),
    "middot": ("Middle dot", "Mittelpunkt", "Középpont"),
    "cedil": ("Cedilla", "Cedille", "Cedill"),
    "sup1": ("Superscript one", "Hochgestellte Eins", "Felső indexben egy"),
    "ordm": ("Masculine ordinal indicator", "Männliches Ordinalzeichen",
             "Hímnemű sorszámjel"),
    "raquo": ("Right-pointing double angle quotation mark", "Rechtes Guillemet",
              "Jobbra mutató kettős csúcsos idézőjel"),
    "frac14": ("Fraction one quarter", "Ein Viertel", "Egynegyed"),
    "frac12": ("Fraction one half", "Ein Halb", "Egyketted"),
    "frac34": ("Fraction three quarters", "Drei Viertel", "Háromnegyed"),
    "iquest": ("Inverted question mark", "Umgekehrtes Fragezeichen", "Fordított kérdőjel"),
    "times": ("Multiplication sign", "Malzeichen", "Szorzásjel"),
    "divide": ("Division sign", "Divisionszeichen", "Osztásjel"),
    "szlig": ("Latin small letter sharp s", "Eszett (scharfes s)", "Német éles s (eszett)"),
    "AElig": ("Latin capital letter AE", "Ligatur AE (groß)", "AE ligatúra (nagy)"),
    "aelig": ("Latin small letter ae", "Ligatur ae (klein)", "ae ligatúra (kis)"),
    "ETH": ("Latin capital letter Eth", "Eth (groß)", "Eth (nagy)"),
    "eth": ("Latin small letter eth", "eth (klein)", "eth (kis)"),
    "THORN": ("Latin capital letter Thorn", "Thorn (groß)", "Thorn (nagy)"),
    "thorn": ("Latin small letter thorn", "thorn (klein)", "thorn (kis)"),
    # special
    "quot": ("Quotation mark", "Anführungszeichen", "Idézőjel"),
    "amp": ("Ampersand", "Kaufmanns-Und", "És jel"),
    "lt": ("Less-than sign", "Kleiner-als-Zeichen", "Kisebb jel"),
    "gt": ("Greater-than sign", "Größer-als-Zeichen", "Nagyobb jel"),
    "OElig": ("Latin capital ligature OE", "Ligatur OE (groß)", "OE ligatúra (nagy)"),
    "oelig": ("Latin small ligature oe", "Ligatur oe (klein)", "oe ligatúra (kis)"),
    "circ": ("Circumflex accent", "Zirkumflex", "Kalap ékezet"),
    "tilde": ("Small tilde", "Kleine Tilde", "Kis hullámvonal"),
    "ensp": ("En space", "Halbgeviert-Leerzeichen", "Fél kvirt szóköz"),
    "emsp": ("Em space", "Geviert-Leerzeichen", "Kvirt szóköz"),
    "thinsp": ("Thin space", "Schmales Leerzeichen", "Keskeny szóköz"),
    "zwnj": ("Zero width non-joiner", "Bindungsverhinderer", "Nulla szélességű nem-összekötő"),
    "zwj": ("Zero width joiner", "Breitenloser Verbinder", "Nulla szélességű összekötő"),
    "lrm": ("Left-to-right mark", "Links-nach-rechts-Marke", "Balról jobbra jel"),
    "rlm": ("Right-to-left mark", "Rechts-nach-links-Marke", "Jobbról balra jel"),
    "ndash": ("En dash", "Halbgeviertstrich", "Nagykötőjel"),
    "mdash": ("Em dash", "Geviertstrich", "Gondolatjel (kvirt)"),
    "lsquo": ("Left single quotation mark", "Einfaches Anführungszeichen links",
              "Bal oldali szimpla idézőjel"),
    "rsquo": ("Right single quotation mark", "Einfaches Anführungszeichen rechts",
              "Jobb oldali szimpla idézőjel"),
    "sbquo": ("Single low-9 quotation mark", "Einfaches Anführungszeichen unten",
              "Alsó szimpla idézőjel"),
    "ldquo": ("Left double quotation mark", "Doppeltes Anführungszeichen links",
              "Bal oldali kettős idézőjel"),
    "rdquo": ("Right double quotation mark", "Doppeltes Anführungszeichen rechts",
              "Jobb oldali kettős idézőjel"),
    "bdquo": ("Double low-9 quotation mark", "Doppeltes Anführungszeichen unten",
              "Alsó kettős idézőjel"),
    "dagger": ("Dagger", "Kreuz", "Kereszt"),
    "Dagger": ("Double dagger", "Doppelkreuz", "Kettős kereszt"),
    "permil": ("Per mille sign", "Promille-Zeichen", "Ezrelékjel"),
    "lsaquo": ("Single left-pointing angle quotation mark", "Einfaches Guillemet links",
               "Balra mutató szimpla csúcsos idézőjel"),
    "rsaquo": ("Single right-pointing angle quotation mark", "Einfaches Guillemet rechts",
               "Jobbra mutató szimpla csúcsos idézőjel"),
    "euro": ("Euro sign", "Euro-Zeichen", "Euró jel"),
    # mathematical
    "fnof": ("Latin small f with hook (function)", "Funktionszeichen f", "Függvényjel f"),
    "prime": ("Prime (minutes, feet)", "Minutenzeichen (Strich)", "Vessző (perc, láb)"),
    "Prime": ("Double prime (seconds, inches)", "Sekundenzeichen (Doppelstrich)",
              "Kettős vessző (másodperc, hüvelyk)"),
    "oline": ("Overline", "Überstrich", "Felülvonás"),
    "frasl": ("Fraction slash", "Bruchstrich", "Törtvonal"),
    "weierp": ("Script capital P (power set)", "Weierstraß-p (Potenzmenge)",
               "Írott nagy P (hatványhalmaz)"),
    "image": ("Black-letter capital I (imaginary part)", "Fraktur-I (Imaginärteil)",
              "Fraktúr nagy I (képzetes rész)"),
    "real": ("Black-letter capital R (real part)", "Fraktur-R (Realteil)",
             "Fraktúr nagy R (valós rész)"),
    "alefsym": ("Alef symbol", "Alef-Symbol", "Alef jel"),
    "forall": ("For all", "Für alle", "Minden"),
    "part": ("Partial differential", "Partielle Ableitung", "Parciális derivált"),
    "exist": ("There exists", "Es existiert", "Létezik"),
    "empty": ("Empty set", "Leere Menge", "Üres halmaz"),
    "nabla": ("Nabla", "Nabla", "Nabla"),
    "isin": ("Element of", "Element von", "Eleme"),
    "notin": ("Not an element of", "Kein Element von", "Nem eleme"),
    "ni": ("Contains as member", "Enthält als Element", "Tartalmazza elemként"),
    "prod": ("N-ary product", "Produkt", "Szorzat"),
    "sum": ("N-ary summation", "Summe", "Összeg"),
    "minus": ("Minus sign", "Minuszeichen", "Mínuszjel"),
    "lowast": ("Asterisk operator", "Sternoperator", "Csillag művelet"),
    "radic": ("Square root", "Quadratwurzel", "Négyzetgyök"),
    "prop": ("Proportional to", "Proportional zu", "Arányos"),
    "infin": ("Infinity", "Unendlich", "Végtelen"),
    "ang": ("Angle", "Winkel", "Szög"),
    "and": ("Logical and", "Logisches Und", "Logikai és"),
    "or": ("Logical or", "Logisches Oder", "Logikai vagy"),
    "cap": ("Intersection", "Schnittmenge", "Metszet"),
    "cup": ("Union", "Vereinigungsmenge", "Unió"),
    "int": ("Integral", "Integral", "Integrál"),
    "there4": ("Therefore", "Folglich", "Tehát"),
    "sim": ("Tilde operator (similar to)", "Tilde-Operator (ähnlich)",
            "Hullámvonal művelet (hasonló)"),
    "cong": ("Approximately equal to", "Ungefähr gleich", "Közelítőleg egyenlő"),
    "asymp": ("Almost equal to", "Fast gleich", "Majdnem egyenlő"),
    "ne": ("Not equal to", "Ungleich", "Nem egyenlő"),
    "equiv": ("Identical to", "Identisch mit", "Azonos"),
    "le": ("Less-than or equal to", "Kleiner oder gleich", "Kisebb vagy egyenlő"),
    "ge": ("Greater-than or equal to", "Größer oder gleich", "Nagyobb vagy egyenlő"),
    "sub": ("Subset of", "Teilmenge von", "Részhalmaza"),
    "sup": ("Superset of", "Obermenge von", "Bővített halmaza"),
    "nsub": ("Not a subset of", "Keine Teilmenge von", "Nem részhalmaza"),
    "sube": ("Subset of or equal to", "Teilmenge oder gleich", "Részhalmaza vagy egyenlő"),
    "supe": ("Superset of or equal to", "Obermenge oder gleich",
             "Bővített halmaza vagy egyenlő"),
    "oplus": ("Circled plus", "Eingekreistes Plus", "Bekarikázott plusz"),
    "otimes": ("Circled times", "Eingekreistes Mal", "Bekarikázott szorzás"),
    "perp": ("Up tack (perpendicular)", "Senkrecht auf", "Merőleges"),
    "sdot": ("Dot operator", "Multiplikationspunkt", "Szorzópont"),
    "lceil": ("Left ceiling", "Linke Aufrundungsklammer", "Bal felső egészrész"),
    "rceil": ("Right ceiling", "Rechte Aufrundungsklammer", "Jobb felső egészrész"),
    "lfloor": ("Left floor", "Linke Abrundungsklammer", "Bal alsó egészrész"),
    "rfloor": ("Right floor", "Rechte Abrundungsklammer", "Jobb alsó egészrész"),
    "lang": ("Left-pointing angle bracket", "Linke spitze Klammer", "Bal csúcsos zárójel"),
    "rang": ("Right-pointing angle bracket", "Rechte spitze Klammer",
             "Jobb csúcsos zárójel"),
    # arrows
    "larr": ("Leftwards arrow", "Pfeil nach links", "Balra nyíl"),
    "uarr": ("Upwards arrow", "Pfeil nach oben", "Felfelé nyíl"),
    "rarr": ("Rightwards arrow", "Pfeil nach rechts", "Jobbra nyíl"),
    "darr": ("Downwards arrow", "Pfeil nach unten", "Lefelé nyíl"),
    "harr": ("Left right arrow", "Pfeil nach links und rechts", "Balra-jobbra nyíl"),
    "crarr": ("Downwards arrow with corner leftwards (carriage return)",
              "Pfeil nach unten und links (Zeilenumbruch)", "Lefelé, majd balra nyíl (sortörés)"),
    "lArr": ("Leftwards double arrow", "Doppelpfeil nach links", "Balra kettős nyíl"),
    "uArr": ("Upwards double arrow", "Doppelpfeil nach oben", "Felfelé kettős nyíl"),
    "rArr": ("Rightwards double arrow", "Doppelpfeil nach rechts", "Jobbra kettős nyíl"),
    "dArr": ("Downwards double arrow", "Doppelpfeil nach unten", "Lefelé kettős nyíl"),
    "hArr": ("Left right double arrow", "Doppelpfeil nach links und rechts",
             "Balra-jobbra kettős nyíl"),
    # other
    "bull": ("Bullet", "Aufzählungspunkt", "Felsorolásjel"),
    "hellip": ("Horizontal ellipsis", "Auslassungspunkte", "Három pont"),
    "trade": ("Trade mark sign", "Markenzeichen", "Védjegy jel"),
    "loz": ("Lozenge", "Raute", "Rombusz"),
    "spades": ("Black spade suit", "Pik", "Pikk"),
    "clubs": ("Black club suit", "Kreuz (Spielkarte)", "Treff"),
    "hearts": ("Black heart suit", "Herz", "Kőr"),
    "diams": ("Black diamond suit", "Karo", "Káró"),
    "thetasym": ("Greek theta symbol", "Griechisches Theta-Symbol", "Görög théta szimbólum"),
    "upsih": ("Greek upsilon with hook symbol", "Griechisches Ypsilon mit Haken",
              "Görög üpszilon horoggal"),
    "piv": ("Greek pi symbol", "Griechisches Pi-Symbol", "Görög pí szimbólum"),
}

ARROWS = {"larr", "uarr", "rarr", "darr", "harr", "crarr", "lArr", "uArr", "rArr", "dArr", "hArr"}
OTHER = {"bull", "hellip", "trade", "loz", "spades", "clubs", "hearts", "diams"}
SPECIAL = {"quot", "amp", "lt", "gt", "OElig", "oelig", "Scaron", "scaron", "Yuml", "circ",
           "tilde", "ensp", "emsp", "thinsp", "zwnj", "zwj", "lrm", "rlm", "ndash", "mdash",
           "lsquo", "rsquo", "sbquo", "ldquo", "rdquo", "bdquo", "dagger", "Dagger", "permil",
           "lsaquo", "rsaquo", "euro"}

ACCENTS = {  # Unicode name part -> (English, German, Hungarian)
    "GRAVE": ("grave", "Gravis", "tompa ékezettel"),
    "ACUTE": ("acute", "Akut", "éles ékezettel"),
    "CIRCUMFLEX": ("circumflex", "Zirkumflex", "kalappal"),
    "TILDE": ("tilde", "Tilde", "hullámvonallal"),
    "DIAERESIS": ("diaeresis", "Trema", "kettős ponttal"),
    "RING ABOVE": ("ring above", "Ring", "karikával"),
    "CEDILLA": ("cedilla", "Cedille", "cedillel"),
    "STROKE": ("stroke", "Schrägstrich", "áthúzással"),
    "CARON": ("caron", "Hatschek", "hacsekkel"),
}

GREEK = {  # Unicode letter name -> German, Hungarian
    "ALPHA": ("Alpha", "alfa"), "BETA": ("Beta", "béta"), "GAMMA": ("Gamma", "gamma"),
    "DELTA": ("Delta", "delta"), "EPSILON": ("Epsilon", "epszilon"),
    "ZETA": ("Zeta", "dzéta"), "ETA": ("Eta", "éta"), "THETA": ("Theta", "théta"),
    "IOTA": ("Iota", "ióta"), "KAPPA": ("Kappa", "kappa"), "LAMDA": ("Lambda", "lambda"),
    "MU": ("My", "mű"), "NU": ("Ny", "nű"), "XI": ("Xi", "kszí"),
    "OMICRON": ("Omikron", "omikron"), "PI": ("Pi", "pí"), "RHO": ("Rho", "ró"),
    "FINAL SIGMA": ("Schluss-Sigma", "szóvégi szigma"), "SIGMA": ("Sigma", "szigma"),
    "TAU": ("Tau", "tau"), "UPSILON": ("Ypsilon", "üpszilon"), "PHI": ("Phi", "fí"),
    "CHI": ("Chi", "khí"), "PSI": ("Psi", "pszí"), "OMEGA": ("Omega", "ómega"),
}


def describe(name, code, lang):
    i = LANGS.index(lang)
    if name in WORDS:
        return WORDS[name][i]
    uname = unicodedata.name(chr(code))
    if uname.startswith("GREEK "):
        small = " SMALL " in uname
        letter = uname.split(" LETTER ", 1)[1]
        if lang == "EN":
            return "Greek %s letter %s" % ("small" if small else "capital", letter.lower())
        de, hu = GREEK[letter]
        if lang == "DE":
            return "Griechisch %s (%s)" % (de, "klein" if small else "groß")
        return "Görög %s (%s)" % (hu, "kis" if small else "nagy")
    # Latin letters with an accent: "LATIN SMALL LETTER A WITH GRAVE".
    head, accent = uname.split(" WITH ", 1)
    small = " SMALL " in head
    letter = head.split(" LETTER ", 1)[1]
    letter = letter.lower() if small else letter
    en, de, hu = ACCENTS[accent]
    if lang == "EN":
        return "Latin %s letter %s with %s" % ("small" if small else "capital", letter, en)
    if lang == "DE":
        return "%s mit %s (%s)" % (letter, de, "klein" if small else "groß")
    return "%s %s (%s)" % (letter, hu, "kis" if small else "nagy")


def group_of(name, code):
    if 160 <= code <= 255:
        return "iso"
    if name in SPECIAL:
        return "special"
    if name in ARROWS:
        return "arrows"
    if name in OTHER:
        return "other"
    if 0x391 <= code <= 0x3D6:
        return "greek"
    return "math"


def table(lang):
    i = LANGS.index(lang)
    lines = []
    entries = sorted(html.entities.name2codepoint.items(), key=lambda e: (e[1], e[0]))
    for key, names in GROUPS:
        lines.append(("##" if key == "iso" else "#") + names[i])
        for name, code in entries:
            if group_of(name, code) == key:
                lines.append("%s|&%s;|%d" % (describe(name, code, lang), name, code))
    return "\n".join(lines) + "\n"


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "src/resources/data"
    for lang in LANGS:
        suffix = "" if lang == "EN" else "-" + lang
        path = os.path.join(out, "html-codes%s.txt" % suffix)
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            f.write(table(lang))


if __name__ == "__main__":
    main()
